#pragma once
#include <QString>

namespace quillon {

// Upper-case roman numeral of a whole number: 1994 gives "MCMXCIV", 0 (or less) the empty text.
// Thousands are written as that many "M".
QString RomanNumeral(qint64 number);

}  // namespace quillon
