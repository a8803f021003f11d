// quillon-cli list and check-all: the game list of a system as the window shows it.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "browser/ChoiceLists.h"
#include "browser/GameList.h"
#include "settings/SystemOptions.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace quillon::cli {

namespace {

const QStringList kCloneFlags{QStringLiteral("--include-clones"), QStringLiteral("--clones-only")};

bool ClonesExclusive(const CliArgs& args)
{
  return !(args.Has(QStringLiteral("--include-clones")) && args.Has(QStringLiteral("--clones-only")));
}

// The system, view and clone options common to both commands; false after an error was printed.
bool ReadFilters(CliRun& run, const CliArgs& args, Catalogue& catalogue, ListFilters& filters)
{
  const std::optional<qint64> system =
      SystemIdByName(catalogue, run.Feedback(), args.Value(QStringLiteral("--system")));
  if (!system) {
    run.Err() << "quillon-cli: no system named \"" << args.Value(QStringLiteral("--system")) << "\"\n";
    return false;
  }
  filters.systemId = *system;
  filters.view = args.Has(QStringLiteral("--missing")) ? GameView::Missing : GameView::Available;
  filters.clones = {args.Has(QStringLiteral("--include-clones")), args.Has(QStringLiteral("--clones-only"))};
  return true;
}

int RunList(CliRun& run)
{
  const CliArgs args(run.Args(), QStringList{QStringLiteral("--missing"), QStringLiteral("--json")} + kCloneFlags,
                     {QStringLiteral("--system"), QStringLiteral("--genre"), QStringLiteral("--lacking")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (!args.Has(QStringLiteral("--system")) || !args.Positional().isEmpty())
    return run.UsageError(QStringLiteral("list needs --system NAME and no other words"));
  if (!ClonesExclusive(args))
    return run.UsageError(QStringLiteral("--include-clones and --clones-only exclude each other"));
  const QString lacking = args.Value(QStringLiteral("--lacking"));
  if (args.Has(QStringLiteral("--lacking")) && !kMissingFilters.contains(lacking))
    return run.UsageError(QStringLiteral("--lacking takes one of %1").arg(kMissingFilters.join(QStringLiteral(", "))));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  ListFilters filters;
  if (!ReadFilters(run, args, *catalogue, filters))
    return kFailure;
  filters.missingFilter = lacking;
  if (args.Has(QStringLiteral("--genre"))) {
    const std::optional<qint64> genre =
        GenreIdByName(*catalogue, run.Feedback(), args.Value(QStringLiteral("--genre")), QStringLiteral("FilterGenre"));
    if (!genre)
      return kFailure;
    if (*genre == 0) {
      run.Err() << "quillon-cli: no genre named \"" << args.Value(QStringLiteral("--genre")) << "\"\n";
      return kFailure;
    }
    filters.genreId = *genre;
  }
  int viewCount = 0;
  const std::optional<std::vector<GameRow>> rows =
      GameListQuery(*catalogue, run.Feedback(), filters, QStringLiteral("FilterGenre"), &viewCount);
  if (!rows)
    return kFailure;
  const bool json = args.Has(QStringLiteral("--json"));
  for (const GameRow& row : *rows) {
    const QString colour = ListColour(row);
    if (json) {
      const QJsonObject object{{QStringLiteral("GameID"), row.gameId},
                               {QStringLiteral("FullName"), row.fullName},
                               {QStringLiteral("Colour"), colour},
                               {QStringLiteral("Selected"), row.selected ? 1 : 0}};
      run.Out() << QJsonDocument(object).toJson(QJsonDocument::Compact) << '\n';
    } else {
      run.Out() << row.gameId << '\t' << row.fullName << '\t' << colour << '\t' << (row.selected ? 1 : 0) << '\n';
    }
  }
  run.Out().flush();
  run.Err() << ListCountText(static_cast<int>(rows->size()), viewCount) << '\n';
  return kSuccess;
}

int RunCheckAll(CliRun& run)
{
  const CliArgs args(run.Args(), QStringList{QStringLiteral("--missing"), QStringLiteral("--uncheck")} + kCloneFlags,
                     {QStringLiteral("--system")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (!args.Has(QStringLiteral("--system")) || !args.Positional().isEmpty())
    return run.UsageError(QStringLiteral("check-all needs --system NAME and no other words"));
  if (!ClonesExclusive(args))
    return run.UsageError(QStringLiteral("--include-clones and --clones-only exclude each other"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  ListFilters filters;
  if (!ReadFilters(run, args, *catalogue, filters))
    return kFailure;
  const bool mark = !args.Has(QStringLiteral("--uncheck"));
  if (!CheckAll(*catalogue, run.Feedback(), filters.systemId, mark, filters.view, filters.clones))
    return kFailure;
  run.Out() << (mark ? "Checked" : "Unchecked") << " the "
            << (filters.view == GameView::Missing ? "missing" : "available") << " games of "
            << args.Value(QStringLiteral("--system")) << '\n';
  return kSuccess;
}

}  // namespace

std::vector<CliCommand> ListCommands()
{
  return {{QStringLiteral("list"),
           {QStringLiteral("list --system NAME [--missing] [--include-clones | --clones-only] [--genre NAME] "
                           "[--lacking Country|Year|Genre|Manf|Overview|Image] [--json]")},
           QStringLiteral("Prints the game list of a system as the window shows it: GameID, full name, colour (what "
                          "the game lacks), selected; the count on stderr."),
           RunList},
          {QStringLiteral("check-all"),
           {QStringLiteral("check-all --system NAME [--missing] [--uncheck] [--include-clones | --clones-only]")},
           QStringLiteral("Ticks (or with --uncheck clears) every game of the system's view."),
           RunCheckAll}};
}

}  // namespace quillon::cli
