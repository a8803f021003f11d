// quillon-cli export-esde, export-pegasus and export-retroarch: the exports for today's front-ends.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "export/frontends/FrontendExport.h"
#include "settings/SystemOptions.h"

#include <QDir>

namespace quillon::cli {

namespace {

const QString kSystem = QStringLiteral("--system");
const QString kAllSystems = QStringLiteral("--all-systems");
const QString kDest = QStringLiteral("--dest");
const QString kMedia = QStringLiteral("--media");
const QString kAllGames = QStringLiteral("--all-games");

// The systems named on the command line, or every system with a tab; nullopt after printing why.
std::optional<QList<qint64>> ChosenSystems(CliRun& run, Catalogue& catalogue, const CliArgs& args)
{
  if (args.Has(kAllSystems))
    return TabSystemIds(catalogue, run.Feedback());
  QList<qint64> ids;
  for (const QString& name : args.Values(kSystem)) {
    const std::optional<qint64> id = SystemIdByName(catalogue, run.Feedback(), name);
    if (!id) {
      run.Err() << "quillon-cli: no system named \"" << name << "\" (see 'quillon-cli system list')\n";
      return std::nullopt;
    }
    if (!ids.contains(*id))
      ids << *id;
  }
  return ids;
}

int RunFrontendExport(CliRun& run, FrontendFormat format, const QString& command)
{
  const CliArgs args(run.Args(), {kAllSystems, kAllGames}, {kSystem, kDest, kMedia});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (!args.Positional().isEmpty())
    return run.UsageError(QStringLiteral("%1 takes no file; the folder is given with --dest").arg(command));
  if (args.Has(kSystem) == args.Has(kAllSystems))
    return run.UsageError(QStringLiteral("%1 needs either --system NAME (repeatable) or --all-systems").arg(command));
  if (args.Values(kDest).size() > 1 || args.Values(kMedia).size() > 1)
    return run.UsageError(QStringLiteral("--dest and --media are given once"));
  const std::optional<MediaMode> media =
      MediaModeByName(args.Has(kMedia) ? args.Value(kMedia) : QStringLiteral("copy"));
  if (!media)
    return run.UsageError(QStringLiteral("--media takes copy, link or none, not \"%1\"").arg(args.Value(kMedia)));
  if (args.Has(kDest) && args.Value(kDest).isEmpty())
    return run.UsageError(QStringLiteral("--dest needs a folder"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<QList<qint64>> systems = ChosenSystems(run, *catalogue, args);
  if (!systems)
    return kFailure;

  FrontendExportRequest request;
  request.format = format;
  request.systemIds = *systems;
  request.destination = args.Has(kDest) ? QDir(args.Value(kDest)).absolutePath() : DefaultFrontendDestination(format);
  request.media = *media;
  request.allGames = args.Has(kAllGames);
  const FrontendExportResult result = ExportToFrontend(*catalogue, run.Feedback(), request);
  for (const QString& line : FrontendExportSummary(format, result))
    run.Out() << line << '\n';
  if (!result.Succeeded())
    run.Err() << "quillon-cli: " << command << ": " << result.error << '\n';
  return result.Succeeded() ? kSuccess : kFailure;
}

QString Synopsis(const QString& command, const QString& dest)
{
  return command + QStringLiteral(" (--system NAME... | --all-systems) [--dest ") + dest +
         QStringLiteral("] [--media copy|link|none] [--all-games]");
}

}  // namespace

std::vector<CliCommand> FrontendCommands()
{
  const QString common = QStringLiteral(
      " The ticked, available games go out (every available game with --all-games); pictures are copied "
      "(--media copy, the default), hard-linked where the file system allows (link) or left alone (none). "
      "Prints what was written and the games left out, with the reason.");
  return {
      {QStringLiteral("export-esde"),
       {Synopsis(QStringLiteral("export-esde"), QStringLiteral("ES-DE-FOLDER"))},
       QStringLiteral("Writes ES-DE gamelists (gamelists/SYSTEM/gamelist.xml) and covers "
                      "(downloaded_media/SYSTEM/covers/) into ES-DE's data folder (default: the one ES-DE uses). "
                      "Existing gamelists are merged: play counts, favourites and entries of other games stay.") +
           common,
       [](CliRun& run) { return RunFrontendExport(run, FrontendFormat::Esde, QStringLiteral("export-esde")); }},
      {QStringLiteral("export-pegasus"),
       {Synopsis(QStringLiteral("export-pegasus"), QStringLiteral("FOLDER"))},
       QStringLiteral("Writes a Pegasus metadata.pegasus.txt into each ROM folder of the systems (or, with --dest, "
                      "into FOLDER/SYSTEM/), with the collection's launch command made from the system's emulator "
                      "and the box art under media/. A metadata file not written by Quillon is left alone.") +
           common,
       [](CliRun& run) { return RunFrontendExport(run, FrontendFormat::Pegasus, QStringLiteral("export-pegasus")); }},
      {QStringLiteral("export-retroarch"),
       {Synopsis(QStringLiteral("export-retroarch"), QStringLiteral("RETROARCH-FOLDER"))},
       QStringLiteral("Writes one RetroArch playlist per system (playlists/NAME.lpl) and its box art as PNG "
                      "(thumbnails/NAME/Named_Boxarts/) into RetroArch's configuration folder (default: "
                      "~/.config/retroarch). Existing playlists are merged: their settings and other entries stay.") +
           common,
       [](CliRun& run) {
         return RunFrontendExport(run, FrontendFormat::RetroArch, QStringLiteral("export-retroarch"));
       }},
  };
}

}  // namespace quillon::cli
