#pragma once
// The one connection to the catalogue file, and the statement helpers every part of the program
// uses. Values always travel as bound parameters; only identifiers chosen by our own code are
// written into statement texts.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class Feedback;

// What went wrong with a statement: the engine's result code and its message.
struct SqlFailure {
  int number = 0;
  QString description;

  // The statement named a column or a table that does not exist.
  bool IsMissingColumn() const;
  bool IsMissingTable() const;
};

// All rows of a result at once, so its count is exact.
class Rows {
 public:
  Rows() = default;
  Rows(QStringList columns, std::vector<QVariantList> values);

  int Count() const { return static_cast<int>(m_values.size()); }
  bool IsEmpty() const { return m_values.empty(); }
  const QStringList& Columns() const { return m_columns; }
  // Column index by name, case-insensitively (as field names are); -1 when absent.
  int ColumnIndex(const QString& name) const;
  const QVariantList& Row(int row) const { return m_values[static_cast<size_t>(row)]; }
  QVariant Value(int row, int column) const;
  QVariant Value(int row, const QString& column) const;
  const std::vector<QVariantList>& All() const { return m_values; }

 private:
  QStringList m_columns;
  std::vector<QVariantList> m_values;
};

class Catalogue {
 public:
  ~Catalogue();
  Catalogue(const Catalogue&) = delete;
  Catalogue& operator=(const Catalogue&) = delete;

  // Opens an existing catalogue file. Never creates one: a missing file gives nullptr and
  // `*missing` true. Any other failure gives nullptr with `*failure` filled.
  static std::unique_ptr<Catalogue> Open(const QString& file, bool* missing, SqlFailure* failure);

  QString FilePath() const { return m_file; }
  QSqlDatabase Database() const;

  // Runs a statement and returns all of its rows, or the failure.
  std::optional<Rows> TrySelect(const QString& sql, const QVariantList& binds, SqlFailure* failure);
  bool TryExecute(const QString& sql, const QVariantList& binds, SqlFailure* failure);

  // The same, reporting a failure through `feedback` with the routine's name.
  std::optional<Rows> Select(Feedback& feedback, const QString& routine, const QString& sql,
                             const QVariantList& binds = {});
  bool Execute(Feedback& feedback, const QString& routine, const QString& sql, const QVariantList& binds = {});
  // First column of the first row; an invalid QVariant when there is no row; nullopt on failure.
  std::optional<QVariant> SelectValue(Feedback& feedback, const QString& routine, const QString& sql,
                                      const QVariantList& binds = {});

  // Streams the rows of a statement without holding them: `visit` returns false to stop early.
  bool ForEachRow(Feedback& feedback, const QString& routine, const QString& sql, const QVariantList& binds,
                  const std::function<bool(const QSqlQuery&)>& visit);

  // A prepared statement for repeated use (inside a transaction, for batches).
  QSqlQuery Prepare(const QString& sql, SqlFailure* failure);

  // Key of the row inserted last on this connection.
  qint64 LastInsertId();

  // Whether a transaction is open on the connection.
  bool InTransaction() const;

  // Column names of a table or view, in order; empty when it does not exist.
  QStringList ColumnsOf(const QString& table);
  bool HasColumn(const QString& table, const QString& column);

  void Close();

 private:
  Catalogue(QString file, QString connectionName);
  QSqlQuery Run(const QString& sql, const QVariantList& binds, SqlFailure* failure);

  QString m_file;
  QString m_connectionName;
};

// Binds `values` to the placeholders of a prepared statement, in order. Text reaches the engine
// exactly: the driver passes text as UTF-16, from which the engine drops a leading U+FEFF as a byte
// order mark, so such text is sent with one more U+FEFF for the engine to drop.
void BindValues(QSqlQuery& query, const QVariantList& values);

// The failure of the last operation on a query, as a SqlFailure.
SqlFailure FailureOf(const QSqlQuery& query);
SqlFailure FailureOf(const QSqlDatabase& database);

// One transaction on the catalogue: rolled back when it goes out of scope without Commit().
// Transactions nest (as savepoints). The outermost one is rolled back whole, so that a commit that
// failed (the file locked by another program, a full disk) never leaves the connection inside a
// transaction that later work would silently join.
class Transaction {
 public:
  explicit Transaction(Catalogue& catalogue);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  bool IsActive() const { return m_active; }
  bool Commit(SqlFailure* failure = nullptr);

 private:
  Catalogue& m_catalogue;
  bool m_active = false;
  bool m_outermost = false;
};

// True for names our code may write into statement texts (tables, columns).
bool IsPlainIdentifier(const QString& name);

// YesNo columns store 1 for true; any non-zero value reads as true.
inline bool IsTrue(const QVariant& value)
{
  return !value.isNull() && value.toLongLong() != 0;
}

}  // namespace quillon
