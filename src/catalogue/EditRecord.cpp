#include "catalogue/EditRecord.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/StoredValue.h"

namespace quillon {

bool EditRecord(Catalogue& catalogue, Feedback& feedback, const RecordRef& row, const QString& field,
                const QVariant& value, bool changed)
{
  if (!changed)
    return false;
  const QString routine = QStringLiteral("EditRecord");
  const QStringList columns = catalogue.ColumnsOf(row.table);
  if (!IsPlainIdentifier(row.table) || !IsPlainIdentifier(field) || !columns.contains(field, Qt::CaseInsensitive)) {
    ReportError(feedback, kItemNotFound, routine,
                QStringLiteral("Item cannot be found: ") + row.table + QLatin1Char('.') + field);
    return false;
  }
  QString statement = QStringLiteral("UPDATE \"%1\" SET \"%2\" = ?").arg(row.table, field);
  QVariantList binds{StoredValue(value)};
  if (row.key.isValid()) {
    if (!IsPlainIdentifier(row.keyColumn) || !columns.contains(row.keyColumn, Qt::CaseInsensitive)) {
      ReportError(feedback, kItemNotFound, routine, QStringLiteral("Item cannot be found: ") + row.keyColumn);
      return false;
    }
    statement += QStringLiteral(" WHERE \"%1\" = ?").arg(row.keyColumn);
    binds << row.key;
  }
  return catalogue.Execute(feedback, routine, statement, binds);
}

}  // namespace quillon
