// Reading the files cue, gdi and ccd sheets and m3u playlists name, as disc dumps write them.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/SheetFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// The named files by name (folder cut off), in the sheet's order.
QStringList Names(const QStringList& paths, const QString& folder)
{
  QStringList names;
  for (const QString& path : paths)
    names << QDir(folder).relativeFilePath(path);
  return names;
}

}  // namespace

class SheetFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void SheetsNameTheirFiles_data()
  {
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("present");  // files made beside the sheet
    QTest::addColumn<QStringList>("required");
    QTest::addColumn<QStringList>("missing");

    QTest::newRow("cue, quoted tracks, names unlike the sheet's")
        << "Game (USA).cue"
        << QByteArray(
               "FILE \"Track 01.bin\" BINARY\r\n  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n"
               "FILE \"Track 02.bin\" BINARY\r\n  TRACK 02 AUDIO\r\n")
        << QStringList{"Track 01.bin", "Track 02.bin"} << QStringList{"Track 01.bin", "Track 02.bin"} << QStringList{};
    QTest::newRow("cue, unquoted, lower-case keyword, a missing track")
        << "g.cue" << QByteArray("file g1.bin binary\nfile g (2).bin BINARY\n") << QStringList{"g1.bin"}
        << QStringList{"g1.bin", "g (2).bin"} << QStringList{"g (2).bin"};
    QTest::newRow("cue from another system: backslashes, letter case, byte order mark")
        << "d.cue"
        << QByteArray(
               "\xEF\xBB\xBF"
               "FILE \"sub\\TRACK 01.BIN\" BINARY\n")
        << QStringList{"sub/Track 01.bin"} << QStringList{"sub/Track 01.bin"} << QStringList{};
    QTest::newRow("gdi, quoted and plain names")
        << "disc.gdi"
        << QByteArray("3\n1 0 4 2352 track01.bin 0\n2 756 0 2352 \"track 02.raw\" 0\n3 45000 4 2352 track03.bin 0\n")
        << QStringList{"track01.bin", "track 02.raw", "track03.bin"}
        << QStringList{"track01.bin", "track 02.raw", "track03.bin"} << QStringList{};
    QTest::newRow("ccd names its image by its own name")
        << "Game.ccd" << QByteArray("[CloneCD]\nVersion=3\n") << QStringList{} << QStringList{"Game.img"}
        << QStringList{"Game.img"};
    QTest::newRow("m3u: comments skipped, a disc's tracks come along")
        << "Game.m3u" << QByteArray("#EXTM3U\n\nGame (Disc 1).cue\r\nGame (Disc 2).chd\n")
        << QStringList{"Game (Disc 1).cue", "Game (Disc 1).bin", "Game (Disc 2).chd"}
        << QStringList{"Game (Disc 1).cue", "Game (Disc 1).bin", "Game (Disc 2).chd"} << QStringList{};
    QTest::newRow("m3u: a disc that is gone") << "Two.m3u" << QByteArray("a.chd\nb.chd\n") << QStringList{"a.chd"}
                                              << QStringList{"a.chd", "b.chd"} << QStringList{"b.chd"};
  }

  void SheetsNameTheirFiles()
  {
    QFETCH(QString, sheet);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, present);
    QFETCH(QStringList, required);
    QFETCH(QStringList, missing);
    QTemporaryDir dir;
    QVERIFY(TouchFile(dir.filePath(sheet), text));
    for (const QString& file : present) {
      const QByteArray content =
          file.endsWith(QStringLiteral(".cue"))
              ? QByteArray("FILE \"") + QString(file).replace(".cue", ".bin").toUtf8() + "\" BINARY\n"
              : QByteArray();
      QVERIFY(TouchFile(dir.filePath(file), content));
    }
    const SheetFiles files = ReadSheetFiles(dir.filePath(sheet));
    QVERIFY(files.readable);
    QCOMPARE(Names(files.required, dir.path()), required);
    QCOMPARE(files.missing, missing);
  }

  // A playlist naming a playlist (or itself) is not followed: no chain can loop.
  void PlaylistsAreNotFollowedIntoPlaylists()
  {
    QTemporaryDir dir;
    QVERIFY(TouchFile(dir.filePath("a.m3u"), "b.m3u\na.m3u\n"));
    QVERIFY(TouchFile(dir.filePath("b.m3u"), "a.m3u\nx.chd\n"));
    const SheetFiles files = ReadSheetFiles(dir.filePath("a.m3u"));
    QCOMPARE(Names(files.required, dir.path()), (QStringList{"b.m3u", "a.m3u"}));
    QVERIFY(files.missing.isEmpty());
  }

  void OversizedOrUnreadableSheetIsNotRead()
  {
    QTemporaryDir dir;
    QVERIFY(TouchFile(dir.filePath("big.cue"), QByteArray(2 * 1024 * 1024, 'x')));
    QVERIFY(!ReadSheetFiles(dir.filePath("big.cue")).readable);
    QVERIFY(!ReadSheetFiles(dir.filePath("absent.cue")).readable);
  }
};

QUILLON_TEST_CLASS(SheetFilesTest)
#include "SheetFilesTest.moc"
