// The front-end exports on a small catalogue with real files: golden files for each format, every
// output read back by the strict readers of tests/support/FrontendReaders, a second export that
// changes nothing, and the games and systems left out.
#include "FrontendReaders.h"
#include "FrontendScene.h"
#include "TestRegistry.h"

#include "catalogue/ReservedKeys.h"
#include "catalogue/SystemNames.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kSnesPlaylist = QStringLiteral("Nintendo - Super Nintendo Entertainment System.lpl");
const QString kGenesisPlaylist = QStringLiteral("Sega - Mega Drive - Genesis.lpl");

// The files a format writes for the two systems, below the destination, with their golden files.
QList<QPair<QString, QString>> WrittenFiles(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return {{"gamelists/snes/gamelist.xml", "esde-snes.xml"}, {"gamelists/genesis/gamelist.xml", "esde-genesis.xml"}};
    case FrontendFormat::Pegasus:
      return {{"snes/metadata.pegasus.txt", "pegasus-snes.txt"},
              {"genesis/metadata.pegasus.txt", "pegasus-genesis.txt"}};
    case FrontendFormat::RetroArch:
      return {{"playlists/" + kSnesPlaylist, "retroarch-snes.lpl"},
              {"playlists/" + kGenesisPlaylist, "retroarch-genesis.lpl"}};
  }
  return {};
}

// Compares with the golden file, the scene's folder written as @ROOT@; a difference leaves the
// actual text beside the build for a look.
void CompareGolden(const FrontendScene& scene, const QString& file, const QString& golden)
{
  QByteArray actual = ReadFile(file);
  actual.replace(scene.Root().toUtf8(), "@ROOT@");
  const QByteArray expected = ReadFile(TestDataPath(QStringLiteral("frontends/") + golden));
  if (actual != expected) {
    const QString saved = QDir::temp().filePath(QStringLiteral("quillon-golden-") + golden);
    QFile out(saved);
    if (out.open(QIODevice::WriteOnly))
      out.write(actual);
    QFAIL(qPrintable(QStringLiteral("%1 differs from its golden file; the output is in %2").arg(file, saved)));
  }
}

// Every file read back as its front-end reads it, with the pictures where it looks for them.
void VerifyWithReaders(FrontendFormat format, const FrontendScene& scene, const QString& dest)
{
  switch (format) {
    case FrontendFormat::Esde: {
      const EsdeGamelist snes = ReadEsdeGamelist(dest + "/gamelists/snes/gamelist.xml", scene.Path("roms/snes"));
      QVERIFY2(snes.errors.isEmpty(), qPrintable(snes.errors.join('\n')));
      QCOMPARE(snes.games.size(), 3);
      QVERIFY(QFileInfo::exists(dest + "/downloaded_media/snes/covers/Super Widget (USA).png"));
      QVERIFY(QFileInfo::exists(dest + "/downloaded_media/snes/covers/Old Timer (Japan).png"));
      const EsdeGamelist genesis = ReadEsdeGamelist(dest + "/gamelists/genesis/gamelist.xml", scene.Path("roms/gen"));
      QVERIFY2(genesis.errors.isEmpty(), qPrintable(genesis.errors.join('\n')));
      QVERIFY(QFileInfo::exists(dest + "/downloaded_media/genesis/covers/Sonic Thing (USA).jpg"));
      return;
    }
    case FrontendFormat::Pegasus:
      for (const QString system : {"snes", "genesis"}) {
        const PegasusMetadata metadata = ReadPegasusMetadata(dest + "/" + system + "/metadata.pegasus.txt");
        QVERIFY2(metadata.errors.isEmpty(), qPrintable(metadata.errors.join('\n')));
      }
      return;
    case FrontendFormat::RetroArch:
      for (const QString& playlist : {kSnesPlaylist, kGenesisPlaylist}) {
        const RetroArchPlaylistFile read = ReadRetroArchPlaylist(dest + "/playlists/" + playlist);
        QVERIFY2(read.errors.isEmpty(), qPrintable(read.errors.join('\n')));
      }
      for (const QString label : {"Super Widget", "Old Timer", "Sonic Thing (USA)"}) {
        const QString playlist = label.startsWith(QStringLiteral("Sonic")) ? kGenesisPlaylist : kSnesPlaylist;
        const QString boxart = RetroArchBoxartPath(dest + "/thumbnails", playlist, label);
        QVERIFY2(QImage(boxart).format() != QImage::Format_Invalid, qPrintable(boxart));
        QVERIFY(ReadFile(boxart).startsWith("\x89PNG"));
      }
      return;
  }
}

