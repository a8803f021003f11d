#include "scan/MameImportProcess.h"

#include "catalogue/Feedback.h"

#include <QProcess>

namespace quillon {

namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kWaitStepMs = 50;
constexpr int kWaitsPerYield = 10;

void EndProgram(QProcess& process)
{
  process.kill();
  process.waitForFinished(kStartTimeoutMs);
}

}  // namespace

StreamOutcome StreamProgramOutput(const Invocation& invocation, const QString& workingFolder, Feedback& feedback,
                                  const std::function<bool(QByteArrayView)>& consume)
{
  StreamOutcome outcome;
  QProcess process;
  process.setWorkingDirectory(workingFolder);
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  process.setReadChannel(QProcess::StandardOutput);
  process.start(invocation.program, invocation.arguments, QIODevice::ReadOnly);
  if (!process.waitForStarted(kStartTimeoutMs)) {
    outcome.error = process.errorString();
    return outcome;
  }
  outcome.started = true;
  int waits = 0;
  for (;;) {
    if (process.bytesAvailable() > 0) {
      const QByteArray piece = process.readAll();
      if (!consume(piece)) {
        outcome.stopped = true;
        EndProgram(process);
        return outcome;
      }
      feedback.Yield();
      continue;
    }
    // The output that arrived before the end has been read when the state says so.
    if (process.state() == QProcess::NotRunning)
      break;
    if (!process.waitForReadyRead(kWaitStepMs) && ++waits % kWaitsPerYield == 0)
      feedback.Yield();
  }
  outcome.crashed = process.exitStatus() != QProcess::NormalExit;
  if (outcome.crashed)
    outcome.error = QStringLiteral("The program ended abnormally.");
  outcome.exitCode = process.exitCode();
  return outcome;
}

}  // namespace quillon
