#include "catalogue/MultiRowInsert.h"

namespace quillon {

MultiRowInsert::MultiRowInsert(Catalogue& catalogue, const QString& head, const QString& row, int parametersPerRow)
    : m_parametersPerRow(parametersPerRow)
{
  for (const int rows : {64, 8, 1}) {
    QStringList values;
    for (int i = 0; i < rows; ++i)
      values << row;
    m_statements.emplace_back(rows,
                              std::make_unique<BulkStatement>(catalogue, head + values.join(QStringLiteral(", "))));
  }
}

bool MultiRowInsert::InsertRows(BulkStatement& statement, int rows, int first, const Binder& bind,
                                std::vector<std::optional<qint64>>& keys)
{
  for (int i = 0; i < rows; ++i)
    bind(statement, first + i, 1 + i * m_parametersPerRow);
  if (!statement.Execute())
    return false;
  const qint64 last = statement.LastInsertId();
  for (int i = 0; i < rows; ++i)
    keys[static_cast<size_t>(first + i)] = last - (rows - 1 - i);
  return true;
}

std::vector<std::optional<qint64>> MultiRowInsert::Insert(int count, const Binder& bind, const Failed& failed)
{
  std::vector<std::optional<qint64>> keys(static_cast<size_t>(count));
  BulkStatement& single = *m_statements.back().second;
  int next = 0;
  for (const auto& [rows, statement] : m_statements) {
    for (; count - next >= rows; next += rows) {
      if (InsertRows(*statement, rows, next, bind, keys))
        continue;
      for (int row = next; row < next + rows; ++row) {
        if (!InsertRows(single, 1, row, bind, keys))
          failed(row, single.Failure());
      }
    }
  }
  return keys;
}

}  // namespace quillon
