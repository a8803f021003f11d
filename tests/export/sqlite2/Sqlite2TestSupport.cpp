#include "Sqlite2TestSupport.h"

#include "TestCatalogue.h"

#include "export/sqlite2/Sqlite2Sql.h"

#include <QFile>

namespace quillon::test {

using namespace sqlite2;

QString GoldenPath(const QString& name)
{
  return TestDataPath(QStringLiteral("sqlite2/") + name);
}

bool CopyGolden(const QString& name, const QString& path)
{
  return QFile::copy(GoldenPath(name), path) && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

QByteArray ReadBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray TsvValue(const Value& value)
{
  if (!value)
    return QByteArrayLiteral("\\N");
  QByteArray out;
  for (const char c : *value) {
    switch (c) {
      case '\\':
        out.append("\\\\");
        break;
      case '\t':
        out.append("\\t");
        break;
      case '\n':
        out.append("\\n");
        break;
      case '\r':
        out.append("\\r");
        break;
      default:
        out.append(c);
    }
  }
  return out;
}

QByteArray TableAsTsv(const QByteArray& fileBytes, const QByteArray& table, QString* error)
{
  const ReadOutcome outcome = ReadLibraryBytes(fileBytes);
  if (!outcome.content) {
    *error = outcome.error;
    return {};
  }
  const std::vector<MasterRow> master = *DecodeMaster(outcome.content->trees.at(kMasterRoot));
  for (const MasterRow& row : master) {
    if (row.type != QByteArray("table") || row.name.value_or("").compare(table, Qt::CaseInsensitive) != 0)
      continue;
    const std::optional<TableSchema> schema = ParseCreateTable(row.sql.value_or(""), error);
    if (!schema)
      return {};
    QByteArray out;
    const int columns = int(schema->columns.size());
    for (const BtreeEntry& entry : outcome.content->trees.at(std::uint32_t(RootPageNumber(row.rootPage)))) {
      const std::optional<Values> values = DecodeRecord(entry.data, columns);
      if (!values) {
        *error = QStringLiteral("a record does not decode");
        return {};
      }
      QByteArrayList fields;
      if (schema->integerPrimaryKey < 0)
        fields << QByteArray::number(*KeyRowid(entry.key));
      for (int c = 0; c < columns; ++c) {
        fields << (c == schema->integerPrimaryKey ? QByteArray::number(*KeyRowid(entry.key))
                                                  : TsvValue((*values)[size_t(c)]));
      }
      out += fields.join('\t') + '\n';
    }
    return out;
  }
  *error = QStringLiteral("no table %1").arg(QString::fromLatin1(table));
  return {};
}

QStringList ExportStatements(const QString& transferFile, const QString& systemId)
{
  const QString columns = QStringLiteral(
      "item_name,item_location,item_image,tag_1,tag_2,tag_3,tag_4,tag_5,tag_6,tag_7,tag_8,tag_9,tag_10,tag_11,"
      "tag_12,tag_13,tag_14,tag_15");
  return {QStringLiteral("create  temporary table tmp (%1);").arg(columns),
          QStringLiteral("copy tmp from '%1' USING DELIMITERS '|||';").arg(transferFile),
          QStringLiteral("begin;"),
          QStringLiteral("delete from items  Where items.tag_14='%1';").arg(systemId),
          QStringLiteral("commit;"),
          QStringLiteral("begin;"),
          QStringLiteral("insert into items (%1) select %1 from tmp;").arg(columns),
          QStringLiteral("commit;")};
}

bool RunExport(const QString& library, const QString& transferFile, const QString& systemId, QString* error)
{
  std::unique_ptr<Connection> connection = sqlite_open(library, error);
  if (!connection)
    return false;
  for (const QString& statement : ExportStatements(transferFile, systemId)) {
    const StatementResult result = ags_sqlite_get_table(connection.get(), statement);
    if (!result) {
      *error = statement + QStringLiteral(": ") + result.error;
      return false;
    }
  }
  const StatementResult closed = sqlite_close(std::move(connection));
  if (!closed)
    *error = closed.error;
  return closed.ok;
}

}  // namespace quillon::test
