#include "common/EmulatorCommand.h"

#include <QFileInfo>

#include <optional>

namespace quillon {

namespace {

// The options that start at the first " -", else the first " /", of `part`; empty when none.
QString OptionsIn(const QString& part)
{
  for (const QString& marker : {QStringLiteral(" -"), QStringLiteral(" /")}) {
    const qsizetype at = part.indexOf(marker);
    if (at >= 0)
      return part.mid(at + 1);
  }
  return {};
}

// Where the last path element starts: after the last "/" or "\\" that is not the start of a
// " /" option.
qsizetype LastElementStart(const QString& text)
{
  for (qsizetype at = text.size() - 1; at >= 0; --at) {
    const QChar c = text[at];
    if (c == QLatin1Char('\\'))
      return at + 1;
    if (c == QLatin1Char('/') && (at == 0 || text[at - 1] != QLatin1Char(' ')))
      return at + 1;
  }
  return 0;
}

// The text after the last "." of the last path element, or the whole element without a dot.
QString SearchedPart(const QString& text)
{
  const QString element = text.mid(LastElementStart(text));
  const qsizetype dot = element.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? element : element.mid(dot + 1);
}

// A split whose program part is an existing file, trying option markers from the left.
std::optional<EmulatorCommand> SplitAtExistingProgram(const QString& text)
{
  for (qsizetype at = 0; at < text.size(); ++at) {
    if (text[at] != QLatin1Char(' ') || at + 1 >= text.size())
      continue;
    const QChar next = text[at + 1];
    if (next != QLatin1Char('-') && next != QLatin1Char('/'))
      continue;
    const QString program = text.left(at);
    if (QFileInfo(program).isFile())
      return EmulatorCommand{text.left(at + 1), text.mid(at + 1)};
  }
  return std::nullopt;
}

}  // namespace

QString EmulatorOptions(const QString& emulatorText)
{
  return OptionsIn(SearchedPart(emulatorText));
}

EmulatorCommand SplitEmulator(const QString& emulatorText)
{
  if (std::optional<EmulatorCommand> existing = SplitAtExistingProgram(emulatorText))
    return *existing;
  const QString options = EmulatorOptions(emulatorText);
  return {emulatorText.left(emulatorText.size() - options.size()), options};
}

}  // namespace quillon
