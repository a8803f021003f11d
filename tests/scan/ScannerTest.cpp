// Whole scans over real folders: availability, matching, merging, pictures, GoodTools and NewGame.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "scan/GameMatching.h"
#include "scan/GoodTools.h"
#include "scan/Scanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

const QByteArray kStandInTool =
    "#!/bin/sh\n"
    "for f in *.smc; do\n"
    "  [ -e \"$f\" ] || continue\n"
    "  case \"$f\" in *'(U)'*) ;; *) mv \"$f\" \"${f%.smc} (U) (1992).smc\" ;; esac\n"
    "done\n"
    "echo have > SNESHave.txt\n";

ScanSummary Scan(TestCatalogue& t, RecordingFeedback& feedback, const QString& system, bool quick = true)
{
  Lookups lookups(t.Db(), feedback);
  ScanOptions options;
  options.allSystems = false;
  options.systemName = system;
  options.quick = quick;
  return RunScan(t.Db(), lookups, feedback, t.Folder(), options);
}

int AddFolder(TestCatalogue& t, int system, const QString& folder)
{
  t.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"), {folder, system});
  return t.Value(QStringLiteral("SELECT max(PathID) FROM RomPath")).toInt();
}

QString Column(TestCatalogue& t, const QString& column, const QString& fileName)
{
  return t.Value(QStringLiteral("SELECT %1 FROM Games WHERE FileName = ?").arg(column), {fileName}).toString();
}

}  // namespace

class ScannerTest : public QObject {
  Q_OBJECT

