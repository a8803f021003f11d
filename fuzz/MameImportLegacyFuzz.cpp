// The three lists of old Mame builds against their line readers: every field is a part of its
// line, and the Windows-1252 decoding keeps one character per byte.
#include "FuzzSupport.h"

#include "scan/MameImportLegacy.h"

#include <QRegularExpression>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QByteArray bytes = fuzz::Bytes(data, size);
  const QString text = FromWindows1252(bytes);
  FUZZ_CHECK(text.size() == bytes.size());

  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n"));
  for (const QString& line : text.split(lineBreak)) {
    const MameListLine listLine = SplitListLine(line);
    FUZZ_CHECK(line.contains(listLine.driver) && line.contains(listLine.title));
    FUZZ_CHECK(!listLine.driver.contains(QLatin1Char(' ')));

    const MameYearLine yearLine = SplitYearLine(line);
    FUZZ_CHECK(yearLine.year.size() <= 4 && line.contains(yearLine.year));
    FUZZ_CHECK(line.contains(yearLine.manufacturer));

    const QString clone = CloneNameOf(line);
    FUZZ_CHECK(line.contains(clone) && !clone.contains(QLatin1Char(' ')));
  }
  return 0;
}
