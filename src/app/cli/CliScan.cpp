// quillon-cli scan and add-game: finding ROM files and making games of them.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "catalogue/Lookups.h"
#include "scan/GameAdding.h"
#include "scan/GameMatching.h"
#include "scan/Scanner.h"
#include "settings/SystemOptions.h"

#include <QDir>
#include <QFileInfo>

namespace quillon::cli {

namespace {

int RunScanCommand(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--all"), QStringLiteral("--goodtools")},
                     {QStringLiteral("--system")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Has(QStringLiteral("--all")) == args.Has(QStringLiteral("--system")) || !args.Positional().isEmpty())
    return run.UsageError(QStringLiteral("scan needs either --system NAME or --all"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  ScanOptions options;
  options.allSystems = args.Has(QStringLiteral("--all"));
  options.quick = !args.Has(QStringLiteral("--goodtools"));
  if (!options.allSystems) {
    const std::optional<qint64> id = SystemIdByName(*catalogue, run.Feedback(), args.Value(QStringLiteral("--system")));
    if (!id) {
      run.Err() << "quillon-cli: no system named \"" << args.Value(QStringLiteral("--system")) << "\"\n";
      return kFailure;
    }
    options.systemName = args.Value(QStringLiteral("--system"));
  }
  Lookups lookups(*catalogue, run.Feedback());
  const ScanSummary summary = RunScan(*catalogue, lookups, run.Feedback(), run.Folder(), options);
  run.Err() << "Scanned " << summary.folders << " folder(s) of " << summary.systems
            << " system(s): " << summary.filesFound << " file(s) found, " << summary.gamesAdded << " game(s) added, "
            << summary.gamesUpdated << " updated, " << summary.errors << " error(s)";
  if (summary.skippedForCase > 0)
    run.Err() << ", " << summary.skippedForCase << " file(s) skipped for the letter case of their extension";
  run.Err() << '\n';
  return summary.systems == 0 || summary.errors > 0 ? kFailure : kSuccess;
}

int RunAddGame(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--add-folder")}, {QStringLiteral("--system")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (!args.Has(QStringLiteral("--system")) || args.Positional().isEmpty())
    return run.UsageError(QStringLiteral("add-game needs --system NAME and at least one FILE"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<qint64> id = SystemIdByName(*catalogue, run.Feedback(), args.Value(QStringLiteral("--system")));
  if (!id) {
    run.Err() << "quillon-cli: no system named \"" << args.Value(QStringLiteral("--system")) << "\"\n";
    return kFailure;
  }
  const bool rename = SystemRenamesRoms(*catalogue, run.Feedback(), *id, QStringLiteral("NewGame"));
  run.Feedback().SetAnswer(QStringLiteral("add-rompath"),
                           args.Has(QStringLiteral("--add-folder")) ? Answer::Yes : Answer::No);
  Lookups lookups(*catalogue, run.Feedback());
  int failures = 0;
  for (const QString& file : args.Positional()) {
    const QFileInfo info(file);
    if (!info.isFile()) {
      run.Err() << "quillon-cli: " << file << " is not a file\n";
      ++failures;
      continue;
    }
    NewGameRequest request;
    // The path as given (made absolute): a ROM folder reached through a link keeps the link.
    request.path = QDir::cleanPath(info.absoluteFilePath());
    request.systemId = *id;
    request.rename = rename;
    const NewGameResult result = NewGame(*catalogue, lookups, run.Feedback(), run.Folder(), request);
    if (!result.ok)
      ++failures;
  }
  return failures == 0 ? kSuccess : kFailure;
}

}  // namespace

std::vector<CliCommand> ScanCommands()
{
  return {{QStringLiteral("scan"),
           {QStringLiteral("scan (--system NAME | --all) [--goodtools]")},
           QStringLiteral("Scans the ROM folders of one system or of every system with a tab: found files make "
                          "their games available, new files become games (quick unless --goodtools)."),
           RunScanCommand},
          {QStringLiteral("add-game"),
           {QStringLiteral("add-game --system NAME [--add-folder] FILE...")},
           QStringLiteral("Adds ROM files as games of a system; --add-folder adds a file's folder to the system's "
                          "ROM folders when it is not one yet."),
           RunAddGame}};
}

}  // namespace quillon::cli
