#pragma once
// Search text put into a site's search address.
#include <QString>

namespace quillon {

// Space becomes "+", the digits and the letters A-Z and a-z stay, every other character becomes
// "%" and two upper-case hexadecimal digits per byte of its UTF-8 form (what search sites expect).
QString URLEncode(const QString& text);

}  // namespace quillon
