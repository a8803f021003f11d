#include "export/sqlite2/Sqlite2.h"

#include "export/sqlite2/Sqlite2Copy.h"
#include "export/sqlite2/Sqlite2Schema.h"
#include "export/sqlite2/Sqlite2Sql.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <set>

#include <sys/stat.h>

namespace quillon::sqlite2 {

namespace {

// What identifies the file we read, so closing can tell whether another program replaced or
// wrote it meanwhile.
struct FileIdentity {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

FileIdentity Identify(const QString& path)
{
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0)
    return {};
  return FileIdentity{true, info.st_dev, info.st_ino, info.st_size,
                      std::int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

struct TempTable {
  TableSchema schema;
  BtreeEntries rows;
};

struct State {
  LibraryContent content;
  std::map<QByteArray, TempTable> temp;  // by lower-case name
  bool mainChanged = false;
};

std::int32_t LastRowid(const BtreeEntries& rows)
{
  return rows.empty() ? 0 : KeyRowid(rows.back().key).value_or(0);
}

bool ParseRowid(const QByteArray& text, std::int32_t* rowid)
{
  bool ok = false;
  const qlonglong value = text.toLongLong(&ok);
  if (!ok || value < INT_MIN || value > INT_MAX || text.contains(' ') || text.contains('+'))
    return false;
  *rowid = std::int32_t(value);
  return true;
}

}  // namespace

struct Connection::Impl {
  QString path;
  FileIdentity identity;
  State state;
  State committed;
  std::optional<State> transactionStart;

  // A table by name, temporary tables first.
  struct Target {
    const TableSchema* schema = nullptr;
    BtreeEntries* rows = nullptr;
    bool temporary = false;
    QByteArray key;
  };

  Target Find(const Schema& schema, const QByteArray& name)
  {
    const QByteArray key = name.toLower();
    if (auto temp = state.temp.find(key); temp != state.temp.end())
      return Target{&temp->second.schema, &temp->second.rows, true, key};
    if (auto main = schema.tables.find(key); main != schema.tables.end())
      return Target{&main->second.schema, &state.content.trees[main->second.root], false, key};
    Fail(QStringLiteral("no such table: %1").arg(Text(name)));
  }

  void MayChange(const Schema& schema, const Target& target)
  {
    if (target.temporary)
      return;
    if (auto blocked = schema.blocked.find(target.key); blocked != schema.blocked.end())
      Fail(QStringLiteral("unsupported: table %1 cannot be changed here because %2")
               .arg(Text(target.schema->name), blocked->second));
    state.mainChanged = true;
  }

  void RebuildIndexes(const Schema& schema, const Target& target)
  {
    if (target.temporary)
      return;
    for (const MainIndex& index : schema.indexes) {
      if (index.table == target.key)
        state.content.trees[index.root] = BuildIndex(*target.schema, index, *target.rows);
    }
  }

  // Appends rows (one value per table column) as the engine's INSERT does.
  int InsertRows(const Schema& schema, const Target& target, std::vector<Values> rows)
  {
    MayChange(schema, target);
    const TableSchema& table = *target.schema;
    BtreeEntries& entries = *target.rows;
    std::int64_t next = std::int64_t(LastRowid(entries)) + 1;
    bool ordered = true;
    for (Values& values : rows) {
      std::int32_t rowid = 0;
      const int key = table.integerPrimaryKey;
      if (key >= 0 && values[size_t(key)]) {
        if (!ParseRowid(*values[size_t(key)], &rowid))
          Fail(QStringLiteral("datatype mismatch"));
        values[size_t(key)] = std::nullopt;
      } else {
        if (next > INT_MAX)
          Fail(QStringLiteral("database is full: no row id left in table %1").arg(Text(table.name)));
        rowid = std::int32_t(next);
      }
      next = std::max<std::int64_t>(next, std::int64_t(rowid) + 1);
      for (size_t c = 0; c < values.size(); ++c) {
        if (int(c) != key && table.columns[c].notNull && !values[c])
          Fail(QStringLiteral("%1.%2 may not be NULL").arg(Text(table.name), Text(table.columns[c].name)));
        if (values[c] && values[c]->contains('\0'))
          values[c] = values[c]->left(values[c]->indexOf('\0'));
      }
      QByteArray record = EncodeRecord(values);
      if (record.size() > kMaxRecordSize)
        Fail(QStringLiteral("too much data for one table row"));
      BtreeEntry entry{RowidKey(rowid), std::move(record)};
      if (!entries.empty() && CompareKeys(entries.back().key, entry.key) >= 0)
        ordered = false;
      entries.push_back(std::move(entry));
    }
    if (!ordered) {
      std::stable_sort(entries.begin(), entries.end(),
                       [](const BtreeEntry& a, const BtreeEntry& b) { return CompareKeys(a.key, b.key) < 0; });
      for (size_t i = 1; i < entries.size(); ++i) {
        if (entries[i].key == entries[i - 1].key)
          Fail(QStringLiteral("PRIMARY KEY must be unique"));
      }
    }
    RebuildIndexes(schema, target);
    return int(rows.size());
  }

