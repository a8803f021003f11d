#pragma once
// Text routines shared by the file-name analysis, the title comparison and the exports.
#include <QString>

namespace quillon {

// `text` without leading and trailing blanks (only the space character counts).
QString TrimSpaces(const QString& text);

// Cleans a title for comparison: trims blanks, turns every printable non-alphanumeric character
// of codes 33-47, 58-64, 91-96 and 123-255 (the upper half as the Windows-1252 page has it, so
// typographic dashes, curly quotes and the ellipsis go too) into a blank, drops the apostrophe,
// then shortens runs of blanks in three passes (four to three, three to two, two to one). The
// result may keep one leading or trailing blank made by the replacement.
QString StripCharacters(const QString& text);

// The trimmed name before its last "."; a name without a "." (or whose only "." comes first) is
// returned whole, trimmed.
QString StripExtension(const QString& name);

}  // namespace quillon
