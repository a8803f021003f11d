// Editing a system's settings and ROM folders.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "settings/SystemOptions.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

class SystemOptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void ValuesAreStoredInTheirColumnsForm()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("timeout"), QStringLiteral("0")));
    QCOMPARE(t.Value(QStringLiteral("SELECT TimeOut FROM System WHERE SystemID = 3")).toInt(), 1);
    QVERIFY(SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("Recurse"), QStringLiteral("no")));
    QCOMPARE(t.Value(QStringLiteral("SELECT Recurse FROM System WHERE SystemID = 3")).toInt(), 0);
    QVERIFY(SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("DefaultImagePath"), QStringLiteral("/pics/snes")));
    QCOMPARE(t.Value(QStringLiteral("SELECT DefaultImagePath FROM System WHERE SystemID = 3")).toString(),
             QStringLiteral("/pics/snes/"));
    QVERIFY(SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("DefaultImagePath"), QString()));
    QVERIFY(t.Value(QStringLiteral("SELECT DefaultImagePath FROM System WHERE SystemID = 3")).isNull());
    QVERIFY(!feedback.HasError());

    // Wrong values and columns are refused with a report, and change nothing.
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("ImageLimit"), QStringLiteral("lots")));
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("SystemID"), QStringLiteral("9")));
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("System"), QStringLiteral("arcade")));
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("System"), QString()));
    QCOMPARE(feedback.ErrorLines().size(), 4);
    QCOMPARE(t.Value(QStringLiteral("SELECT System FROM System WHERE SystemID = 3")).toString(),
             QStringLiteral("SNES"));
    QVERIFY(SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("System"), QStringLiteral("Super Nintendo")));
    QCOMPARE(SystemIdByName(t.Db(), feedback, QStringLiteral("super nintendo")).value_or(0), 3);
    QVERIFY(!SystemIdByName(t.Db(), feedback, QStringLiteral("SNES")));
  }

  void RemovingARomFolderTakesItsGamesOutOfAvailability()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(AddRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes")));
    QVERIFY(!AddRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes/")));
    QVERIFY(AddRomPath(t.Db(), feedback, 3, QStringLiteral("/more/snes/")));
    // The same folder for another system is that system's own.
    QVERIFY(AddRomPath(t.Db(), feedback, 2, QStringLiteral("/roms/snes/")));
    QCOMPARE(RomPathsOf(t.Db(), feedback, 3), (QStringList{"/roms/snes/", "/more/snes/"}));
    const int snesPath =
        t.Value(QStringLiteral("SELECT PathID FROM RomPath WHERE System = 3 AND RomPath = '/roms/snes/'")).toInt();
    const int morePath = t.Value(QStringLiteral("SELECT PathID FROM RomPath WHERE RomPath = '/more/snes/'")).toInt();
    const int genesisPath = t.Value(QStringLiteral("SELECT PathID FROM RomPath WHERE System = 2")).toInt();
    t.Exec(QStringLiteral("INSERT INTO Games (GameID, FileName, System, RomPath, Available) VALUES "
                          "(1, 'a.smc', 3, ?, 1), (2, 'b.smc', 3, ?, 1), (3, 'c.bin', 2, ?, 1)"),
           {snesPath, morePath, genesisPath});
    QVERIFY(RemoveRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes/")));
    QVERIFY(!RemoveRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes/")));
    QVERIFY(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = 1")).isNull());
    QCOMPARE(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = 2")).toInt(), morePath);
    QCOMPARE(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = 3")).toInt(), genesisPath);
    QCOMPARE(RomPathsOf(t.Db(), feedback, 3), QStringList{"/more/snes/"});
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(SystemOptionsTest)
#include "SystemOptionsTest.moc"
