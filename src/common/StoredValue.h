#pragma once
// How an edited value is stored: an empty text means "no value" and is stored as Null, like a
// Null itself; anything else is stored as it is.
#include <QVariant>

namespace quillon {

QVariant StoredValue(const QVariant& value);

}  // namespace quillon
