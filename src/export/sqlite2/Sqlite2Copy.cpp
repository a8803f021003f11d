#include "export/sqlite2/Sqlite2Copy.h"

namespace quillon::sqlite2 {

namespace {

// Reads one logical line (line end removed; escaped line ends kept as LF). Returns false at the
// end of the input when nothing was read.
bool ReadLine(const QByteArray& input, qsizetype& position, QByteArray& line)
{
  line.clear();
  bool escaped = false;
  bool readAny = false;
  while (position < input.size()) {
    char c = input[position++];
    readAny = true;
    if (c == '\0')
      continue;
    if (c == '\r') {
      c = '\n';
      if (position < input.size() && input[position] == '\n')
        ++position;
    }
    if (c == '\n' && !escaped)
      return true;
    line.append(c);
    escaped = c == '\\' && !escaped;
  }
  return readAny;
}

char Unescape(char c)
{
  switch (c) {
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return c;
  }
}

Values SplitLine(const QByteArray& line, const QByteArray& delimiter, int columns)
{
  Values fields(static_cast<size_t>(columns));
  const qsizetype length = line.size();
  const qsizetype delimiterLength = delimiter.size();
  auto delimiterAt = [&](qsizetype at) {
    return at + delimiterLength <= length && std::equal(delimiter.begin(), delimiter.end(), line.begin() + at);
  };
  qsizetype z = 0;
  for (int i = 0; z < length && i < columns; ++i) {
    if (line[z] == '\\' && z + 1 < length && line[z + 1] == 'N' && (z + 2 == length || delimiterAt(z + 2))) {
      fields[size_t(i)] = std::nullopt;
      if (z + 2 == length)
        break;
      z += 2 + delimiterLength;
      if (i + 1 < columns)
        fields[size_t(i + 1)] = QByteArray("");  // a delimiter at the very end leaves an empty field
      continue;
    }
    QByteArray value;
    qsizetype from = z;
    bool delimited = false;
    while (from < length) {
      if (line[from] == '\\' && from + 1 < length) {
        value.append(Unescape(line[from + 1]));
        from += 2;
        continue;
      }
      if (delimiterAt(from)) {
        delimited = true;
        break;
      }
      value.append(line[from++]);
    }
    fields[size_t(i)] = value;
    if (!delimited)
      break;
    z = from + delimiterLength;
    if (i + 1 < columns)
      fields[size_t(i + 1)] = QByteArray("");
  }
  return fields;
}

}  // namespace

std::vector<Values> ParseCopyInput(const QByteArray& input, const QByteArray& delimiter, int columns)
{
  std::vector<Values> rows;
  if (delimiter.isEmpty() || columns <= 0)
    return rows;
  qsizetype position = 0;
  QByteArray line;
  while (ReadLine(input, position, line)) {
    if (line.isEmpty() || line == "\\.")
      break;
    rows.push_back(SplitLine(line, delimiter, columns));
  }
  return rows;
}

QByteArray EscapeCopyField(const Value& value)
{
  if (!value)
    return QByteArrayLiteral("\\N");
  QByteArray out;
  out.reserve(value->size() + 8);
  for (const char c : *value) {
    switch (c) {
      case '\\':
        out.append("\\\\");
        break;
      case '\r':
        out.append("\\r");
        break;
      case '\n':
        out.append("\\n");
        break;
      case '\t':
        out.append("\\t");
        break;
      case '|':
        out.append("\\|");
        break;
      case '\0':
        break;
      default:
        out.append(c);
    }
  }
  return out;
}

}  // namespace quillon::sqlite2
