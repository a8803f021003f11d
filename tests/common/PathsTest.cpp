// The path routines: folder slashes, ROM extensions, existing files and the path forms handed to
// other programs.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class PathsTest : public QObject {
  Q_OBJECT

 private slots:
  void ExtensionsAreTakenExactly()
  {
    QCOMPARE(ExtensionList(QStringLiteral("zip")), QStringList{"zip"});
    QCOMPARE(ExtensionList(QStringLiteral("smc; sfc;;zip")), (QStringList{"smc", " sfc", "", "zip"}));
    QCOMPARE(ExtensionOf(QStringLiteral("Tetris.gb.zip")), QStringLiteral("zip"));
    QCOMPARE(ExtensionOf(QStringLiteral("noext")), QStringLiteral("noext"));
  }

  void FoldersAndFiles()
  {
    QCOMPARE(Check4Slash(QStringLiteral("/roms/snes")), QStringLiteral("/roms/snes/"));
    QCOMPARE(Check4Slash(QStringLiteral("/roms/snes/")), QStringLiteral("/roms/snes/"));
    QTemporaryDir dir;
    QVERIFY(TouchFile(dir.filePath(QStringLiteral("game.zip"))));
    QVERIFY(FileExists(dir.filePath(QStringLiteral("game.zip"))));
    QVERIFY(!FileExists(dir.path()));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(dir.filePath(QStringLiteral("other.zip"))));
  }

  void PathForms()
  {
    QTemporaryDir dir;
    QVERIFY(TouchFile(dir.filePath(QStringLiteral("a/game.zip"))));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("link"))));
    QCOMPARE(ShortName(dir.filePath(QStringLiteral("a/game.zip"))), dir.filePath(QStringLiteral("a/game.zip")));
    QVERIFY(ShortName(dir.filePath(QStringLiteral("nothing"))).isEmpty());
    QVERIFY(ShortName(QString()).isEmpty());
    QCOMPARE(GetLongPathName(dir.filePath(QStringLiteral("link/game.zip"))),
             QDir(dir.path()).canonicalPath() + QStringLiteral("/a/game.zip"));
    QVERIFY(GetLongPathName(dir.filePath(QStringLiteral("link/none.zip"))).isEmpty());
  }
};

QUILLON_TEST_CLASS(PathsTest)
#include "PathsTest.moc"
