#pragma once
// An INSERT of many rows at once: one statement of dozens of rows costs the engine little more
// than a statement of one, so batches of new rows go in statements of 64, 8 and 1 rows, each
// prepared once. Use it inside a Transaction.
#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class MultiRowInsert {
 public:
  // `head` is "INSERT INTO table (columns) VALUES ", `row` the values of one row such as
  // "(?, ?, 1)", holding `parametersPerRow` parameters.
  MultiRowInsert(Catalogue& catalogue, const QString& head, const QString& row, int parametersPerRow);

  // Binds the values of row `row` from parameter `first` on.
  using Binder = std::function<void(BulkStatement& statement, int row, int first)>;
  // Told of a row that could not be inserted.
  using Failed = std::function<void(int row, const SqlFailure& failure)>;

  // Inserts rows 0 to `count` - 1 in that order and gives the key each was given, or nullopt for
  // a row that failed. A statement that fails is undone by the engine, and its rows are then
  // tried one at a time, so that every row that can be inserted is, and each failure is told.
  std::vector<std::optional<qint64>> Insert(int count, const Binder& bind, const Failed& failed);

 private:
  // Rows of one statement get consecutive keys: the last one's less the rows after it.
  bool InsertRows(BulkStatement& statement, int rows, int first, const Binder& bind,
                  std::vector<std::optional<qint64>>& keys);

  // Statements of 64, 8 and 1 rows.
  std::vector<std::pair<int, std::unique_ptr<BulkStatement>>> m_statements;
  int m_parametersPerRow;
};

}  // namespace quillon
