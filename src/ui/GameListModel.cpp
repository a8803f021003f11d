#include "ui/GameListModel.h"

#include "browser/ReadableColours.h"
#include "identify/RomIndex.h"
#include "ui/MatchStatusMarks.h"

#include <QFont>

#include <algorithm>
#include <numeric>

namespace quillon::ui {

namespace {

// Ascending ranks of the entries by `key`, stable.
template <typename Key>
void StableSortBy(std::vector<int>& order, const Key& key)
{
  std::stable_sort(order.begin(), order.end(), [&key](int a, int b) { return key(a) < key(b); });
}

QVariant Rating(const GameRow& row)
{
  return row.rating.isNull() ? QVariant() : QVariant(row.rating.toInt());
}

}  // namespace

GameListModel::GameListModel(QObject* parent) : QAbstractTableModel(parent) {}

void GameListModel::SetRows(std::vector<GameRow> rows, ListNames names)
{
  beginResetModel();
  m_entries.clear();
  m_entries.reserve(rows.size());
  m_names = std::move(names);
  m_checked = 0;
  m_folded = false;
  for (GameRow& row : rows) {
    Entry entry{std::move(row), {}, {}};
    entry.colour = ListColour(entry.row);
    if (!entry.colour.isEmpty() && !m_shownColours.contains(entry.colour))
      m_shownColours.insert(entry.colour, ShownColour(entry.colour));
    if (entry.row.selected)
      ++m_checked;
    m_entries.push_back(std::move(entry));
  }
  m_order = SortedOrder(m_sortColumn, m_sortOrder);
  ApplySearch(false);
  endResetModel();
}

void GameListModel::SetSearch(const QString& typed)
{
  NameSearch search(typed);
  const bool narrowing = search.Narrows(m_search);
  beginResetModel();
  m_search = std::move(search);
  ApplySearch(narrowing);
  endResetModel();
}

void GameListModel::FoldNames()
{
  if (m_folded)
    return;
  for (Entry& entry : m_entries)
    entry.foldedName = NameSearch::Fold(entry.row.fullName);
  m_folded = true;
}

void GameListModel::ApplySearch(bool narrowing)
{
  if (m_search.IsEmpty()) {
    m_shown = m_order;
    return;
  }
  FoldNames();
  const std::vector<int>& candidates = narrowing ? m_shown : m_order;
  std::vector<int> found;
  found.reserve(candidates.size());
  for (int entry : candidates) {
    if (m_search.Matches(m_entries[static_cast<size_t>(entry)].foldedName))
      found.push_back(entry);
  }
  m_shown = std::move(found);
}

void GameListModel::SetBackground(const QColor& base)
{
  if (base == m_background)
    return;
  m_background = base;
  const QStringList literals = m_shownColours.keys();
  for (const QString& literal : literals)
    m_shownColours.insert(literal, ReadableOn(ColourFromLiteral(literal), m_background));
  if (rowCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, kColumnCount - 1), {Qt::ForegroundRole});
}

QColor GameListModel::ShownColour(const QString& literal) const
{
  const auto known = m_shownColours.constFind(literal);
  if (known != m_shownColours.cend())
    return *known;
  const QColor colour = ColourFromLiteral(literal);
  return m_background.isValid() ? ReadableOn(colour, m_background) : colour;
}

void GameListModel::SetAllChecked(bool checked)
{
  for (Entry& entry : m_entries)
    entry.row.selected = checked;
  m_checked = checked ? TotalCount() : 0;
  if (rowCount() > 0)
    emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void GameListModel::SetRowColour(int row, const QString& literal)
{
  if (row < 0 || row >= rowCount())
    return;
  EntryAt(row).colour = literal;
  if (!literal.isEmpty() && !m_shownColours.contains(literal))
    m_shownColours.insert(literal, ShownColour(literal));
  emit dataChanged(index(row, 0), index(row, kColumnCount - 1), {Qt::ForegroundRole, Qt::FontRole});
}

void GameListModel::SetRowName(int row, const QString& name)
{
  if (row < 0 || row >= rowCount())
    return;
  Entry& entry = EntryAt(row);
  entry.row.fullName = name;
  if (m_folded)
    entry.foldedName = NameSearch::Fold(name);
  emit dataChanged(index(row, 0), index(row, 0), {Qt::DisplayRole});
}

int GameListModel::RowOfGame(qint64 gameId) const
{
  for (int row = 0; row < rowCount(); ++row) {
    if (EntryAt(row).row.gameId == gameId)
      return row;
  }
  return -1;
}

qint64 GameListModel::GameIdAt(int row) const
{
  return row >= 0 && row < rowCount() ? EntryAt(row).row.gameId : 0;
}

const GameRow* GameListModel::RowAt(int row) const
{
  return row >= 0 && row < rowCount() ? &EntryAt(row).row : nullptr;
}

QString GameListModel::ColourAt(int row) const
{
  return row >= 0 && row < rowCount() ? EntryAt(row).colour : QString();
}

int GameListModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

int GameListModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant GameListModel::DisplayText(const Entry& entry, int column) const
{
  const GameRow& row = entry.row;
  switch (column) {
    case kNameColumn:
      return row.fullName;
    case kIdColumn:
      return row.gameId;
    case kYearColumn:
      return m_names.years.Name(row.year);
    case kCountryColumn:
      return m_names.countries.Name(row.country);
    case kMakerColumn:
      return m_names.manufacturers.Name(row.manufacturer);
    case kGenreColumn:
      return m_names.genres.Name(row.firstGenreId);
    case kRatingColumn:
      return Rating(row);
    case kFileColumn:
      return row.fileName;
    case kResultColumn:
      return row.matchStatus == 0 ? QString() : MatchStatusText(static_cast<MatchStatus>(row.matchStatus));
    default:
      return {};
  }
}

QVariant GameListModel::StyleOf(const Entry& entry, int role) const
{
  if (entry.colour.isEmpty())
    return {};
  if (role == Qt::ForegroundRole)
    return ShownColour(entry.colour);
  QFont bold;
  bold.setBold(true);
  return bold;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const Entry& entry = EntryAt(index.row());
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return DisplayText(entry, column);
    case Qt::ToolTipRole: {
      const QString result = MatchStatusTip(entry.row.matchStatus, entry.row.matchName);
      return result.isEmpty() ? entry.row.fullName : entry.row.fullName + QLatin1Char('\n') + result;
    }
    case Qt::DecorationRole: {
      if (column != kNameColumn && column != kResultColumn)
        return {};
      const QIcon mark = MatchStatusIcon(entry.row.matchStatus);
      return mark.isNull() ? QVariant() : QVariant(mark);
    }
    case Qt::CheckStateRole:
      if (column != kNameColumn)
        return {};
      return entry.row.selected ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
    case Qt::FontRole:
      return StyleOf(entry, role);
    case Qt::TextAlignmentRole:
      return column == kRatingColumn || column == kYearColumn ? QVariant(Qt::AlignCenter) : QVariant();
    case Qt::UserRole:
      return entry.row.gameId;
    case kPictureRole:
      return entry.row.pictureFile;
    default:
      return {};
  }
}

