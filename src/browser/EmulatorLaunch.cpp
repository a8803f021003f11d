#include "browser/EmulatorLaunch.h"

#include "catalogue/Feedback.h"
#include "catalogue/GameDetails.h"
#include "common/EmulatorCommand.h"
#include "common/Paths.h"
#include "common/Processes.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace quillon {

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
