// Disc games made of several files scan into one game each, and an incomplete one shows as missing.
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"
#include "catalogue/StructureUpgrade.h"
#include "scan/MultiFileGames.h"
#include "scan/Scanner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// A catalogue with today's systems; the PlayStation's key.
qint64 Upgraded(TestCatalogue& t)
{
  RecordingFeedback feedback;
  SilentUpgradeDisplay display;
  UpdateDb(t.Db(), feedback, display);
  return t.Value("SELECT SystemID FROM System WHERE System = 'PlayStation'").toLongLong();
}

ScanSummary Scan(TestCatalogue& t, const QString& system)
{
  RecordingFeedback feedback;
  Lookups lookups(t.Db(), feedback);
  ScanOptions options;
  options.allSystems = false;
  options.systemName = system;
  return RunScan(t.Db(), lookups, feedback, t.Folder(), options);
}

QByteArray Cue(const QStringList& tracks)
{
  QByteArray text;
  for (const QString& track : tracks)
    text += "FILE \"" + track.toUtf8() + "\" BINARY\r\n  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n";
  return text;
}

// FileName (Available) of the system's games, by file name.
QString Games(TestCatalogue& t, qint64 system)
{
  return t
      .Value(
          "SELECT group_concat(FileName || ' (' || Available || ')', '; ') FROM (SELECT * FROM Games WHERE "
          "System = ? ORDER BY FileName)",
          {system})
      .toString();
}

// A PlayStation folder: a two-track cue whose tracks are not named like it, a playlist of three
// discs (each a cue and its track), a track no sheet names, and a chd.
void MakePlayStationFolder(const QString& folder)
{
  QVERIFY(TouchFile(folder + "Ridge Racer (USA).cue", Cue({"Track 01.bin", "Track 02.bin"})));
  QVERIFY(TouchFile(folder + "Track 01.bin"));
  QVERIFY(TouchFile(folder + "Track 02.bin"));
  QByteArray playlist;
  for (int disc = 1; disc <= 3; ++disc) {
    const QString name = QStringLiteral("Final Fantasy VII (USA) (Disc %1)").arg(disc);
    QVERIFY(TouchFile(folder + name + ".cue", Cue({name + ".bin"})));
    QVERIFY(TouchFile(folder + name + ".bin"));
    playlist += name.toUtf8() + ".cue\n";
  }
  QVERIFY(TouchFile(folder + "Final Fantasy VII (USA).m3u", playlist));
  QVERIFY(TouchFile(folder + "Stray Track (Track 2).bin"));
  QVERIFY(TouchFile(folder + "Tekken (USA).chd"));
}

}  // namespace

class MultiFileScanTest : public QObject {
  Q_OBJECT

