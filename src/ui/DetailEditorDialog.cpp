#include "ui/DetailEditorDialog.h"

#include "ui/LookupGridModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent)
{
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  button->setAutoDefault(false);
  return button;
}

// Fills a combo with names, keeping the text it showed when that is still one of them.
void RefillCombo(QComboBox* combo, const QStringList& names)
{
  const QString shown = combo->currentText();
  combo->clear();
  combo->addItems(names);
  const int keep = combo->findText(shown, Qt::MatchFixedString);
  combo->setCurrentIndex(keep >= 0 ? keep : 0);
}

}  // namespace

DetailEditorDialog::DetailEditorDialog(UiContext context, DetailEditorHost& host, QWidget* parent)
    : QDialog(parent), m_context(context), m_host(host), m_dialogParent(context.feedback, this)
{
  setObjectName(QStringLiteral("detaileditor"));
  setWindowTitle(tr("Detail Editor"));
  setModal(true);
  resize(560, 560);
  BuildControls();
  LoadSection();
}

void DetailEditorDialog::BuildControls()
{
  auto* layout = new QVBoxLayout(this);
  m_tabs = new QTabBar(this);
  m_tabs->setObjectName(QStringLiteral("tbsedit"));
  for (LookupKind kind : AllLookupKinds())
    m_tabs->addTab(SectionOf(kind).tabCaption);
  connect(m_tabs, &QTabBar::currentChanged, this, [this] { LoadSection(); });
  layout->addWidget(m_tabs);

  m_model = new LookupGridModel(m_context.catalogue, m_context.feedback, this);
  m_grid = new QTableView(this);
  m_grid->setObjectName(QStringLiteral("gridgenres"));
  m_grid->setModel(m_model);
  m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
  m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  m_grid->verticalHeader()->hide();
  m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 8);
  m_grid->horizontalHeader()->setStretchLastSection(true);
  connect(m_grid->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &DetailEditorDialog::OnCurrentCellChanged);
  connect(m_model, &LookupGridModel::saved, this, &DetailEditorDialog::OnSaved);
  layout->addWidget(m_grid, 1);

  auto* buttons = new QHBoxLayout;
  m_new = Button(QStringLiteral("cmdNew"), QStringLiteral("&New"), this);
  m_delete = Button(QStringLiteral("cmddel"), QStringLiteral("&Delete"), this);
  QPushButton* close = Button(QStringLiteral("cmdclose"), QStringLiteral("&Close"), this);
  connect(m_new, &QPushButton::clicked, this, &DetailEditorDialog::NewEntry);
  connect(m_delete, &QPushButton::clicked, this, &DetailEditorDialog::DeleteEntry);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  buttons->addWidget(m_new);
  buttons->addWidget(m_delete);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  auto* batch = new QGroupBox(QStringLiteral("Batch Update"), this);
  batch->setObjectName(QStringLiteral("Frame1"));
  batch->setToolTip(tr("Give every game of one entry another entry instead"));
  auto* batchLayout = new QFormLayout(batch);
  m_from = new QComboBox(batch);
  m_from->setObjectName(QStringLiteral("cmbgenre"));
  m_to = new QComboBox(batch);
  m_to->setObjectName(QStringLiteral("cmbgenre2"));
  m_to->setEditable(true);
  m_to->setInsertPolicy(QComboBox::NoInsert);
  m_to->setToolTip(tr("An entry of the list, or a new genre or manufacturer name"));
  QPushButton* update = Button(QStringLiteral("cmdupdate"), QStringLiteral("&Update"), batch);
  connect(update, &QPushButton::clicked, this, &DetailEditorDialog::BatchUpdate);
  batchLayout->addRow(QStringLiteral("Change from:"), m_from);
  batchLayout->addRow(QStringLiteral("Change to:"), m_to);
  batchLayout->addRow(QString(), update);
  layout->addWidget(batch);
}

LookupKind DetailEditorDialog::Section() const
{
  return AllLookupKinds().value(std::max(m_tabs->currentIndex(), 0));
}

