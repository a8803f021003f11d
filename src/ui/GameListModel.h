#pragma once
// The rows of `listgames`: full name with its check mark, colour and bold face, the game's key in
// a column that the view keeps out of sight, and the optional columns (year, country, maker,
// genre, rating, file name, identification result). The model holds every row the list query
// gave; the rows it shows are those the name search finds, in the order of the column sorted by.
#include "browser/GameList.h"
#include "browser/NameSearch.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace quillon::ui {

class GameListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column {
    kNameColumn = 0,
    kIdColumn,
    kYearColumn,
    kCountryColumn,
    kMakerColumn,
    kGenreColumn,
    kRatingColumn,
    kFileColumn,
    kResultColumn,
    kColumnCount
  };
  // The file of a row's picture (empty without one), for the box-art grid.
  static constexpr int kPictureRole = Qt::UserRole + 1;
  // Asked before a check mark changes; false keeps the old mark (the write failed).
  using CheckHandler = std::function<bool(qint64 gameId, bool selected)>;

  explicit GameListModel(QObject* parent = nullptr);

  // Replaces every row (one model reset); colours are computed here, from the rows alone. The
  // search and the sort order stay.
  void SetRows(std::vector<GameRow> rows, ListNames names = {});
  // Shows only the rows whose names hold every typed word (one model reset when that changes).
  void SetSearch(const QString& typed);
  void SetCheckHandler(CheckHandler handler) { m_checkHandler = std::move(handler); }
  // The list's background: on a dark one the colours are lightened to stay readable.
  void SetBackground(const QColor& base);
  // Sets every row's mark without writing (the catalogue was changed in one statement).
  void SetAllChecked(bool checked);
  // Recolours one row after its details changed; an empty literal clears colour and bold.
  void SetRowColour(int row, const QString& literal);
  void SetRowName(int row, const QString& name);

  int RowOfGame(qint64 gameId) const;
  qint64 GameIdAt(int row) const;
  const GameRow* RowAt(int row) const;
  // Every row the query gave, found by the search or not.
  int TotalCount() const { return static_cast<int>(m_entries.size()); }
  // Check marks over every row the query gave.
  int CheckedCount() const { return m_checked; }
  bool AllChecked() const { return !m_entries.empty() && m_checked == TotalCount(); }
  QString ColourAt(int row) const;
  // The colour a literal is drawn in on the current background.
  QColor ShownColour(const QString& literal) const;
  int SortColumn() const { return m_sortColumn; }
  Qt::SortOrder SortOrder() const { return m_sortOrder; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Stable: rows that compare equal keep the name order of the query; descending is the
  // ascending order turned round.
  void sort(int column, Qt::SortOrder order) override;

 private:
  struct Entry {
    GameRow row;
    QString colour;
    QString foldedName;  // made when a search first needs it
  };
  const Entry& EntryAt(int row) const { return m_entries[static_cast<size_t>(m_shown[static_cast<size_t>(row)])]; }
  Entry& EntryAt(int row) { return m_entries[static_cast<size_t>(m_shown[static_cast<size_t>(row)])]; }
  QVariant DisplayText(const Entry& entry, int column) const;
  QVariant StyleOf(const Entry& entry, int role) const;
  std::vector<int> SortedOrder(int column, Qt::SortOrder order) const;
  void FoldNames();
  // m_shown from m_order through the search; `narrowing` tries only the rows shown now.
  void ApplySearch(bool narrowing);

  std::vector<Entry> m_entries;  // in the order of the query (by name)
  std::vector<int> m_order;      // every entry, in the order sorted by
  std::vector<int> m_shown;      // the entries found by the search, in that order
  ListNames m_names;
  NameSearch m_search;
  bool m_folded = false;
  CheckHandler m_checkHandler;
  int m_sortColumn = kNameColumn;
  Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
  int m_checked = 0;
  QColor m_background;
  QHash<QString, QColor> m_shownColours;
};

}  // namespace quillon::ui
