// Files the front-ends write themselves: an export merges into them and keeps what the user did
// there (play counts, favourites, entries and settings of their own), or leaves alone a file it
// cannot take over.
#include "FrontendReaders.h"
#include "FrontendScene.h"
#include "TestRegistry.h"

#include <QJsonArray>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kSnesPlaylist = QStringLiteral("Nintendo - Super Nintendo Entertainment System.lpl");

QByteArray Rooted(const FrontendScene& scene, QByteArray text)
{
  return text.replace("@ROOT@", scene.Root().toUtf8());
}

}  // namespace

class FrontendMergeTest : public QObject {
  Q_OBJECT

 private slots:
  void EsdeKeepsForeignEntriesAndFields()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    QVERIFY(TouchFile(scene.Path("roms/snes/Mine.sfc")));
    const QString gamelist = scene.Path("esde/gamelists/snes/gamelist.xml");
    // What ES-DE and its scraper wrote: an alternative emulator, a game of the user's own, and for
    // one of ours (by its absolute path) play data, a scraped date and an old name.
    QVERIFY(TouchFile(gamelist, Rooted(scene, R"(<?xml version="1.0"?>
<alternativeEmulator>
	<label>Snes9x - Current</label>
</alternativeEmulator>
<gameList>
	<!-- kept by hand -->
	<game>
		<path>./Mine.sfc</path>
		<name>My Own Hack</name>
		<favorite>true</favorite>
	</game>
	<game id="1234" source="ScreenScraper">
		<path>@ROOT@/roms/snes/Old Timer (Japan).sfc</path>
		<name>Old Name</name>
		<releasedate>19650301T000000</releasedate>
		<playcount>7</playcount>
		<lastplayed>20240101T120000</lastplayed>
		<hidden>false</hidden>
	</game>
	<folder>
		<path>./sub</path>
		<name>Extras</name>
	</folder>
</gameList>
)")));
    const FrontendExportResult result = scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("esde"));
    QVERIFY2(result.Succeeded(), qPrintable(result.error));
    const QByteArray merged = ReadFile(gamelist);
    QVERIFY(merged.contains("<alternativeEmulator>\n\t<label>Snes9x - Current</label>\n</alternativeEmulator>"));
    QVERIFY(merged.contains("<!-- kept by hand -->"));
    QVERIFY(merged.contains("<game id=\"1234\" source=\"ScreenScraper\">"));
    QVERIFY(merged.contains("<folder>\n\t\t<path>./sub</path>"));

    const EsdeGamelist read = ReadEsdeGamelist(gamelist, scene.Path("roms/snes"));
    QVERIFY2(read.errors.filter("does not start with ./").size() == 1, qPrintable(read.errors.join('\n')));
    QCOMPARE(read.topLevel, QStringList({"alternativeEmulator", "gameList"}));
    QCOMPARE(read.games.size(), 4);
    QCOMPARE(read.games[0].fields.value("name"), QStringLiteral("My Own Hack"));
    QCOMPARE(read.games[0].fields.value("favorite"), QStringLiteral("true"));
    // Our entry in its old place: our name, their play data, and their date where we know none.
    const EsdeEntry& old = read.games[1];
    QCOMPARE(old.fields.value("name"), QStringLiteral("Old Timer"));
    QCOMPARE(old.fields.value("playcount"), QStringLiteral("7"));
    QCOMPARE(old.fields.value("lastplayed"), QStringLiteral("20240101T120000"));
    QCOMPARE(old.fields.value("releasedate"), QStringLiteral("19650301T000000"));
    QCOMPARE(read.games[2].path, QStringLiteral("./sub/Bolt <&> Nut \"Deluxe\" (Europe).smc"));

    // Again: nothing changes.
    QVERIFY(scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("esde")).unchanged.contains(gamelist));
    QCOMPARE(ReadFile(gamelist), merged);
  }

  // A file of the front-end's that the export cannot take over is left as it is, and says so;
  // the other system still goes out.
  void AFileItCannotTakeOverIsLeftAlone_data()
  {
    QTest::addColumn<FrontendFormat>("format");
    QTest::addColumn<QString>("file");  // below the scene; "out" the export's destination
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    const QString gamelist = QStringLiteral("out/gamelists/snes/gamelist.xml");
    const QString unreadable = QStringLiteral("was left as it is");
    QTest::newRow("ES-DE, broken XML") << FrontendFormat::Esde << gamelist
                                       << QByteArray("<gameList><game><path>./a</path></gameList>") << unreadable;
    QTest::newRow("ES-DE, another root") << FrontendFormat::Esde << gamelist << QByteArray("<systemList />")
                                         << unreadable;
    QTest::newRow("ES-DE, unknown entity")
        << FrontendFormat::Esde << gamelist << QByteArray("<gameList>&nbsp;</gameList>") << unreadable;
    QTest::newRow("RetroArch, old line format")
        << FrontendFormat::RetroArch << "out/playlists/" + kSnesPlaylist
        << QByteArray("/roms/a.sfc\nA\nDETECT\nDETECT\nDETECT\nsnes.lpl\n") << QStringLiteral("old line format");
    QTest::newRow("Pegasus, the user's own")
        << FrontendFormat::Pegasus << "roms/snes/metadata.pegasus.txt"
        << QByteArray("collection: My SNES\nextensions: sfc\n") << QStringLiteral("was not written by Quillon");
  }

  void AFileItCannotTakeOverIsLeftAlone()
  {
    QFETCH(FrontendFormat, format);
    QFETCH(QString, file);
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    FrontendScene scene(FrontendScene::Start::Golden);
    QVERIFY(TouchFile(scene.Path(file), content));
    const QString destination = format == FrontendFormat::Pegasus ? QString() : scene.Path("out");
    const FrontendExportResult result = scene.Export(format, {kSnes, kGenesis}, destination);
    QVERIFY(!result.Succeeded());
    QVERIFY2(result.error.contains(error), qPrintable(result.error));
    QCOMPARE(ReadFile(scene.Path(file)), content);
    QCOMPARE(result.games, 2);
  }

  void RetroArchKeepsSettingsEntriesAndChosenCores()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    QVERIFY(TouchFile(scene.Path("roms/snes/Mine.sfc")));
    const QString playlist = scene.Path("ra/playlists/") + kSnesPlaylist;
    QVERIFY(TouchFile(playlist, Rooted(scene,
                                       "\xEF\xBB\xBF"
                                       R"({
  "version": "1.5",
  "default_core_path": "/cores/snes9x_libretro.so",
  "default_core_name": "Snes9x",
  "label_display_mode": 3,
  "right_thumbnail_mode": 4,
  "left_thumbnail_mode": 0,
  "sort_mode": 2,
  "scan_content_dir": "@ROOT@/roms/snes",
  "items": [
    {"path": "@ROOT@/roms/snes/Mine.sfc", "label": "Mine", "core_path": "DETECT", "core_name": "DETECT",
     "crc32": "", "db_name": "Nintendo - Super Nintendo Entertainment System.lpl"},
    {"path": "@ROOT@/roms/snes/Old Timer (Japan).sfc#Old Timer (Japan).sfc", "label": "Old", "entry_slot": 2,
     "core_path": "/cores/bsnes_libretro.so", "core_name": "bsnes", "crc32": "1A2B3C4D|crc",
     "db_name": "Nintendo - Super Nintendo Entertainment System.lpl"}
  ]
}
)")));
    const FrontendExportResult result = scene.Export(FrontendFormat::RetroArch, {kSnes}, scene.Path("ra"));
    QVERIFY2(result.Succeeded(), qPrintable(result.error));
    const RetroArchPlaylistFile read = ReadRetroArchPlaylist(playlist);
    QVERIFY2(read.errors.isEmpty(), qPrintable(read.errors.join('\n')));
    QCOMPARE(read.root.value("default_core_name").toString(), QStringLiteral("Snes9x"));
    QCOMPARE(read.root.value("label_display_mode").toInt(), 3);
    QCOMPARE(read.root.value("sort_mode").toInt(), 2);
    QCOMPARE(read.root.value("scan_content_dir").toString(), scene.Path("roms/snes"));
    QCOMPARE(read.items.size(), 4);
    QCOMPARE(read.items[0].label, QStringLiteral("Mine"));
    // An entry of the user's own is not touched.
    QCOMPARE(read.items[0].crc32, QString());
    // The scanner's entry of an archive member is ours: our label, its core and checksum.
    QCOMPARE(read.items[1].label, QStringLiteral("Old Timer"));
    QCOMPARE(read.items[1].corePath, QStringLiteral("/cores/bsnes_libretro.so"));
    QCOMPARE(read.items[1].crc32, QStringLiteral("1A2B3C4D|crc"));
    QCOMPARE(read.root.value("items").toArray()[1].toObject().value("entry_slot").toInt(), 2);

    // A core chosen for the system wins over the entry's.
    QVERIFY(TouchFile(scene.Path("cores/snes9x_libretro.info"), "display_name = \"Nintendo - SNES (Snes9x)\"\n"));
    scene.Db().Exec("UPDATE System SET RetroArchCore = ? WHERE SystemID = 3", {scene.Path("cores/snes9x_libretro.so")});
    QVERIFY(scene.Export(FrontendFormat::RetroArch, {kSnes}, scene.Path("ra")).Succeeded());
    const RetroArchPlaylistFile again = ReadRetroArchPlaylist(playlist);
    QCOMPARE(again.items[1].corePath, scene.Path("cores/snes9x_libretro.so"));
    QCOMPARE(again.items[2].coreName, QStringLiteral("Nintendo - SNES (Snes9x)"));
    QCOMPARE(again.items[0].corePath, QStringLiteral("DETECT"));
  }

  void PegasusRewritesItsOwnFile()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    QVERIFY(scene.Export(FrontendFormat::Pegasus, {kSnes}, QString()).Succeeded());
    scene.Db().Exec("UPDATE Games SET FullName = 'Renamed' WHERE FileName = 'Old Timer (Japan).sfc'");
    QVERIFY(scene.Export(FrontendFormat::Pegasus, {kSnes}, QString()).Succeeded());
    QVERIFY(ReadFile(scene.Path("roms/snes/metadata.pegasus.txt")).contains("game: Renamed\n"));
  }
};

QUILLON_TEST_CLASS(FrontendMergeTest)
#include "FrontendMergeTest.moc"