 private slots:
  void DiscFolderScansIntoOneGamePerGame()
  {
    TestCatalogue t;
    const qint64 psx = Upgraded(t);
    QVERIFY(psx > 0);
    const QString folder = t.Path("roms/psx/");
    MakePlayStationFolder(folder);
    t.Exec("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)", {folder, psx});

    Scan(t, "PlayStation");
    QCOMPARE(Games(t, psx), QStringLiteral("Final Fantasy VII (USA).m3u (1); Ridge Racer (USA).cue (1); "
                                           "Tekken (USA).chd (1)"));
    QCOMPARE(t.Value("SELECT count(*) FROM MissingFiles").toInt(), 0);

    // A track gone: the game is missing, and says why.
    QVERIFY(QFile::remove(folder + "Track 02.bin"));
    const ScanSummary summary = Scan(t, "PlayStation");
    QCOMPARE(summary.gamesMissing, 1);
    QCOMPARE(Games(t, psx), QStringLiteral("Final Fantasy VII (USA).m3u (1); Ridge Racer (USA).cue (0); "
                                           "Tekken (USA).chd (1)"));
    const qint64 ridgeRacer = t.Value("SELECT GameID FROM Games WHERE FileName = 'Ridge Racer (USA).cue'").toLongLong();
    const QString reason = MissingFilesOf(t.Db(), ridgeRacer);
    QVERIFY2(reason.contains("Ridge Racer (USA).cue") && reason.contains("Track 02.bin"), qPrintable(reason));
    RecordingFeedback feedback;
    QCOMPARE(LoadGameDetails(t.Db(), feedback, ridgeRacer, {})->missingFiles, reason);

    // A disc of the playlist gone: the playlist's game is missing too.
    QVERIFY(QFile::remove(folder + "Final Fantasy VII (USA) (Disc 3).bin"));
    Scan(t, "PlayStation");
    QCOMPARE(Games(t, psx), QStringLiteral("Final Fantasy VII (USA).m3u (0); Ridge Racer (USA).cue (0); "
                                           "Tekken (USA).chd (1)"));

    // Whole again: available, and the notes are gone.
    QVERIFY(TouchFile(folder + "Track 02.bin"));
    QVERIFY(TouchFile(folder + "Final Fantasy VII (USA) (Disc 3).bin"));
    Scan(t, "PlayStation");
    QCOMPARE(Games(t, psx), QStringLiteral("Final Fantasy VII (USA).m3u (1); Ridge Racer (USA).cue (1); "
                                           "Tekken (USA).chd (1)"));
    QCOMPARE(t.Value("SELECT count(*) FROM MissingFiles").toInt(), 0);
  }

  void PlaylistFolders_data()
  {
    QTest::addColumn<QStringList>("files");  // below the ROM folder; .m3u files list what follows "|"
    QTest::addColumn<bool>("playlistFolders");
    QTest::addColumn<QStringList>("games");
    QTest::newRow("a folder named .m3u is its playlist's game")
        << QStringList{"Game.m3u/Game.m3u|d1.chd", "Game.m3u/d1.chd", "Game.m3u/bonus.chd"} << true
        << QStringList{"Game.m3u/Game.m3u"};
    QTest::newRow("a folder with one playlist: unlisted images are its game's")
        << QStringList{"Saga/Saga.m3u|disc1.chd", "Saga/disc1.chd", "Saga/extras/disc2.chd"} << true
        << QStringList{"Saga/Saga.m3u"};
    QTest::newRow("another game's sheet in that folder stays a game")
        << QStringList{"Saga/Saga.m3u|disc1.chd", "Saga/disc1.chd", "Saga/Other.cue|", "Saga/Other.bin"} << true
        << QStringList{"Saga/Other.cue", "Saga/Saga.m3u"};
    QTest::newRow("the ROM folder itself is no playlist folder")
        << QStringList{"Top.m3u|a.chd", "a.chd", "b.chd"} << true << QStringList{"Top.m3u", "b.chd"};
    QTest::newRow("without playlist folders only the listed discs go")
        << QStringList{"Saga/Saga.m3u|disc1.chd", "Saga/disc1.chd", "Saga/bonus.chd"} << false
        << QStringList{"Saga/Saga.m3u", "Saga/bonus.chd"};
  }

  void PlaylistFolders()
  {
    QFETCH(QStringList, files);
    QFETCH(bool, playlistFolders);
    QFETCH(QStringList, games);
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    QStringList found;
    for (const QString& file : files) {
      const QString name = file.section(QLatin1Char('|'), 0, 0);
      QByteArray content = file.section(QLatin1Char('|'), 1).toUtf8();
      if (name.endsWith(QStringLiteral(".cue")))
        content = Cue({QStringLiteral("Other.bin")});
      QVERIFY(TouchFile(root + name, content));
      found << root + name;
    }
    found.sort();
    GroupMultiFileGames(root, found, playlistFolders);
    QStringList names;
    for (const QString& path : found)
      names << path.mid(root.size());
    names.sort();
    QCOMPARE(names, games);
  }
};

QUILLON_TEST_CLASS(MultiFileScanTest)
#include "MultiFileScanTest.moc"
