#pragma once
// The COPY statement's input format: lines of fields joined by a delimiter, with backslash
// escapes, read exactly as the engine reads them.
#include "export/sqlite2/Sqlite2Format.h"

#include <QByteArray>

#include <vector>

namespace quillon::sqlite2 {

// The rows COPY makes of a file's bytes for a table of `columns` columns.
// - CR LF, LF and a lone CR each end a line; a backslash right before the line end continues the
//   line and the value gets one LF.
// - An empty line, a line "\." or the end of the file ends the load.
// - The delimiter is matched as a whole string after escapes are decoded left to right:
//   \b \f \n \r \t \v stand for their control bytes, a backslash before any other byte for that
//   byte (so "\|" never matches a "|||" delimiter and "\\" is one backslash).
// - A field of exactly "\N" is NULL, an empty field is empty text; extra fields are ignored.
// Where the engine has faults we keep the values sound instead: columns after the last field of a
// short line are NULL (the engine leaves a stale value from the previous line in the first of
// them), and NUL bytes in the input are dropped.
std::vector<Values> ParseCopyInput(const QByteArray& input, const QByteArray& delimiter, int columns);

// Writes a value as one field of a "|||"-delimited COPY input line so that COPY gives it back
// byte for byte: "\" -> "\\", CR -> "\r", LF -> "\n", TAB -> "\t" and every "|" -> "\|" (an
// escaped bar can never form or touch a delimiter). NULL is written "\N"; a text "\N" comes back
// as text. NUL bytes cannot be stored in a library and are dropped.
QByteArray EscapeCopyField(const Value& value);

}  // namespace quillon::sqlite2
