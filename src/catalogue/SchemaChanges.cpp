#include "catalogue/SchemaChanges.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

QString PlainName(QString name)
{
  return name.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
}

QString Quoted(const QString& name)
{
  return QLatin1Char('"') + PlainName(name) + QLatin1Char('"');
}

QString EngineType(const QString& typeWord)
{
  if (typeWord.compare(QStringLiteral("YesNo"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("INTEGER");
  if (typeWord.compare(QStringLiteral("Long"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("INTEGER");
  if (typeWord.compare(QStringLiteral("Memo"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("TEXT");
  if (typeWord.compare(QStringLiteral("text"), Qt::CaseInsensitive) == 0)
    return QStringLiteral("TEXT");
  return {};
}

bool IsYesNo(const QString& typeWord)
{
  return typeWord.compare(QStringLiteral("YesNo"), Qt::CaseInsensitive) == 0;
}

// The table's name as stored, when its key is an autoincrement key; empty otherwise.
QString AutoIncrementTableName(Catalogue& catalogue, const QString& table)
{
  const std::optional<Rows> rows = catalogue.TrySelect(
      QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"),
      {PlainName(table)}, nullptr);
  if (!rows || rows->IsEmpty() ||
      !rows->Value(0, 1).toString().contains(QStringLiteral("AUTOINCREMENT"), Qt::CaseInsensitive))
    return {};
  return rows->Value(0, 0).toString();
}

}  // namespace

QString AddFieldStatement(const QString& table, const QString& column, const QString& typeWord, int size)
{
  const QString type = EngineType(typeWord);
  if (type.isEmpty())
    return {};
  QString statement = QStringLiteral("ALTER TABLE ") + Quoted(table) + QStringLiteral(" ADD COLUMN ") + Quoted(column) +
                      QLatin1Char(' ') + type;
  if (size != 0)
    statement += QLatin1Char('(') + QString::number(size) + QLatin1Char(')');
  // A YesNo is never Null: false unless set.
  if (IsYesNo(typeWord))
    statement += QStringLiteral(" NOT NULL DEFAULT 0");
  return statement;
}

bool addField(Catalogue& catalogue, Feedback& feedback, const QString& table, const QString& column,
              const QString& typeWord, int size)
{
  const QString routine = QStringLiteral("addField");
  if (!IsPlainIdentifier(table) || !IsPlainIdentifier(column)) {
    ReportError(feedback, kInvalidProcedureCall, routine, QStringLiteral("Invalid table or column name."));
    return false;
  }
  const QString statement = AddFieldStatement(table, column, typeWord, size);
  if (statement.isEmpty()) {
    ReportError(feedback, kInvalidProcedureCall, routine,
                QStringLiteral("Unknown column type ") + typeWord + QLatin1Char('.'));
    return false;
  }
  const bool ok = catalogue.Execute(feedback, routine, statement);
  feedback.Yield();
  return ok;
}

bool AddTable(Catalogue& catalogue, Feedback& feedback, const QString& table, const std::vector<NewColumn>& columns)
{
  const QString routine = QStringLiteral("AddTable");
  if (!IsPlainIdentifier(table) || columns.empty()) {
    ReportError(feedback, kInvalidProcedureCall, routine, QStringLiteral("Invalid table definition."));
    return false;
  }
  QStringList definitions;
  for (const NewColumn& column : columns) {
    if (!IsPlainIdentifier(column.name)) {
      ReportError(feedback, kInvalidProcedureCall, routine,
                  QStringLiteral("Invalid column name ") + column.name + QLatin1Char('.'));
      return false;
    }
    QString definition = Quoted(column.name) + QLatin1Char(' ');
    if (column.autoIncrement)
      definition += QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    else
      definition += column.typeCode == kTextTypeCode ? QStringLiteral("TEXT") : QStringLiteral("INTEGER");
    definitions << definition;
  }
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("CREATE TABLE ") + Quoted(table) + QStringLiteral(" (") +
                               definitions.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

qint64 NextKey(Catalogue& catalogue, const QString& table, const QString& column)
{
  if (!IsPlainIdentifier(table) || !IsPlainIdentifier(column))
    return -1;
  const std::optional<Rows> largest = catalogue.TrySelect(
      QStringLiteral("SELECT coalesce(max(%1), 0) FROM %2").arg(Quoted(column), Quoted(table)), {}, nullptr);
  if (!largest)
    return -1;
  qint64 next = largest->Value(0, 0).toLongLong();
  const QString storedName = AutoIncrementTableName(catalogue, table);
  if (!storedName.isEmpty()) {
    const std::optional<Rows> sequence =
        catalogue.TrySelect(QStringLiteral("SELECT seq FROM sqlite_sequence WHERE name = ?"), {storedName}, nullptr);
    if (sequence && !sequence->IsEmpty())
      next = std::max(next, sequence->Value(0, 0).toLongLong());
  }
  return next + 1;
}

bool ChangeSeed(Catalogue& catalogue, Feedback& feedback, const QString& table, const QString& column, qint64 seed)
{
  const QString routine = QStringLiteral("ChangeSeed");
  if (!IsPlainIdentifier(table) || !IsPlainIdentifier(column) || seed < 1) {
    ReportError(feedback, kInvalidProcedureCall, routine,
                QStringLiteral("Invalid seed for ") + table + QLatin1Char('.'));
    return false;
  }
  if (!catalogue.HasColumn(table, column)) {
    ReportError(feedback, kItemNotFound, routine,
                QStringLiteral("No column ") + column + QStringLiteral(" in ") + table + QLatin1Char('.'));
    return false;
  }
  const QString name = AutoIncrementTableName(catalogue, table);
  if (!name.isEmpty()) {
    Transaction transaction(catalogue);
    SqlFailure failure;
    const bool written =
        catalogue.TryExecute(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = ?"), {name}, &failure) &&
        catalogue.TryExecute(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"), {name, seed - 1},
                             &failure) &&
        transaction.Commit(&failure);
    if (!written) {
      ReportError(feedback, failure.number, routine, failure.description);
      return false;
    }
  }
  return NextKey(catalogue, table, column) == seed;
}

}  // namespace quillon
