#include "ui/GameListPane.h"

#include "browser/CoverThumbnails.h"
#include "catalogue/DataFolder.h"
#include "ui/ClickableLabel.h"
#include "ui/CompletingComboBox.h"
#include "ui/CoverLoader.h"
#include "ui/GameGridView.h"
#include "ui/GameListModel.h"
#include "ui/GameListView.h"
#include "ui/GameViewEvents.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QShortcut>
#include <QStackedWidget>
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

// The optional columns, their width in average characters, and whether a new user sees them.
struct OptionalColumn {
  int column;
  int widthInCharacters;
  bool shownAtFirst;
};
const OptionalColumn kOptionalColumns[] = {
    {GameListModel::kYearColumn, 7, true},     {GameListModel::kCountryColumn, 10, false},
    {GameListModel::kMakerColumn, 20, true},   {GameListModel::kGenreColumn, 12, false},
    {GameListModel::kRatingColumn, 7, false},  {GameListModel::kFileColumn, 20, false},
    {GameListModel::kResultColumn, 13, false},
};

void SetBold(QLabel* label, bool bold)
{
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
}

// "1,204" in the user's way of writing numbers.
QString Count(int number)
{
  QLocale locale;
  locale.setNumberOptions(QLocale::DefaultNumberOptions);
  return locale.toString(number);
}

}  // namespace

GameListPane::GameListPane(UiContext context, QWidget* parent)
    : QGroupBox(kAvailableCaption, parent), m_context(context)
{
  setObjectName(QStringLiteral("frmgames"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildSearchRow());

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

  BuildViews();
  layout->addWidget(m_views, 1);
  layout->addWidget(BuildLegend());
  ShowPaletteColours();
  ShowCaption();
}

GameListPane::~GameListPane() = default;

QWidget* GameListPane::BuildSearchRow()
{
  m_search = new QLineEdit(this);
  m_search->setObjectName(QStringLiteral("txtsearch"));
  m_search->setPlaceholderText(tr("Find a game by name (Ctrl+F)"));
  m_search->setToolTip(tr("Shows the games whose names hold every word typed; Esc clears"));
  m_search->setClearButtonEnabled(true);
  connect(m_search, &QLineEdit::textChanged, this, &GameListPane::OnSearchEdited);
  auto* find = new QShortcut(QKeySequence::Find, this, nullptr, nullptr, Qt::WindowShortcut);
  connect(find, &QShortcut::activated, this, &GameListPane::FocusSearch);
  // Esc empties the box; in an empty box it goes back to the games.
  auto* clear = new QShortcut(QKeySequence(Qt::Key_Escape), m_search, nullptr, nullptr, Qt::WidgetShortcut);
  connect(clear, &QShortcut::activated, this, [this] {
    if (m_search->text().isEmpty())
      m_views->currentWidget()->setFocus();
    m_search->clear();
  });
  connect(m_search, &QLineEdit::returnPressed, this, [this] { m_views->currentWidget()->setFocus(); });
  return m_search;
}

void GameListPane::BuildViews()
{
  m_model = new GameListModel(this);
  m_model->SetCheckHandler([this](qint64 gameId, bool selected) { return WriteCheckMark(gameId, selected); });
  m_covers = new CoverLoader(ThumbnailFolder(m_context.folder), this);

  m_views = new QStackedWidget(this);
  m_list = new GameListView(m_views);
  m_list->setModel(m_model);
  SetUpColumns();
  m_grid = new GameGridView(*m_covers, m_views);
  m_grid->setModel(m_model);
  m_grid->setSelectionModel(m_list->selectionModel());
  m_views->addWidget(m_list);
  m_views->addWidget(m_grid);

  m_listEvents = new GameViewEvents(m_list);
  m_gridEvents = new GameViewEvents(m_grid);
  ConnectViewEvents(m_listEvents, false);
  ConnectViewEvents(m_gridEvents, true);
  connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &GameListPane::OnCurrentChanged);
}

