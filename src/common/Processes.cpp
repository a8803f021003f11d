#include "common/Processes.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace quillon {

namespace {

bool IsWindowsExecutable(const QString& path)
{
  if (!path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
    return false;
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

}  // namespace

Invocation ToolInvocation(const QString& programFile, const QStringList& arguments)
{
  if (IsWindowsExecutable(programFile)) {
    const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    if (!wine.isEmpty())
      return {wine, QStringList{programFile} + arguments};
  }
  return {programFile, arguments};
}

ExecResult ExecCmd(const Invocation& invocation, const QString& workingFolder, const std::function<void()>& yield,
                   const QString& outputFile)
{
  ExecResult result;
  QProcess process;
  process.setWorkingDirectory(workingFolder);
  // The program's own messages go to our stderr; its output to the file asked for, or nowhere, so
  // it never mixes with the results a command prints.
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.setStandardOutputFile(outputFile.isEmpty() ? QProcess::nullDevice() : outputFile, QIODevice::Truncate);
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(invocation.program, invocation.arguments);
  if (!process.waitForStarted(10000)) {
    result.error = process.errorString();
    return result;
  }
  result.started = true;
  int waits = 0;
  while (!process.waitForFinished(50)) {
    if (process.state() == QProcess::NotRunning)
      break;
    if (++waits % 10 == 0)
      yield();
  }
  if (process.exitStatus() != QProcess::NormalExit)
    result.error = QStringLiteral("The program ended abnormally.");
  result.exitCode = process.exitCode();
  return result;
}

}  // namespace quillon