void DetailEditorDialog::LoadSection()
{
  m_model->Load(Section());
  m_grid->setColumnWidth(0, 60);
  if (m_model->CodeColumn() >= 0)
    m_grid->setColumnWidth(m_model->CodeColumn(), 110);
  FillCombos();
  m_new->setEnabled(true);
  m_delete->setEnabled(false);
  if (m_model->rowCount() > 0)
    m_grid->setCurrentIndex(m_model->index(0, 0));
}

void DetailEditorDialog::FillCombos()
{
  QStringList names;
  for (const LookupEntry& entry :
       LookupEntries(m_context.catalogue, m_context.feedback, Section()).value_or(QList<LookupEntry>())) {
    if (!entry.name.isEmpty())
      names << entry.name;
  }
  RefillCombo(m_from, names);
  RefillCombo(m_to, names);
}

void DetailEditorDialog::OnCurrentCellChanged(const QModelIndex& current, const QModelIndex& previous)
{
  // A blank row left without a name is not kept.
  if (previous.isValid() && current.row() != previous.row() && m_model->IsBlankRow(previous.row()))
    m_model->DropBlankRow();
  if (m_model->IsBlankRow(current.row()))
    return;
  const bool unknown = m_model->IsUnknownRow(current.row());
  m_delete->setEnabled(current.isValid() && !unknown);
  m_new->setEnabled(true);
  if (unknown && (current.column() == m_model->NameColumn() || current.column() == m_model->CodeColumn()))
    m_context.feedback.SetStatus(StatusKind::Error, CannotEditText(m_model->Section()));
}

void DetailEditorDialog::OnSaved(qint64 id)
{
  MarkChanged();
  FillCombos();
  SelectEntry(id);
}

void DetailEditorDialog::SelectEntry(qint64 id)
{
  const int row = m_model->RowOf(id);
  if (row < 0)
    return;
  const QModelIndex index = m_model->index(row, m_model->NameColumn());
  m_grid->setCurrentIndex(index);
  m_grid->scrollTo(index);
}

void DetailEditorDialog::NewEntry()
{
  const int row = m_model->AppendBlankRow();
  m_delete->setEnabled(false);
  const QModelIndex index = m_model->index(row, m_model->NameColumn());
  m_grid->setCurrentIndex(index);
  m_grid->scrollTo(index);
  m_grid->setFocus();
  m_grid->edit(index);
}

void DetailEditorDialog::DeleteEntry()
{
  const QModelIndex current = m_grid->currentIndex();
  if (!current.isValid())
    return;
  if (m_model->IsBlankRow(current.row())) {
    m_model->DropBlankRow();
    return;
  }
  const LookupDeletion outcome =
      DeleteLookupEntry(m_context.catalogue, m_context.feedback, Section(), m_model->IdAt(current.row()));
  if (outcome != LookupDeletion::Deleted)
    return;
  MarkChanged();
  const int row = current.row();
  LoadSection();
  if (m_model->rowCount() > 0)
    m_grid->setCurrentIndex(m_model->index(std::min(row, m_model->rowCount() - 1), m_model->NameColumn()));
}

void DetailEditorDialog::BatchUpdate()
{
  const std::optional<int> moved = MoveLookupGames(m_context.catalogue, m_context.lookups, m_context.feedback,
                                                   Section(), m_from->currentText(), m_to->currentText());
  if (!moved)
    return;
  MarkChanged();
  // A new name may have been added.
  const qint64 current = m_model->IdAt(m_grid->currentIndex().row());
  m_model->Reload();
  FillCombos();
  SelectEntry(current);
  m_context.feedback.ShowMessage(windowTitle(), QStringLiteral("Done."), MessageIcon::Information);
}

void DetailEditorDialog::MarkChanged()
{
  m_changed.insert(Section());
}

void DetailEditorDialog::done(int result)
{
  if (!m_closed) {
    m_closed = true;
    if (!m_changed.isEmpty())
      m_host.LookupSectionsChanged(m_changed);
  }
  QDialog::done(result);
}

bool RunDetailEditor(UiContext context, DetailEditorHost& host, QWidget* parent)
{
  DetailEditorDialog dialog(context, host, parent);
  dialog.exec();
  return dialog.AnyChanged();
}

}  // namespace quillon::ui
