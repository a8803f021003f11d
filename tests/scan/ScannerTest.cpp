// Whole scans over real folders: availability, matching, merging, pictures, GoodTools and NewGame.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"
#include "scan/GameMatching.h"
#include "scan/GoodTools.h"
#include "scan/RomDiscovery.h"
#include "scan/Scanner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

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

// Tags every untagged .gb file of its working folder as a 1989 USA release.
const QByteArray kGameboyTool =
    "#!/bin/sh\n"
    "for f in *.gb; do\n"
    "  [ -e \"$f\" ] || continue\n"
    "  case \"$f\" in *'(U)'*) ;; *) mv \"$f\" \"${f%.gb} (U) (1989).gb\" ;; esac\n"
    "done\n";

void InstallTool(TestCatalogue& t, const QString& shortName, const QByteArray& script)
{
  const QString program = GoodToolsProgram(t.Folder(), shortName);
  QVERIFY(TouchFile(program, script));
  QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// A file whose name is given as bytes, which need not be UTF-8.
bool TouchRawFile(const QByteArray& path)
{
  const int descriptor = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  return descriptor >= 0 && ::close(descriptor) == 0;
}

// GameID: FileName of the system's games that a scan found.
QString AvailableGames(TestCatalogue& t, int system)
{
  return t
      .Value(QStringLiteral("SELECT group_concat(GameID || ':' || FileName, ',') FROM "
                            "(SELECT GameID, FileName FROM Games WHERE System = ? AND Available <> 0 ORDER BY GameID)"),
             {system})
      .toString();
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
    // On Linux a backslash is part of the name.
    QVERIFY(TouchFile(second + "Back\\slash (E).smc"));
    const int firstPath = AddFolder(t, 3, first);
    const int secondPath = AddFolder(t, 3, second);
    // A game of another folder that is gone: it stays, unavailable.
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Available) "
                          "VALUES ('Gone', 'gone.smc', 3, ?, 1)"),
           {firstPath});

    RecordingFeedback feedback;
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.gamesAdded, 5);
    QCOMPARE(summary.errors, 0);
    QCOMPARE(Column(t, "RomPath", "Street Fighter EX (1996)(Capcom).zip").toInt(), firstPath);
    QCOMPARE(Column(t, "RomPath", "deep/Tetris (U).smc").toInt(), firstPath);
    QCOMPARE(Column(t, "RomPath", "Bob's \"Game\" (U).smc").toInt(), secondPath);
    QCOMPARE(Column(t, "FullName", "Street Fighter EX (1996)(Capcom).zip"), QStringLiteral("Street Fighter EX "));
    QCOMPARE(Column(t, "FullName", "x'; DROP TABLE Games; --.smc"), QStringLiteral("x'; DROP TABLE Games; --"));
    QCOMPARE(Column(t, "FullName", "Back\\slash (E).smc"), QStringLiteral("Back\\slash "));
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
    QCOMPARE(again.gamesUpdated, 4);
    QCOMPARE(Column(t, "Available", "Bob's \"Game\" (U).smc").toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 6);
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

  void FilesSharingANameKeepTheirOwnGames()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    // Made in an order the names do not sort in.
    for (const char* name : {"Game (U).zip", "Tetris.smc", "Game (U).smc", "Tetris.zip"})
      QVERIFY(TouchFile(folder + QString::fromUtf8(name)));
    AddFolder(t, 3, folder);
    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = 'smc;zip' WHERE SystemID = 3"));
    // A game stored under a path no file has now: the first of its files in name order takes it.
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Rating) "
                       "VALUES (7, 'Game ', 'old/Game (U).zip', 3, 5)"));
    RecordingFeedback feedback;
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesAdded, 3);
    const QString found = AvailableGames(t, 3);
    QVERIFY2(found.startsWith(QStringLiteral("7:Game (U).smc,")), qPrintable(found));
    // Every rescan finds each file in its own game again.
    for (int run = 0; run < 3; ++run) {
      feedback.Clear();
      const ScanSummary again = Scan(t, feedback, QStringLiteral("SNES"));
      QCOMPARE(again.gamesAdded, 0);
      QCOMPARE(again.gamesUpdated, 4);
      QCOMPARE(AvailableGames(t, 3), found);
    }
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = 3")).toInt(), 4);
  }

  void GoodToolsRenamedFileStaysTheSameGame_data()
  {
    QTest::addColumn<bool>("renameRoms");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("per-file pass, the user's names kept") << false << QStringLiteral("sub/Tetris.gb");
    QTest::newRow("batch pass, renamed in place") << true << QStringLiteral("sub/Tetris (U) (1989).gb");
  }

  void GoodToolsRenamedFileStaysTheSameGame()
  {
    QFETCH(bool, renameRoms);
    QFETCH(QString, fileName);
    TestCatalogue t;
    InstallTool(t, QStringLiteral("GBx"), kGameboyTool);
    QTemporaryDir roms;
    const QString folder = roms.path() + QStringLiteral("/roms/");
    const QString pictures = roms.path() + QStringLiteral("/pics/");
    QVERIFY(TouchFile(folder + "sub/Tetris.gb"));
    QVERIFY(TouchFile(pictures + "Tetris.png"));
    AddFolder(t, 11, folder);
    t.Exec(QStringLiteral("UPDATE System SET Rename = ?, RenameImages = 1, DefaultImagePath = ?, "
                          "DefaultImageType = 'png' WHERE SystemID = 11"),
           {renameRoms ? 0 : 1, pictures});
    // The game as a quick scan found it, then given the user's own data.
    RecordingFeedback feedback;
    Scan(t, feedback, QStringLiteral("Gameboy"));
    const QVariant gameId = t.Value(QStringLiteral("SELECT GameID FROM Games WHERE FileName = 'sub/Tetris.gb'"));
    QVERIFY(gameId.isValid());
    t.Exec(QStringLiteral("UPDATE Games SET Rating = 4, Description = 'Falling blocks' WHERE GameID = ?"), {gameId});
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, 13)"), {gameId});

    for (int run = 0; run < 3; ++run)
      Scan(t, feedback, QStringLiteral("Gameboy"), false);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID) FROM Games WHERE System = 11")), gameId);
    QCOMPARE(Column(t, "GameID", fileName), gameId.toString());
    QCOMPARE(Column(t, "Available", fileName), QStringLiteral("1"));
    QCOMPARE(Column(t, "Rating", fileName), QStringLiteral("4"));
    QCOMPARE(Column(t, "Description", fileName), QStringLiteral("Falling blocks"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM SubGenres WHERE GameID = ?"), {gameId}).toInt(), 2);
    // What the standard name says is learnt.
    QCOMPARE(Column(t, "Country", fileName), QStringLiteral("2"));
    QCOMPARE(
        t.Value(QStringLiteral("SELECT Year FROM Year WHERE YearID = ?"), {Column(t, "Year", fileName)}).toString(),
        QStringLiteral("1989"));
    // The picture followed the standard name, and so did the game's reference to it.
    QCOMPARE(Column(t, "Image", fileName), QStringLiteral("Tetris (U) (1989).png"));
    QVERIFY(QFile::exists(pictures + Column(t, "Image", fileName)));
  }

  void ScanThatCannotRunKeepsAvailability_data()
  {
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("report");
    QTest::newRow("no extensions") << "no extensions"
                                   << "Status: Error - Check Default Rom Types.";
    QTest::newRow("empty extensions") << "empty extensions"
                                      << "Status: Error - Check Default Rom Types.";
    QTest::newRow("no folder") << "no folder"
                               << "     Error - Check rom path.";
    QTest::newRow("missing folder") << "missing folder"
                                    << "     Error - Check rom path.";
    QTest::newRow("unreadable folder") << "unreadable folder"
                                       << "     Error - Check rom path.";
    QTest::newRow("unreadable subfolder") << "unreadable subfolder"
                                          << "";
  }

  void ScanThatCannotRunKeepsAvailability()
  {
    QFETCH(QString, problem);
    QFETCH(QString, report);
    if (problem.startsWith(QStringLiteral("unreadable")) && ::geteuid() == 0)
      QSKIP("every folder is readable to root");
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QStringLiteral("/snes/");
    QVERIFY(TouchFile(folder + "Top (U).smc"));
    QVERIFY(TouchFile(folder + "sub/Deep (U).smc"));
    AddFolder(t, 3, folder);
    RecordingFeedback feedback;
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesAdded, 2);

    if (problem == QStringLiteral("no extensions"))
      t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = NULL WHERE SystemID = 3"));
    else if (problem == QStringLiteral("empty extensions"))
      t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = '' WHERE SystemID = 3"));
    else if (problem == QStringLiteral("no folder"))
      t.Exec(QStringLiteral("UPDATE RomPath SET RomPath = '' WHERE System = 3"));
    else if (problem == QStringLiteral("missing folder"))
      QVERIFY(QDir(roms.path()).rename(QStringLiteral("snes"), QStringLiteral("unmounted")));
    else if (problem == QStringLiteral("unreadable folder"))
      QVERIFY(QFile::setPermissions(folder, {}));
    else
      QVERIFY(QFile::setPermissions(folder + "sub", {}));
    feedback.Clear();
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(folder + "sub", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(summary.errors > 0);
    if (!report.isEmpty())
      QVERIFY2(feedback.StatusLines().contains(report) || feedback.resultLines.contains(report),
               qPrintable(feedback.resultLines.join(QLatin1Char('\n'))));
    // Nothing could be looked at: the games are as they were.
    QCOMPARE(AvailableGames(t, 3), QStringLiteral("1:Top (U).smc,2:sub/Deep (U).smc"));
  }

  void EmptyFolderIsARealResult()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(folder + "Gone (U).smc"));
    AddFolder(t, 3, folder);
    RecordingFeedback feedback;
    Scan(t, feedback, QStringLiteral("SNES"));
    QVERIFY(QFile::remove(folder + "Gone (U).smc"));
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.errors, 0);
    QCOMPARE(Column(t, "Available", "Gone (U).smc"), QStringLiteral("0"));
  }

  void RescanWritesOnlyWhatChanged()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString first = roms.path() + QStringLiteral("/one/");
    const QString second = roms.path() + QStringLiteral("/two/");
    for (int i = 0; i < 40; ++i)
      QVERIFY(TouchFile((i % 2 ? first : second) + QStringLiteral("Game %1 (U) (199%2).smc").arg(i).arg(i % 10)));
    AddFolder(t, 3, first);
    AddFolder(t, 3, second);
    t.Exec(QStringLiteral("UPDATE System SET ResumePosition = 12 WHERE SystemID = 3"));
    RecordingFeedback feedback;
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesAdded, 40);
    const auto changes = [&] { return t.Value(QStringLiteral("SELECT total_changes()")).toInt(); };

    int before = changes();
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesUpdated, 40);
    QCOMPARE(changes() - before, 0);

    // One file gone (its game marked missing), one new (a game and its genre link), one whose
    // extension changed (its file name and its values).
    QVERIFY(QFile::remove(first + "Game 1 (U) (1991).smc"));
    QVERIFY(TouchFile(second + "Game 40 (E).smc"));
    QVERIFY(QFile::rename(first + "Game 3 (U) (1993).smc", first + "Game 3 (U) (1993).zip"));
    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = 'smc;zip' WHERE SystemID = 3"));
    before = changes();
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.gamesAdded, 1);
    QCOMPARE(changes() - before, 1 + 2 + 2);
    QCOMPARE(Column(t, "Available", "Game 1 (U) (1991).smc"), QStringLiteral("0"));
    QCOMPARE(Column(t, "Available", "Game 3 (U) (1993).zip"), QStringLiteral("1"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Available <> 0")).toInt(), 40);
  }

  void ScanThatCannotBeSavedSaysSo()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    for (int i = 0; i < 20; ++i)
      QVERIFY(TouchFile(folder + QStringLiteral("Game %1 (U).smc").arg(i)));
    AddFolder(t, 3, folder);
    t.Exec(QStringLiteral("PRAGMA busy_timeout = 50"));
    // Another program reading the catalogue keeps the scan from saving anything.
    std::unique_ptr<Catalogue> reader = Catalogue::Open(t.Folder().CatalogueFile(), nullptr, nullptr);
    QVERIFY(reader && reader->TryExecute(QStringLiteral("BEGIN"), {}, nullptr) &&
            reader->TrySelect(QStringLiteral("SELECT count(*) FROM Games"), {}, nullptr));
    RecordingFeedback feedback;
    ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QVERIFY(summary.errors > 0);
    QCOMPARE(summary.gamesAdded, 0);
    QVERIFY2(feedback.resultLines.contains(QStringLiteral("     Error - database is locked")),
             qPrintable(feedback.resultLines.join(QLatin1Char('\n'))));
    QVERIFY(!t.Db().InTransaction());
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games")).toInt(), 0);

    QVERIFY(reader->TryExecute(QStringLiteral("COMMIT"), {}, nullptr));
    summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.errors, 0);
    QCOMPARE(summary.gamesAdded, 20);
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Available <> 0")).toInt(), 20);
  }

  void NamesAreStoredExactlyOrListed()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("Bom (U).smc");
    QVERIFY(TouchFile(folder + bom));
    QVERIFY(TouchFile(folder + "sub/" + bom));
    const QByteArray raw = QFile::encodeName(folder);
    QVERIFY(TouchRawFile(raw + "Bad\xff (U).smc"));
    QVERIFY(TouchRawFile(raw + "Latin \xe9t\xe9 (F).smc"));
    // Only files the scan would take are listed.
    QVERIFY(TouchRawFile(raw + "notes \xff.txt"));
    // A name that ends inside a character.
    QVERIFY(QDir().mkpath(QString::fromUtf8(raw) + QStringLiteral("x")));
    QVERIFY(::rename((raw + "x").constData(), (raw + "Dir \xc3").constData()) == 0);
    QVERIFY(TouchRawFile(raw + "Dir \xc3/Inside (U).smc"));
    AddFolder(t, 3, folder);
    RecordingFeedback feedback;
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.gamesAdded, 2);
    QCOMPARE(summary.errors, 3);
    QCOMPARE(t.Value(QStringLiteral("SELECT FileName FROM Games WHERE GameID = 1")).toString(), bom);
    QCOMPARE(t.Value(QStringLiteral("SELECT FileName FROM Games WHERE GameID = 2")).toString(),
             QStringLiteral("sub/") + bom);
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = 1")).toString(),
             QString(QChar(0xFEFF)) + QStringLiteral("Bom "));
    QVERIFY(QFileInfo::exists(GetRom(t.Db(), feedback, 1).toString()));
    const qsizetype listed = feedback.resultLines.indexOf(
        QStringLiteral("     Error - 3 file(s) not added: their names are not valid UTF-8 text. Rename them:"));
    QVERIFY2(listed >= 0, qPrintable(feedback.resultLines.join(QLatin1Char('\n'))));
    QCOMPARE(feedback.resultLines.mid(listed + 1, 3),
             (QStringList{QStringLiteral("          ") + folder + QStringLiteral("Bad\\xFF (U).smc"),
                          QStringLiteral("          ") + folder + QStringLiteral("Latin \\xE9t\\xE9 (F).smc"),
                          QStringLiteral("          ") + folder + QStringLiteral("Dir \\xC3/")}));
    QCOMPARE(feedback.resultLines.last(), QStringLiteral("Done."));

    feedback.Clear();
    QCOMPARE(Scan(t, feedback, QStringLiteral("SNES")).gamesAdded, 0);
    QCOMPARE(AvailableGames(t, 3), QStringLiteral("1:") + bom + QStringLiteral(",2:sub/") + bom);
  }

  // Files passed over are listed with why: extensions differing in case (with a hint), and links
  // whose target is gone.
  void PassedOverFilesAreListed()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    for (const char* name : {"GAME (U).SMC", "Fine (U).smc", "sub/Other (E).Smc", "notes.TXT"})
      QVERIFY(TouchFile(folder + QString::fromUtf8(name)));
    QVERIFY(QFile::link(folder + QStringLiteral("moved away.smc"), folder + QStringLiteral("sub/Linked (U).smc")));
    AddFolder(t, 3, folder);
    RecordingFeedback feedback;
    const ScanSummary summary = Scan(t, feedback, QStringLiteral("SNES"));
    QCOMPARE(summary.gamesAdded, 1);
    QCOMPARE(summary.errors, 0);
    QCOMPARE(summary.skippedForCase, 2);
    const qsizetype listed = feedback.resultLines.indexOf(QStringLiteral(
        "     2 file(s) skipped: their extensions differ from the system's ROM extensions only in letter case. "
        "To scan them, add each extension as written (such as \"SMC\") to the system's Default File Extensions:"));
    QVERIFY2(listed >= 0, qPrintable(feedback.resultLines.join(QLatin1Char('\n'))));
    QCOMPARE(feedback.resultLines.mid(listed + 1, 2),
             (QStringList{QStringLiteral("          ") + folder + QStringLiteral("GAME (U).SMC"),
                          QStringLiteral("          ") + folder + QStringLiteral("sub/Other (E).Smc")}));
    const qsizetype links = feedback.resultLines.indexOf(
        QStringLiteral("     1 link(s) passed over: they lead to nothing (was the file they name moved?):"));
    QVERIFY2(links >= 0, qPrintable(feedback.resultLines.join(QLatin1Char('\n'))));
    QCOMPARE(feedback.resultLines.value(links + 1),
             QStringLiteral("          ") + folder + QStringLiteral("sub/Linked (U).smc"));
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

  void NewGameFindsTheGameUnderTheNameItsRowHolds()
  {
    TestCatalogue t;
    InstallTool(t, QStringLiteral("GBx"), kGameboyTool);
    QTemporaryDir roms;
    const QString folder = roms.path() + QLatin1Char('/');
    const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("Bom (E).gb");
    QVERIFY(TouchFile(folder + "Tetris.gb"));
    QVERIFY(TouchFile(folder + bom));
    AddFolder(t, 11, folder);
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    // "Don't Rename Roms": the row holds the user's name and learns the standard name's tags.
    for (int run = 0; run < 2; ++run) {
      const NewGameResult result =
          NewGame(t.Db(), lookups, feedback, t.Folder(), {folder + "Tetris.gb", 11, true, false});
      QVERIFY(result.ok);
      QCOMPARE(result.added, run == 0);
    }
    QCOMPARE(Column(t, "Country", "Tetris.gb"), QStringLiteral("2"));
    // A name that begins with U+FEFF is stored as it is, and found again.
    for (int run = 0; run < 2; ++run) {
      const NewGameResult result = NewGame(t.Db(), lookups, feedback, t.Folder(), {folder + bom, 11, false, false});
      QVERIFY(result.ok);
      QCOMPARE(result.added, run == 0);
    }
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = 11")).toInt(), 2);
    QCOMPARE(
        t.Value(QStringLiteral("SELECT FileName FROM Games WHERE System = 11 AND FileName <> 'Tetris.gb'")).toString(),
        bom);
    QCOMPARE(
        t.Value(QStringLiteral("SELECT FullName FROM Games WHERE System = 11 AND FileName <> 'Tetris.gb'")).toString(),
        QString(QChar(0xFEFF)) + QStringLiteral("Bom "));
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(ScannerTest)
#include "ScannerTest.moc"
