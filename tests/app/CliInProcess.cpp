#include "CliInProcess.h"

#include "app/cli/CliRun.h"

#include <QProcess>
#include <QTextStream>

namespace quillon::test {

CliOutput RunCliOn(const QString& dataFolder, const QStringList& args)
{
  CliOutput output;
  QTextStream out(&output.out);
  QTextStream err(&output.err);
  output.status = cli::RunCli(QStringList{QStringLiteral("--data-dir"), dataFolder} + args, out, err);
  out.flush();
  err.flush();
  return output;
}

CliOutput RunCliProgram(const QStringList& args, const QString& program)
{
  QProcess process;
  process.start(program.isEmpty() ? QStringLiteral(QUILLON_BIN_DIR "/quillon-cli") : program, args);
  CliOutput output;
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
    return output;
  output.status = process.exitCode();
  output.out = QString::fromUtf8(process.readAllStandardOutput());
  output.err = QString::fromUtf8(process.readAllStandardError());
  return output;
}

}  // namespace quillon::test
