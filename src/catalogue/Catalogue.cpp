#include "catalogue/Catalogue.h"

#include "catalogue/Feedback.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>

#include <sqlite3.h>

#include <atomic>

namespace quillon {

namespace {

std::atomic<int> g_connectionCounter{0};

int NumberOf(const QSqlError& error)
{
  bool ok = false;
  const int number = error.nativeErrorCode().toInt(&ok);
  if (ok && number != 0)
    return number;
  return error.type() == QSqlError::NoError ? 0 : 1;
}

QString DescriptionOf(const QSqlError& error)
{
  QString text = error.databaseText();
  if (text.isEmpty())
    text = error.driverText();
  return text;
}

}  // namespace

bool SqlFailure::IsMissingColumn() const
{
  return description.contains(QStringLiteral("no such column"), Qt::CaseInsensitive) ||
         description.contains(QStringLiteral("has no column named"), Qt::CaseInsensitive);
}

bool SqlFailure::IsMissingTable() const
{
  return description.contains(QStringLiteral("no such table"), Qt::CaseInsensitive);
}

SqlFailure FailureOf(const QSqlQuery& query)
{
  return {NumberOf(query.lastError()), DescriptionOf(query.lastError())};
}

SqlFailure FailureOf(const QSqlDatabase& database)
{
  return {NumberOf(database.lastError()), DescriptionOf(database.lastError())};
}

Rows::Rows(QStringList columns, std::vector<QVariantList> values)
    : m_columns(std::move(columns)), m_values(std::move(values))
{
}

int Rows::ColumnIndex(const QString& name) const
{
  for (int i = 0; i < m_columns.size(); ++i) {
    if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

QVariant Rows::Value(int row, int column) const
{
  if (row < 0 || row >= Count() || column < 0 || column >= m_columns.size())
    return {};
  return m_values[static_cast<size_t>(row)][column];
}

QVariant Rows::Value(int row, const QString& column) const
{
  return Value(row, ColumnIndex(column));
}

Catalogue::Catalogue(QString file, QString connectionName)
    : m_file(std::move(file)), m_connectionName(std::move(connectionName))
{
}

Catalogue::~Catalogue()
{
  Close();
}

std::unique_ptr<Catalogue> Catalogue::Open(const QString& file, bool* missing, SqlFailure* failure)
{
  if (missing)
    *missing = false;
  const QFileInfo info(file);
  if (!info.exists() || !info.isFile()) {
    if (missing)
      *missing = true;
    return nullptr;
  }
  const QString name = QStringLiteral("quillon-catalogue-%1").arg(++g_connectionCounter);
  std::unique_ptr<Catalogue> catalogue(new Catalogue(info.absoluteFilePath(), name));
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    database.setDatabaseName(info.absoluteFilePath());
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!database.open()) {
      if (failure)
        *failure = FailureOf(database);
      return nullptr;
    }
  }
  // Reading the schema proves the file is a database at all.
  SqlFailure probeFailure;
  if (!catalogue->TrySelect(QStringLiteral("SELECT count(*) FROM sqlite_master"), {}, &probeFailure)) {
    if (failure)
      *failure = probeFailure;
    return nullptr;
  }
  catalogue->TryExecute(QStringLiteral("PRAGMA cache_size = -32000"), {}, nullptr);
  catalogue->TryExecute(QStringLiteral("PRAGMA temp_store = MEMORY"), {}, nullptr);
  return catalogue;
}

bool Catalogue::InTransaction() const
{
  const QVariant handle = Database().driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
    return false;
  sqlite3* database = *static_cast<sqlite3* const*>(handle.data());
  return database && sqlite3_get_autocommit(database) == 0;
}

QSqlDatabase Catalogue::Database() const
{
  return QSqlDatabase::database(m_connectionName, false);
}

void BindValues(QSqlQuery& query, const QVariantList& values)
{
  constexpr QChar kByteOrderMark(0xFEFF);
  for (int i = 0; i < values.size(); ++i) {
    const QVariant& value = values[i];
    if (value.typeId() == QMetaType::QString && value.toString().startsWith(kByteOrderMark))
      query.bindValue(i, QString(kByteOrderMark) + value.toString());
    else
      query.bindValue(i, value);
  }
}

QSqlQuery Catalogue::Run(const QString& sql, const QVariantList& binds, SqlFailure* failure)
{
  QSqlQuery query(Database());
  query.setForwardOnly(true);
  bool ok = query.prepare(sql);
  if (ok) {
    BindValues(query, binds);
    ok = query.exec();
  }
  if (!ok && failure)
    *failure = FailureOf(query);
  return query;
}

std::optional<Rows> Catalogue::TrySelect(const QString& sql, const QVariantList& binds, SqlFailure* failure)
{
  SqlFailure local;
  QSqlQuery query = Run(sql, binds, &local);
  if (!query.isActive()) {
    if (failure)
      *failure = local;
    return std::nullopt;
  }
  const QSqlRecord record = query.record();
  QStringList columns;
  const int count = record.count();
  for (int i = 0; i < count; ++i)
    columns << record.fieldName(i);
  std::vector<QVariantList> values;
  while (query.next()) {
    QVariantList row;
    row.reserve(count);
    for (int i = 0; i < count; ++i)
      row << query.value(i);
    values.push_back(std::move(row));
  }
  if (query.lastError().type() != QSqlError::NoError) {
    if (failure)
      *failure = FailureOf(query);
    return std::nullopt;
  }
  return Rows(std::move(columns), std::move(values));
}

bool Catalogue::TryExecute(const QString& sql, const QVariantList& binds, SqlFailure* failure)
{
  SqlFailure local;
  QSqlQuery query = Run(sql, binds, &local);
  if (!query.isActive()) {
    if (failure)
      *failure = local;
    return false;
  }
  return true;
}

std::optional<Rows> Catalogue::Select(Feedback& feedback, const QString& routine, const QString& sql,
                                      const QVariantList& binds)
{
  SqlFailure failure;
  std::optional<Rows> rows = TrySelect(sql, binds, &failure);
  if (!rows)
    ReportError(feedback, failure.number, routine, failure.description);
  return rows;
}

bool Catalogue::Execute(Feedback& feedback, const QString& routine, const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  if (TryExecute(sql, binds, &failure))
    return true;
  ReportError(feedback, failure.number, routine, failure.description);
  return false;
}

std::optional<QVariant> Catalogue::SelectValue(Feedback& feedback, const QString& routine, const QString& sql,
                                               const QVariantList& binds)
{
  SqlFailure failure;
  QSqlQuery query = Run(sql, binds, &failure);
  if (!query.isActive()) {
    ReportError(feedback, failure.number, routine, failure.description);
    return std::nullopt;
  }
  if (!query.next()) {
    if (query.lastError().type() != QSqlError::NoError) {
      const SqlFailure stepFailure = FailureOf(query);
      ReportError(feedback, stepFailure.number, routine, stepFailure.description);
      return std::nullopt;
    }
    return QVariant();
  }
  return query.value(0);
}

bool Catalogue::ForEachRow(Feedback& feedback, const QString& routine, const QString& sql, const QVariantList& binds,
                           const std::function<bool(const QSqlQuery&)>& visit)
{
  SqlFailure failure;
  QSqlQuery query = Run(sql, binds, &failure);
  if (!query.isActive()) {
    ReportError(feedback, failure.number, routine, failure.description);
    return false;
  }
  while (query.next()) {
    if (!visit(query))
      return true;
  }
  if (query.lastError().type() != QSqlError::NoError) {
    failure = FailureOf(query);
    ReportError(feedback, failure.number, routine, failure.description);
    return false;
  }
  return true;
}

QSqlQuery Catalogue::Prepare(const QString& sql, SqlFailure* failure)
{
  QSqlQuery query(Database());
  query.setForwardOnly(true);
  if (!query.prepare(sql) && failure)
    *failure = FailureOf(query);
  return query;
}

qint64 Catalogue::LastInsertId()
{
  const std::optional<Rows> rows = TrySelect(QStringLiteral("SELECT last_insert_rowid()"), {}, nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0).toLongLong() : 0;
}

QStringList Catalogue::ColumnsOf(const QString& table)
{
  QStringList columns;
  QString plain = table;
  plain.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
  const std::optional<Rows> rows = TrySelect(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {plain}, nullptr);
  if (rows) {
    for (const QVariantList& row : rows->All())
      columns << row.value(0).toString();
  }
  return columns;
}

bool Catalogue::HasColumn(const QString& table, const QString& column)
{
  return ColumnsOf(table).contains(column, Qt::CaseInsensitive);
}

void Catalogue::Close()
{
  if (m_connectionName.isEmpty())
    return;
  {
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    if (database.isOpen())
      database.close();
  }
  QSqlDatabase::removeDatabase(m_connectionName);
  m_connectionName.clear();
}

// Savepoints nest, so a routine may open its own transaction inside a caller's.
Transaction::Transaction(Catalogue& catalogue) : m_catalogue(catalogue)
{
  m_outermost = !m_catalogue.InTransaction();
  m_active = m_catalogue.TryExecute(QStringLiteral("SAVEPOINT quillon"), {}, nullptr);
}

Transaction::~Transaction()
{
  if (!m_active)
    return;
  // Releasing the outermost savepoint commits, which can fail again; ROLLBACK cannot.
  if (m_outermost) {
    m_catalogue.TryExecute(QStringLiteral("ROLLBACK"), {}, nullptr);
    return;
  }
  m_catalogue.TryExecute(QStringLiteral("ROLLBACK TO quillon"), {}, nullptr);
  m_catalogue.TryExecute(QStringLiteral("RELEASE quillon"), {}, nullptr);
}

bool Transaction::Commit(SqlFailure* failure)
{
  if (!m_active)
    return false;
  if (!m_catalogue.TryExecute(QStringLiteral("RELEASE quillon"), {}, failure))
    return false;
  m_active = false;
  return true;
}

bool IsPlainIdentifier(const QString& name)
{
  static const QRegularExpression pattern(QStringLiteral("^\\[?[A-Za-z_][A-Za-z0-9_]*\\]?$"));
  return pattern.match(name).hasMatch();
}

}  // namespace quillon
