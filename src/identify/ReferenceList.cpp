#include "identify/ReferenceList.h"

#include <QIODevice>

namespace quillon {

namespace {

constexpr int kPeekBytes = 512;

bool IsHexDigit(char c)
{
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The first character that is neither white space nor a byte-order mark.
char FirstMeaningfulCharacter(QIODevice& device)
{
  const QByteArray start = device.peek(kPeekBytes);
  qsizetype i = start.startsWith("\xEF\xBB\xBF") ? 3 : 0;
  while (i < start.size() && (start[i] == ' ' || start[i] == '\t' || start[i] == '\r' || start[i] == '\n'))
    ++i;
  return i < start.size() ? start[i] : '\0';
}

}  // namespace

QString ListFormatName(ListFormat format)
{
  switch (format) {
    case ListFormat::Logiqx:
      return QStringLiteral("Logiqx XML");
    case ListFormat::ClrMamePro:
      return QStringLiteral("clrmamepro");
    case ListFormat::SoftwareList:
      return QStringLiteral("software list");
  }
  return {};
}

QString StandardNameOf(ListFormat format, const ListEntry& entry)
{
  if (format == ListFormat::SoftwareList && !entry.description.isEmpty())
    return entry.description;
  return entry.name;
}

QByteArray NormalisedHash(QByteArrayView text, int digits)
{
  QByteArrayView hex = text.trimmed();
  if (hex.startsWith("0x") || hex.startsWith("0X"))
    hex = hex.sliced(2);
  if (hex.isEmpty() || hex.size() > digits)
    return {};
  for (const char c : hex) {
    if (!IsHexDigit(c))
      return {};
  }
  return QByteArray(digits - hex.size(), '0') + hex.toByteArray().toLower();
}

bool ReadReferenceList(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error)
{
  if (FirstMeaningfulCharacter(device) == '<')
    return ReadLogiqxOrSoftwareList(device, header, take, error);
  return ReadClrMamePro(device, header, take, error);
}

}  // namespace quillon
