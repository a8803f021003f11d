// quillon-cli images: the image search over one game or the ticked games of a system, without a
// window. It never asks: several matches are treated as the window treats them when it must not
// ask (the best one is taken when it reaches the system's threshold), and a match page that does
// not load is given up after three navigations.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "browser/GameList.h"
#include "catalogue/SystemSettings.h"
#include "identify/ReferenceLists.h"
#include "identify/Verification.h"
#include "images/BatchGames.h"
#include "images/ImageSearch.h"
#include "settings/SystemOptions.h"

#include <QFileInfo>

namespace quillon::cli {

namespace {

constexpr int kMatchNavigations = 3;

// The game list the batch walks: one game, or the system's available games as the window lists them.
class CliGameList final : public ImageSearchView {
 public:
  CliGameList(std::vector<ListedGame> games, int selected) : m_games(std::move(games)), m_selected(selected) {}

  int ListCount() override { return static_cast<int>(m_games.size()); }
  ListedGame ListedGameAt(int position) override { return m_games.at(static_cast<size_t>(position - 1)); }
  int SelectedPosition() override { return m_selected; }
  void SelectPosition(int position) override { m_selected = position; }

 private:
  std::vector<ListedGame> m_games;
  int m_selected = 0;
};

std::optional<ListedGame> OneGame(CliRun& run, Catalogue& catalogue, qint64 systemId, const QString& gameText)
{
  bool numeric = false;
  const qint64 gameId = gameText.toLongLong(&numeric);
  const std::optional<ListedGame> game =
      numeric ? ListedGameOf(catalogue, run.Feedback(), systemId, gameId) : std::nullopt;
  if (!game && !run.Feedback().SawError())
    run.Err() << "quillon-cli: the system has no game " << gameText << '\n';
  return game;
}

std::optional<std::vector<ListedGame>> ListedGames(CliRun& run, Catalogue& catalogue, qint64 systemId)
{
  ListFilters filters;
  filters.systemId = systemId;
  const std::optional<std::vector<GameRow>> rows = GameListQuery(catalogue, run.Feedback(), filters);
  if (!rows)
    return std::nullopt;
  std::vector<ListedGame> games;
  games.reserve(rows->size());
  for (const GameRow& row : *rows)
    games.push_back({row.gameId, row.fullName, row.selected});
  return games;
}

void PrintSummary(CliRun& run, const BatchOutcome& outcome)
{
  int pictures = 0;
  for (const GameOutcome& game : outcome.games) {
    run.Out() << game.gameId << '\t' << game.fullName << '\t' << game.pictures.size() << '\t'
              << GameResultText(game.result);
    for (const QString& picture : game.pictures)
      run.Out() << '\t' << QFileInfo(picture).fileName();
    run.Out() << '\n';
    pictures += static_cast<int>(game.pictures.size());
  }
  run.Out().flush();
  run.Err() << pictures << " pictures downloaded for " << outcome.games.size() << " games"
            << (outcome.closed ? " before the search was stopped" : "") << ".\n";
}

// The thumbnail server asked first for identified games: the system's database name unless
// --thumbnails names it; no source while none of the system's games is identified.
ThumbnailSource Thumbnails(const CliArgs& args, Catalogue& catalogue, qint64 systemId)
{
  ThumbnailSource source;
  if (args.Has(QStringLiteral("--thumbnail-server")))
    source.server = args.Value(QStringLiteral("--thumbnail-server"));
  if (args.Has(QStringLiteral("--thumbnails")))
    source.database = args.Value(QStringLiteral("--thumbnails"));
  else if (HasIdentifiedGames(catalogue, systemId))
    source.database = RetroArchDatabaseName(catalogue, systemId);
  source.standardNameOf = [&catalogue](qint64 gameId) { return IdentifiedName(catalogue, gameId); };
  return source;
}

int RunImages(CliRun& run)
{
  const CliArgs args(run.Args(),
                     {QStringLiteral("--selected"), QStringLiteral("--without-images"), QStringLiteral("--resume"),
                      QStringLiteral("--no-thumbnails")},
                     {QStringLiteral("--system"), QStringLiteral("--game"), QStringLiteral("--thumbnails"),
                      QStringLiteral("--thumbnail-server")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  const int modes = int(args.Has(QStringLiteral("--game"))) + int(args.Has(QStringLiteral("--selected"))) +
                    int(args.Has(QStringLiteral("--without-images")));
  if (!args.Has(QStringLiteral("--system")) || modes != 1 || !args.Positional().isEmpty())
    return run.UsageError(
        QStringLiteral("images needs --system NAME and one of --game ID, --selected, --without-images"));
  if (args.Has(QStringLiteral("--game")) && args.Has(QStringLiteral("--resume")))
    return run.UsageError(QStringLiteral("--resume goes with --selected or --without-images"));

  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const QString systemName = args.Value(QStringLiteral("--system"));
  const std::optional<qint64> systemId = SystemIdByName(*catalogue, run.Feedback(), systemName);
  if (!systemId) {
    run.Err() << "quillon-cli: no system named \"" << systemName << "\"\n";
    return kFailure;
  }
  const std::optional<QString> exactName =
      SystemNameOf(*catalogue, run.Feedback(), *systemId, QStringLiteral("RefreshSettings"));
  const std::optional<SystemSettings> settings =
      exactName ? LoadSystemSettings(*catalogue, run.Feedback(), *exactName) : std::nullopt;
  if (!settings)
    return kFailure;

  ImageCommand command = ImageCommand::SelectedGames;
  std::vector<ListedGame> games;
  int selected = 0;
  if (args.Has(QStringLiteral("--game"))) {
    command = ImageCommand::CurrentGame;
    const std::optional<ListedGame> game = OneGame(run, *catalogue, *systemId, args.Value(QStringLiteral("--game")));
    if (!game)
      return kFailure;
    games.push_back(*game);
    selected = 1;
  } else {
    if (args.Has(QStringLiteral("--without-images")))
      command = ImageCommand::SelectedGamesWithoutImages;
    std::optional<std::vector<ListedGame>> listed = ListedGames(run, *catalogue, *systemId);
    if (!listed)
      return kFailure;
    games = std::move(*listed);
  }

  run.Feedback().SetAnswer(kResumeQuestionKey, args.Has(QStringLiteral("--resume")) ? Answer::Yes : Answer::No);
  const bool resume = AskResumeBatch(*catalogue, run.Feedback(), *systemId, command);
  CliGameList list(std::move(games), selected);
  ImageSearch search(*catalogue, run.Feedback(), run.Folder(), *settings, list);
  ImageSearchLimits limits;
  limits.maxMatchNavigations = kMatchNavigations;
  search.SetLimits(limits);
  if (!args.Has(QStringLiteral("--no-thumbnails")))
    search.SetThumbnails(Thumbnails(args, *catalogue, *systemId));
  const BatchOutcome outcome = search.Run(command, resume);
  if (!outcome.started)
    return kFailure;
  PrintSummary(run, outcome);
  return outcome.closed || run.Feedback().SawError() ? kFailure : kSuccess;
}

}  // namespace

std::vector<CliCommand> ImagesCommands()
{
  return {
      {QStringLiteral("images"),
       {QStringLiteral("images --system NAME (--game ID | --selected | --without-images) [--resume] "
                       "[--thumbnails DATABASE | --no-thumbnails] [--thumbnail-server URL]")},
       QStringLiteral("Searches the system's image sites for pictures of one game, of the ticked games, or of "
                      "the ticked games without a picture, and downloads those of the best match that reaches "
                      "the system's threshold. Identified games first get box art from the RetroArch thumbnail server "
                      "(the database named by --thumbnails or the system's DAT lists). Never asks; --resume "
                      "continues an interrupted search. Prints "
                      "one line per game: GameID, full name, pictures kept, result, picture files."),
       RunImages}};
}

}  // namespace quillon::cli
