#include "ui/ReferenceListsDialog.h"

#include "catalogue/Feedback.h"
#include "identify/ReferenceLists.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kListFilter = QStringLiteral("Reference lists (*.dat *.xml);;All Files (*)");

QString StartFolder()
{
  if (QDir(kMameHashFolder).exists())
    return kMameHashFolder;
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

}  // namespace

ReferenceListsDialog::ReferenceListsDialog(Catalogue& catalogue, Feedback& feedback, qint64 systemId,
                                           const QString& systemName, QWidget* parent)
    : QDialog(parent), m_catalogue(catalogue), m_feedback(feedback), m_systemId(systemId)
{
  setObjectName(QStringLiteral("frmRefLists"));
  setWindowTitle(tr("Reference Lists - %1").arg(systemName));
  resize(640, 320);
  auto* layout = new QVBoxLayout(this);
  auto* help = new QLabel(tr("DAT files (Logiqx XML or clrmamepro) and Mame software lists that identify the "
                             "system's ROM files by their contents. When a file matches entries of several lists, "
                             "the list higher up counts."),
                          this);
  help->setWordWrap(true);
  layout->addWidget(help);
  m_lists = new QTreeWidget(this);
  m_lists->setObjectName(QStringLiteral("lstlists"));
  m_lists->setRootIsDecorated(false);
  m_lists->setHeaderLabels({tr("Name"), tr("Version"), tr("Entries"), tr("Format")});
  layout->addWidget(m_lists, 1);
  auto* buttons = new QHBoxLayout;
  auto* importButton = new QPushButton(tr("&Import..."), this);
  importButton->setObjectName(QStringLiteral("cmdImport"));
  m_removeButton = new QPushButton(tr("&Remove"), this);
  m_removeButton->setObjectName(QStringLiteral("cmdRemove"));
  auto* closeButton = new QPushButton(tr("&Close"), this);
  closeButton->setObjectName(QStringLiteral("cmdclose"));
  buttons->addWidget(importButton);
  buttons->addWidget(m_removeButton);
  buttons->addStretch(1);
  buttons->addWidget(closeButton);
  layout->addLayout(buttons);
  connect(importButton, &QPushButton::clicked, this, &ReferenceListsDialog::OnImport);
  connect(m_removeButton, &QPushButton::clicked, this, [this] { RemoveRow(m_lists->currentIndex().row()); });
  connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_lists, &QTreeWidget::currentItemChanged, this,
          [this] { m_removeButton->setEnabled(m_lists->currentItem() != nullptr); });
  Refresh();
}

void ReferenceListsDialog::Refresh()
{
  m_lists->clear();
  const std::optional<std::vector<ListSummary>> lists = ListsOfSystem(m_catalogue, m_feedback, m_systemId);
  if (lists) {
    for (const ListSummary& list : *lists) {
      auto* item = new QTreeWidgetItem({list.name, list.version, QString::number(list.entries), list.format});
      item->setToolTip(
          0, list.description.isEmpty() ? list.sourceFile : list.description + QLatin1Char('\n') + list.sourceFile);
      m_lists->addTopLevelItem(item);
    }
  }
  for (int column = 0; column < m_lists->columnCount(); ++column)
    m_lists->resizeColumnToContents(column);
  m_removeButton->setEnabled(m_lists->currentItem() != nullptr);
}

QStringList ReferenceListsDialog::ChooseFiles()
{
  if (m_chooseFiles)
    return m_chooseFiles();
  return QFileDialog::getOpenFileNames(this, tr("Import Reference List"), StartFolder(), kListFilter);
}

void ReferenceListsDialog::OnImport()
{
  const QStringList files = ChooseFiles();
  if (!files.isEmpty())
    ImportFiles(files);
}

bool ReferenceListsDialog::ImportFiles(const QStringList& files)
{
  QStringList failures;
  for (const QString& file : files) {
    const ListImport imported = ImportReferenceList(m_catalogue, m_feedback, m_systemId, file);
    if (imported.ok) {
      m_changed = true;
      m_feedback.SetStatus(StatusKind::Text,
                           tr("%1 the list \"%2\" (%3 entries).")
                               .arg(imported.replaced ? tr("Replaced") : tr("Added"), imported.list.name)
                               .arg(imported.list.entries));
    } else {
      failures << imported.error;
    }
  }
  Refresh();
  if (!failures.isEmpty())
    m_feedback.ShowMessage(tr("Import Reference List"), failures.join(QLatin1Char('\n')), MessageIcon::Warning);
  return failures.isEmpty();
}

bool ReferenceListsDialog::RemoveRow(int row)
{
  QTreeWidgetItem* item = m_lists->topLevelItem(row);
  if (!item)
    return false;
  const QString name = item->text(0);
  const Question question{kRemoveListQuestionKey, tr("Reference Lists"), tr("Remove the list \"%1\"?").arg(name),
                          QuestionButtons::YesNo, MessageIcon::Question, Answer::No};
  if (m_feedback.Ask(question) != Answer::Yes)
    return false;
  const bool removed = RemoveReferenceList(m_catalogue, m_feedback, m_systemId, name);
  m_changed = m_changed || removed;
  Refresh();
  return removed;
}

}  // namespace quillon::ui
