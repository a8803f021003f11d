#pragma once
// A prepared statement for batches of thousands of rows (scans, imports): it binds values
// straight into the engine on the catalogue's own connection, without the per-value bookkeeping
// of the general statement helpers. Use it inside a Transaction.
#include <QString>
#include <QVariant>

#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quillon {

class Catalogue;
struct SqlFailure;

// The kind of value a result column holds in the current row.
enum class ColumnType { Integer, Real, Text, Blob, Null };

class BulkStatement {
 public:
  BulkStatement(Catalogue& catalogue, const QString& sql);
  ~BulkStatement();
  BulkStatement(const BulkStatement&) = delete;
  BulkStatement& operator=(const BulkStatement&) = delete;

  bool IsValid() const { return m_statement != nullptr; }
  // Binds the values of the next row, from position 1; an invalid or null QVariant binds Null.
  void Bind(int position, const QVariant& value);
  void Bind(int position, qint64 value);
  void Bind(int position, const QString& value);
  void BindNull(int position);
  // Runs the statement with the bound values and makes it ready for the next row.
  bool Execute();
  // For a SELECT: steps to the next result row; false at the end or on failure (see Failed()).
  bool Next();
  // Makes a SELECT ready to run again (with new bindings).
  void Reset();
  bool Failed() const { return m_failed; }
  qint64 Int(int column) const;
  QString Text(int column) const;
  // The column's text as the engine holds it, in UTF-8, without a copy: valid until the next step.
  std::string_view Utf8(int column) const;
  ColumnType Type(int column) const;
  // The column as a QVariant: Null, a whole number, a real or a text.
  QVariant Value(int column) const;
  // The key of the row the last Execute inserted.
  qint64 LastInsertId() const;
  SqlFailure Failure() const;

 private:
  sqlite3* m_database = nullptr;
  sqlite3_stmt* m_statement = nullptr;
  QString m_prepareError;
  bool m_failed = false;
};

}  // namespace quillon
