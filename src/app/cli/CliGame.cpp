// quillon-cli game, launch, image and delete: one game's details, its emulator, its pictures, and
// deleting games.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "browser/ChoiceLists.h"
#include "browser/EmulatorLaunch.h"
#include "browser/GamePictures.h"
#include "browser/GameRecord.h"
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
  const std::optional<QString> name = SystemNameOfGame(catalogue, run.Feedback(), gameId);
  if (!name)
    run.Err() << "quillon-cli: no game with the ID " << gameId << '\n';
  return name;
}

QString Shown(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

int ShowGame(CliRun& run, Catalogue& catalogue, qint64 gameId)
{
  const std::optional<Rows> rows = GameRecord(catalogue, run.Feedback(), gameId);
  if (!rows)
    return kFailure;
  if (rows->IsEmpty()) {
    run.Err() << "quillon-cli: no game with the ID " << gameId << '\n';
    return kFailure;
  }
  for (int column = 0; column < rows->Columns().size(); ++column)
    run.Out() << rows->Columns()[column] << '\t' << Shown(rows->Value(0, column)) << '\n';
  for (const QString& genre : GenreNamesOfGame(catalogue, run.Feedback(), gameId).value_or(QStringList()))
    run.Out() << "GenreName\t" << genre << '\n';
  const QString missingFiles = MissingFilesOf(catalogue, gameId);
  if (!missingFiles.isEmpty())
    run.Out() << "MissingFiles\t" << missingFiles << '\n';
  return kSuccess;
}

int SetGame(CliRun& run, Catalogue& catalogue, qint64 gameId, const QStringList& assignments)
{
  QList<DetailAssignment> details;
  for (const QString& assignment : assignments) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0 || !IsDetailColumn(assignment.left(equals)))
      return run.UsageError(QStringLiteral("expected COLUMN=VALUE with COLUMN one of FullName, Emulator, Image, "
                                           "Description, Rating, Country, Year, Manufacturer; got \"%1\"")
                                .arg(assignment));
    details.append({assignment.left(equals), assignment.mid(equals + 1)});
  }
  const std::optional<QString> system = SystemOfGame(run, catalogue, gameId);
  if (!system)
    return kFailure;
  const std::optional<SystemSettings> settings = LoadSystemSettings(catalogue, run.Feedback(), *system);
  Lookups lookups(catalogue, run.Feedback());
  const DetailEdit edit =
      SetGameDetails(catalogue, lookups, run.Feedback(), gameId, details, settings ? settings->imageFolder : QString());
  if (edit.refusal == DetailEdit::Refusal::UnknownCountry)
    run.Err() << "quillon-cli: there is no country named \"" << edit.typed << "\"\n";
  else if (edit.refusal == DetailEdit::Refusal::NotANumber)
    run.Err() << "quillon-cli: Rating takes a whole number\n";
  return edit.Ok() ? kSuccess : kFailure;
}

int TickGenres(CliRun& run, Catalogue& catalogue, qint64 gameId, const CliArgs& args)
{
  if (!SystemOfGame(run, catalogue, gameId))
    return kFailure;
  Lookups lookups(catalogue, run.Feedback());
  const auto change = [&](const QString& name, bool tick) {
    const std::optional<qint64> genre =
        GenreIdByName(catalogue, run.Feedback(), name, QStringLiteral("lstgenres_ItemCheck"));
    if (!genre || *genre == 0) {
      run.Err() << "quillon-cli: there is no genre named \"" << name << "\"\n";
      return false;
    }
    const GenreTickOutcome outcome = TickGenre(catalogue, run.Feedback(), gameId, *genre, tick);
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
  const std::optional<QString> emulator = GameEmulator(*catalogue, run.Feedback(), *gameId);
  if (!emulator)
    return kFailure;
  if (!SystemOfGame(run, *catalogue, *gameId))
    return kFailure;
  const LaunchPlan plan = PlanLaunch(*emulator, RomArgument(*catalogue, run.Feedback(), *gameId));
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
  const std::optional<QString> fileName = GameFileName(*catalogue, run.Feedback(), *gameId);
  if (!settings || !fileName)
    return kFailure;
  run.Feedback().SetAnswer(QStringLiteral("set-image-folder"),
                           args.Has(QStringLiteral("--set-folder")) ? Answer::Yes : Answer::No);
  run.Feedback().SetAnswer(QStringLiteral("overwrite-image"),
                           args.Has(QStringLiteral("--overwrite")) ? Answer::Yes : Answer::No);
  const AddImageOutcome outcome =
      Add_Image(*catalogue, run.Feedback(), *settings, *gameId, *fileName, QFileInfo(words[2]).absoluteFilePath());
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
    const std::optional<QList<qint64>> ticked = TickedGameIds(*catalogue, run.Feedback(), *system);
    if (!ticked)
      return kFailure;
    games = *ticked;
    if (games.isEmpty()) {
      run.Err() << "quillon-cli: no game of " << args.Value(QStringLiteral("--system"))
                << " is ticked; nothing was deleted\n";
      return kFailure;
    }
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
