#include "common/StoredValue.h"

namespace quillon {

QVariant StoredValue(const QVariant& value)
{
  if (value.isNull())
    return {};
  if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
    return {};
  return value;
}

}  // namespace quillon