void GameListPane::ConnectViewEvents(GameViewEvents* events, bool forGrid)
{
  // Only the view on show speaks for the pane.
  const auto shown = [this, forGrid] { return m_picturesShown == forGrid; };
  connect(events, &GameViewEvents::repeatEnded, this, [this, shown](int row) {
    if (shown())
      emit currentRowChanged(row);
  });
  connect(events, &GameViewEvents::deletePressed, this, [this, shown] {
    if (shown())
      emit deletePressed();
  });
  connect(events, &GameViewEvents::playWanted, this, [this, shown](int row) {
    if (shown())
      emit playWanted(row);
  });
  connect(events, &GameViewEvents::contextMenuWanted, this, [this, shown](const QPoint& position, int row) {
    if (shown())
      emit contextMenuWanted(position, row);
  });
  connect(events, &GameViewEvents::filesDropped, this, &GameListPane::filesDropped);
}

void GameListPane::SetUpColumns()
{
  QHeaderView* header = m_list->header();
  m_list->setColumnHidden(GameListModel::kIdColumn, true);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setSectionResizeMode(GameListModel::kNameColumn, QHeaderView::Stretch);
  header->setMinimumSectionSize(m_list->fontMetrics().averageCharWidth() * 4);
  for (const OptionalColumn& optional : kOptionalColumns) {
    header->resizeSection(optional.column, m_list->fontMetrics().averageCharWidth() * optional.widthInCharacters);
    m_list->setColumnHidden(optional.column, !optional.shownAtFirst);
  }
  header->setSortIndicator(GameListModel::kNameColumn, Qt::AscendingOrder);
  connect(header, &QHeaderView::sortIndicatorChanged, this, &GameListPane::OnSortChanged);
  connect(header, &QHeaderView::customContextMenuRequested, this, &GameListPane::ShowColumnMenu);
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
    auto* swatch = new QFrame(legend);
    swatch->setFixedSize(14, 14);
    m_swatches.append({swatch, *entry.colour});
    const int row = index / 4;
    const int column = (index % 4) * 2;
    grid->addWidget(swatch, row, column);
    grid->addWidget(label, row, column + 1);
    ++index;
  }
  grid->setColumnStretch(7, 1);
  return legend;
}

void GameListPane::changeEvent(QEvent* event)
{
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::PaletteChange)
    ShowPaletteColours();
}

void GameListPane::ShowPaletteColours()
{
  m_model->SetBackground(palette().color(QPalette::Base));
  for (const auto& [swatch, literal] : m_swatches) {
    swatch->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid %2;")
                              .arg(m_model->ShownColour(literal).name(), palette().color(QPalette::Mid).name()));
  }
}

void GameListPane::SetView(GameView view)
{
  m_view = view;
  ShowCaption();
}

void GameListPane::ShowCaption()
{
  setTitle(QStringLiteral("%1 (%2 of %3)")
               .arg(m_view == GameView::Missing ? kMissingCaption : kAvailableCaption, Count(m_model->rowCount()),
                    Count(m_viewCount)));
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
  int viewCount = 0;
  std::optional<std::vector<GameRow>> rows =
      GameListQuery(m_context.catalogue, m_context.feedback, filters, QStringLiteral("FilterGenre"), &viewCount);
  if (!rows)
    return false;
  if (!refreshOnly)
    CreateList(std::move(*rows), viewCount);
  emit listFiltered(refreshOnly);
  m_context.feedback.Yield();
  return true;
}

void GameListPane::CreateList(std::vector<GameRow> rows, int viewCount)
{
  m_listBusy = true;
  if (!rows.empty())
    m_context.feedback.SetStatus(StatusKind::Text, QStringLiteral("Creating list..."));
  m_model->SetRows(std::move(rows), LoadListNames(m_context.catalogue, m_context.feedback));
  const int count = m_model->rowCount();
  ShowCheckAllState(m_model->AllChecked());
  m_listBusy = false;
  emit listReplaced(count);
  if (count > 0) {
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
    m_list->scrollToTop();
    m_grid->scrollToTop();
  }
  m_viewCount = viewCount;
  ShowCaption();
  m_context.feedback.SetStatus(StatusKind::Text, ListCountText(count, m_viewCount));
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
    ShowCheckAllState(m_model->CheckedCount() + (selected ? 1 : -1) == m_model->TotalCount());
  return written;
}

