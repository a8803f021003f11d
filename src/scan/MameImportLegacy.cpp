#include "scan/MameImportLegacy.h"

#include <array>

namespace quillon {

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where Windows-1252 defines no character.
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr qsizetype kYearWidth = 4;
constexpr qsizetype kManufacturerStart = 4;  // character 5, counted from 0
constexpr qsizetype kManufacturerWidth = 38;

qsizetype FirstBlank(const QString& line)
{
  return line.indexOf(QLatin1Char(' '));
}

}  // namespace

QString FromWindows1252(QByteArrayView bytes)
{
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    const bool high = value >= 0x80 && value <= 0x9F && kWindows1252High[value - 0x80] != 0;
    *out++ = high ? QChar(kWindows1252High[value - 0x80]) : QChar(value);
  }
  return text;
}

MameListLine SplitListLine(const QString& line)
{
  const qsizetype blank = FirstBlank(line);
  if (blank < 0)
    return {line.trimmed(), QString()};
  QString title = line.mid(blank).trimmed();
  // Only the quotes around the title are delimiters; quotes inside it belong to it.
  if (title.size() >= 2 && title.startsWith(QLatin1Char('"')) && title.endsWith(QLatin1Char('"')))
    title = title.mid(1, title.size() - 2).trimmed();
  return {line.left(blank), title};
}

MameYearLine SplitYearLine(const QString& line)
{
  MameYearLine result;
  result.year = line.left(kYearWidth).trimmed();
  qsizetype width = kManufacturerWidth;
  QString maker = line.mid(kManufacturerStart, width).trimmed();
  while (maker.contains(QLatin1Char('(')) && !maker.contains(QLatin1Char(')')) &&
         kManufacturerStart + width < line.size()) {
    ++width;
    maker = line.mid(kManufacturerStart, width).trimmed();
  }
  result.manufacturer = maker;
  return result;
}

QString CloneNameOf(const QString& line)
{
  const qsizetype blank = FirstBlank(line);
  return blank < 0 ? line.trimmed() : line.left(blank);
}

}  // namespace quillon
