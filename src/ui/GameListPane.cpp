#include "ui/GameListPane.h"

#include "ui/ClickableLabel.h"
#include "ui/CompletingComboBox.h"
#include "ui/GameListModel.h"
#include "ui/GameListView.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kAllGenres = QStringLiteral("[-------------------ALL------------------]");
const QString kAvailableCaption = QStringLiteral("Available Games");
const QString kMissingCaption = QStringLiteral("Missing Games");
const QString kCheckAll = QStringLiteral("Check All");
const QString kUncheckAll = QStringLiteral("Uncheck All");

// The legend: label name, caption, filter name and colour literal.
struct LegendEntry {
  const char* objectName;
  const char* caption;
  const char* filter;
  const QString* colour;
};
const LegendEntry kLegend[] = {
    {"Label6", "Overview", "Overview", &kColourOverview},
    {"Label2", "Image", "Image", &kColourImage},
    {"Label1", "Country", "Country", &kColourCountry},
    {"Label3", "Manf", "Manf", &kColourManufacturer},
    {"Label4", "Year", "Year", &kColourYear},
    {"Label7", "Genre", "Genre", &kColourGenre},
    {"Label5", "Multiple", "", &kColourMultiple},
};

QFrame* Swatch(const QString& literal, QWidget* parent)
{
  auto* swatch = new QFrame(parent);
  swatch->setFixedSize(14, 14);
  swatch->setFrameShape(QFrame::Box);
  swatch->setStyleSheet(
      QStringLiteral("background-color: %1; border: 1px solid #555;").arg(ColourFromLiteral(literal).name()));
  return swatch;
}

void SetBold(QLabel* label, bool bold)
{
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
}

}  // namespace

GameListPane::GameListPane(UiContext context, QWidget* parent)
    : QGroupBox(kAvailableCaption, parent), m_context(context)
{
  setObjectName(QStringLiteral("frmgames"));
  auto* layout = new QVBoxLayout(this);

  auto* filterRow = new QHBoxLayout;
  m_genreCombo = new CompletingComboBox(this);
  m_genreCombo->setObjectName(QStringLiteral("cmbgenre"));
  m_genreCombo->setEditable(true);
  m_genreCombo->setInsertPolicy(QComboBox::NoInsert);
  m_genreCombo->setMaxVisibleItems(20);
  m_genreCombo->SetTypingReplacesText(true);
  m_genreCombo->setToolTip(tr("Show only the games of one genre"));
  connect(m_genreCombo, qOverload<int>(&QComboBox::activated), this, [this](int) { OnGenreActivated(); });
  connect(m_genreCombo, &CompletingComboBox::entered, this, &GameListPane::OnGenreEntered);
  m_checkAll = new QCheckBox(kCheckAll, this);
  m_checkAll->setObjectName(QStringLiteral("cmdsall"));
  connect(m_checkAll, &QCheckBox::clicked, this, &GameListPane::OnCheckAllClicked);
  filterRow->addWidget(m_genreCombo, 1);
  filterRow->addWidget(m_checkAll);
  layout->addLayout(filterRow);

  m_list = new GameListView(this);
  m_model = new GameListModel(this);
  m_list->setModel(m_model);
  m_list->setColumnHidden(GameListModel::kIdColumn, true);
  m_list->header()->setSectionResizeMode(GameListModel::kNameColumn, QHeaderView::Stretch);
  m_list->header()->setSortIndicatorShown(true);
  m_list->header()->setSortIndicator(GameListModel::kNameColumn, Qt::AscendingOrder);
  connect(m_list->header(), &QHeaderView::sectionClicked, this, &GameListPane::OnHeaderClicked);
  m_model->SetCheckHandler([this](qint64 gameId, bool selected) { return WriteCheckMark(gameId, selected); });
  connect(m_list, &GameListView::currentGameChanged, this, &GameListPane::currentRowChanged);
  connect(m_list, &GameListView::contextMenuWanted, this, &GameListPane::contextMenuWanted);
  connect(m_list, &GameListView::deletePressed, this, &GameListPane::deletePressed);
  connect(m_list, &GameListView::filesDropped, this, &GameListPane::filesDropped);
  layout->addWidget(m_list, 1);
  layout->addWidget(BuildLegend());
}

