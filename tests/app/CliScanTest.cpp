// quillon-cli scan, add-game and the ROM folder commands on real folders; a scan killed midway.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput Run(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

// A game as the kill trials compare it.
struct GameState {
  QString fileName;
  bool available = false;
};

QHash<qint64, GameState> GamesOf(TestCatalogue& t, int system)
{
  QHash<qint64, GameState> games;
  SqlFailure failure;
  const std::optional<Rows> rows = t.Db().TrySelect(
      QStringLiteral("SELECT GameID, FileName, Available FROM Games WHERE System = ?"), {system}, &failure);
  if (!rows)
    return games;
  for (const QVariantList& row : rows->All())
    games.insert(row[0].toLongLong(), {row[1].toString(), row[2].toInt() != 0});
  return games;
}

// Starts a scan and kills it with SIGKILL once it has announced `folders` ROM folders.
bool KillScanAtFolder(const QString& dataFolder, int folders)
{
  QProcess scan;
  scan.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-cli"),
             {QStringLiteral("--data-dir"), dataFolder, QStringLiteral("scan"), QStringLiteral("--system"),
              QStringLiteral("SNES")});
  if (!scan.waitForStarted())
    return false;
  QByteArray err;
  while (err.count("Status: Scanning ") < folders) {
    if (!scan.waitForReadyRead(30000))
      return false;
    err += scan.readAllStandardError();
    scan.readAllStandardOutput();
  }
  ::kill(static_cast<pid_t>(scan.processId()), SIGKILL);
  scan.waitForFinished();
  return scan.exitStatus() == QProcess::CrashExit;
}

}  // namespace

class CliScanTest : public QObject {
  Q_OBJECT

