// Reading and editing a game: its details, genres and full ROM path.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/GameDetails.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

void AddGame(TestCatalogue& t, int gameId, const QList<int>& genres)
{
  t.Exec(
      QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Genre) VALUES (?, 'Game', 'g.smc', 3, ?)"),
      {gameId, genres.size()});
  for (int genre : genres)
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"), {gameId, genre});
}

int GenreCount(TestCatalogue& t, int gameId)
{
  return t.Value(QStringLiteral("SELECT Genre FROM Games WHERE GameID = ?"), {gameId}).toInt();
}

}  // namespace

class GameDetailsTest : public QObject {
  Q_OBJECT

 private slots:
  void EditsAreWrittenAtOnceAndMarkTheGame()
  {
    TestCatalogue t;
    AddGame(t, 1, {13});
    t.Exec(QStringLiteral("UPDATE System SET Emulator = '/usr/games/snes9x' WHERE SystemID = 3"));
    RecordingFeedback feedback;
    std::optional<GameDetails> details = LoadGameDetails(t.Db(), feedback, 1, {});
    QVERIFY(details);
    QCOMPARE(details->emulator, QStringLiteral("/usr/games/snes9x"));
    QCOMPARE(details->country, QStringLiteral("[Unknown]"));
    QCOMPARE(details->genreIds, QList<qint64>{13});

    QVERIFY(UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("FullName"), QString()));
    QVERIFY(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = 1")).isNull());
    QCOMPARE(t.Value(QStringLiteral("SELECT Edited FROM Games WHERE GameID = 1")).toInt(), 1);
    // The game's own emulator takes the place of the system's; quotes reach the catalogue whole.
    QVERIFY(UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("Emulator"), QStringLiteral("/opt/\"my\" emu")));
    QVERIFY(UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("Description"), QStringLiteral("Say \"hi\"")));
    QVERIFY(UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("[Year]"), 30));
    details = LoadGameDetails(t.Db(), feedback, 1, {});
    QCOMPARE(details->emulator, QStringLiteral("/opt/\"my\" emu"));
    QCOMPARE(details->description, QStringLiteral("Say \"hi\""));
    QCOMPARE(details->year, QStringLiteral("1989"));
    QVERIFY(!feedback.HasError());
    QVERIFY(!UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("System"), 5));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(UpdateGameInfo)-")));
  }

  void PicturesAreShownOnlyWhenTheirFileExists()
  {
    QTemporaryDir pictures;
    const QString folder = pictures.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + QStringLiteral("mario.png")));
    QCOMPARE(ResolvePicture(QStringLiteral("mario.png"), folder), folder + QStringLiteral("mario.png"));
    QVERIFY(ResolvePicture(QStringLiteral("zelda.png"), folder).isEmpty());
    QCOMPARE(ResolvePicture(folder + QStringLiteral("mario.png"), QStringLiteral("/elsewhere/")),
             folder + QStringLiteral("mario.png"));
    QVERIFY(ResolvePicture(QString(), folder).isEmpty());

    TestCatalogue t;
    AddGame(t, 1, {13});
    RecordingFeedback feedback;
    // A picture chosen inside the picture folder is stored by its name there.
    QVERIFY(
        UpdateGameInfo(t.Db(), feedback, 1, QStringLiteral("[Image]"), folder + QStringLiteral("mario.png"), folder));
    QCOMPARE(t.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = 1")).toString(),
             QStringLiteral("mario.png"));
    QCOMPARE(LoadGameDetails(t.Db(), feedback, 1, folder)->imageText, folder + QStringLiteral("mario.png"));
  }

  void GenreTicksFollowTheRules()
  {
    TestCatalogue t;
    AddGame(t, 1, {13});
    RecordingFeedback feedback;
    // Unticking the last genre gives "[Unknown]" and a count of 1.
    GenreTickOutcome outcome = TickGenre(t.Db(), feedback, 1, 13, false);
    QVERIFY(outcome.accepted);
    QCOMPARE(outcome.links, QList<qint64>{1});
    QCOMPARE(GenreCount(t, 1), 1);
    // A real genre replaces "[Unknown]".
    outcome = TickGenre(t.Db(), feedback, 1, 2, true);
    QVERIFY2(outcome.accepted, qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(outcome.links, QList<qint64>{2});
    QCOMPARE(GenreCount(t, 1), 1);
    outcome = TickGenre(t.Db(), feedback, 1, 20, true);
    QCOMPARE(outcome.links, (QList<qint64>{2, 20}));
    QCOMPARE(GenreCount(t, 1), 2);
    // "[Unknown]" never joins real genres.
    outcome = TickGenre(t.Db(), feedback, 1, 1, true);
    QVERIFY(!outcome.accepted);
    QCOMPARE(outcome.links, (QList<qint64>{2, 20}));
    // At most five, as the list's caption and the exports have it: the sixth tick is refused and
    // nothing is written.
    QVERIFY(TickGenre(t.Db(), feedback, 1, 21, true).accepted);
    QVERIFY(TickGenre(t.Db(), feedback, 1, 22, true).accepted);
    QVERIFY(TickGenre(t.Db(), feedback, 1, 23, true).accepted);
    QCOMPARE(GenreCount(t, 1), 5);
    outcome = TickGenre(t.Db(), feedback, 1, 24, true);
    QVERIFY(!outcome.accepted);
    QCOMPARE(outcome.links, (QList<qint64>{2, 20, 21, 22, 23}));
    QCOMPARE(GenreCount(t, 1), 5);
    // Ticking a genre twice adds no second link.
    QCOMPARE(TickGenre(t.Db(), feedback, 1, 2, true).links, (QList<qint64>{2, 20, 21, 22, 23}));
    QVERIFY(!feedback.HasError());
  }

  void GetRomGivesTheFullPath()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (5, '/roms/snes/', 3)"));
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FileName, System, RomPath) VALUES (1, 'a.smc', 3, 5), "
                       "(2, 'b.smc', 3, NULL)"));
    RecordingFeedback feedback;
    QCOMPARE(GetRom(t.Db(), feedback, 1).toString(), QStringLiteral("/roms/snes/a.smc"));
    QVERIFY(!GetRom(t.Db(), feedback, 2).isValid());
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(GameDetailsTest)
#include "GameDetailsTest.moc"