 private slots:
  void FoldersMakeGamesAvailableWithTheirOwnPaths()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString first = roms.path() + QStringLiteral("/one/");
    const QString second = roms.path() + QStringLiteral("/two/");
    QVERIFY(TouchFile(first + "Street Fighter EX (1996)(Capcom).zip"));
    QVERIFY(TouchFile(first + "deep/Tetris (U).smc"));
    QVERIFY(TouchFile(second + "Bob's \"Game\" (U).smc"));
    QVERIFY(TouchFile(second + "x'; DROP TABLE Games; --.smc"));
    QVERIFY(TouchFile(second + "notes.txt"));
    const int firstPath = AddFolder(t, 3, first);
    const int secondPath = AddFolder(t, 3, second);
    // A game of another folder that is gone: it stays, unavailable.
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Available) "
                          "VALUES ('Gone', 'gone.smc', 3, ?, 1)"),
           {firstPath});

    RecordingFeedback feedback;
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.gamesAdded, 4);
    QCOMPARE(summary.errors, 0);
    QCOMPARE(Column(t, "RomPath", "Street Fighter EX (1996)(Capcom).zip").toInt(), firstPath);
    QCOMPARE(Column(t, "RomPath", "deep/Tetris (U).smc").toInt(), firstPath);
    QCOMPARE(Column(t, "RomPath", "Bob's \"Game\" (U).smc").toInt(), secondPath);
    QCOMPARE(Column(t, "FullName", "Street Fighter EX (1996)(Capcom).zip"), QStringLiteral("Street Fighter EX "));
    QCOMPARE(Column(t, "FullName", "x'; DROP TABLE Games; --.smc"), QStringLiteral("x'; DROP TABLE Games; --"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Year WHERE YearID = ?"),
                     {Column(t, "Year", "Street Fighter EX (1996)(Capcom).zip")})
                 .toString(),
             QStringLiteral("1996"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Manufacturer FROM Manufacturer WHERE ManufacturerID = ?"),
                     {Column(t, "Manufacturer", "Street Fighter EX (1996)(Capcom).zip")})
                 .toString(),
             QStringLiteral("Capcom"));
    QCOMPARE(Column(t, "Available", "gone.smc").toInt(), 0);
    // Every game has a genre link and its count.
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE NOT EXISTS "
                                    "(SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID)"))
                 .toInt(),
             0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Genre <> 1 AND Available <> 0")).toInt(), 0);
    QCOMPARE(feedback.resultLines.first(), QStringLiteral("SNES"));
    QVERIFY(feedback.resultLines.contains(QStringLiteral("     Scanning ") + first));
    QVERIFY(feedback.resultLines.contains(QStringLiteral("          Found - Tetris (U).smc")));
    QCOMPARE(feedback.resultLines.last(), QStringLiteral("Done."));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Done."));

    // A rescan after deleting a file: that game becomes unavailable, the rest is untouched.
    QVERIFY(QFile::remove(second + "Bob's \"Game\" (U).smc"));
    feedback.Clear();
    const ScanSummary again = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(again.gamesAdded, 0);
    QCOMPARE(again.gamesUpdated, 3);
    QCOMPARE(Column(t, "Available", "Bob's \"Game\" (U).smc").toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 5);
  }

  void ConfigurationProblemsAreReported()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(feedback.ErrorLines(), QStringList{"Status: Error - No games available. Check rom path."});

    AddFolder(t, 3, QStringLiteral("/no/such/folder/"));
    t.Exec(QStringLiteral(
        "INSERT INTO Games (FullName, FileName, System, RomPath, Available) VALUES ('a', 'a.smc', 3, 1, 1)"));
    feedback.Clear();
    Scan(t, feedback, QStringLiteral("SNES"));
    QVERIFY(feedback.resultLines.contains(QStringLiteral("     Error - Check rom path.")));
    QVERIFY(feedback.ErrorLines().contains(QStringLiteral("Status: Error - Check image path.")));
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games")).toInt(), 0);

    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = NULL WHERE SystemID = 3"));
    feedback.Clear();
    Scan(t, feedback, QStringLiteral("SNES"));
    QVERIFY(feedback.ErrorLines().contains(QStringLiteral("Status: Error - Check Default Rom Types.")));
  }

  void StoredValuesAreMergedAsARescanShould()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    const QString pictures = roms.path() + QStringLiteral("/pics/");
    QVERIFY(TouchFile(folder + "Alpha.smc"));
    QVERIFY(TouchFile(folder + "Beta (1995).smc"));
    QVERIFY(TouchFile(folder + "Gamma.smc"));
    QVERIFY(TouchFile(folder + "Delta.smc"));
    QVERIFY(TouchFile(folder + "alpha.smc"));
    QVERIFY(TouchFile(pictures + "Gamma.png"));
    QVERIFY(TouchFile(pictures + "Delta.jpg"));
    AddFolder(t, 3, folder);
    t.Exec(QStringLiteral("UPDATE System SET DefaultImagePath = ?, DefaultImageType = 'png;jpg' WHERE SystemID = 3"),
           {pictures});
    // 1991 is YearID 32; the user set a country (Japan) that the name does not carry.
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Year, Country, Image) VALUES "
                       "(1, 'Alpha', 'Alpha.smc', 3, 32, 4, NULL),"
                       "(2, 'Beta', 'Beta (1995).smc', 3, 32, 4, NULL),"
                       "(3, 'Gamma', 'Gamma.smc', 3, NULL, NULL, 'mine.png'),"
                       "(4, 'Delta', 'Delta.smc', 3, 32, 4, '')"));
    RecordingFeedback feedback;
    Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Games WHERE GameID = 1")).toInt(), 32);  // kept against 42
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Year WHERE YearID = (SELECT Year FROM Games WHERE GameID = 2)"))
                 .toString(),
             QStringLiteral("1995"));                                                            // a named year wins
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Games WHERE GameID = 3")).toInt(), 42);    // Null takes 42
    QCOMPARE(t.Value(QStringLiteral("SELECT Country FROM Games WHERE GameID = 1")).toInt(), 4);  // never wiped
    QCOMPARE(t.Value(QStringLiteral("SELECT Country FROM Games WHERE GameID = 3")).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = 3")).toString(),
             QStringLiteral("mine.png"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = 4")).toString(),
             QStringLiteral("Delta.jpg"));
    // A name that differs only in case is another game.
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE FileName = 'alpha.smc'")).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 5);
    QCOMPARE(t.Value(QStringLiteral("SELECT Edited FROM Games WHERE GameID = 1")).toInt(), 1);
  }

  void FilesSharingANameInOneFolderBothBecomeGames()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "Tetris.smc"));
    QVERIFY(TouchFile(folder + "Tetris.zip"));
    AddFolder(t, 3, folder);
    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = 'smc;zip' WHERE SystemID = 3"));
    RecordingFeedback feedback;
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesAdded, 2);
    // The next scan finds them: the first in key order takes both files.
    feedback.Clear();
    const ScanSummary again = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(again.gamesAdded, 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Available <> 0")).toInt(), 1);
  }

  void GoodToolsRenameInPlaceOrACopy()
  {
    TestCatalogue t;
    TouchFile(GoodToolsProgram(t.Folder(), QStringLiteral("SNES")), kStandInTool);
    QFile::setPermissions(GoodToolsProgram(t.Folder(), QStringLiteral("SNES")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "sub/Mario.smc"));
    AddFolder(t, 3, folder);

    // Quick: no pass at all.
    RecordingFeedback feedback;
    t.Exec(QStringLiteral("UPDATE System SET Rename = 0 WHERE SystemID = 3"));
    Scan(t, feedback, QStringLiteral("SNES"), true);
    QVERIFY(QFile::exists(folder + "sub/Mario.smc"));

    // Batch pass: the user's file is renamed in place, the tool's files are cleaned up.
    Scan(t, feedback, QStringLiteral("SNES"), false);
    QCOMPARE(QDir(folder + "sub").entryList(QDir::Files), QStringList{"Mario (U) (1992).smc"});
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE FileName = 'sub/Mario (U) (1992).smc' "
                                    "AND Available <> 0 AND Country = 2"))
                 .toInt(),
             1);

    // Per-file pass ("Don't Rename Roms"): the file keeps its name, the game learns the tags.
    QVERIFY(TouchFile(folder + "Zelda.smc"));
    t.Exec(QStringLiteral("UPDATE System SET Rename = 1 WHERE SystemID = 3"));
    Scan(t, feedback, QStringLiteral("SNES"), false);
    QVERIFY(QFile::exists(folder + "Zelda.smc"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Country FROM Games WHERE FileName = 'Zelda.smc'")).toInt(), 2);
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE FileName = 'Zelda.smc'")).toString(),
             QStringLiteral("Zelda "));
    QVERIFY(QDir(t.Folder().TempFolder() + "goodtools").entryList(QDir::Files).isEmpty());

    // The arcade system never gets a batch pass.
    QVERIFY(!BatchPassApplies(QStringLiteral("Arcade"), false, false));
  }

  void NewGameAsksForItsFolder()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "Tetris (U).gb"));
    QVERIFY(TouchFile(folder + "Dr. Mario.gb"));
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    NewGameRequest request{folder + "Tetris (U).gb", 11, false, false};
    // Without the folder the game is added without ROM path, among the missing games.
    NewGameResult result = NewGame(t.Db(), lookups, feedback, t.Folder(), request);
    QVERIFY(result.ok && result.added);
    QCOMPARE(feedback.questions.size(), 1);
    QCOMPARE(feedback.questions.first().text,
             QStringLiteral("Would you like to add ") + folder + QStringLiteral(" to the list of rom paths?"));
    QVERIFY(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = ?"), {result.gameId}).isNull());
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE GameID = ?"), {result.gameId}).toInt(), 0);

    // With it: the folder joins the system's ROM folders and the game is available.
    feedback.Script(QStringLiteral("add-rompath"), Answer::Yes);
    request.path = folder + "Dr. Mario.gb";
    result = NewGame(t.Db(), lookups, feedback, t.Folder(), request);
    QVERIFY(result.ok && result.added);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RomPath WHERE System = 11")).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {result.gameId}).toString(),
             QStringLiteral("Dr. Mario.gb"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE GameID = ?"), {result.gameId}).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM SubGenres WHERE GameID = ?"), {result.gameId}).toInt(), 1);
    // The same file again refreshes its game; no second question, no second game.
    result = NewGame(t.Db(), lookups, feedback, t.Folder(), request);
    QVERIFY(result.ok && !result.added);
    QCOMPARE(feedback.questions.size(), 2);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 2);
  }
};

QUILLON_TEST_CLASS(ScannerTest)
#include "ScannerTest.moc"
