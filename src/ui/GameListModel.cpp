#include "ui/GameListModel.h"

#include "ui/MatchStatusMarks.h"

#include <QFont>

#include <algorithm>

namespace quillon::ui {

GameListModel::GameListModel(QObject* parent) : QAbstractTableModel(parent) {}

void GameListModel::SetRows(std::vector<GameRow> rows)
{
  beginResetModel();
  m_rows.clear();
  m_rows.reserve(rows.size());
  m_checked = 0;
  for (GameRow& row : rows) {
    Entry entry{std::move(row), {}, {}};
    entry.colour = ListColour(entry.row);
    if (!entry.colour.isEmpty())
      entry.textColour = ColourFromLiteral(entry.colour);
    if (entry.row.selected)
      ++m_checked;
    m_rows.push_back(std::move(entry));
  }
  if (m_order == Qt::DescendingOrder)
    std::reverse(m_rows.begin(), m_rows.end());
  endResetModel();
}

void GameListModel::SetAllChecked(bool checked)
{
  for (Entry& entry : m_rows)
    entry.row.selected = checked;
  m_checked = checked ? static_cast<int>(m_rows.size()) : 0;
  if (!m_rows.empty())
    emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

void GameListModel::SetRowColour(int row, const QString& literal)
{
  if (row < 0 || row >= rowCount())
    return;
  Entry& entry = m_rows[static_cast<size_t>(row)];
  entry.colour = literal;
  entry.textColour = literal.isEmpty() ? QColor() : ColourFromLiteral(literal);
  emit dataChanged(index(row, 0), index(row, 0), {Qt::ForegroundRole, Qt::FontRole});
}

void GameListModel::SetRowName(int row, const QString& name)
{
  if (row < 0 || row >= rowCount())
    return;
  m_rows[static_cast<size_t>(row)].row.fullName = name;
  emit dataChanged(index(row, 0), index(row, 0), {Qt::DisplayRole});
}

int GameListModel::RowOfGame(qint64 gameId) const
{
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i].row.gameId == gameId)
      return static_cast<int>(i);
  }
  return -1;
}

qint64 GameListModel::GameIdAt(int row) const
{
  return row >= 0 && row < rowCount() ? m_rows[static_cast<size_t>(row)].row.gameId : 0;
}

const GameRow* GameListModel::RowAt(int row) const
{
  return row >= 0 && row < rowCount() ? &m_rows[static_cast<size_t>(row)].row : nullptr;
}

int GameListModel::CheckedCount() const
{
  return m_checked;
}

int GameListModel::rowCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int GameListModel::columnCount(const QModelIndex& parent) const
{
  return parent.isValid() ? 0 : 2;
}

QVariant GameListModel::data(const QModelIndex& index, int role) const
{
  if (!index.isValid() || index.row() >= rowCount())
    return {};
  const Entry& entry = m_rows[static_cast<size_t>(index.row())];
  if (index.column() == kIdColumn) {
    if (role == Qt::DisplayRole)
      return entry.row.gameId;
    return {};
  }
  switch (role) {
    case Qt::DisplayRole:
      return entry.row.fullName;
    case Qt::ToolTipRole: {
      const QString result = MatchStatusTip(entry.row.matchStatus, entry.row.matchName);
      return result.isEmpty() ? entry.row.fullName : entry.row.fullName + QLatin1Char('\n') + result;
    }
    case Qt::DecorationRole: {
      const QIcon mark = MatchStatusIcon(entry.row.matchStatus);
      return mark.isNull() ? QVariant() : QVariant(mark);
    }
    case Qt::CheckStateRole:
      return entry.row.selected ? Qt::Checked : Qt::Unchecked;
    case Qt::ForegroundRole:
      return entry.colour.isEmpty() ? QVariant() : QVariant(entry.textColour);
    case Qt::FontRole:
      if (!entry.colour.isEmpty()) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::UserRole:
      return entry.row.gameId;
    default:
      return {};
  }
}

bool GameListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
  if (!index.isValid() || index.column() != kNameColumn || role != Qt::CheckStateRole)
    return false;
  Entry& entry = m_rows[static_cast<size_t>(index.row())];
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
  return section == kNameColumn ? tr("Game") : tr("ID");
}

void GameListModel::sort(int, Qt::SortOrder order)
{
  if (order == m_order)
    return;
  emit layoutAboutToBeChanged();
  m_order = order;
  std::reverse(m_rows.begin(), m_rows.end());
  const int last = rowCount() - 1;
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& old : before)
    after << index(last - old.row(), old.column());
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

}  // namespace quillon::ui
