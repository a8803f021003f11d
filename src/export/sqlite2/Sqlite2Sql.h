#pragma once
// The SQL our library layer understands: a tokenizer, CREATE TABLE / CREATE INDEX texts as
// stored in sqlite_master, and the statements the library export sends.
#include "export/sqlite2/Sqlite2Format.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace quillon::sqlite2 {

struct Token {
  enum class Kind { Word, String, Number, Symbol };
  Kind kind;
  QByteArray text;  // words and symbols as written; strings dequoted
  qsizetype begin;  // byte range in the statement text
  qsizetype end;
  bool Is(const char* keyword) const;  // a word or symbol equal to `keyword`, ignoring case
};

// Splits SQL text into tokens (comments and white space dropped); nullopt on an unterminated
// string or comment, or a byte that starts no token.
std::optional<std::vector<Token>> Tokenize(const QByteArray& sql, QString* error);

// Declared types containing CHAR, CLOB, BLOB or TEXT make a "text" column; every other column is
// "numeric" (compared with numbers as numbers, indexed with the sortable number encoding).
bool TypeIsText(const QByteArray& declaredType);

struct ColumnSchema {
  QByteArray name;
  QByteArray declaredType;
  bool numeric = true;
  bool notNull = false;
  Value defaultValue;
};

struct TableSchema {
  QByteArray name;
  bool temporary = false;
  std::vector<ColumnSchema> columns;
  int integerPrimaryKey = -1;  // the column that is the row id, or -1
  // Column sets of the automatic unique indexes, in the order the engine creates them (their
  // sqlite_master rows are named "(TABLE autoindex N)").
  std::vector<std::vector<int>> uniqueColumnSets;
  bool hasConflictClauses = false;                  // ON CONFLICT clauses other than ABORT
  int ColumnIndex(const QByteArray& column) const;  // ignoring case; -1 when absent
};

struct IndexSchema {
  QByteArray name;
  QByteArray table;
  std::vector<QByteArray> columns;
  bool unique = false;
  bool hasConflictClause = false;
};

std::optional<TableSchema> ParseCreateTable(const QByteArray& sql, QString* error);
std::optional<IndexSchema> ParseCreateIndex(const QByteArray& sql, QString* error);

// Statements.
struct CreateTableStatement {
  TableSchema schema;
  QByteArray sql;  // from CREATE to the closing parenthesis, byte for byte
};
struct CreateIndexStatement {
  IndexSchema schema;
  QByteArray sql;
};
struct TransactionStatement {
  enum class Kind { Begin, Commit, Rollback } kind;
};
struct CopyStatement {
  QByteArray table;
  QByteArray file;
  QByteArray delimiter = "\t";
};
struct DeleteStatement {
  QByteArray table;
  std::optional<QByteArray> column;  // no WHERE: every row
  Value literal;                     // compared with =
  bool literalIsNumber = false;      // a number literal (not a string) makes the comparison numeric
};
struct InsertStatement {
  QByteArray table;
  std::vector<QByteArray> columns;  // empty: every column in table order
  std::optional<QByteArray> sourceTable;
  std::vector<QByteArray> sourceColumns;  // empty with a source: "*"
  Values values;                          // without a source: one row of literals
};
using Statement = std::variant<CreateTableStatement, CreateIndexStatement, TransactionStatement, CopyStatement,
                               DeleteStatement, InsertStatement>;

// Splits the text into statements and parses each; an unknown statement shape gives an error
// "unsupported statement: ..." and no statement at all is returned.
std::optional<std::vector<Statement>> ParseStatements(const QByteArray& sql, QString* error);

}  // namespace quillon::sqlite2