void GameListPane::SetLocked(bool locked)
{
  m_search->setEnabled(!locked);
  m_genreCombo->setEnabled(!locked);
  m_list->setEnabled(!locked);
  m_grid->setEnabled(!locked);
  m_checkAll->setEnabled(!locked);
}

void GameListPane::SetSearchText(const QString& text)
{
  m_search->setText(text);
}

QString GameListPane::SearchText() const
{
  return m_search->text();
}

void GameListPane::FocusSearch()
{
  m_search->setFocus(Qt::ShortcutFocusReason);
  m_search->selectAll();
}

void GameListPane::OnSearchEdited(const QString& text)
{
  // The game shown stays shown when the search still finds it; otherwise the first found is.
  const qint64 shownGame = m_model->GameIdAt(CurrentRow());
  m_listBusy = true;
  m_model->SetSearch(text);
  const int keep = m_model->RowOfGame(shownGame);
  if (keep >= 0)
    m_list->setCurrentIndex(m_model->index(keep, GameListModel::kNameColumn));
  m_listBusy = false;
  ShowCaption();
  emit searchApplied(m_model->rowCount());
  if (keep < 0 && m_model->rowCount() > 0)
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
  ScrollToCurrent();
}

void GameListPane::ShowPictures(bool pictures)
{
  m_picturesShown = pictures;
  m_views->setCurrentWidget(pictures ? static_cast<QWidget*>(m_grid) : m_list);
  ScrollToCurrent();
}

void GameListPane::SetColumnShown(int column, bool shown)
{
  if (column == GameListModel::kNameColumn || column == GameListModel::kIdColumn)
    return;
  m_list->setColumnHidden(column, !shown);
}

bool GameListPane::ColumnShown(int column) const
{
  return !m_list->isColumnHidden(column);
}

QByteArray GameListPane::ColumnState() const
{
  return m_list->header()->saveState();
}

void GameListPane::RestoreColumnState(const QByteArray& state)
{
  QHeaderView* header = m_list->header();
  if (state.isEmpty() || !header->restoreState(state))
    return;
  // Whatever was stored, the name fills the row and the key stays out of sight.
  header->setSectionResizeMode(GameListModel::kNameColumn, QHeaderView::Stretch);
  m_list->setColumnHidden(GameListModel::kNameColumn, false);
  m_list->setColumnHidden(GameListModel::kIdColumn, true);
  OnSortChanged(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

void GameListPane::ShowColumnMenu(const QPoint& position)
{
  QMenu menu(this);
  for (const OptionalColumn& optional : kOptionalColumns) {
    QAction* action = menu.addAction(m_model->headerData(optional.column, Qt::Horizontal, Qt::DisplayRole).toString());
    action->setCheckable(true);
    action->setChecked(ColumnShown(optional.column));
    const int column = optional.column;
    connect(action, &QAction::toggled, this, [this, column](bool shown) { SetColumnShown(column, shown); });
  }
  menu.exec(m_list->header()->mapToGlobal(position));
}

void GameListPane::OnSortChanged(int column, Qt::SortOrder order)
{
  m_model->sort(column, order);
  ScrollToCurrent();
}

void GameListPane::OnCurrentChanged(const QModelIndex& current)
{
  // Details wait while an arrow key is held down: the row it stops on is shown on release.
  if (current.isValid() && !KeyRepeating())
    emit currentRowChanged(current.row());
}

bool GameListPane::KeyRepeating() const
{
  return m_listEvents->IsKeyRepeating() || m_gridEvents->IsKeyRepeating();
}

void GameListPane::ScrollToCurrent()
{
  const QModelIndex current = m_list->currentIndex();
  if (!current.isValid())
    return;
  m_list->scrollTo(current);
  m_grid->scrollTo(current);
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
  ScrollToCurrent();
}

void GameListPane::RenameCurrentRow(const QString& name)
{
  m_model->SetRowName(m_list->currentIndex().row(), name);
  ScrollToCurrent();
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

}  // namespace quillon::ui
