#include "catalogue/BulkStatement.h"

#include "catalogue/Catalogue.h"

#include <QSqlDriver>

#include <sqlite3.h>

#include <algorithm>

namespace quillon {

namespace {

sqlite3* HandleOf(Catalogue& catalogue)
{
  const QVariant handle = catalogue.Database().driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
    return nullptr;
  return *static_cast<sqlite3* const*>(handle.data());
}

}  // namespace

BulkStatement::BulkStatement(Catalogue& catalogue, const QString& sql) : m_database(HandleOf(catalogue))
{
  if (!m_database) {
    m_prepareError = QStringLiteral("The catalogue connection is not open.");
    return;
  }
  const QByteArray text = sql.toUtf8();
  if (sqlite3_prepare_v2(m_database, text.constData(), static_cast<int>(text.size()), &m_statement, nullptr) !=
      SQLITE_OK) {
    m_prepareError = QString::fromUtf8(sqlite3_errmsg(m_database));
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
  }
}

BulkStatement::~BulkStatement()
{
  sqlite3_finalize(m_statement);
}

void BulkStatement::Bind(int position, const QVariant& value)
{
  if (value.isNull() || !value.isValid()) {
    BindNull(position);
    return;
  }
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
      Bind(position, value.toLongLong());
      return;
    case QMetaType::Double:
      sqlite3_bind_double(m_statement, position, value.toDouble());
      return;
    default:
      Bind(position, value.toString());
  }
}

void BulkStatement::Bind(int position, qint64 value)
{
  sqlite3_bind_int64(m_statement, position, value);
}

void BulkStatement::Bind(int position, const QString& value)
{
  if (value.isNull()) {
    BindNull(position);
    return;
  }
  // As UTF-8: the engine drops a leading U+FEFF from UTF-16 text, and file names may begin with one.
  const QByteArray text = value.toUtf8();
  sqlite3_bind_text(m_statement, position, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void BulkStatement::BindNull(int position)
{
  sqlite3_bind_null(m_statement, position);
}

bool BulkStatement::Execute()
{
  if (!m_statement)
    return false;
  const int rc = sqlite3_step(m_statement);
  sqlite3_reset(m_statement);
  sqlite3_clear_bindings(m_statement);
  return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

bool BulkStatement::Next()
{
  if (!m_statement)
    return false;
  const int rc = sqlite3_step(m_statement);
  if (rc == SQLITE_ROW)
    return true;
  m_failed = rc != SQLITE_DONE;
  return false;
}

void BulkStatement::Reset()
{
  if (!m_statement)
    return;
  sqlite3_reset(m_statement);
  sqlite3_clear_bindings(m_statement);
  m_failed = false;
}

qint64 BulkStatement::Int(int column) const
{
  return sqlite3_column_int64(m_statement, column);
}

QString BulkStatement::Text(int column) const
{
  // Text of plain ASCII is the same in every encoding: it is taken as it is stored, which spares
  // the engine a conversion.
  if (sqlite3_column_type(m_statement, column) == SQLITE_TEXT) {
    const std::string_view bytes = Utf8(column);
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
      return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  const void* text = sqlite3_column_text16(m_statement, column);
  if (!text)
    return {};
  return QString(static_cast<const QChar*>(text), sqlite3_column_bytes16(m_statement, column) / 2);
}

std::string_view BulkStatement::Utf8(int column) const
{
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
  if (!text)
    return {};
  return {text, static_cast<size_t>(sqlite3_column_bytes(m_statement, column))};
}

ColumnType BulkStatement::Type(int column) const
{
  switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_INTEGER:
      return ColumnType::Integer;
    case SQLITE_FLOAT:
      return ColumnType::Real;
    case SQLITE_TEXT:
      return ColumnType::Text;
    case SQLITE_BLOB:
      return ColumnType::Blob;
    default:
      return ColumnType::Null;
  }
}

QVariant BulkStatement::Value(int column) const
{
  switch (sqlite3_column_type(m_statement, column)) {
    case SQLITE_NULL:
      return {};
    case SQLITE_INTEGER:
      return Int(column);
    case SQLITE_FLOAT:
      return sqlite3_column_double(m_statement, column);
    default:
      return Text(column);
  }
}

qint64 BulkStatement::LastInsertId() const
{
  return m_database ? sqlite3_last_insert_rowid(m_database) : 0;
}

SqlFailure BulkStatement::Failure() const
{
  if (!m_statement)
    return {1, m_prepareError};
  return {sqlite3_errcode(m_database), QString::fromUtf8(sqlite3_errmsg(m_database))};
}

}  // namespace quillon
