// Starting a stand-in emulator.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/EmulatorLaunch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class EmulatorLaunchTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsTheEmulatorWithTheRomAsOneArgument()
  {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("my emus"));
    const QString emulator = folder + QStringLiteral("/fake-emu");
    const QString record = dir.filePath(QStringLiteral("args.txt"));
    QVERIFY(TouchFile(emulator,
                      "#!/bin/sh\n{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > '" + record.toUtf8() + "'\n"));
    QVERIFY(QFile::setPermissions(emulator, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString rom = dir.filePath(QStringLiteral("roms/Bob's \"Game\"; rm -rf (U).smc"));
    QVERIFY(TouchFile(rom));
    // Options holding paths are fine once the program itself is found on disk.
    const LaunchPlan plan = PlanLaunch(emulator + QStringLiteral(" -cfg \"/etc/emu cfg\" -f"), rom);
    QCOMPARE(plan.program, emulator);
    QCOMPARE(plan.arguments, (QStringList{"-cfg", "/etc/emu cfg", "-f", rom}));
    QCOMPARE(plan.workingFolder, folder);

    RecordingFeedback feedback;
    QVERIFY(LaunchGame(plan, feedback));
    QCOMPARE(feedback.StatusLines(), (QStringList{"Status: Loading emulator...", "Status: Done."}));
    const QString expected = QDir(folder).canonicalPath() + "\n[-cfg]\n[/etc/emu cfg]\n[-f]\n[" + rom + "]\n";
    auto recorded = [&record] {
      QFile file(record);
      return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QTRY_COMPARE(recorded(), expected);
  }

  void MissingEmulatorOrRomIsReported()
  {
    RecordingFeedback feedback;
    QVERIFY(!LaunchGame(PlanLaunch(QStringLiteral("/no/such/emulator -f"), QStringLiteral("/roms/a.smc")), feedback));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Error - Check emulator and/or rom path."));
    QVERIFY(!LaunchGame(PlanLaunch(QStringLiteral("/bin/true"), QString()), feedback));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Error - Check emulator and/or rom path."));

    TestCatalogue t;
    const qint64 roms = InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/"));
    const qint64 inFolder =
        TestGame(kSnes, QStringLiteral("A")).File(QStringLiteral("a.smc")).Folder(roms).Insert(t.Db());
    const qint64 noFolder = TestGame(kSnes, QStringLiteral("B")).File(QStringLiteral("b.smc")).Insert(t.Db());
    QCOMPARE(RomArgument(t.Db(), feedback, inFolder), QStringLiteral("/roms/a.smc"));
    QVERIFY(RomArgument(t.Db(), feedback, noFolder).isEmpty());
  }
};

QUILLON_TEST_CLASS(EmulatorLaunchTest)
#include "EmulatorLaunchTest.moc"
