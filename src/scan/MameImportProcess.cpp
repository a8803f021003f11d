#include "scan/MameImportProcess.h"

#include "catalogue/Feedback.h"

#include <QElapsedTimer>
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
                                  const std::function<bool(QByteArrayView)>& consume, int silenceLimitMs)
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
  QElapsedTimer sinceOutput;
  sinceOutput.start();
  int waits = 0;
  for (;;) {
    if (feedback.IsCancelled()) {
      outcome.cancelled = true;
      EndProgram(process);
      return outcome;
    }
    if (process.bytesAvailable() > 0) {
      const QByteArray piece = process.readAll();
      if (!consume(piece)) {
        outcome.stopped = true;
        EndProgram(process);
        return outcome;
      }
      feedback.Yield();
      sinceOutput.restart();
      continue;
    }
    // The output that arrived before the end has been read when the state says so.
    if (process.state() == QProcess::NotRunning)
      break;
    if (silenceLimitMs > 0 && sinceOutput.elapsed() >= silenceLimitMs) {
      outcome.silent = true;
      EndProgram(process);
      return outcome;
    }
    if (!process.waitForReadyRead(kWaitStepMs) && ++waits % kWaitsPerYield == 0)
      feedback.Yield();
  }
  outcome.crashed = process.exitStatus() != QProcess::NormalExit;
  if (outcome.crashed)
    outcome.error = QStringLiteral("The program ended abnormally.");
  outcome.exitCode = process.exitCode();
  return outcome;
}

bool OutputLines::Add(QByteArrayView piece, const LineSink& sink)
{
  while (!piece.isEmpty()) {
    const qsizetype end = piece.indexOf('\n');
    if (end < 0) {
      if (m_partial.size() + piece.size() > m_longest) {
        m_tooLong = true;
        return false;
      }
      m_partial.append(piece.data(), piece.size());
      return true;
    }
    const QByteArrayView lineEnd = piece.first(end);
    bool kept = true;
    if (m_partial.isEmpty()) {
      kept = Emit(lineEnd, sink);
    } else {
      m_partial.append(lineEnd.data(), lineEnd.size());
      kept = Emit(m_partial, sink);
      m_partial.clear();
    }
    if (!kept)
      return false;
    piece = piece.sliced(end + 1);
  }
  return true;
}

bool OutputLines::Finish(const LineSink& sink)
{
  if (m_partial.isEmpty())
    return true;
  const QByteArray last = std::exchange(m_partial, QByteArray());
  return Emit(last, sink);
}

bool OutputLines::Emit(QByteArrayView line, const LineSink& sink)
{
  if (line.size() > m_longest) {
    m_tooLong = true;
    return false;
  }
  if (line.endsWith('\r'))
    line.chop(1);
  return sink(line);
}

}  // namespace quillon
