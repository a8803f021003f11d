// INI texts against the reader and writer: both readers agree, and an entry the writer accepts is
// read back from the text it writes, with CR LF line ends throughout.
#include "FuzzSupport.h"

#include "images/IniFile.h"

#include <QRegularExpression>
#include <QStringList>

using namespace quillon;

namespace {

// Section names and keys the text itself uses (a few of each), and ones it may lack.
void NamesInText(const QStringList& lines, QStringList* sections, QStringList* keys)
{
  *sections = {QStringLiteral("Sites"), QStringLiteral("s")};
  *keys = {QStringLiteral("S1"), QStringLiteral("k")};
  for (const QString& line : lines) {
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')) && sections->size() < 3)
      sections->append(line.mid(1, line.size() - 2));
    else if (const qsizetype equals = line.indexOf(QLatin1Char('=')); equals > 0 && keys->size() < 3)
      keys->append(line.left(equals));
  }
}

bool HasOnlyCrLfLineEnds(const QString& text)
{
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('\r') && (i + 1 == text.size() || text[i + 1] != QLatin1Char('\n')))
      return false;
    if (text[i] == QLatin1Char('\n') && (i == 0 || text[i - 1] != QLatin1Char('\r')))
      return false;
  }
  return true;
}

// A value the writer stores as it is and that can be told apart among a repeated key's values:
// the tidying trims control characters (code points up to 13) at the end of the whole text, and
// "|||" joins the values, so a value holding it, or starting or ending with "|", is ambiguous.
bool KeepsItsShape(const QString& value)
{
  return !value.contains(kIniValueSeparator) && !value.startsWith(QLatin1Char('|')) &&
         !value.endsWith(QLatin1Char('|')) && (value.isEmpty() || value.back().unicode() > 13);
}

void CheckWriting(const QString& text, const QString& section, const QString& key, const QString& value)
{
  if (!IniEntryProblem(section, key, value).isEmpty() || !KeepsItsShape(value))
    return;
  const QString replaced = WriteIniText(text, section, key, value);
  FUZZ_CHECK(replaced.endsWith(QStringLiteral("\r\n")) && HasOnlyCrLfLineEnds(replaced));
  FUZZ_CHECK(ReadIniText(replaced, section, key).split(kIniValueSeparator).contains(value));
  const QString added = AddIniLine(text, section, key, value);
  FUZZ_CHECK(HasOnlyCrLfLineEnds(added));
  FUZZ_CHECK(IniReader(added).Value(section, key).split(kIniValueSeparator).contains(value));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::SilenceQtMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const QString text = QString::fromUtf8(fuzz::Bytes(data, size));
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  const QStringList lines = text.split(lineBreak);
  QStringList sections;
  QStringList keys;
  NamesInText(lines, &sections, &keys);

  const IniReader reader(text);
  for (const QString& section : sections) {
    for (const QString& key : keys)
      FUZZ_CHECK(ReadIniText(text, section, key) == reader.Value(section, key));
  }
  // The written value comes from the text too: its last line after a first "=" (or all of it).
  const QString lastLine = lines.back();
  const QString afterEquals = lastLine.mid(lastLine.indexOf(QLatin1Char('=')) + 1);
  for (const QString& section : sections) {
    for (const QString& key : keys) {
      CheckWriting(text, section, key, afterEquals);
    }
  }
  return 0;
}
