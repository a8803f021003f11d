#pragma once
// Our own implementation of the three calls of the SQLite 2 wrapper the library export uses, over
// our own reader and writer of the SQLite 2.1 file format (".mlf" libraries).
//
//   QString error;
//   std::unique_ptr<Connection> library = sqlite_open(path, &error);   // nullptr + error on failure
//   StatementResult r = ags_sqlite_get_table(library.get(), "begin;");  // r.ok, r.error, r.changes
//   StatementResult closed = sqlite_close(std::move(library));           // writes the library
//
// Statements understood (keywords in any case, any white space, a final ";" optional, several
// statements in one text run in order and stop at the first failure):
//   CREATE [TEMP|TEMPORARY] TABLE t (col [type] [constraints], ...)
//   CREATE [UNIQUE] INDEX i ON t (col, ...)
//   COPY t FROM 'file' [USING DELIMITERS 'delimiter']       (rules: Sqlite2Copy.h)
//   BEGIN [TRANSACTION] / COMMIT / END / ROLLBACK
//   DELETE FROM t [WHERE [t.]col = literal]                  (compared as the engine compares)
//   INSERT INTO t [(cols)] SELECT cols|* FROM s  /  INSERT INTO t [(cols)] VALUES (literals)
// Anything else fails with "unsupported statement: ...". A failing statement changes nothing;
// the connection stays usable.
//
// The library file is read whole when it is opened (a rollback journal beside it is played back
// first and the restored file written, as the engine does) and written whole by sqlite_close,
// only when a committed statement changed it: a complete new file is written beside it, synced
// and renamed over it, so a failure at any point leaves the old library as it was. Temporary
// tables live in memory only. Changes not committed when the library is closed are dropped.
#include "export/sqlite2/Sqlite2File.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace quillon::sqlite2 {

// An open library. Only the functions below use it.
class Connection {
 public:
  struct Impl;
  explicit Connection(std::unique_ptr<Impl> impl);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  Impl& Inside() { return *m_impl; }

 private:
  std::unique_ptr<Impl> m_impl;
};

struct StatementResult {
  bool ok = false;
  QString error;    // empty on success
  int changes = 0;  // rows inserted, copied or deleted
  explicit operator bool() const { return ok; }
};

// Opens a library. A missing file is an empty library (created when something is committed).
std::unique_ptr<Connection> sqlite_open(const QString& libraryPath, QString* errorText);

// Executes the statement text on the open library (handle may be null: an error).
StatementResult ags_sqlite_get_table(Connection* handle, const QByteArray& sql);
StatementResult ags_sqlite_get_table(Connection* handle, const QString& sql);  // sent as local 8-bit text
StatementResult ags_sqlite_get_table(Connection* handle, const char* sql);

// Writes the committed changes into the library file and closes it. The library is not written
// when nothing was changed, nor when another program changed or began writing it after it was
// opened (an error then). `fault` lets tests make one step of the replacement fail.
StatementResult sqlite_close(std::unique_ptr<Connection> handle, const ReplaceFault& fault = {});

// The statement that makes the library's `items` table.
inline constexpr char kCreateItemsTable[] =
    "create table items (item_id integer primary key, item_name, item_location, item_image, tag_1, tag_2, "
    "tag_3, tag_4, tag_5, tag_6, tag_7, tag_8, tag_9, tag_10, tag_11, tag_12, tag_13, tag_14, tag_15);";

// Creates the template library (an empty `items` table) at `path`; fails when a file is there.
bool CreateTemplateLibrary(const QString& path, QString* error);

}  // namespace quillon::sqlite2