// A folder nobody may write into, and back; root needs the immutable attribute for it.
bool SetWritable(const QString& folder, bool writable)
{
  if (::geteuid() != 0) {
    const QFile::Permissions owner = QFile::ReadOwner | QFile::ExeOwner;
    return QFile::setPermissions(folder, writable ? owner | QFile::WriteOwner : owner);
  }
  return QProcess::execute(QStringLiteral("chattr"), {writable ? "-i" : "+i", folder}) == 0;
}

ino_t Inode(const QString& path)
{
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

}  // namespace

class FrontendExportTest : public QObject {
  Q_OBJECT

 private slots:
  void GoldenFilesPassTheReadersAndASecondExportChangesNothing_data()
  {
    QTest::addColumn<FrontendFormat>("format");
    QTest::newRow("ES-DE") << FrontendFormat::Esde;
    QTest::newRow("Pegasus") << FrontendFormat::Pegasus;
    QTest::newRow("RetroArch") << FrontendFormat::RetroArch;
  }

  void GoldenFilesPassTheReadersAndASecondExportChangesNothing()
  {
    QFETCH(FrontendFormat, format);
    FrontendScene scene(FrontendScene::Start::Golden);
    const QString dest = scene.Path("out");
    const QList<qint64> systems{kSnes, kGenesis, kCustom1};
    const FrontendExportResult first = scene.Export(format, systems, dest);
    QVERIFY2(first.Succeeded(), qPrintable(first.error));
    QCOMPARE(first.games, 5);
    QCOMPARE(first.pictures.copied + first.pictures.converted, 3);
    // The renamed custom system has no names of its own, and says so.
    QCOMPARE(first.leftOut.size(), 1);
    QCOMPARE(first.leftOut.first().system, QStringLiteral("My Homebrew"));
    QVERIFY(first.leftOut.first().reason.contains(QStringLiteral("has no %1 name").arg(FrontendName(format))));
    for (const auto& [file, golden] : WrittenFiles(format))
      CompareGolden(scene, dest + "/" + file, golden);
    VerifyWithReaders(format, scene, dest);

    QList<QByteArray> before;
    for (const auto& [file, golden] : WrittenFiles(format))
      before << ReadFile(dest + "/" + file);
    const FrontendExportResult second = scene.Export(format, systems, dest);
    QVERIFY(second.Succeeded());
    QCOMPARE(second.unchanged, second.files);
    QCOMPARE(second.pictures.current, 3);
    QCOMPARE(second.pictures.copied + second.pictures.converted, 0);
    for (int i = 0; i < before.size(); ++i)
      QCOMPARE(ReadFile(dest + "/" + WrittenFiles(format)[i].first), before[i]);
    // Nothing of the writing is left beside the files.
    const QStringList hidden = QDir(dest).entryList(QDir::Hidden | QDir::Files);
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(' ')));
  }

  void PegasusInTheRomFoldersUsesPathsBesideIt()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    const FrontendExportResult result = scene.Export(FrontendFormat::Pegasus, {kSnes}, QString());
    QVERIFY2(result.Succeeded(), qPrintable(result.error));
    const QString file = scene.Path("roms/snes/metadata.pegasus.txt");
    QCOMPARE(result.files, QStringList{file});
    const PegasusMetadata metadata = ReadPegasusMetadata(file);
    QVERIFY2(metadata.errors.isEmpty(), qPrintable(metadata.errors.join('\n')));
    const QList<PegasusEntry> games = metadata.Games();
    QCOMPARE(games.size(), 3);
    QCOMPARE(games[0].Value("file"), QStringLiteral("./sub/Bolt <&> Nut \"Deluxe\" (Europe).smc"));
    QCOMPARE(games[2].Value("assets.boxfront"), QStringLiteral("./media/boxFront/Super Widget (USA).png"));
    QCOMPARE(games[2].Text("description"),
             QStringLiteral("A widget hunts for bolts.\nSecond line.\n\nSecond paragraph."));
  }

  void AllGamesTakesTheUnticked()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    const FrontendExportResult result =
        scene.Export(FrontendFormat::RetroArch, {kSnes}, scene.Path("ra"), MediaMode::None, true);
    QCOMPARE(result.games, 4);
    QCOMPARE(result.pictures.copied + result.pictures.converted, 0);
    QVERIFY(!QFileInfo::exists(scene.Path("ra/thumbnails")));
  }

  void PicturesAreLinkedWhereTheFileSystemAllows()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    const FrontendExportResult result =
        scene.Export(FrontendFormat::Esde, {kSnes, kGenesis}, scene.Path("out"), MediaMode::Link);
    QVERIFY(result.Succeeded());
    // The PNG and the JPEG are linked; the BMP, which ES-DE does not read, is converted.
    QCOMPARE(result.pictures.linked, 2);
    QCOMPARE(result.pictures.converted, 1);
    QCOMPARE(Inode(scene.Path("out/downloaded_media/snes/covers/Super Widget (USA).png")),
             Inode(scene.Path("pics/snes/widget.png")));
    // A changed picture replaces the placed one at the next export.
    QImage changed(4, 4, QImage::Format_RGB32);
    changed.fill(Qt::black);
    QFile::remove(scene.Path("pics/snes/widget.png"));
    QVERIFY(changed.save(scene.Path("pics/snes/widget.png")));
    const FrontendExportResult again =
        scene.Export(FrontendFormat::Esde, {kSnes, kGenesis}, scene.Path("out"), MediaMode::Link);
    QCOMPARE(again.pictures.linked, 1);
    QCOMPARE(QImage(scene.Path("out/downloaded_media/snes/covers/Super Widget (USA).png")).size(), QSize(4, 4));
  }

  void PegasusWithoutCopiesPointsAtThePicturesWhereTheyAre()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    QVERIFY(QFile::remove(scene.Path("pics/gen/sonic.jpg")));
    const FrontendExportResult result =
        scene.Export(FrontendFormat::Pegasus, {kSnes, kGenesis}, scene.Path("out"), MediaMode::None);
    QVERIFY(result.Succeeded());
    const PegasusMetadata snes = ReadPegasusMetadata(scene.Path("out/snes/metadata.pegasus.txt"));
    QVERIFY2(snes.errors.isEmpty(), qPrintable(snes.errors.join('\n')));
    QCOMPARE(snes.Games().last().Value("assets.boxfront"), scene.Path("pics/snes/widget.png"));
    // A picture missing on disk is not named.
    const PegasusMetadata genesis = ReadPegasusMetadata(scene.Path("out/genesis/metadata.pegasus.txt"));
    QVERIFY(!genesis.Games().last().values.contains("assets.boxfront"));
    QVERIFY(!QFileInfo::exists(scene.Path("out/snes/media")));
  }

  void GamesThatCannotGoOutAreLeftOutWithTheReason()
  {
    FrontendScene scene;
    const qint64 snes = scene.AddRomFolder(kSnes, QStringLiteral("roms/snes"));
    scene.Db().Exec("UPDATE System SET DropRoms = 1 WHERE SystemID = 3");
    scene.AddGame(kSnes, snes, "Plain.sfc", "No Picture");
    const qint64 shown = scene.AddGame(kSnes, snes, "Shown.sfc", "Shown");
    scene.AddPicture(shown, "shown.png");
    // The same file twice, and a file stored outside every ROM folder.
    const qint64 twin = scene.AddGame(kSnes, snes, "Shown.sfc", "Twin");
    scene.AddPicture(twin, "twin.png");
    QVERIFY(TouchFile(scene.Path("elsewhere/Loose.sfc")));
    const qint64 loose = scene.AddGame(kSnes, snes, "Loose.sfc", "Loose");
    scene.Db().Exec("UPDATE Games SET FileName = ?, RomPath = NULL WHERE GameID = ?",
                    {scene.Path("elsewhere/Loose.sfc"), loose});
    scene.AddPicture(loose, "loose.png");

    const FrontendExportResult esde = scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("esde"));
    QCOMPARE(esde.games, 1);
    QStringList reasons;
    for (const LeftOut& out : esde.leftOut)
      reasons << out.game + ": " + out.reason;
    reasons.sort();
    QCOMPARE(reasons, QStringList({"Loose: its file lies outside the system's ROM folders",
                                   "No Picture: it has no picture, and the system leaves such games out",
                                   "Twin: its file is also that of \"Shown\""}));
    // RetroArch takes absolute paths: the loose file goes out there.
    const FrontendExportResult retroArch = scene.Export(FrontendFormat::RetroArch, {kSnes}, scene.Path("ra"));
    QCOMPARE(retroArch.games, 2);
    const RetroArchPlaylistFile read = ReadRetroArchPlaylist(scene.Path("ra/playlists/") + kSnesPlaylist);
    QVERIFY2(read.errors.isEmpty(), qPrintable(read.errors.join('\n')));
  }

  void SystemsSharingAFrontendNameShareItsFile()
  {
    FrontendScene scene;
    const qint64 arcade = scene.AddRomFolder(1, QStringLiteral("roms/arcade"));
    const qint64 zinc = scene.AddRomFolder(kZincSystemId, QStringLiteral("roms/zinc"));
    scene.AddGame(1, arcade, "sfex.zip", "Arcade Fighter");
    scene.AddGame(1, arcade, "pacman.zip", "Pac");
    scene.AddGame(kZincSystemId, zinc, "sfex.zip", "Zinc Fighter");
    scene.AddGame(kZincSystemId, zinc, "tgmj.zip", "Tetris");
    const FrontendExportResult esde = scene.Export(FrontendFormat::Esde, {1, kZincSystemId}, scene.Path("esde"));
    QVERIFY(esde.Succeeded());
    QCOMPARE(esde.files, QStringList{scene.Path("esde/gamelists/arcade/gamelist.xml")});
    QCOMPARE(esde.games, 3);
    QCOMPARE(esde.leftOut.size(), 1);
    QCOMPARE(esde.leftOut[0].reason, QStringLiteral("its entry would be that of \"Arcade Fighter\""));
    // A playlist holds full paths: all four go in, each with its own system's core.
    scene.Db().Exec("UPDATE System SET RetroArchCore = '/cores/quillon_test_libretro.so' WHERE SystemID = 1");
    const FrontendExportResult ra = scene.Export(FrontendFormat::RetroArch, {1, kZincSystemId}, scene.Path("ra"));
    QCOMPARE(ra.games, 4);
    const RetroArchPlaylistFile read = ReadRetroArchPlaylist(scene.Path("ra/playlists/MAME.lpl"));
    QVERIFY2(read.errors.isEmpty(), qPrintable(read.errors.join('\n')));
    QCOMPARE(read.items[0].coreName, QStringLiteral("quillon_test"));
    QCOMPARE(read.items[3].corePath, QStringLiteral("DETECT"));
  }

  void NothingToExportFails()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    scene.Db().Exec("UPDATE Games SET Selected = 0");
    const FrontendExportResult result = scene.Export(FrontendFormat::Esde, {kSnes, kCustom1}, scene.Path("out"));
    QVERIFY(!result.Succeeded());
    QVERIFY(result.error.contains("no ticked, available games in SNES"));
    QVERIFY(result.error.contains("My Homebrew: it has no ES-DE name"));
    QVERIFY(!QFileInfo::exists(scene.Path("out")));
  }

  void UnwritableDestinationFailsAndLeavesEarlierFiles()
  {
    FrontendScene scene(FrontendScene::Start::Golden);
    const QString dest = scene.Path("out");
    QVERIFY(scene.Export(FrontendFormat::RetroArch, {kSnes, kGenesis}, dest).Succeeded());
    const QString folder = dest + "/playlists";
    const QString playlist = folder + "/" + kSnesPlaylist;
    const QByteArray before = ReadFile(playlist);
    scene.Db().Exec("UPDATE Games SET FullName = 'Renamed' WHERE FileName = 'Super Widget (USA).sfc'");
    if (!SetWritable(folder, false))
      QSKIP("this user cannot make a folder read-only");
    const FrontendExportResult result = scene.Export(FrontendFormat::RetroArch, {kSnes, kGenesis}, dest);
    QVERIFY(SetWritable(folder, true));
    QVERIFY(!result.Succeeded());
    QVERIFY2(result.error.contains(QStringLiteral("is not writable")), qPrintable(result.error));
    QVERIFY(scene.Feedback().HasError());
    QCOMPARE(ReadFile(playlist), before);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A file where the folder should be.
    QVERIFY(TouchFile(scene.Path("blocked")));
    const FrontendExportResult blocked = scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("blocked/esde"));
    QVERIFY(!blocked.Succeeded());
    QVERIFY2(blocked.error.contains("gamelist.xml: the folder cannot be made"), qPrintable(blocked.error));
  }
};

QUILLON_TEST_CLASS(FrontendExportTest)
#include "FrontendExportTest.moc"