  // A row of values for every column of `table` from the named columns (others get their default).
  static std::vector<int> TargetColumns(const TableSchema& table, const std::vector<QByteArray>& names)
  {
    std::vector<int> columns;
    if (names.empty()) {
      for (size_t c = 0; c < table.columns.size(); ++c)
        columns.push_back(int(c));
      return columns;
    }
    for (const QByteArray& name : names) {
      int column = table.ColumnIndex(name);
      if (column < 0 && IsRowidName(name) && table.integerPrimaryKey >= 0)
        column = table.integerPrimaryKey;
      if (column < 0)
        Fail(QStringLiteral("table %1 has no column named %2").arg(Text(table.name), Text(name)));
      columns.push_back(column);
    }
    return columns;
  }

  static Values RowWith(const TableSchema& table, const std::vector<int>& columns, Values given)
  {
    Values row(table.columns.size());
    for (size_t c = 0; c < table.columns.size(); ++c)
      row[c] = table.columns[c].defaultValue;
    for (size_t i = 0; i < columns.size(); ++i)
      row[size_t(columns[i])] = std::move(given[i]);
    return row;
  }

  int Run(const CreateTableStatement& statement, const Schema& schema)
  {
    const TableSchema& table = statement.schema;
    const QByteArray key = table.name.toLower();
    if (table.temporary) {
      if (state.temp.count(key))
        Fail(QStringLiteral("table %1 already exists").arg(Text(table.name)));
      if (!table.uniqueColumnSets.empty())
        Fail(QStringLiteral("unsupported: UNIQUE constraints on temporary tables"));
      state.temp[key] = TempTable{table, {}};
      return 0;
    }
    if (schema.names.count(key) || key.startsWith("sqlite_"))
      Fail(QStringLiteral("table %1 already exists").arg(Text(table.name)));
    if (table.hasConflictClauses)
      Fail(QStringLiteral("unsupported: ON CONFLICT clauses"));
    std::int32_t rowid = schema.lastMasterRowid;
    AddMasterRow(MasterRow{++rowid, QByteArray("table"), table.name, table.name, {}, statement.sql});
    for (size_t k = 0; k < table.uniqueColumnSets.size(); ++k) {
      const QByteArray name = "(" + table.name + " autoindex " + QByteArray::number(qulonglong(k + 1)) + ")";
      AddMasterRow(MasterRow{++rowid, QByteArray("index"), name, table.name, {}, {}});
    }
    SchemaChanged();
    return 0;
  }

  void AddMasterRow(MasterRow row)
  {
    std::uint32_t root = 3;
    while (state.content.trees.count(root))
      ++root;
    state.content.trees[root] = {};
    row.rootPage = QByteArray::number(root);
    state.content.trees[kMasterRoot].push_back(EncodeMasterRow(row));
  }

  void SchemaChanged()
  {
    state.content.meta[1] += 1;  // the schema cookie tells other connections to reload the schema
    state.content.meta[2] = kFileFormat;
    state.mainChanged = true;
  }

  int Run(const CreateIndexStatement& statement, const Schema& schema)
  {
    const IndexSchema& index = statement.schema;
    if (schema.names.count(index.name.toLower()))
      Fail(QStringLiteral("index %1 already exists").arg(Text(index.name)));
    if (index.hasConflictClause)
      Fail(QStringLiteral("unsupported: ON CONFLICT clauses"));
    Target target = Find(schema, index.table);
    if (target.temporary)
      Fail(QStringLiteral("unsupported: indexes on temporary tables"));
    MayChange(schema, target);
    MainIndex built{index.name, target.key, {}, index.unique, 0};
    for (const QByteArray& column : index.columns) {
      built.columns.push_back(target.schema->ColumnIndex(column));
      if (built.columns.back() < 0)
        Fail(QStringLiteral("table %1 has no column named %2").arg(Text(target.schema->name), Text(column)));
    }
    BtreeEntries entries = BuildIndex(*target.schema, built, *target.rows);
    AddMasterRow(
        MasterRow{schema.lastMasterRowid + 1, QByteArray("index"), index.name, target.schema->name, {}, statement.sql});
    state.content
        .trees[std::uint32_t(RootPageNumber(DecodeMaster(state.content.trees[kMasterRoot])->back().rootPage))] =
        std::move(entries);
    SchemaChanged();
    return 0;
  }

