#include "names/TextCleaning.h"

#include "names/Windows1252.h"

namespace quillon {

namespace {

constexpr char16_t kApostrophe = 39;

// The characters StripCharacters turns into a blank: ASCII punctuation, and the upper half of the
// Windows-1252 page (so typographic dashes and quotes count as punctuation too).
bool IsStrippedCharacter(QChar character)
{
  const char16_t code = character.unicode();
  return (code >= 33 && code <= 47) || (code >= 58 && code <= 64) || (code >= 91 && code <= 96) ||
         (code >= 123 && code <= 127) || IsWindows1252UpperHalf(character);
}

}  // namespace

QString TrimSpaces(const QString& text)
{
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == QLatin1Char(' '))
    ++first;
  while (last > first && text[last - 1] == QLatin1Char(' '))
    --last;
  return text.mid(first, last - first);
}

QString StripCharacters(const QString& text)
{
  const QString trimmed = TrimSpaces(text);
  QString cleaned;
  cleaned.reserve(trimmed.size());
  for (const QChar character : trimmed) {
    const char16_t code = character.unicode();
    if (code == kApostrophe)
      continue;
    cleaned.append(IsStrippedCharacter(character) ? QChar(QLatin1Char(' ')) : character);
  }
  cleaned.replace(QStringLiteral("    "), QStringLiteral("   "));
  cleaned.replace(QStringLiteral("   "), QStringLiteral("  "));
  cleaned.replace(QStringLiteral("  "), QStringLiteral(" "));
  return cleaned;
}

QString StripExtension(const QString& name)
{
  const QString trimmed = TrimSpaces(name);
  const qsizetype dot = trimmed.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? trimmed.left(dot) : trimmed;
}

}  // namespace quillon
