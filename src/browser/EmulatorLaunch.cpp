#include "browser/EmulatorLaunch.h"

#include "catalogue/Feedback.h"
#include "common/Paths.h"
#include "common/Processes.h"
#include "scan/RomDiscovery.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

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
  const qsizetype slash = LastElementStart(text) - 1;
  const QString element = text.mid(slash + 1);
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

EmulatorCommand SplitEmulator(const QString& emulatorText)
{
  if (std::optional<EmulatorCommand> existing = SplitAtExistingProgram(emulatorText))
    return *existing;
  const QString options = OptionsIn(SearchedPart(emulatorText));
  return {emulatorText.left(emulatorText.size() - options.size()), options};
}

LaunchPlan PlanLaunch(const QString& emulatorText, const QString& romPath)
{
  const EmulatorCommand command = SplitEmulator(emulatorText);
  LaunchPlan plan;
  plan.program = command.program.trimmed();
  // A bare program name is looked up on the PATH, as a shell would.
  if (!plan.program.isEmpty() && !plan.program.contains(QLatin1Char('/'))) {
    const QString found = QStandardPaths::findExecutable(plan.program);
    if (!found.isEmpty())
      plan.program = found;
  }
  plan.arguments = QProcess::splitCommand(command.options);
  plan.arguments << romPath;
  plan.workingFolder = QFileInfo(plan.program).absolutePath();
  return plan;
}

QString RomArgument(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const QVariant rom = GetRom(catalogue, feedback, gameId);
  if (!rom.isValid() || rom.toString().isEmpty())
    return {};
  const QString absolute = ShortName(rom.toString());
  return absolute.isEmpty() ? rom.toString() : absolute;
}

bool LaunchGame(const LaunchPlan& plan, Feedback& feedback)
{
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Loading emulator..."));
  const QFileInfo program(plan.program);
  bool started = false;
  // Without a ROM path there is nothing to play.
  const bool hasRom = !plan.arguments.isEmpty() && !plan.arguments.last().isEmpty();
  if (hasRom && !plan.program.isEmpty() && program.isFile() && program.isExecutable()) {
    const Invocation invocation = ToolInvocation(plan.program, plan.arguments);
    started = QProcess::startDetached(invocation.program, invocation.arguments, plan.workingFolder);
  }
  if (started)
    feedback.SetStatus(StatusKind::Done);
  else
    feedback.SetStatus(StatusKind::Error, QStringLiteral("Check emulator and/or rom path."));
  return started;
}

}  // namespace quillon