  int Run(const TransactionStatement& statement, const Schema&)
  {
    switch (statement.kind) {
      case TransactionStatement::Kind::Begin:
        if (transactionStart)
          Fail(QStringLiteral("cannot start a transaction within a transaction"));
        transactionStart = state;
        break;
      case TransactionStatement::Kind::Commit:
        if (!transactionStart)
          Fail(QStringLiteral("cannot commit - no transaction is active"));
        transactionStart.reset();
        break;
      case TransactionStatement::Kind::Rollback:
        if (!transactionStart)
          Fail(QStringLiteral("cannot rollback - no transaction is active"));
        state = std::move(*transactionStart);
        transactionStart.reset();
        break;
    }
    return 0;
  }

  int Run(const CopyStatement& statement, const Schema& schema)
  {
    const Target target = Find(schema, statement.table);
    if (statement.file.compare("stdin", Qt::CaseInsensitive) == 0)
      Fail(QStringLiteral("unsupported: COPY from standard input"));
    QFile file(QFile::decodeName(statement.file));
    if (!file.open(QIODevice::ReadOnly))
      Fail(QStringLiteral("unable to open file: %1").arg(QFile::decodeName(statement.file)));
    const QByteArray input = file.readAll();
    if (file.error() != QFileDevice::NoError)
      Fail(QStringLiteral("unable to read file: %1").arg(QFile::decodeName(statement.file)));
    return InsertRows(schema, target, ParseCopyInput(input, statement.delimiter, int(target.schema->columns.size())));
  }

  int Run(const DeleteStatement& statement, const Schema& schema)
  {
    const Target target = Find(schema, statement.table);
    MayChange(schema, target);
    const TableSchema& table = *target.schema;
    BtreeEntries& rows = *target.rows;
    const size_t before = rows.size();
    if (!statement.column) {
      rows.clear();
    } else {
      const int column = ResolveColumn(table, *statement.column);
      const bool columnNumeric = column < 0 || table.columns[size_t(column)].numeric;
      const bool numeric = columnNumeric || statement.literalIsNumber;
      const Value& literal = statement.literal;
      rows.erase(std::remove_if(rows.begin(), rows.end(),
                                [&](const BtreeEntry& row) {
                                  if (!literal)
                                    return false;
                                  const Value value = ColumnOf(table, column, row);
                                  if (!value)
                                    return false;
                                  return numeric ? CompareNumericAware(*value, *literal) == 0 : *value == *literal;
                                }),
                 rows.end());
    }
    const int deleted = int(before - rows.size());
    if (deleted > 0)
      RebuildIndexes(schema, target);
    return deleted;
  }

  int Run(const InsertStatement& statement, const Schema& schema)
  {
    const Target target = Find(schema, statement.table);
    const std::vector<int> columns = TargetColumns(*target.schema, statement.columns);
    std::vector<Values> rows;
    if (!statement.sourceTable) {
      if (statement.values.size() != columns.size())
        Fail(QStringLiteral("%1 values for %2 columns").arg(statement.values.size()).arg(columns.size()));
      rows.push_back(RowWith(*target.schema, columns, statement.values));
    } else {
      const Target source = Find(schema, *statement.sourceTable);
      std::vector<int> sourceColumns;
      if (statement.sourceColumns.empty()) {
        for (size_t c = 0; c < source.schema->columns.size(); ++c)
          sourceColumns.push_back(int(c) == source.schema->integerPrimaryKey ? -1 : int(c));
      } else {
        for (const QByteArray& name : statement.sourceColumns) {
          const int column = ResolveColumn(*source.schema, name);
          sourceColumns.push_back(column == source.schema->integerPrimaryKey ? -1 : column);
        }
      }
      if (sourceColumns.size() != columns.size())
        Fail(QStringLiteral("%1 values for %2 columns").arg(sourceColumns.size()).arg(columns.size()));
      const BtreeEntries sourceRows = *source.rows;  // a table may be copied into itself
      rows.reserve(sourceRows.size());
      for (const BtreeEntry& row : sourceRows) {
        Values given;
        given.reserve(sourceColumns.size());
        for (int column : sourceColumns)
          given.push_back(ColumnOf(*source.schema, column, row));
        rows.push_back(RowWith(*target.schema, columns, std::move(given)));
      }
    }
    return InsertRows(schema, target, std::move(rows));
  }

