#pragma once
// What sqlite_master says about a library's main file, and the column and index rules the
// statements of a connection keep (Sqlite2Connection.cpp). Used inside src/export/sqlite2 only.
#include "export/sqlite2/Sqlite2File.h"
#include "export/sqlite2/Sqlite2Sql.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace quillon::sqlite2 {

// Thrown while a statement runs; the connection turns it into the statement's error.
struct Failure {
  QString message;
};
[[noreturn]] void Fail(const QString& message);

QString Text(const QByteArray& bytes);

struct MainTable {
  TableSchema schema;
  std::uint32_t root = 0;
};

struct MainIndex {
  QByteArray name;
  QByteArray table;  // lower case
  std::vector<int> columns;
  bool unique = false;
  std::uint32_t root = 0;
};

// What sqlite_master says about the main file.
struct Schema {
  std::map<QByteArray, MainTable> tables;  // by lower-case name
  std::vector<MainIndex> indexes;
  std::map<QByteArray, QString> blocked;  // tables we must not change, and why
  std::set<QByteArray> names;             // every object name, lower case
  std::int32_t lastMasterRowid = 0;
};

Schema ReadSchema(const LibraryContent& content);

// "rowid", "oid" and "_rowid_", in any case.
bool IsRowidName(const QByteArray& name);

// A column of a row: its value, the row id for the INTEGER PRIMARY KEY and the rowid names.
Value ColumnOf(const TableSchema& table, int column, const BtreeEntry& row);

// Column index for a name; -1 for the row id names; fails for unknown columns.
int ResolveColumn(const TableSchema& table, const QByteArray& name);

// The entries of an index over the table's rows, in key order; fails when a unique index would
// hold a value twice.
BtreeEntries BuildIndex(const TableSchema& table, const MainIndex& index, const BtreeEntries& rows);

}  // namespace quillon::sqlite2
