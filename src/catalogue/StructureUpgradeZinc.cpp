// The Zinc system: the arcade emulator that starts its games by number instead of by file.
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "catalogue/SavedQueries.h"
#include "catalogue/SchemaChanges.h"
#include "catalogue/StructureUpgradeSteps.h"

#include <optional>

namespace quillon::upgrade {

namespace {

const QString kZincName = QStringLiteral("Zinc");
constexpr int kArcadeSystemType = 4;

// A Zinc game by name; its number (ExtFile) is its position in kZincGames, from 1. An empty
// country, year or maker is the unknown one.
struct ZincGame {
  const char* fullName;
  const char* fileName;
  const char* country;
  const char* year;
  const char* maker;
  const char* genre;
};

constexpr ZincGame kZincGames[] = {
    {"Street Fighter EX", "sfex.zip", "Japan", "1996", "Capcom/Arika", "Fighter"},
    {"Street Fighter EX", "sfex.zip", "Asia", "1996", "Capcom/Arika", "Fighter"},
    {"Street Fighter EX Plus", "sfexp.zip", "USA", "1997", "Capcom/Arika", "Fighter"},
    {"Street Fighter EX Plus", "sfexp.zip", "Japan", "1997", "Capcom/Arika", "Fighter"},
    {"Street Fighter EX 2", "sfex2.zip", "Japan", "1998", "Capcom/Arika", "Fighter"},
    {"Street Fighter EX 2 Plus", "sfex2p.zip", "Japan", "1999", "Capcom/Arika", "Fighter"},
    {"Star Gladiator 2 - Nightmare of Bilstein", "sg2j.zip", "Japan", "1998", "Capcom", "Fighter"},
    {"Rival Schools", "rvschool.zip", "Asia", "1997", "Capcom", "Fighter"},
    {"Justice Gakuen", "rvschool.zip", "Japan", "1997", "Capcom", "Fighter"},
    {"Strider Hiryu 2", "sr2j.zip", "Japan", "", "", "Fighter"},
    {"Strider 2", "sr2j.zip", "USA", "", "", "Fighter"},
    {"Tyoukousenki Kikaioh", "kikaioh.zip", "Japan", "1998", "Capcom", "Fighter"},
    {"Battle Arena Toshinden 2", "ts2j.zip", "Japan", "1995", "Capcom", "Fighter"},
    {"Tetris - The Grand Master", "tgmj.zip", "Japan", "", "", "Puzzle/Tetris"},
    {"Sonic Wings Limited", "sncwgltd.zip", "Japan", "1996", "Video System Co.", "Shooter/Aircraft"},
    {"Beastorizer (Bootleg)", "beastorizer.zip", "", "1997", "8ing", "Fighter"},
    {"Psychic Force", "psyforce.zip", "Japan", "1995", "Taito", "Fighter"},
    {"Magical Date EX", "mgcldate.zip", "Japan", "1997", "Taito", "Quiz"},
    {"Soul Edge (Version A)", "souledge.zip", "Japan", "1995", "Namco", "Fighter"},
    {"Soul Edge (Version B)", "souledge.zip", "Japan", "1995", "Namco", "Fighter"},
    {"Tekken - The Iron Fist (Version A)", "tekken.zip", "Japan", "1994", "Namco", "Fighter"},
    {"Tekken 2 (Version B)", "tk2b.zip", "Japan", "1995", "Namco", "Fighter"},
    {"Dancing Eyes (Version A)", "danceyes.zip", "Japan", "1996", "Namco", "Action"},
    {"Xevious 3D/G (Version A)", "xevi3dg.zip", "Japan", "1995", "Namco", "Shooter/Aircraft"},
    {"Star Sweep (Version A)", "starswep.zip", "Japan", "1997", "Axela/Namco", "[Unknown]"},
    {"Kosodate Quiz My Angel 3 (Version A)", "myangel3.zip", "Japan", "1998", "Namco", "Quiz"},
};

// The firmware row: no number, and the unknown country, year and maker by key.
const char* const kBiosName = "Bios";
const char* const kBiosFile = "firmware.zip";
const char* const kBiosGenre = "Bios";

// A new game's row in Games, its keys already looked up.
struct NewGame {
  QString fullName;
  QString fileName;
  QVariant extFile;
  QVariant country;
  QVariant year;
  QVariant maker;
  QVariant genre;
};

std::optional<qint64> KeyOf(const QVariant& value)
{
  bool ok = false;
  const qint64 key = value.toLongLong(&ok);
  return ok && !value.isNull() ? std::optional<qint64>(key) : std::nullopt;
}

NewGame LookedUp(Lookups& lookups, const ZincGame& game, int number)
{
  const QVariant country = lookups.GetCountry(QString::fromUtf8(game.country), true);
  return {QString::fromUtf8(game.fullName),
          QString::fromUtf8(game.fileName),
          QString::number(number),
          KeyOf(country) ? country : QVariant(kUnknownCountry),
          lookups.GetYear(QString::fromUtf8(game.year), true),
          lookups.GetManf(QString::fromUtf8(game.maker), true),
          lookups.GetGen(QString::fromUtf8(game.genre), true)};
}

// Writes one game with its genre link. Genre holds the link summary: -1 for a link to the
// unknown genre, else the one link.
bool AddGame(Catalogue& db, Feedback& feedback, Lookups& lookups, qint64 zincId, const NewGame& game)
{
  const std::optional<qint64> genre = KeyOf(game.genre);
  if (!KeyOf(game.year) || !KeyOf(game.maker) || !genre) {
    ReportError(feedback, kItemNotFound, kUpgradeRoutine,
                QStringLiteral("No year, maker or genre key for ") + game.fullName + QLatin1Char('.'));
    return false;
  }
  const qint64 summary = *genre == kUnknownGenre ? -1 : 1;
  if (!db.Execute(feedback, kUpgradeRoutine,
                  QStringLiteral("INSERT INTO Games (FullName, FileName, ExtFile, System, Country, [Year], "
                                 "Manufacturer, Genre) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                  {game.fullName, game.fileName, game.extFile, zincId, game.country, game.year, game.maker, summary}))
    return false;
  return lookups.AddSubGenre(db.LastInsertId(), *genre);
}

bool AddZincGames(Catalogue& db, Feedback& feedback, qint64 zincId)
{
  Lookups lookups(db, feedback);
  int number = 0;
  for (const ZincGame& game : kZincGames) {
    if (!AddGame(db, feedback, lookups, zincId, LookedUp(lookups, game, ++number)))
      return false;
  }
  const NewGame bios{QString::fromUtf8(kBiosName),
                     QString::fromUtf8(kBiosFile),
                     QVariant(),
                     kUnknownCountry,
                     kUnknownYear,
                     kUnknownManufacturer,
                     lookups.GetGen(QString::fromUtf8(kBiosGenre), true)};
  return AddGame(db, feedback, lookups, zincId, bios);
}

std::optional<qint64> AddZincRow(Catalogue& db, Feedback& feedback)
{
  if (!db.Execute(feedback, kUpgradeRoutine,
                  QStringLiteral("INSERT INTO System (System, SType, EnableTab, SystemShortName) VALUES (?, ?, 0, ?)"),
                  {kZincName, kArcadeSystemType, kZincName}))
    return std::nullopt;
  return db.LastInsertId();
}

}  // namespace

// Adds the Zinc system, its ExtFile column, the views that know its key, and its 27 games. All of
// it or nothing: a Zinc row without its games would never be completed, as the step only runs
// while no system is named "Zinc".
void AddZincSystem(StepRun& run)
{
  Catalogue& db = run.Db();
  Feedback& feedback = run.Reporter();
  SqlFailure failure;
  const std::optional<Rows> zinc = db.TrySelect(
      QStringLiteral("SELECT SystemID FROM System WHERE System = ? COLLATE NOCASE LIMIT 1"), {kZincName}, &failure);
  if (!zinc) {
    run.ReportProbeFailure(failure);
    return;
  }
  if (!zinc->IsEmpty())
    return;
  run.Announce(kAddingZincLabel);
  Transaction transaction(db);
  const std::optional<qint64> zincId = AddZincRow(db, feedback);
  const QString games = QStringLiteral("Games");
  const bool added = zincId &&
                     (db.HasColumn(games, QStringLiteral("ExtFile")) ||
                      addField(db, feedback, games, QStringLiteral("ExtFile"), QStringLiteral("text"), 255)) &&
                     ReplaceView(db, feedback, kUpgradeRoutine, QStringLiteral("File"), FileQuery(*zincId)) &&
                     ReplaceView(db, feedback, kUpgradeRoutine, QStringLiteral("SaveAsMy"), SaveAsMyQuery()) &&
                     AddZincGames(db, feedback, *zincId);
  if (!added) {
    run.CountFailure();
    return;
  }
  run.Commit(transaction);
}

}  // namespace quillon::upgrade
