// quillon-cli game, launch, image and delete: one game's details, its emulator, its pictures, and
// deleting games.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "browser/EmulatorLaunch.h"
#include "browser/GamePictures.h"
#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"
#include "catalogue/SystemSettings.h"
#include "scan/GameDeletion.h"
#include "settings/SystemOptions.h"

#include <QFileInfo>

namespace quillon::cli {

namespace {

std::optional<qint64> GameIdArgument(CliRun& run, const QString& text)
{
  bool ok = false;
  const qint64 id = text.toLongLong(&ok);
  if (!ok || id <= 0) {
    run.UsageError(QStringLiteral("\"%1\" is not a game ID").arg(text));
    return std::nullopt;
  }
  return id;
}

// The game's system name, or nullopt (printed) when there is no such game.
std::optional<QString> SystemOfGame(CliRun& run, Catalogue& catalogue, qint64 gameId)
{
  const std::optional<QVariant> name = catalogue.SelectValue(
      run.Feedback(), QStringLiteral("ViewGameInfo"),
      QStringLiteral("SELECT System.System FROM Games INNER JOIN System ON System.SystemID = Games.System "
                     "WHERE Games.GameID = ?"),
      {gameId});
  if (!name || !name->isValid()) {
    run.Err() << "quillon-cli: no game with the ID " << gameId << '\n';
    return std::nullopt;
  }
  return name->toString();
}

QString Shown(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

int ShowGame(CliRun& run, Catalogue& catalogue, qint64 gameId)
{
  const std::optional<Rows> rows =
      catalogue.Select(run.Feedback(), QStringLiteral("ViewGameInfo"),
                       QStringLiteral("SELECT Games.*, Country.Country AS CountryName, Year.Year AS YearText, "
                                      "Manufacturer.Manufacturer AS ManufacturerName, System.System AS SystemName "
                                      "FROM Games LEFT JOIN Country ON Country.CountryID = Games.Country "
                                      "LEFT JOIN Year ON Year.YearID = Games.Year "
                                      "LEFT JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                                      "LEFT JOIN System ON System.SystemID = Games.System WHERE Games.GameID = ?"),
                       {gameId});
  if (!rows)
    return kFailure;
  if (rows->IsEmpty()) {
    run.Err() << "quillon-cli: no game with the ID " << gameId << '\n';
    return kFailure;
  }
  for (int column = 0; column < rows->Columns().size(); ++column)
    run.Out() << rows->Columns()[column] << '\t' << Shown(rows->Value(0, column)) << '\n';
  const std::optional<Rows> genres = catalogue.Select(
      run.Feedback(), QStringLiteral("ViewGameInfo"),
      QStringLiteral("SELECT Genres.GenreName FROM SubGenres INNER JOIN Genres ON Genres.GenreID = SubGenres.GenreID "
                     "WHERE SubGenres.GameID = ? ORDER BY SubGenres.rowid"),
      {gameId});
  if (genres) {
    for (const QVariantList& row : genres->All())
      run.Out() << "GenreName\t" << row.value(0).toString() << '\n';
  }
  return kSuccess;
}

// The value a details column stores for what was typed: names for country, year and maker.
std::optional<QVariant> DetailValue(CliRun& run, Lookups& lookups, const QString& column, const QString& typed)
{
  const QString name = column.toLower();
  if (name == QStringLiteral("country")) {
    const QVariant id = lookups.GetCountry(typed, true);
    if (!id.isValid())
      run.Err() << "quillon-cli: there is no country named \"" << typed << "\"\n";
    return id.isValid() ? std::optional<QVariant>(id) : std::nullopt;
  }
  if (name == QStringLiteral("year") || name == QStringLiteral("manufacturer")) {
    const QVariant id = name == QStringLiteral("year") ? lookups.GetYear(typed, true) : lookups.GetManf(typed, true);
    return id.isValid() ? std::optional<QVariant>(id) : std::nullopt;
  }
  if (name == QStringLiteral("rating")) {
    bool ok = false;
    const int rating = typed.toInt(&ok);
    if (!ok && !typed.isEmpty()) {
      run.Err() << "quillon-cli: Rating takes a whole number\n";
      return std::nullopt;
    }
    return typed.isEmpty() ? QVariant() : QVariant(rating);
  }
  return QVariant(typed);
}

int SetGame(CliRun& run, Catalogue& catalogue, qint64 gameId, const QStringList& assignments)
{
  for (const QString& assignment : assignments) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0 || !IsDetailColumn(assignment.left(equals)))
      return run.UsageError(QStringLiteral("expected COLUMN=VALUE with COLUMN one of FullName, Emulator, Image, "
                                           "Description, Rating, Country, Year, Manufacturer; got \"%1\"")
                                .arg(assignment));
  }
  const std::optional<QString> system = SystemOfGame(run, catalogue, gameId);
  if (!system)
    return kFailure;
  const std::optional<SystemSettings> settings = LoadSystemSettings(catalogue, run.Feedback(), *system);
  Lookups lookups(catalogue, run.Feedback());
  Transaction transaction(catalogue);
  for (const QString& assignment : assignments) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    const QString column = assignment.left(equals);
    const std::optional<QVariant> value = DetailValue(run, lookups, column, assignment.mid(equals + 1));
    if (!value || !UpdateGameInfo(catalogue, run.Feedback(), gameId, column, *value,
                                  settings ? settings->imageFolder : QString()))
      return kFailure;
  }
  return transaction.Commit() ? kSuccess : kFailure;
}

int TickGenres(CliRun& run, Catalogue& catalogue, qint64 gameId, const CliArgs& args)
{
  if (!SystemOfGame(run, catalogue, gameId))
    return kFailure;
  Lookups lookups(catalogue, run.Feedback());
  const auto change = [&](const QString& name, bool tick) {
    const std::optional<QVariant> genre = catalogue.SelectValue(
        run.Feedback(), QStringLiteral("lstgenres_ItemCheck"),
        QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = ? ORDER BY GenreID"), {name});
    if (!genre || !genre->isValid()) {
      run.Err() << "quillon-cli: there is no genre named \"" << name << "\"\n";
      return false;
    }
    const GenreTickOutcome outcome = TickGenre(catalogue, run.Feedback(), gameId, genre->toLongLong(), tick);
    if (!outcome.accepted)
      run.Err() << "quillon-cli: " << (tick ? "ticking" : "unticking") << " \"" << name << "\" was refused (at most "
                << kMaxTickedGenres << " genres; \"[Unknown]\" never beside a real genre)\n";
    return outcome.accepted;
  };
  bool ok = true;
  for (const QString& name : args.Values(QStringLiteral("--untick")))
    ok = change(name, false) && ok;
  for (const QString& name : args.Values(QStringLiteral("--tick")))
    ok = change(name, true) && ok;
  for (const qint64 genreId : GenreLinks(catalogue, run.Feedback(), gameId))
    run.Out() << lookups.GetGen(genreId).toString() << '\n';
  return ok ? kSuccess : kFailure;
}

int RunGame(CliRun& run)
{
  const CliArgs args(run.Args(), {}, {QStringLiteral("--tick"), QStringLiteral("--untick")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  const QStringList& words = args.Positional();
  if (words.size() < 2)
    return run.UsageError(QStringLiteral("game needs show, set or genres and a game ID"));
  const QString sub = words[0];
  const bool genres = sub == QStringLiteral("genres");
  if ((args.Has(QStringLiteral("--tick")) || args.Has(QStringLiteral("--untick"))) && !genres)
    return run.UsageError(QStringLiteral("--tick and --untick go with game genres"));
  if (sub != QStringLiteral("show") && sub != QStringLiteral("set") && !genres)
    return run.UsageError(QStringLiteral("unknown game subcommand '%1'").arg(sub));
  if ((sub == QStringLiteral("set")) != (words.size() > 2))
    return run.UsageError(QStringLiteral("wrong arguments for game %1").arg(sub));
  const std::optional<qint64> gameId = GameIdArgument(run, words[1]);
  if (!gameId)
    return kUsage;
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  if (sub == QStringLiteral("show"))
    return ShowGame(run, *catalogue, *gameId);
  if (sub == QStringLiteral("set"))
    return SetGame(run, *catalogue, *gameId, words.mid(2));
  return TickGenres(run, *catalogue, *gameId, args);
}

int RunLaunch(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--dry-run")}, {});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return run.UsageError(QStringLiteral("launch needs one game ID"));
  const std::optional<qint64> gameId = GameIdArgument(run, args.Positional().first());
  if (!gameId)
    return kUsage;
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<QVariant> emulator = catalogue->SelectValue(
      run.Feedback(), QStringLiteral("cmdplayemu_Click"),
      QStringLiteral("SELECT coalesce(Games.Emulator, System.Emulator) FROM Games LEFT JOIN System "
                     "ON System.SystemID = Games.System WHERE Games.GameID = ?"),
      {*gameId});
  if (!emulator)
    return kFailure;
  if (!SystemOfGame(run, *catalogue, *gameId))
    return kFailure;
  const LaunchPlan plan = PlanLaunch(emulator->toString(), RomArgument(*catalogue, run.Feedback(), *gameId));
  run.Out() << "Program\t" << plan.program << '\n';
  for (const QString& argument : plan.arguments)
    run.Out() << "Argument\t" << argument << '\n';
  run.Out() << "Folder\t" << plan.workingFolder << '\n';
  if (args.Has(QStringLiteral("--dry-run")))
    return kSuccess;
  return LaunchGame(plan, run.Feedback()) ? kSuccess : kFailure;
}

int RunImage(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--set-folder"), QStringLiteral("--overwrite")}, {});
  if (!args.Ok())
    return run.UsageError(args.Error());
  const QStringList& words = args.Positional();
  if (words.size() != 3 || words[0] != QStringLiteral("add"))
    return run.UsageError(QStringLiteral("image add ID FILE"));
  const std::optional<qint64> gameId = GameIdArgument(run, words[1]);
  if (!gameId)
    return kUsage;
  if (!QFileInfo(words[2]).isFile()) {
    run.Err() << "quillon-cli: " << words[2] << " is not a file\n";
    return kFailure;
  }
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<QString> system = SystemOfGame(run, *catalogue, *gameId);
  if (!system)
    return kFailure;
  std::optional<SystemSettings> settings = LoadSystemSettings(*catalogue, run.Feedback(), *system);
  const std::optional<QVariant> fileName =
      catalogue->SelectValue(run.Feedback(), QStringLiteral("Add_Image"),
                             QStringLiteral("SELECT FileName FROM Games WHERE GameID = ?"), {*gameId});
  if (!settings || !fileName)
    return kFailure;
  run.Feedback().SetAnswer(QStringLiteral("set-image-folder"),
                           args.Has(QStringLiteral("--set-folder")) ? Answer::Yes : Answer::No);
  run.Feedback().SetAnswer(QStringLiteral("overwrite-image"),
                           args.Has(QStringLiteral("--overwrite")) ? Answer::Yes : Answer::No);
  const AddImageOutcome outcome = Add_Image(*catalogue, run.Feedback(), *settings, *gameId, fileName->toString(),
                                            QFileInfo(words[2]).absoluteFilePath());
  if (!outcome.added)
    return kFailure;
  run.Out() << outcome.shownPath << '\n';
  return kSuccess;
}

std::optional<DeleteMode> ModeNamed(const QString& name)
{
  if (name == QStringLiteral("list"))
    return DeleteMode::ListOnly;
  if (name == QStringLiteral("database"))
    return DeleteMode::Database;
  if (name == QStringLiteral("disk"))
    return DeleteMode::ComputerAndDatabase;
  return std::nullopt;
}

int RunDelete(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--selected")},
                     {QStringLiteral("--system"), QStringLiteral("--game"), QStringLiteral("--mode")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  const std::optional<DeleteMode> mode = ModeNamed(args.Value(QStringLiteral("--mode")));
  if (!args.Has(QStringLiteral("--system")) || !mode || !args.Positional().isEmpty() ||
      args.Has(QStringLiteral("--game")) == args.Has(QStringLiteral("--selected")))
    return run.UsageError(QStringLiteral("delete --system NAME (--game ID | --selected) --mode list|database|disk"));
  std::optional<qint64> gameId;
  if (args.Has(QStringLiteral("--game")) && !(gameId = GameIdArgument(run, args.Value(QStringLiteral("--game")))))
    return kUsage;
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<qint64> system =
      SystemIdByName(*catalogue, run.Feedback(), args.Value(QStringLiteral("--system")));
  if (!system) {
    run.Err() << "quillon-cli: no system named \"" << args.Value(QStringLiteral("--system")) << "\"\n";
    return kFailure;
  }
  QList<qint64> games;
  if (gameId) {
    games << *gameId;
  } else {
    // The ticked games of the system's list (its available games).
    const std::optional<Rows> rows = catalogue->Select(
        run.Feedback(), QStringLiteral("delgame"),
        QStringLiteral("SELECT GameID FROM Games WHERE System = ? AND Selected <> 0 AND Available <> 0 "
                       "AND RomPath IS NOT NULL ORDER BY GameID"),
        {*system});
    if (!rows)
      return kFailure;
    for (const QVariantList& row : rows->All())
      games << row[0].toLongLong();
  }
  const DeletionResult result = DeleteGames(*catalogue, run.Feedback(), *system, games, *mode);
  run.Out() << result.games << " game(s) deleted, " << result.filesDeleted << " file(s) removed\n";
  return result.ok ? kSuccess : kFailure;
}

}  // namespace

std::vector<CliCommand> GameCommands()
{
  return {{QStringLiteral("game"),
           {QStringLiteral("game show ID"), QStringLiteral("game set ID COLUMN=VALUE..."),
            QStringLiteral("game genres ID [--tick NAME]... [--untick NAME]...")},
           QStringLiteral("Shows a game with the names of its country, year, maker and genres; changes its details "
                          "(FullName, Emulator, Image, Description, Rating, and Country, Year, Manufacturer by name); "
                          "ticks and unticks its genres as the genre list does, then prints them."),
           RunGame},
          {QStringLiteral("launch"),
           {QStringLiteral("launch ID [--dry-run]")},
           QStringLiteral("Starts a game in its emulator (its own, else its system's); prints the program, its "
                          "arguments and working folder first. --dry-run only prints them."),
           RunLaunch},
          {QStringLiteral("image"),
           {QStringLiteral("image add ID FILE [--set-folder] [--overwrite]")},
           QStringLiteral("Gives a game a picture file (copied under the game's name into the system's picture folder "
                          "when the system renames pictures). --set-folder makes the file's folder the system's "
                          "picture folder when it has none; --overwrite replaces a different picture of that name."),
           RunImage},
          {QStringLiteral("delete"),
           {QStringLiteral("delete --system NAME (--game ID | --selected) --mode list|database|disk")},
           QStringLiteral("Deletes one game or the system's ticked games: from the list only, from the catalogue, or "
                          "from the catalogue and the disk (their ROM files)."),
           RunDelete}};
}

}  // namespace quillon::cli
