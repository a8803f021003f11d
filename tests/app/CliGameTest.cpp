// quillon-cli game, launch, image and delete on a real catalogue.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class CliGameTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowSetAndGenres()
  {
    TestCatalogue t;
    const qint64 zelda =
        TestGame(kSnes, QStringLiteral("Zelda")).File(QStringLiteral("z.smc")).Missing().Genres({1}).Insert(t.Db());
    const QString key = QString::number(zelda);
    const QString folder = t.Folder().Path();
    CliOutput output = RunCliOn(
        folder, {QStringLiteral("game"), QStringLiteral("set"), key, QStringLiteral("Country=japan"),
                 QStringLiteral("Year=1991"), QStringLiteral("Manufacturer=New Maker"), QStringLiteral("FullName=")});
    QCOMPARE(output.status, 0);
    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), key});
    QVERIFY(output.out.contains(QStringLiteral("\nCountryName\tJapan\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nYearText\t1991\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nManufacturerName\tNew Maker\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nFullName\t\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nGenreName\t[Unknown]\n")));
    // An unknown country is refused and nothing of the command is kept.
    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("set"), key, QStringLiteral("Rating=5"),
                               QStringLiteral("Country=Atlantis")});
    QCOMPARE(output.status, 1);
    QVERIFY(t.Value(QStringLiteral("SELECT Rating FROM Games WHERE GameID = ?"), {zelda}).isNull());

    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("genres"), key, QStringLiteral("--tick"),
                               QStringLiteral("Action"), QStringLiteral("--tick"), QStringLiteral("Puzzle")});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringLiteral("Action\nPuzzle\n"));
    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("genres"), key, QStringLiteral("--untick"),
                               QStringLiteral("Action"), QStringLiteral("--untick"), QStringLiteral("Puzzle")});
    QCOMPARE(output.out, QStringLiteral("[Unknown]\n"));
    QCOMPARE(RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), QStringLiteral("x")}).status, 2);
    // A key no game has (the start's upgrade adds games of its own).
    QCOMPARE(RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), QStringLiteral("99999")}).status, 1);
  }

  void LaunchDryRunAndDelete()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString rom = roms.filePath(QStringLiteral("Bob's \"Game\"; (U).smc"));
    QVERIFY(TouchFile(rom));
    t.Exec(QStringLiteral("UPDATE System SET Emulator = '/usr/games/snes9x -f' WHERE SystemID = 3"));
    const qint64 snesRoms = InsertRomPath(t.Db(), kSnes, roms.path() + "/");
    const qint64 bob = TestGame(kSnes, QStringLiteral("Bob"))
                           .File(QStringLiteral("Bob's \"Game\"; (U).smc"))
                           .Folder(snesRoms)
                           .Selected()
                           .Insert(t.Db());
    const qint64 other =
        TestGame(kSnes, QStringLiteral("Other")).File(QStringLiteral("o.smc")).Folder(snesRoms).Insert(t.Db());
    const QString folder = t.Folder().Path();
    CliOutput output = RunCliOn(folder, {QStringLiteral("launch"), QString::number(bob), QStringLiteral("--dry-run")});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringLiteral("Program\t/usr/games/snes9x\nArgument\t-f\nArgument\t") + rom +
                             QStringLiteral("\nFolder\t/usr/games\n"));

    output = RunCliOn(folder, {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("SNES"),
                               QStringLiteral("--selected"), QStringLiteral("--mode"), QStringLiteral("disk")});
    QCOMPARE(output.status, 0);
    QVERIFY(!QFile::exists(rom));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM Games WHERE System = 3")).toString(),
             QString::number(other));
    QCOMPARE(RunCliOn(folder, {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("SNES"),
                               QStringLiteral("--game"), QString::number(other), QStringLiteral("--mode"),
                               QStringLiteral("everything")})
                 .status,
             2);
  }

  // A delete that could not do what it was asked says so and fails; the rows stay.
  void DeleteThatDeletesNothingFails_data()
  {
    QTest::addColumn<QString>("game");  // by title; "Unknown" is a key no game has
    QTest::addColumn<QString>("mode");
    QTest::newRow("unknown game") << QStringLiteral("Unknown") << QStringLiteral("database");
    QTest::newRow("another system's game") << QStringLiteral("Zelda") << QStringLiteral("database");
    QTest::newRow("unknown game, list only") << QStringLiteral("Unknown") << QStringLiteral("list");
    QTest::newRow("ROM file not on disk") << QStringLiteral("Tetris") << QStringLiteral("disk");
  }

  void DeleteThatDeletesNothingFails()
  {
    QFETCH(QString, game);
    QFETCH(QString, mode);
    TestCatalogue t;
    QTemporaryDir roms;
    const qint64 gameboyRoms = InsertRomPath(t.Db(), kGameboy, roms.path() + "/");
    const QHash<QString, qint64> keys{
        {QStringLiteral("Tetris"), TestGame(kGameboy, QStringLiteral("Tetris"))
                                       .File(QStringLiteral("Tetris.gb"))
                                       .Folder(gameboyRoms)
                                       .Selected()
                                       .Insert(t.Db())},
        {QStringLiteral("Zelda"),
         TestGame(kSnes, QStringLiteral("Zelda")).File(QStringLiteral("z.smc")).Selected().Insert(t.Db())},
        {QStringLiteral("Unknown"), 99999}};
    const CliOutput output =
        RunCliOn(t.Folder().Path(),
                 {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("Gameboy"),
                  QStringLiteral("--game"), QString::number(keys.value(game)), QStringLiteral("--mode"), mode});
    QCOMPARE(output.status, 1);
    QVERIFY(output.out.startsWith(QStringLiteral("0 game(s) deleted")));
    QVERIFY2(output.err.contains(QStringLiteral("Status: Error - ")), qPrintable(output.err));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Available <> 0 AND Selected <> 0")).toInt(), 2);
  }

  void DeleteOfNoTickedGameFails()
  {
    TestCatalogue t;
    TestGame(kGameboy, QStringLiteral("Tetris")).File(QStringLiteral("Tetris.gb")).Insert(t.Db());
    const CliOutput output = RunCliOn(
        t.Folder().Path(), {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("Gameboy"),
                            QStringLiteral("--selected"), QStringLiteral("--mode"), QStringLiteral("database")});
    QCOMPARE(output.status, 1);
    QVERIFY2(output.err.contains(QStringLiteral("no game of Gameboy is ticked")), qPrintable(output.err));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = ?"), {kGameboy}).toInt(), 1);
  }
};

QUILLON_TEST_CLASS(CliGameTest)
#include "CliGameTest.moc"
