// Deleting games in the three ways, by key.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "scan/GameDeletion.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class GameDeletionTest : public QObject {
  Q_OBJECT

 private slots:
  void TheThreeModes()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "sfex.zip"));
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, ?, 3), (2, ?, 2)"),
           {folder, folder});
    // Two games of one system share a file name (regional versions); a third system has it too.
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Selected) VALUES "
                       "(1, 'EX (Japan)', 'sfex.zip', 3, 1, 1, 1), (2, 'EX (Asia)', 'sfex.zip', 3, 1, 1, 1), "
                       "(3, 'EX', 'sfex.zip', 2, 2, 1, 1), (4, 'Other', 'other.zip', 3, NULL, 1, 1)"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres VALUES (1, 13), (1, 2), (2, 13), (3, 13), (4, 13)"));
    RecordingFeedback feedback;

    // List only: the row stays, out of the list; a later scan brings it back.
    DeletionResult result = DeleteGames(t.Db(), feedback, 3, {1}, DeleteMode::ListOnly);
    QCOMPARE(result.games, 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT Selected + Available FROM Games WHERE GameID = 1")).toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE GameID = 2")).toInt(), 1);

    // Database: only the chosen game and its genre links go, not its namesakes.
    result = DeleteGames(t.Db(), feedback, 3, {1}, DeleteMode::Database);
    QVERIFY(result.ok);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM Games ORDER BY GameID)"))
                 .toString(),
             QStringLiteral("2,3,4"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM SubGenres WHERE GameID = 1")).toInt(), 0);

    // Computer and database: the ROM file goes too; a game without ROM folder still loses its row.
    result = DeleteGames(t.Db(), feedback, 3, {2, 4}, DeleteMode::ComputerAndDatabase);
    QCOMPARE(result.games, 2);
    QCOMPARE(result.filesDeleted, 1);
    QVERIFY(!QFile::exists(folder + "sfex.zip"));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM Games ORDER BY GameID)"))
                 .toString(),
             QStringLiteral("3"));
    // A key of another system is not touched.
    result = DeleteGames(t.Db(), feedback, 3, {3}, DeleteMode::Database);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 1);
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(GameDeletionTest)
#include "GameDeletionTest.moc"