bool GameListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || index.column() != kNameColumn || role != Qt::CheckStateRole)
    return false;
  Entry& entry = EntryAt(index.row());
  const bool selected = static_cast<Qt::CheckState>(value.toInt()) == Qt::Checked;
  if (selected == entry.row.selected)
    return true;
  if (m_checkHandler && !m_checkHandler(entry.row.gameId, selected))
    return false;
  entry.row.selected = selected;
  m_checked += selected ? 1 : -1;
  emit dataChanged(index, index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags GameListModel::flags(const QModelIndex& index) const
{
  if (!index.isValid())
    return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (index.column() == kNameColumn)
    flags |= Qt::ItemIsUserCheckable;
  return flags;
}

QVariant GameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
    return {};
  switch (section) {
    case kNameColumn:
      return tr("Game");
    case kIdColumn:
      return tr("ID");
    case kYearColumn:
      return tr("Year");
    case kCountryColumn:
      return tr("Country");
    case kMakerColumn:
      return tr("Manufacturer");
    case kGenreColumn:
      return tr("Genre");
    case kRatingColumn:
      return tr("Rating");
    case kFileColumn:
      return tr("File");
    case kResultColumn:
      return tr("Verification");
    default:
      return {};
  }
}

std::vector<int> GameListModel::SortedOrder(int column, Qt::SortOrder order) const
{
  std::vector<int> sorted(m_entries.size());
  std::iota(sorted.begin(), sorted.end(), 0);
  const auto row = [this](int entry) -> const GameRow& { return m_entries[static_cast<size_t>(entry)].row; };
  // Name columns compare their place in name order, made once per entry.
  const auto byRank = [&](const NameTable& table, qint64 GameRow::*key) {
    std::vector<int> ranks(m_entries.size());
    for (size_t i = 0; i < ranks.size(); ++i)
      ranks[i] = table.Rank(m_entries[i].row.*key);
    StableSortBy(sorted, [&ranks](int entry) { return ranks[static_cast<size_t>(entry)]; });
  };
  switch (column) {
    case kIdColumn:
      StableSortBy(sorted, [&](int entry) { return row(entry).gameId; });
      break;
    case kYearColumn:
      byRank(m_names.years, &GameRow::year);
      break;
    case kCountryColumn:
      byRank(m_names.countries, &GameRow::country);
      break;
    case kMakerColumn:
      byRank(m_names.manufacturers, &GameRow::manufacturer);
      break;
    case kGenreColumn:
      byRank(m_names.genres, &GameRow::firstGenreId);
      break;
    case kRatingColumn:
      StableSortBy(sorted, [&](int entry) { return row(entry).rating.isNull() ? -1 : row(entry).rating.toInt(); });
      break;
    case kFileColumn:
      std::stable_sort(sorted.begin(), sorted.end(),
                       [&](int a, int b) { return row(a).fileName.compare(row(b).fileName, Qt::CaseInsensitive) < 0; });
      break;
    case kResultColumn:
      StableSortBy(sorted, [&](int entry) { return row(entry).matchStatus; });
      break;
    default:
      break;  // the query's own order: by name
  }
  if (order == Qt::DescendingOrder)
    std::reverse(sorted.begin(), sorted.end());
  return sorted;
}

void GameListModel::sort(int column, Qt::SortOrder order)
{
  if (column < 0 || column >= kColumnCount || (column == m_sortColumn && order == m_sortOrder))
    return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<int> entriesBefore;
  entriesBefore.reserve(static_cast<size_t>(before.size()));
  for (const QModelIndex& old : before)
    entriesBefore.push_back(m_shown[static_cast<size_t>(old.row())]);
  m_sortColumn = column;
  m_sortOrder = order;
  m_order = SortedOrder(column, order);
  ApplySearch(false);
  std::vector<int> rowOfEntry(m_entries.size(), -1);
  for (size_t row = 0; row < m_shown.size(); ++row)
    rowOfEntry[static_cast<size_t>(m_shown[row])] = static_cast<int>(row);
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype i = 0; i < before.size(); ++i)
    after << index(rowOfEntry[static_cast<size_t>(entriesBefore[static_cast<size_t>(i)])], before[i].column());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace quillon::ui
