// The GoodTools passes with stand-in tools: shell scripts that rename files the way the real
// programs do and leave the same kind of files behind.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/DataFolder.h"
#include "scan/GoodTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Tags every untagged .smc file of the working folder as a USA release and writes its lists.
const QByteArray kStandInTool =
    "#!/bin/sh\n"
    "[ \"$1\" = rename ] || exit 3\n"
    "for f in *.smc; do\n"
    "  [ -e \"$f\" ] || continue\n"
    "  case \"$f\" in *'(U)'*) ;; *) mv \"$f\" \"${f%.smc} (U) [!].smc\" ;; esac\n"
    "done\n"
    "echo have > SNESHave.txt; echo miss > SNESMiss.txt; : > goodSNES.db\n"
    "[ -e gamelist.ini ] || : > gamelist.ini\n";

bool WriteExecutable(const QString& path, const QByteArray& content)
{
  if (!TouchFile(path, content))
    return false;
  return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void InstallStandInTool(const DataFolder& folder)
{
  QVERIFY(WriteExecutable(GoodToolsProgram(folder, QStringLiteral("SNES")), kStandInTool));
  QVERIFY(TouchFile(folder.CfgFolder() + QStringLiteral("goodinfo.cfg"), "cfg"));
}

QStringList FilesIn(const QString& folder)
{
  QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  names.sort();
  return names;
}

}  // namespace

class GoodToolsTest : public QObject {
  Q_OBJECT

 private slots:
  void PassesApplyOnlyWhereRenamingIsWanted()
  {
    QVERIFY(BatchPassApplies(QStringLiteral("SNES"), false, false));
    QVERIFY(!BatchPassApplies(QStringLiteral("Arcade"), false, false));
    QVERIFY(!BatchPassApplies(QStringLiteral("SNES"), true, false));
    QVERIFY(!BatchPassApplies(QStringLiteral("SNES"), false, true));
  }

  void BatchPassRenamesInPlaceAndCleansUpOnlyItsOwnFiles()
  {
    QTemporaryDir data;
    const DataFolder folder(data.path());
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    InstallStandInTool(folder);
    QTemporaryDir roms;
    const QString root = roms.path() + QLatin1Char('/');
    QVERIFY(TouchFile(root + "Top Game.smc"));
    QVERIFY(TouchFile(root + "sub/Mario.smc"));
    QVERIFY(TouchFile(root + "sub/deeper/Zelda.smc"));
    // The user's own file of a name the tool also writes must survive the clean-up.
    QVERIFY(TouchFile(root + "sub/gamelist.ini", "mine"));

    RecordingFeedback feedback;
    const QStringList romFolders{root + "sub/", root + "sub/deeper/"};
    const BatchPassResult pass = RunBatchPass(folder, QStringLiteral("SNES"), romFolders, feedback);
    QVERIFY(QFile::exists(root + "sub/Mario (U) [!].smc"));
    QVERIFY(QFile::exists(root + "sub/deeper/Zelda (U) [!].smc"));
    // The scan learns which files were renamed, so their games follow.
    QCOMPARE(pass.renamedFrom.size(), 2);
    QCOMPARE(pass.renamedFrom.value(root + "sub/Mario (U) [!].smc"), root + "sub/Mario.smc");
    QCOMPARE(pass.renamedFrom.value(root + "sub/deeper/Zelda (U) [!].smc"), root + "sub/deeper/Zelda.smc");
    // Files directly in the ROM folder are not part of the pass.
    QVERIFY(QFile::exists(root + "Top Game.smc"));
    QCOMPARE(feedback.progressMaximum, 1);

    CleanUpBatchPass(pass.leftovers);
    QCOMPARE(FilesIn(root + "sub/"), (QStringList{"Mario (U) [!].smc", "gamelist.ini"}));
    QCOMPARE(FilesIn(root + "sub/deeper/"), QStringList{"Zelda (U) [!].smc"});
    QFile mine(root + "sub/gamelist.ini");
    QVERIFY(mine.open(QIODevice::ReadOnly));
    QCOMPARE(mine.readAll(), QByteArray("mine"));
  }

  void MissingToolLeavesNamesAlone()
  {
    QTemporaryDir data;
    const DataFolder folder(data.path());
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    QTemporaryDir roms;
    QVERIFY(TouchFile(roms.filePath(QStringLiteral("sub/Mario.smc"))));
    RecordingFeedback feedback;
    const BatchPassResult pass =
        RunBatchPass(folder, QStringLiteral("SNES"), {roms.path() + QStringLiteral("/sub/")}, feedback);
    QVERIFY(pass.renamedFrom.isEmpty());
    CleanUpBatchPass(pass.leftovers);
    QCOMPARE(FilesIn(roms.path() + QStringLiteral("/sub/")), QStringList{"Mario.smc"});
    QCOMPARE(RunPerFilePass(folder, QStringLiteral("SNES"), roms.filePath(QStringLiteral("sub/Mario.smc")), feedback),
             QStringLiteral("Mario.smc"));
    QVERIFY(!feedback.HasError());
  }

  void PerFilePassRenamesACopyAndNeverAStrayFile()
  {
    QTemporaryDir data;
    const DataFolder folder(data.path());
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    InstallStandInTool(folder);
    QTemporaryDir roms;
    const QString rom = roms.filePath(QStringLiteral("Mario.smc"));
    QVERIFY(TouchFile(rom, "rom bytes"));
    // Left over from an earlier run: must not be taken for the new name.
    QVERIFY(TouchFile(folder.TempFolder() + QStringLiteral("goodtools/Aaa (E).smc")));
    QVERIFY(TouchFile(folder.TempFolder() + QStringLiteral("Aaa (J).smc")));

    RecordingFeedback feedback;
    QCOMPARE(RunPerFilePass(folder, QStringLiteral("SNES"), rom, feedback), QStringLiteral("Mario (U) [!].smc"));
    QCOMPARE(RunPerFilePass(folder, QStringLiteral("SNES"), rom, feedback), QStringLiteral("Mario (U) [!].smc"));
    // The user's file keeps its name and content.
    QCOMPARE(FilesIn(roms.path()), QStringList{"Mario.smc"});
    // Only the tools stay in the working folder for the next file.
    QCOMPARE(FilesIn(folder.TempFolder() + QStringLiteral("goodtools/")),
             (QStringList{"goodSNES.exe", "goodinfo.cfg"}));

    CleanUpTempFolder(folder);
    QVERIFY(FilesIn(folder.TempFolder()).isEmpty());
    QVERIFY(FilesIn(folder.TempFolder() + QStringLiteral("goodtools/")).isEmpty());
    QVERIFY(QFileInfo(folder.TempImagesFolder()).isDir());
  }
};

QUILLON_TEST_CLASS(GoodToolsTest)
#include "GoodToolsTest.moc"
