// quillon-cli import-mame: the arcade system's games from a Mame executable's machine list.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "catalogue/Lookups.h"
#include "scan/MameImport.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace quillon::cli {

namespace {

// The executable named on the command line: a path, or a program name looked up on the PATH.
QString NamedExecutable(const QString& named)
{
  if (QFileInfo::exists(named) || named.contains(QLatin1Char('/')))
    return QFileInfo(named).absoluteFilePath();
  const QString onPath = QStandardPaths::findExecutable(named);
  return onPath.isEmpty() ? named : onPath;
}

QString FormName(MameListForm form)
{
  switch (form) {
    case MameListForm::Xml:
      return QStringLiteral("-listxml");
    case MameListForm::ThreeLists:
      return QStringLiteral("-ll, -listgames and -listclones");
    case MameListForm::None:
      break;
  }
  return QStringLiteral("none");
}

void PrintSummary(QTextStream& out, const MameImportSummary& summary)
{
  const MameImportCounts& counts = summary.counts;
  out << "List read from: " << FormName(summary.form) << '\n'
      << "Machines added: " << counts.added << '\n'
      << "Machines updated: " << counts.updated << '\n'
      << "Clones marked: " << counts.clonesMarked << '\n'
      << "Machines skipped: " << counts.skipped << '\n';
  if (counts.failed > 0)
    out << "Machines not imported: " << counts.failed << '\n';
}

// --timeout SECONDS: how long Mame may print nothing; 0 waits as long as it runs.
std::optional<int> SilenceLimit(const CliArgs& args)
{
  if (!args.Has(QStringLiteral("--timeout")))
    return kDefaultMameSilenceSeconds;
  bool ok = false;
  const int seconds = args.Value(QStringLiteral("--timeout")).toInt(&ok);
  if (!ok || seconds < 0)
    return std::nullopt;
  return seconds;
}

int RunImportMame(CliRun& run)
{
  const CliArgs args(run.Args(), {}, {QStringLiteral("--timeout")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() > 1)
    return run.UsageError(QStringLiteral("import-mame takes at most one EXECUTABLE"));
  MameImportOptions options;
  if (const std::optional<int> seconds = SilenceLimit(args))
    options.silenceLimitSeconds = *seconds;
  else
    return run.UsageError(QStringLiteral("--timeout needs a whole number of seconds (0: no limit)"));
  QString executable;
  if (args.Positional().isEmpty()) {
    executable = DefaultMameExecutable();
    if (executable.isEmpty()) {
      run.Err() << "quillon-cli: no Mame found (neither 'mame' on the PATH nor /usr/games/mame); "
                   "name its executable: quillon-cli import-mame EXECUTABLE\n";
      return kFailure;
    }
  } else {
    executable = NamedExecutable(args.Positional().first());
    if (!QFileInfo(executable).isFile()) {
      run.Err() << "quillon-cli: " << args.Positional().first() << " is not a file\n";
      return kFailure;
    }
  }
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  Lookups lookups(*catalogue, run.Feedback());
  const MameImportSummary summary = MameImport(*catalogue, lookups, run.Folder(), executable, run.Feedback(), options);
  if (summary.committed)
    PrintSummary(run.Out(), summary);
  return summary.succeeded ? kSuccess : kFailure;
}

}  // namespace

std::vector<CliCommand> MameCommands()
{
  return {{QStringLiteral("import-mame"),
           {QStringLiteral("import-mame [EXECUTABLE] [--timeout SECONDS]")},
           QStringLiteral("Fill the Arcade system from Mame's machine list (default: 'mame' on the PATH, then "
                          "/usr/games/mame). Mame is stopped, and nothing is imported, when it prints nothing for "
                          "SECONDS (default 120; 0 waits as long as it runs)."),
           RunImportMame}};
}

}  // namespace quillon::cli
