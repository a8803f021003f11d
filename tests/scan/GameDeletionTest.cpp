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

    // Computer and database: the ROM file goes with the row.
    result = DeleteGames(t.Db(), feedback, 3, {2}, DeleteMode::ComputerAndDatabase);
    QCOMPARE(result.games, 1);
    QCOMPARE(result.filesDeleted, 1);
    QVERIFY(!QFile::exists(folder + "sfex.zip"));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM Games ORDER BY GameID)"))
                 .toString(),
             QStringLiteral("3,4"));
    QVERIFY(!feedback.HasError());
  }

  // Games that are not the system's, and disk deletions that find no file: reported, and the rows
  // (with their genre links) stay as they were.
  void RefusedDeletionsKeepTheRows_data()
  {
    QTest::addColumn<QList<qint64>>("gameIds");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QString>("left");  // the games that remain, and with them their genre links
    const int list = int(DeleteMode::ListOnly);
    const int database = int(DeleteMode::Database);
    const int disk = int(DeleteMode::ComputerAndDatabase);
    QTest::newRow("unknown key") << QList<qint64>{99999} << database << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("unknown key, list only") << QList<qint64>{99999} << list << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("another system's game") << QList<qint64>{3} << database << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("one unknown among known ones")
        << QList<qint64>{1, 99999} << database << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("file not on disk") << QList<qint64>{2} << disk << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("no ROM folder") << QList<qint64>{4} << disk << 0 << QStringLiteral("1,2,3,4,5");
    QTest::newRow("only the game with a file goes") << QList<qint64>{1, 2} << disk << 1 << QStringLiteral("2,3,4,5");
  }

  void RefusedDeletionsKeepTheRows()
  {
    QFETCH(QList<qint64>, gameIds);
    QFETCH(int, mode);
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "here.zip"));
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, ?, 3), (2, ?, 2)"),
           {folder, folder});
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Selected) VALUES "
                       "(1, 'Here', 'here.zip', 3, 1, 1, 1), (2, 'Gone', 'gone.zip', 3, 1, 1, 1), "
                       "(3, 'Other', 'here.zip', 2, 2, 1, 1), (4, 'No folder', 'x.zip', 3, NULL, 1, 1), "
                       "(5, 'Kept', 'kept.zip', 3, 1, 1, 1)"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres VALUES (1, 13), (2, 13), (3, 13), (4, 13), (5, 13)"));
    RecordingFeedback feedback;

    const DeletionResult result = DeleteGames(t.Db(), feedback, 3, gameIds, DeleteMode(mode));
    QVERIFY(!result.ok);
    QCOMPARE(feedback.ErrorLines().value(0), StatusLine(StatusKind::Error, result.error));
    QTEST(result.games, "deleted");
    QTEST(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM Games ORDER BY GameID)"))
              .toString(),
          "left");
    QTEST(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM SubGenres ORDER BY GameID)"))
              .toString(),
          "left");
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Selected = 0 OR Available = 0")).toInt(), 0);
    QVERIFY(QFile::exists(folder + "here.zip") == (result.filesDeleted == 0));
  }
};

QUILLON_TEST_CLASS(GameDeletionTest)
#include "GameDeletionTest.moc"
