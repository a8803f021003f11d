// Deleting games in the three ways, by key.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "scan/GameDeletion.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kGenesis = 2;

}  // namespace

class GameDeletionTest : public QObject {
  Q_OBJECT

 private slots:
  // Each mode on the same scene: two games of one system share a file name (regional versions)
  // and a third system has it too; only the chosen game goes, and with the disk mode its file.
  void TheThreeModes_data()
  {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("left");  // the games that remain
    QTest::addColumn<int>("listed");        // Selected + Available of the chosen game afterwards
    QTest::addColumn<int>("links");         // its genre links afterwards
    QTest::addColumn<int>("filesDeleted");
    const QStringList all{"EX (Japan)", "EX (Asia)", "EX", "Other"};
    const QStringList namesakes{"EX (Asia)", "EX", "Other"};
    // List only: the row stays, out of the list; a later scan brings it back.
    QTest::newRow("list only") << int(DeleteMode::ListOnly) << all << 0 << 2 << 0;
    // Database: the game and its genre links go, not its namesakes.
    QTest::newRow("database") << int(DeleteMode::Database) << namesakes << 0 << 0 << 0;
    // Computer and database: the ROM file goes with the row.
    QTest::newRow("computer and database") << int(DeleteMode::ComputerAndDatabase) << namesakes << 0 << 0 << 1;
  }

  void TheThreeModes()
  {
    QFETCH(int, mode);
    QFETCH(int, filesDeleted);
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "sfex.zip"));
    const qint64 snesRoms = InsertRomPath(t.Db(), kSnes, folder);
    const qint64 genesisRoms = InsertRomPath(t.Db(), kGenesis, folder);
    const auto game = [&](qint64 system, const char* name, const char* file, qint64 path) {
      TestGame row(system, QString::fromLatin1(name));
      row.File(QString::fromLatin1(file)).Selected().Genres({13});
      if (path != 0)
        row.Folder(path);
      return row;
    };
    const qint64 japan = game(kSnes, "EX (Japan)", "sfex.zip", snesRoms).Genres({13, 2}).Insert(t.Db());
    const qint64 asia = game(kSnes, "EX (Asia)", "sfex.zip", snesRoms).Insert(t.Db());
    const qint64 genesis = game(kGenesis, "EX", "sfex.zip", genesisRoms).Insert(t.Db());
    game(kSnes, "Other", "other.zip", 0).Insert(t.Db());
    RecordingFeedback feedback;

    const DeletionResult result = DeleteGames(t.Db(), feedback, kSnes, {japan}, DeleteMode(mode));
    QVERIFY(result.ok);
    QVERIFY(!feedback.HasError());
    QCOMPARE(result.games, 1);
    QCOMPARE(result.filesDeleted, filesDeleted);
    QCOMPARE(QFile::exists(folder + "sfex.zip"), filesDeleted == 0);
    QTEST(t.Value(QStringLiteral("SELECT group_concat(FullName) FROM (SELECT FullName FROM Games ORDER BY GameID)"))
              .toString()
              .split(QLatin1Char(',')),
          "left");
    QTEST(t.Value(QStringLiteral("SELECT coalesce(sum(Selected + Available), 0) FROM Games WHERE GameID = ?"), {japan})
              .toInt(),
          "listed");
    QTEST(t.Value(QStringLiteral("SELECT count(*) FROM SubGenres WHERE GameID = ?"), {japan}).toInt(), "links");
    for (const qint64 namesake : {asia, genesis})
      QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE GameID = ?"), {namesake}).toInt(), 1);
  }

  // Games that are not the system's, and disk deletions that find no file: reported, and the rows
  // (with their genre links) stay as they were.
  void RefusedDeletionsKeepTheRows_data()
  {
    QTest::addColumn<QStringList>("chosen");  // by title; "Unknown" is a key no game has
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("left");  // the games that remain, and with them their genre links
    const int list = int(DeleteMode::ListOnly);
    const int database = int(DeleteMode::Database);
    const int disk = int(DeleteMode::ComputerAndDatabase);
    const QStringList all{"Here", "Gone", "Other", "No folder", "Kept"};
    QTest::newRow("unknown key") << QStringList{"Unknown"} << database << 0 << all;
    QTest::newRow("unknown key, list only") << QStringList{"Unknown"} << list << 0 << all;
    QTest::newRow("another system's game") << QStringList{"Other"} << database << 0 << all;
    QTest::newRow("one unknown among known ones") << QStringList{"Here", "Unknown"} << database << 0 << all;
    QTest::newRow("file not on disk") << QStringList{"Gone"} << disk << 0 << all;
    QTest::newRow("no ROM folder") << QStringList{"No folder"} << disk << 0 << all;
    QTest::newRow("only the game with a file goes")
        << QStringList{"Here", "Gone"} << disk << 1 << QStringList{"Gone", "Other", "No folder", "Kept"};
  }

  void RefusedDeletionsKeepTheRows()
  {
    QFETCH(QStringList, chosen);
    QFETCH(int, mode);
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "here.zip"));
    const qint64 snesRoms = InsertRomPath(t.Db(), kSnes, folder);
    const qint64 genesisRoms = InsertRomPath(t.Db(), kGenesis, folder);
    QHash<QString, qint64> keys{{QStringLiteral("Unknown"), 99999}};
    const auto game = [&](qint64 system, const char* name, const char* file, qint64 path) {
      TestGame row(system, QString::fromLatin1(name));
      row.File(QString::fromLatin1(file)).Selected().Genres({13});
      if (path != 0)
        row.Folder(path);
      keys.insert(QString::fromLatin1(name), row.Insert(t.Db()));
    };
    game(kSnes, "Here", "here.zip", snesRoms);
    game(kSnes, "Gone", "gone.zip", snesRoms);
    game(kGenesis, "Other", "here.zip", genesisRoms);
    game(kSnes, "No folder", "x.zip", 0);
    game(kSnes, "Kept", "kept.zip", snesRoms);
    QList<qint64> gameIds;
    for (const QString& title : chosen)
      gameIds << keys.value(title);
    RecordingFeedback feedback;

    const DeletionResult result = DeleteGames(t.Db(), feedback, kSnes, gameIds, DeleteMode(mode));
    QVERIFY(!result.ok);
    QCOMPARE(feedback.ErrorLines().value(0), StatusLine(StatusKind::Error, result.error));
    QTEST(result.games, "deleted");
    QTEST(t.Value(QStringLiteral("SELECT group_concat(FullName) FROM (SELECT FullName FROM Games ORDER BY GameID)"))
              .toString()
              .split(QLatin1Char(',')),
          "left");
    QTEST(t.Value(QStringLiteral("SELECT group_concat(FullName) FROM (SELECT FullName FROM SubGenres JOIN Games "
                                 "USING (GameID) ORDER BY GameID)"))
              .toString()
              .split(QLatin1Char(',')),
          "left");
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Selected = 0 OR Available = 0")).toInt(), 0);
    QVERIFY(QFile::exists(folder + "here.zip") == (result.filesDeleted == 0));
  }
};

QUILLON_TEST_CLASS(GameDeletionTest)
#include "GameDeletionTest.moc"
