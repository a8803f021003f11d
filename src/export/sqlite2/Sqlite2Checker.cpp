#include "export/sqlite2/Sqlite2File.h"

#include "export/sqlite2/Sqlite2PageWalker.h"
#include "export/sqlite2/Sqlite2Sql.h"

#include <set>

namespace quillon::sqlite2 {

QStringList CheckLibraryFile(const QByteArray& bytes, bool writerRules)
{
  QStringList problems;
  if (bytes.size() % kPageSize != 0)
    problems << QStringLiteral("file size %1 is not a whole number of pages").arg(bytes.size());
  try {
    std::optional<PageWalker> walker;
    const LibraryContent content = ReadAll(bytes, walker, writerRules);
    if (content.wasEmpty)
      return problems << QStringLiteral("the file is shorter than one page");
    const auto* first = reinterpret_cast<const unsigned char*>(bytes.constData());
    if (Get32(first + kOffsetFileFormat, content.order) != std::uint32_t(kFileFormat) && writerRules)
      problems << QStringLiteral("file format is not 4");
    if (writerRules && content.order != ByteOrder::Little)
      problems << QStringLiteral("the file is big-endian");
    if (writerRules) {
      for (int i = 96; i < kPageSize; ++i) {
        if (first[i] != 0) {
          problems << QStringLiteral("page 1 has data after its header at %1").arg(i);
          break;
        }
      }
    }
    for (std::uint32_t page = 1; page <= walker->PageCount(); ++page) {
      if (!walker->Used()[page])
        problems << QStringLiteral("page %1 is never used").arg(page);
    }
    const std::vector<MasterRow> master = *DecodeMaster(content.trees.at(kMasterRoot));
    std::set<QByteArray> names;
    for (const MasterRow& row : master) {
      const QByteArray type = row.type->toLower();
      const QString name = QString::fromLatin1(row.name.value_or("(null)"));
      if (!row.name || !row.tableName)
        problems << QStringLiteral("a sqlite_master row lacks its name");
      if (type != "table" && type != "index")
        continue;
      if (!names.insert(row.name.value_or("").toLower()).second)
        problems << QStringLiteral("%1 is defined twice").arg(name);
      const std::int64_t root = RootPageNumber(row.rootPage);
      if (*row.rootPage != QByteArray::number(root))
        problems
            << QStringLiteral("%1: rootpage '%2' is not plain decimal").arg(name, QString::fromLatin1(*row.rootPage));
      const auto tree = content.trees.find(std::uint32_t(root));
      if (tree == content.trees.end())
        continue;
      if (type == "index") {
        for (const BtreeEntry& entry : tree->second) {
          if (!entry.data.isEmpty()) {
            problems << QStringLiteral("index %1 has entries with data").arg(name);
            break;
          }
        }
        continue;
      }
      QString parseError;
      const std::optional<TableSchema> schema = row.sql ? ParseCreateTable(*row.sql, &parseError) : std::nullopt;
      if (!schema) {
        problems << QStringLiteral("table %1: its CREATE TABLE does not parse: %2").arg(name, parseError);
        continue;
      }
      const int columns = int(schema->columns.size());
      for (const BtreeEntry& entry : tree->second) {
        const std::optional<std::int32_t> rowid = KeyRowid(entry.key);
        const std::optional<Values> values = DecodeRecord(entry.data, columns);
        if (!rowid || !values) {
          problems << QStringLiteral("table %1: an entry is not a row of %2 columns").arg(name).arg(columns);
          break;
        }
        if (schema->integerPrimaryKey >= 0 && (*values)[size_t(schema->integerPrimaryKey)]) {
          problems << QStringLiteral("table %1: row %2 stores its INTEGER PRIMARY KEY").arg(name).arg(*rowid);
          break;
        }
        const int width = entry.data.size() < 256 ? 1 : (entry.data.size() < 65536 ? 2 : 3);
        const auto* p = reinterpret_cast<const unsigned char*>(entry.data.constData());
        if (int(p[0] | (width > 1 ? p[1] << 8 : 0) | (width > 2 ? p[2] << 16 : 0)) != (columns + 1) * width) {
          problems << QStringLiteral("table %1: row %2 has a record of another column count").arg(name).arg(*rowid);
          break;
        }
      }
    }
  } catch (const Damage& damage) {
    problems << damage.message;
  }
  return problems;
}

}  // namespace quillon::sqlite2