QWidget* GameListPane::BuildLegend()
{
  auto* legend = new QWidget(this);
  legend->setObjectName(QStringLiteral("legend"));
  auto* grid = new QGridLayout(legend);
  grid->setContentsMargins(0, 4, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  int index = 0;
  for (const LegendEntry& entry : kLegend) {
    auto* label = new ClickableLabel(QString::fromLatin1(entry.caption), legend);
    label->setObjectName(QString::fromLatin1(entry.objectName));
    const QString filter = QString::fromLatin1(entry.filter);
    if (!filter.isEmpty()) {
      label->setCursor(Qt::PointingHandCursor);
      label->setToolTip(tr("List only the games without %1; click again for all games").arg(label->text().toLower()));
      connect(label, &ClickableLabel::clicked, this, [this, filter, label] { OnLegendClicked(filter, label); });
      m_legendLabels << label;
    }
    const int row = index / 4;
    const int column = (index % 4) * 2;
    grid->addWidget(Swatch(*entry.colour, legend), row, column);
    grid->addWidget(label, row, column + 1);
    ++index;
  }
  grid->setColumnStretch(7, 1);
  return legend;
}

void GameListPane::SetView(GameView view)
{
  m_view = view;
  setTitle(view == GameView::Missing ? kMissingCaption : kAvailableCaption);
}

void GameListPane::SetGenres(const QList<GenreChoice>& genres)
{
  const QString typed = m_genreCombo->currentText();
  m_genreCombo->blockSignals(true);
  m_genreCombo->clear();
  m_genreCombo->addItem(kAllGenres);
  for (const GenreChoice& genre : genres)
    m_genreCombo->addItem(genre.name, genre.genreId);
  const int keep = m_genreCombo->findText(typed, Qt::MatchExactly);
  m_genreCombo->setCurrentIndex(keep >= 0 ? keep : 0);
  m_genreCombo->blockSignals(false);
}

void GameListPane::ShowAllGenres()
{
  m_genreCombo->setCurrentIndex(0);
}

QString GameListPane::GenreFilterText() const
{
  return m_genreCombo->currentText();
}

QString GameListPane::FirstListedGenre() const
{
  return m_genreCombo->count() > 1 ? m_genreCombo->itemText(1) : QString();
}

bool GameListPane::FilterGenre(bool refreshOnly)
{
  ListFilters filters;
  filters.systemId = m_systemId;
  filters.view = m_view;
  filters.clones = m_clones;
  filters.missingFilter = m_missingFilter;
  filters.matchStatus = m_matchStatus;
  m_context.feedback.Yield();
  // Typed text that names no genre leaves the list as it is.
  const int index = m_genreCombo->findText(m_genreCombo->currentText(), Qt::MatchExactly);
  if (index < 0 && !m_listBusy)
    return false;
  if (index >= 1)
    filters.genreId = m_genreCombo->itemData(index).toLongLong();
  std::optional<std::vector<GameRow>> rows = GameListQuery(m_context.catalogue, m_context.feedback, filters);
  if (!rows)
    return false;
  if (!refreshOnly)
    CreateList(std::move(*rows));
  emit listFiltered(refreshOnly);
  m_context.feedback.Yield();
  return true;
}

void GameListPane::CreateList(std::vector<GameRow> rows)
{
  m_listBusy = true;
  const int count = static_cast<int>(rows.size());
  if (count > 0)
    m_context.feedback.SetStatus(StatusKind::Text, QStringLiteral("Creating list..."));
  m_model->SetRows(std::move(rows));
  m_list->header()->setSortIndicator(GameListModel::kNameColumn, Qt::AscendingOrder);
  m_model->sort(GameListModel::kNameColumn, Qt::AscendingOrder);
  ShowCheckAllState(count > 0 && m_model->AllChecked());
  m_listBusy = false;
  emit listReplaced(count);
  if (count > 0) {
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
    m_list->scrollToTop();
  }
  m_context.feedback.SetStatus(
      StatusKind::Text, ListCountText(count, ViewCount(m_context.catalogue, m_context.feedback, m_systemId, m_view)));
}

void GameListPane::ShowCheckAllState(bool allTicked)
{
  m_checkAll->setChecked(allTicked);
  m_checkAll->setText(allTicked ? kUncheckAll : kCheckAll);
}

bool GameListPane::WriteCheckMark(qint64 gameId, bool selected)
{
  if (m_listBusy)
    return true;
  const bool written = SetSelected(m_context.catalogue, m_context.feedback, gameId, selected);
  // The model counts the new mark once this returns.
  if (written)
    ShowCheckAllState(m_model->CheckedCount() + (selected ? 1 : -1) == m_model->rowCount());
  return written;
}

void GameListPane::SetLocked(bool locked)
{
  m_genreCombo->setEnabled(!locked);
  m_list->setEnabled(!locked);
  m_checkAll->setEnabled(!locked);
}

int GameListPane::CurrentRow() const
{
  return m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
}

const GameRow* GameListPane::CurrentGame() const
{
  return m_model->RowAt(m_list->currentIndex().row());
}

void GameListPane::SelectRow(int row)
{
  if (row < 0 || row >= m_model->rowCount())
    return;
  const QModelIndex index = m_model->index(row, GameListModel::kNameColumn);
  if (m_list->currentIndex() == index)
    emit currentRowChanged(row);
  else
    m_list->setCurrentIndex(index);
  m_list->scrollTo(index);
}

void GameListPane::RenameCurrentRow(const QString& name)
{
  m_model->SetRowName(m_list->currentIndex().row(), name);
  m_list->scrollTo(m_list->currentIndex());
}

QList<qint64> GameListPane::TickedGameIds() const
{
  QList<qint64> gameIds;
  for (int row = 0; row < m_model->rowCount(); ++row) {
    if (m_model->RowAt(row)->selected)
      gameIds << m_model->GameIdAt(row);
  }
  return gameIds;
}

void GameListPane::ClearLegendFilter()
{
  for (ClickableLabel* label : m_legendLabels)
    SetBold(label, false);
}

void GameListPane::OnLegendClicked(const QString& filter, ClickableLabel* label)
{
  if (m_loading || m_listBusy)
    return;
  ClearLegendFilter();
  if (m_missingFilter == filter) {
    m_missingFilter.clear();
  } else {
    m_missingFilter = filter;
    SetBold(label, true);
  }
  FilterGenre(false);
}

void GameListPane::OnGenreActivated()
{
  if (m_loading || m_listBusy)
    return;
  FilterGenre(false);
}

void GameListPane::OnGenreEntered()
{
  // Completion keeps the letter case the user typed; the genre is the item of that name.
  const int index = m_genreCombo->findText(m_genreCombo->currentText(), Qt::MatchFixedString);
  if (index >= 0) {
    m_genreCombo->setCurrentIndex(index);
    m_genreCombo->setEditText(m_genreCombo->itemText(index));
  }
  OnGenreActivated();
}

void GameListPane::OnCheckAllClicked()
{
  const bool mark = m_checkAll->text() == kCheckAll;
  emit lockWanted(true);
  m_context.feedback.SetStatus(StatusKind::Text, QStringLiteral("Please wait, updating list..."));
  m_listBusy = true;
  const bool written = CheckAll(m_context.catalogue, m_context.feedback, m_systemId, mark, m_view, m_clones);
  if (written)
    m_model->SetAllChecked(mark);
  ShowCheckAllState(written ? mark : !mark);
  if (m_model->rowCount() > 0)
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
  m_listBusy = false;
  emit lockWanted(false);
  m_context.feedback.SetStatus(StatusKind::Ok, {});
}

void GameListPane::OnHeaderClicked()
{
  const Qt::SortOrder order =
      m_list->header()->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::AscendingOrder : Qt::DescendingOrder;
  m_model->sort(GameListModel::kNameColumn, order);
  m_list->scrollTo(m_list->currentIndex());
}

}  // namespace quillon::ui
