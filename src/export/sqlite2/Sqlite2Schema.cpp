#include "export/sqlite2/Sqlite2Schema.h"

#include <algorithm>

namespace quillon::sqlite2 {

namespace {

QByteArray IndexKey(const TableSchema& table, const MainIndex& index, const BtreeEntry& row, bool* hasNull)
{
  QByteArray key;
  for (int column : index.columns) {
    const Value value = ColumnOf(table, column, row);
    if (!value) {
      *hasNull = true;
      key.append("a", 2);
    } else if (table.columns[size_t(column)].numeric && IsNumber(*value)) {
      key.append('b').append(RealToSortable(TextToDouble(*value))).append('\0');
    } else {
      key.append('c').append(*value).append('\0');
    }
  }
  return key;
}

}  // namespace

void Fail(const QString& message)
{
  throw Failure{message};
}

QString Text(const QByteArray& bytes)
{
  return QString::fromLatin1(bytes);
}

Schema ReadSchema(const LibraryContent& content)
{
  Schema schema;
  const std::vector<MasterRow> rows = DecodeMaster(content.trees.at(kMasterRoot)).value_or(std::vector<MasterRow>{});
  for (const MasterRow& row : rows) {
    schema.lastMasterRowid = std::max(schema.lastMasterRowid, row.rowid);
    if (row.name)
      schema.names.insert(row.name->toLower());
    if (row.type && row.type->toLower() == "table" && row.sql) {
      std::optional<TableSchema> table = ParseCreateTable(*row.sql, nullptr);
      if (!table)
        continue;  // the engine skips a table whose CREATE TABLE it cannot parse
      const QByteArray key = table->name.toLower();
      if (table->hasConflictClauses)
        schema.blocked[key] = QStringLiteral("it has ON CONFLICT clauses");
      schema.tables[key] = MainTable{std::move(*table), std::uint32_t(RootPageNumber(row.rootPage))};
    }
  }
  for (const MasterRow& row : rows) {
    if (!row.type)
      continue;
    const QByteArray type = row.type->toLower();
    const QByteArray table = row.tableName.value_or(QByteArray()).toLower();
    if (type == "trigger") {
      schema.blocked[table] = QStringLiteral("it has triggers");
      continue;
    }
    if (type != "index")
      continue;
    MainIndex index{row.name.value_or(QByteArray()), table, {}, false, std::uint32_t(RootPageNumber(row.rootPage))};
    const auto owner = schema.tables.find(table);
    bool understood = false;
    if (owner != schema.tables.end() && row.sql) {
      const std::optional<IndexSchema> parsed = ParseCreateIndex(*row.sql, nullptr);
      if (parsed && !parsed->hasConflictClause && parsed->table.toLower() == table) {
        index.unique = parsed->unique;
        understood = true;
        for (const QByteArray& column : parsed->columns) {
          index.columns.push_back(owner->second.schema.ColumnIndex(column));
          understood = understood && index.columns.back() >= 0;
        }
      }
    } else if (owner != schema.tables.end()) {
      // "(TABLE autoindex N)": the N-th unique constraint of its table.
      const QByteArray prefix = "(" + owner->second.schema.name + " autoindex ";
      const QByteArray& name = index.name;
      if (name.startsWith(prefix) && name.endsWith(")")) {
        const int number = name.mid(prefix.size(), name.size() - prefix.size() - 1).toInt();
        const auto& sets = owner->second.schema.uniqueColumnSets;
        if (number >= 1 && number <= int(sets.size())) {
          index.columns = sets[size_t(number - 1)];
          index.unique = true;
          understood = true;
        }
      }
    }
    if (!understood)
      schema.blocked[table] =
          QStringLiteral("its index %1 is not one this program can keep up to date").arg(Text(index.name));
    schema.indexes.push_back(std::move(index));
  }
  return schema;
}

bool IsRowidName(const QByteArray& name)
{
  return name.compare("rowid", Qt::CaseInsensitive) == 0 || name.compare("oid", Qt::CaseInsensitive) == 0 ||
         name.compare("_rowid_", Qt::CaseInsensitive) == 0;
}

Value ColumnOf(const TableSchema& table, int column, const BtreeEntry& row)
{
  if (column < 0 || column == table.integerPrimaryKey)
    return QByteArray::number(KeyRowid(row.key).value_or(0));
  std::optional<Value> value = DecodeColumn(row.data, column, int(table.columns.size()));
  if (!value)
    Fail(QStringLiteral("%1: a record of table %2 is damaged").arg(QString::fromLatin1(kMalformed), Text(table.name)));
  return *value;
}

int ResolveColumn(const TableSchema& table, const QByteArray& name)
{
  const int column = table.ColumnIndex(name);
  if (column >= 0)
    return column;
  if (IsRowidName(name))
    return -1;
  Fail(QStringLiteral("table %1 has no column named %2").arg(Text(table.name), Text(name)));
}

BtreeEntries BuildIndex(const TableSchema& table, const MainIndex& index, const BtreeEntries& rows)
{
  struct Item {
    QByteArray prefix;
    QByteArray rowKey;
    bool hasNull;
  };
  std::vector<Item> items;
  items.reserve(rows.size());
  for (const BtreeEntry& row : rows) {
    bool hasNull = false;
    QByteArray prefix = IndexKey(table, index, row, &hasNull);
    items.push_back(Item{std::move(prefix), row.key, hasNull});
  }
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    const int c = CompareKeys(a.prefix, b.prefix);
    return c != 0 ? c < 0 : CompareKeys(a.rowKey, b.rowKey) < 0;
  });
  BtreeEntries entries;
  entries.reserve(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    if (index.unique && i > 0 && !items[i].hasNull && items[i].prefix == items[i - 1].prefix) {
      QStringList names;
      for (int column : index.columns)
        names << Text(table.columns[size_t(column)].name);
      Fail(names.size() == 1 ? QStringLiteral("column %1 is not unique").arg(names.first())
                             : QStringLiteral("columns %1 are not unique").arg(names.join(QStringLiteral(", "))));
    }
    entries.push_back(BtreeEntry{items[i].prefix + items[i].rowKey, {}});
  }
  return entries;
}

}  // namespace quillon::sqlite2