 private slots:
  void ScanThatCannotRunFails()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    QVERIFY(TouchFile(roms.filePath(QStringLiteral("Mario (U).smc"))));
    QCOMPARE(
        Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("SNES"), roms.path()}).status,
        0);
    QCOMPARE(Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")}).status, 0);
    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = '' WHERE SystemID = 3"));
    const CliOutput scan = Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")});
    QCOMPARE(scan.status, 1);
    QVERIFY2(scan.err.contains(QStringLiteral("Status: Error - Check Default Rom Types.")), qPrintable(scan.err));
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE FileName = 'Mario (U).smc'")).toInt(), 1);
  }

  void LinkedRomFolderIsTheFolderItLeadsTo()
  {
    TestCatalogue t;
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real"));
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(TouchFile(real + QStringLiteral("/Tetris (U).gb")));
    QVERIFY(QFile::link(real, link));
    QCOMPARE(Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("Gameboy"), link}).status,
             0);
    // The same folder under its other name is not added again.
    const CliOutput again =
        Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("Gameboy"), real + "/"});
    QVERIFY2(again.err.contains(QStringLiteral("already has")), qPrintable(again.err));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(RomPath) FROM RomPath WHERE System = 11")).toString(),
             link + QLatin1Char('/'));
    const QVariant pathId = t.Value(QStringLiteral("SELECT PathID FROM RomPath WHERE System = 11"));

    // A file reached through either name belongs to that folder; no folder is added twice.
    for (const QString& file : {link + QStringLiteral("/Tetris (U).gb"), real + QStringLiteral("/Tetris (U).gb")}) {
      const CliOutput added = Run(t, {QStringLiteral("add-game"), QStringLiteral("--system"), QStringLiteral("Gameboy"),
                                      QStringLiteral("--add-folder"), file});
      QCOMPARE(added.status, 0);
      QVERIFY2(!added.err.contains(QStringLiteral("Would you like to add")), qPrintable(added.err));
    }
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RomPath WHERE System = 11")).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(RomPath) FROM Games WHERE System = 11")), pathId);
    QCOMPARE(
        t.Value(QStringLiteral("SELECT File FROM File INNER JOIN Games USING (GameID) WHERE System = 11")).toString(),
        link + QStringLiteral("/Tetris (U).gb"));

    // Removing it under its other name removes it, and its game is listed among the missing games.
    QCOMPARE(
        Run(t, {QStringLiteral("system"), QStringLiteral("remove-rompath"), QStringLiteral("Gameboy"), real}).status,
        0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RomPath WHERE System = 11")).toInt(), 0);
    const CliOutput missing = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("Gameboy"),
                                      QStringLiteral("--missing")});
    QVERIFY2(missing.out.contains(QStringLiteral("\tTetris \t")), qPrintable(missing.out + missing.err));
  }

  // Each trial kills a scan of a large tree at a later ROM folder. Every game must be as it was
  // or as the scan found it, folder by folder: never a game whose file is there marked missing.
  // (Folders are committed together about once a second, so a kill may leave the last of them as
  // they were; the scan that follows finishes the work.)
  void KilledScanLeavesEveryGameAsItWasOrAsFound()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    const int folders = 5;
    const int filesPerFolder = 4000;
    QStringList romFolders;
    for (int folder = 0; folder < folders; ++folder) {
      const QString path = roms.filePath(QStringLiteral("f%1/").arg(folder));
      romFolders << path;
      QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
      for (int file = 0; file < filesPerFolder; ++file) {
        QFile rom(path + (file % 2 ? QStringLiteral("sub/") : QString()) +
                  QStringLiteral("Game %1-%2 (U).smc").arg(folder).arg(file));
        QVERIFY(rom.open(QIODevice::WriteOnly));
      }
      QCOMPARE(Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("SNES"), path}).status,
               0);
    }
    QCOMPARE(Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")}).status, 0);
    // Every seventh file goes, so a finished folder shows its missing games.
    for (int folder = 0; folder < folders; ++folder) {
      for (int file = 0; file < filesPerFolder; file += 7) {
        QVERIFY(QFile::remove(romFolders[folder] + (file % 2 ? QStringLiteral("sub/") : QString()) +
                              QStringLiteral("Game %1-%2 (U).smc").arg(folder).arg(file)));
      }
    }

    for (int trial = 1; trial <= 3; ++trial) {
      t.Close();
      QVERIFY(KillScanAtFolder(t.Folder().Path(), trial + 1));
      t.Reopen();
      QCOMPARE(t.Value(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
      const QHash<qint64, GameState> games = GamesOf(t, 3);
      QCOMPARE(games.size(), folders * filesPerFolder);
      QHash<int, QSet<bool>> goneStates;  // per folder: the states of games whose file went
      for (auto it = games.cbegin(); it != games.cend(); ++it) {
        const QString& name = it->fileName;
        const int folder = name.section(QLatin1Char(' '), 1, 1).section(QLatin1Char('-'), 0, 0).toInt();
        const int file = name.section(QLatin1Char('-'), 1).section(QLatin1Char(' '), 0, 0).toInt();
        if (file % 7 != 0)
          QVERIFY2(it->available, qPrintable(QStringLiteral("trial %1: %2 marked missing").arg(trial).arg(name)));
        else
          goneStates[folder].insert(it->available);
      }
      for (auto it = goneStates.cbegin(); it != goneStates.cend(); ++it)
        QVERIFY2(it->size() == 1,
                 qPrintable(QStringLiteral("trial %1: folder %2 half written").arg(trial).arg(it.key())));
    }
    t.Close();
    QCOMPARE(Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")}).status, 0);
    t.Reopen();
    const QHash<qint64, GameState> games = GamesOf(t, 3);
    for (auto it = games.cbegin(); it != games.cend(); ++it) {
      const int file = it->fileName.section(QLatin1Char('-'), 1).section(QLatin1Char(' '), 0, 0).toInt();
      QVERIFY2(it->available == (file % 7 != 0), qPrintable(it->fileName));
    }
  }

  // A new system's first ROM folder gives it its tab; a disc whose track is gone is listed as
  // missing, and `game show` says why.
  void IncompleteDiscGameIsShownWithItsReason()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    QVERIFY(TouchFile(roms.filePath("Jumping Flash (USA).cue"),
                      "FILE \"Jumping Flash (Track 1).bin\" BINARY\nFILE \"Jumping Flash (Track 2).bin\" BINARY\n"));
    QVERIFY(TouchFile(roms.filePath("Jumping Flash (Track 1).bin")));
    QCOMPARE(Run(t, {"system", "add-rompath", "PlayStation", roms.path()}).status, 0);
    QCOMPARE(t.Value("SELECT EnableTab FROM System WHERE System = 'PlayStation'").toInt(), 1);
    QCOMPARE(Run(t, {"scan", "--system", "PlayStation"}).status, 0);
    const QVariant game =
        t.Value("SELECT GameID FROM Games WHERE FileName = 'Jumping Flash (USA).cue' AND Available = 0");
    QVERIFY(game.isValid());
    const CliOutput shown = Run(t, {"game", "show", game.toString()});
    QCOMPARE(shown.status, 0);
    QVERIFY2(shown.out.contains("MissingFiles\tMissing file(s) named by Jumping Flash (USA).cue: Jumping Flash (Track "
                                "2).bin\n"),
             qPrintable(shown.out));
  }
};

QUILLON_TEST_CLASS(CliScanTest)
#include "CliScanTest.moc"
