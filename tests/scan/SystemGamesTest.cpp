// The scan's memory of a system's games: which game a found file takes, in which order games that
// share a base name are taken, and that games added or renamed during a scan are found under
// their new names (also once the key table has grown many times).
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "scan/SystemGames.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

qint64 TakenId(SystemGames& games, qint64 pathId, const QStringList& names)
{
  const int position = games.Take(pathId, names);
  return position < 0 ? 0 : games.Game(position).gameId;
}

GameUpdate Renamed(const QString& fileName)
{
  GameUpdate update;
  update.fileName = fileName;
  update.year = 42;
  update.manufacturer = 319;
  update.country = 1;
  update.genreCount = 1;
  return update;
}

}  // namespace

class SystemGamesTest : public QObject {
  Q_OBJECT

 private slots:
  void FilesTakeTheirGames()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/a/', 3), (2, '/b/', 3)"));
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath) VALUES "
                       "(9, 'x', 'Game.sfc', 3, 2), (5, 'x', 'sub/Game.smc', 3, 1), (3, 'x', 'old/Game.zip', 3, NULL), "
                       "(4, 'x', 'Other.smc', 3, 1), (6, 'x', 'Other.smc', 11, 1), (7, 'x', 'game.smc', 3, 1)"));
    RecordingFeedback feedback;
    SystemGames games;
    QVERIFY(games.Load(t.Db(), feedback, QStringLiteral("NewScanner"), 3));

    // The very path in the very folder first; then the first game by key with the base name,
    // whatever its folder; case matters; a game goes to one file only; other systems' games are
    // not there.
    QCOMPARE(TakenId(games, 2, {QStringLiteral("Game.sfc")}), 9);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("new/Game.gb")}), 3);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Game.gb")}), 5);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Game.gb")}), 0);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("GAME.smc")}), 0);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Other.zip")}), 4);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Other.zip")}), 0);
    // A file renamed by the batch pass is looked up under its former name first.
    QVERIFY(games.Load(t.Db(), feedback, QStringLiteral("NewScanner"), 3));
    QCOMPARE(TakenId(games, 1, {QStringLiteral("game.smc"), QStringLiteral("Game (U).smc")}), 7);
    QVERIFY(!feedback.HasError());
  }

  void RenamedAndAddedGamesLeaveTheOthersFindable()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/a/', 3)"));
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available) VALUES "
                       "(1, 'x', 'Alpha.smc', 3, 1, 1), (2, 'x', 'Beta.smc', 3, 1, 1), "
                       "(3, 'x', 'x/Gamma.smc', 3, 1, 1), (4, 'x', 'y/Beta.zip', 3, 1, 1), "
                       "(5, 'x', 'Delta.smc', 3, 1, 1)"));
    RecordingFeedback feedback;
    SystemGames games;
    QVERIFY(games.Load(t.Db(), feedback, QStringLiteral("NewScanner"), 3));
    const int beta = games.Take(1, {QStringLiteral("Beta.smc")});
    QCOMPARE(games.Game(beta).gameId, 2);
    // The batch pass gave its file another base name; then many new games make the key table grow.
    games.Apply(beta, 2, 1, Renamed(QStringLiteral("Gamma.sfc")));
    QVERIFY(games.HasFileName(beta, QStringLiteral("Gamma.sfc")));
    for (int i = 0; i < 5000; ++i)
      games.Apply(-1, 100 + i, 1, Renamed(QStringLiteral("Added %1.smc").arg(i)));

    // Taken games are passed over; the others are found under their keys, in key order.
    QCOMPARE(TakenId(games, 1, {QStringLiteral("z/Gamma.gb")}), 3);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Gamma.gb")}), 0);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Beta.gb")}), 4);
    QCOMPARE(TakenId(games, 1, {QStringLiteral("Added 77.smc")}), 0);
    // What the folder did not find.
    QStringList missing;
    for (const int position : games.MissingAfter(1, {}))
      missing << QString::number(games.Game(position).gameId);
    QCOMPARE(missing, (QStringList{"1", "5"}));
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(SystemGamesTest)
#include "SystemGamesTest.moc"
