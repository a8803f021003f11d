// quillon-cli game, launch, image and delete on a real catalogue.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include <QFile>
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
    t.Exec(QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System) VALUES (1, 'Zelda', 'z.smc', 3)"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres VALUES (1, 1)"));
    const QString folder = t.Folder().Path();
    CliOutput output = RunCliOn(
        folder, {QStringLiteral("game"), QStringLiteral("set"), QStringLiteral("1"), QStringLiteral("Country=japan"),
                 QStringLiteral("Year=1991"), QStringLiteral("Manufacturer=New Maker"), QStringLiteral("FullName=")});
    QCOMPARE(output.status, 0);
    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), QStringLiteral("1")});
    QVERIFY(output.out.contains(QStringLiteral("\nCountryName\tJapan\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nYearText\t1991\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nManufacturerName\tNew Maker\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nFullName\t\n")));
    QVERIFY(output.out.contains(QStringLiteral("\nGenreName\t[Unknown]\n")));
    // An unknown country is refused and nothing of the command is kept.
    output = RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("set"), QStringLiteral("1"),
                               QStringLiteral("Rating=5"), QStringLiteral("Country=Atlantis")});
    QCOMPARE(output.status, 1);
    QVERIFY(t.Value(QStringLiteral("SELECT Rating FROM Games WHERE GameID = 1")).isNull());

    output = RunCliOn(folder,
                      {QStringLiteral("game"), QStringLiteral("genres"), QStringLiteral("1"), QStringLiteral("--tick"),
                       QStringLiteral("Action"), QStringLiteral("--tick"), QStringLiteral("Puzzle")});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringLiteral("Action\nPuzzle\n"));
    output = RunCliOn(
        folder, {QStringLiteral("game"), QStringLiteral("genres"), QStringLiteral("1"), QStringLiteral("--untick"),
                 QStringLiteral("Action"), QStringLiteral("--untick"), QStringLiteral("Puzzle")});
    QCOMPARE(output.out, QStringLiteral("[Unknown]\n"));
    QCOMPARE(RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), QStringLiteral("x")}).status, 2);
    QCOMPARE(RunCliOn(folder, {QStringLiteral("game"), QStringLiteral("show"), QStringLiteral("99")}).status, 1);
  }

  void LaunchDryRunAndDelete()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString rom = roms.filePath(QStringLiteral("Bob's \"Game\"; (U).smc"));
    QVERIFY(TouchFile(rom));
    t.Exec(QStringLiteral("UPDATE System SET Emulator = '/usr/games/snes9x -f' WHERE SystemID = 3"));
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, ?, 3)"), {roms.path() + "/"});
    t.Exec(QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Selected) "
                          "VALUES (1, 'Bob', ?, 3, 1, 1, 1), (2, 'Other', 'o.smc', 3, 1, 1, 0)"),
           {QStringLiteral("Bob's \"Game\"; (U).smc")});
    const QString folder = t.Folder().Path();
    CliOutput output = RunCliOn(folder, {QStringLiteral("launch"), QStringLiteral("1"), QStringLiteral("--dry-run")});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringLiteral("Program\t/usr/games/snes9x\nArgument\t-f\nArgument\t") + rom +
                             QStringLiteral("\nFolder\t/usr/games\n"));

    output = RunCliOn(folder, {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("SNES"),
                               QStringLiteral("--selected"), QStringLiteral("--mode"), QStringLiteral("disk")});
    QCOMPARE(output.status, 0);
    QVERIFY(!QFile::exists(rom));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM Games WHERE System = 3")).toString(),
             QStringLiteral("2"));
    QCOMPARE(RunCliOn(folder, {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("SNES"),
                               QStringLiteral("--game"), QStringLiteral("2"), QStringLiteral("--mode"),
                               QStringLiteral("everything")})
                 .status,
             2);
  }

  // A delete that could not do what it was asked says so and fails; the rows stay.
  void DeleteThatDeletesNothingFails_data()
  {
    QTest::addColumn<QString>("game");
    QTest::addColumn<QString>("mode");
    QTest::newRow("unknown game") << QStringLiteral("99999") << QStringLiteral("database");
    QTest::newRow("another system's game") << QStringLiteral("2") << QStringLiteral("database");
    QTest::newRow("unknown game, list only") << QStringLiteral("99999") << QStringLiteral("list");
    QTest::newRow("ROM file not on disk") << QStringLiteral("1") << QStringLiteral("disk");
  }

  void DeleteThatDeletesNothingFails()
  {
    QFETCH(QString, game);
    QFETCH(QString, mode);
    TestCatalogue t;
    QTemporaryDir roms;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, ?, 11)"), {roms.path() + "/"});
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Selected) "
                       "VALUES (1, 'Tetris', 'Tetris.gb', 11, 1, 1, 1), (2, 'Zelda', 'z.smc', 3, NULL, 1, 1)"));
    const CliOutput output =
        RunCliOn(t.Folder().Path(), {QStringLiteral("delete"), QStringLiteral("--system"), QStringLiteral("Gameboy"),
                                     QStringLiteral("--game"), game, QStringLiteral("--mode"), mode});
    QCOMPARE(output.status, 1);
    QVERIFY(output.out.startsWith(QStringLiteral("0 game(s) deleted")));
    QVERIFY2(output.err.contains(QStringLiteral("Status: Error - ")), qPrintable(output.err));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Available <> 0 AND Selected <> 0")).toInt(), 2);
  }
};

QUILLON_TEST_CLASS(CliGameTest)
#include "CliGameTest.moc"
