#include "scan/MameImportLegacy.h"

namespace quillon {

namespace {

constexpr qsizetype kYearWidth = 4;
constexpr qsizetype kManufacturerStart = 4;  // character 5, counted from 0
constexpr qsizetype kManufacturerWidth = 38;

qsizetype FirstBlank(const QString& line)
{
  return line.indexOf(QLatin1Char(' '));
}

}  // namespace

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
