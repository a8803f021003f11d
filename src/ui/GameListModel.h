#pragma once
// The rows of `listgames`: full name with its check mark, colour and bold face, and the game's
// key in a second column that the view keeps out of sight.
#include "browser/GameList.h"

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace quillon::ui {

class GameListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNameColumn = 0, kIdColumn = 1 };
  // Asked before a check mark changes; false keeps the old mark (the write failed).
  using CheckHandler = std::function<bool(qint64 gameId, bool selected)>;

  explicit GameListModel(QObject* parent = nullptr);

  // Replaces every row (one model reset); colours are computed here, from the rows alone.
  void SetRows(std::vector<GameRow> rows);
  void SetCheckHandler(CheckHandler handler) { m_checkHandler = std::move(handler); }
  // Sets every row's mark without writing (the catalogue was changed in one statement).
  void SetAllChecked(bool checked);
  // Recolours one row after its details changed; an empty literal clears colour and bold.
  void SetRowColour(int row, const QString& literal);
  void SetRowName(int row, const QString& name);

  int RowOfGame(qint64 gameId) const;
  qint64 GameIdAt(int row) const;
  const GameRow* RowAt(int row) const;
  int CheckedCount() const;
  bool AllChecked() const { return !m_rows.empty() && CheckedCount() == static_cast<int>(m_rows.size()); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  // Rows arrive ordered by name; sorting turns the order round.
  void sort(int column, Qt::SortOrder order) override;

 private:
  struct Entry {
    GameRow row;
    QString colour;
    QColor textColour;
  };
  std::vector<Entry> m_rows;
  CheckHandler m_checkHandler;
  Qt::SortOrder m_order = Qt::AscendingOrder;
  int m_checked = 0;
};

}  // namespace quillon::ui