  StatementResult Execute(const QByteArray& sql)
  {
    QString error;
    const std::optional<std::vector<Statement>> statements = ParseStatements(sql, &error);
    if (!statements)
      return StatementResult{false, error, 0};
    StatementResult result{true, {}, 0};
    for (const Statement& statement : *statements) {
      State before = state;
      const bool inTransaction = transactionStart.has_value();
      try {
        const Schema schema = ReadSchema(state.content);
        result.changes += std::visit([&](const auto& s) { return Run(s, schema); }, statement);
      } catch (const Failure& failure) {
        state = std::move(before);
        if (!inTransaction)
          transactionStart.reset();
        return StatementResult{false, failure.message, result.changes};
      }
      if (!transactionStart)
        committed = state;
    }
    return result;
  }

  StatementResult Close(const ReplaceFault& fault)
  {
    if (!committed.mainChanged)
      return StatementResult{true, {}, 0};
    if (!(Identify(path) == identity))
      return StatementResult{
          false, QStringLiteral("%1 was changed by another program after it was opened; it was not written").arg(path),
          0};
    if (QFileInfo::exists(JournalPath(path)))
      return StatementResult{
          false, QStringLiteral("another program is writing %1 (its journal is there); it was not written").arg(path),
          0};
    QString error;
    const std::optional<QByteArray> bytes = BuildLibraryFile(committed.content, &error);
    if (!bytes)
      return StatementResult{false, error, 0};
    // Never replace a library with a file that does not read back whole.
    const ReadOutcome check = ReadLibraryBytes(*bytes);
    if (!check.content || check.content->trees.size() != committed.content.trees.size())
      return StatementResult{
          false, QStringLiteral("the new %1 did not read back (%2); it was not written").arg(path, check.error), 0};
    if (!ReplaceLibraryFile(path, *bytes, &error, fault))
      return StatementResult{false, error, 0};
    return StatementResult{true, {}, 0};
  }
};

Connection::Connection(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}
Connection::~Connection() = default;

std::unique_ptr<Connection> sqlite_open(const QString& libraryPath, QString* errorText)
{
  auto fail = [&](const QString& message) {
    if (errorText)
      *errorText = QStringLiteral("%1: %2").arg(libraryPath, message);
    return nullptr;
  };
  const QFileInfo info(libraryPath);
  QByteArray bytes;
  if (info.exists()) {
    QFile file(libraryPath);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
      return fail(QStringLiteral("cannot be read"));
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
      return fail(QStringLiteral("cannot be read: %1").arg(file.errorString()));
  }
  const QString journalPath = JournalPath(libraryPath);
  if (QFileInfo::exists(journalPath)) {
    // An interrupted transaction of another program: undo it as the engine would, on disk.
    QFile journal(journalPath);
    if (!journal.open(QIODevice::ReadOnly))
      return fail(QStringLiteral("its rollback journal cannot be read"));
    if (const std::optional<QString> error = PlayBackJournal(bytes, journal.readAll()))
      return fail(*error);
    QString error;
    if (!ReplaceLibraryFile(libraryPath, bytes, &error))
      return fail(QStringLiteral("its rollback journal could not be played back: %1").arg(error));
  }
  ReadOutcome outcome = ReadLibraryBytes(bytes);
  if (!outcome.content)
    return fail(outcome.error);
  auto impl = std::make_unique<Connection::Impl>();
  impl->path = libraryPath;
  impl->identity = Identify(libraryPath);
  impl->state.content = std::move(*outcome.content);
  impl->committed = impl->state;
  return std::make_unique<Connection>(std::move(impl));
}

StatementResult ags_sqlite_get_table(Connection* handle, const QByteArray& sql)
{
  if (!handle)
    return StatementResult{false, QStringLiteral("no open library"), 0};
  return handle->Inside().Execute(sql);
}

StatementResult ags_sqlite_get_table(Connection* handle, const QString& sql)
{
  return ags_sqlite_get_table(handle, sql.toLocal8Bit());
}

StatementResult ags_sqlite_get_table(Connection* handle, const char* sql)
{
  return ags_sqlite_get_table(handle, QByteArray(sql));
}

StatementResult sqlite_close(std::unique_ptr<Connection> handle, const ReplaceFault& fault)
{
  if (!handle)
    return StatementResult{false, QStringLiteral("no open library"), 0};
  return handle->Inside().Close(fault);
}

bool CreateTemplateLibrary(const QString& path, QString* error)
{
  if (QFileInfo::exists(path)) {
    if (error)
      *error = QStringLiteral("%1 already exists").arg(path);
    return false;
  }
  std::unique_ptr<Connection> library = sqlite_open(path, error);
  if (!library)
    return false;
  StatementResult result = ags_sqlite_get_table(library.get(), QByteArray(kCreateItemsTable));
  if (result)
    result = sqlite_close(std::move(library));
  if (!result && error)
    *error = result.error;
  return result.ok;
}

}  // namespace quillon::sqlite2
