#pragma once
// Writing one edited setting back to its row, as the option dialogs do from each change event.
#include <QString>
#include <QVariant>

namespace quillon {

class Catalogue;
class Feedback;

// The row an edit belongs to. An invalid key means the table's only row (the export options).
struct RecordRef {
  QString table;
  QString keyColumn;
  QVariant key;
};

// Writes `value` into `field` of the row, only when `changed` (the control reports its content
// changed since it was filled). An empty text stores Null. Returns true when a value was written.
// Failures, including a field the table does not have, are reported as "-(EditRecord)-".
bool EditRecord(Catalogue& catalogue, Feedback& feedback, const RecordRef& row, const QString& field,
                const QVariant& value, bool changed);

}  // namespace quillon
