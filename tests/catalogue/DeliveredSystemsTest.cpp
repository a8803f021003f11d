// Today's systems reach catalogues of every age without disturbing what the user has.
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/DeliveredSystems.h"
#include "catalogue/StructureUpgrade.h"
#include "catalogue/SystemNames.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

void Upgrade(TestCatalogue& t)
{
  RecordingFeedback feedback;
  SilentUpgradeDisplay display;
  UpdateDb(t.Db(), feedback, display);
  QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
}

// SystemID=System of every system, by key.
QString KeysAndNames(TestCatalogue& t)
{
  return t.Value("SELECT group_concat(SystemID || '=' || System, ';') FROM (SELECT * FROM System ORDER BY SystemID)")
      .toString();
}

const QString kMameHash = QStringLiteral("/usr/share/games/mame/hash/");

}  // namespace

class DeliveredSystemsTest : public QObject {
  Q_OBJECT

 private slots:
  // A catalogue of today: custom systems renamed by the user, one to "NES" and one to
  // "playstation"; Zinc already there. The step adds the rest once, behind every existing key.
  void UpgradeKeepsEveryExistingSystemAndKey()
  {
    TestCatalogue t;
    t.Exec("UPDATE System SET System = 'NES', DefaultRomType = 'nes', EnableTab = 1 WHERE SystemID = 29");
    t.Exec("UPDATE System SET System = 'playstation' WHERE SystemID = 30");
    t.Exec("UPDATE System SET System = 'My Homebrew' WHERE SystemID = 31");
    t.Exec("INSERT INTO Games (FullName, FileName, System) VALUES ('Widget', 'widget.nes', 29)");
    const QString before = KeysAndNames(t);

    Upgrade(t);
    const QString after = KeysAndNames(t);
    // Zinc comes as key 34; the first 33 rows are exactly as they were.
    QVERIFY2(after.startsWith(before + QStringLiteral(";34=Zinc;")), qPrintable(after));
    QCOMPARE(t.Value("SELECT count(*) FROM System").toInt(), 34 + int(DeliveredSystems().size()) - 2);
    QCOMPARE(t.Value("SELECT count(*) FROM System WHERE System = 'NES' COLLATE NOCASE").toInt(), 1);
    QCOMPARE(t.Value("SELECT count(*) FROM System WHERE System = 'PlayStation' COLLATE NOCASE").toInt(), 1);
    QCOMPARE(t.Value("SELECT DefaultRomType FROM System WHERE SystemID = 29").toString(), QStringLiteral("nes"));
    QCOMPARE(t.Value("SELECT count(*) FROM Games WHERE System = 29").toInt(), 1);
    QCOMPARE(t.Value("SELECT count(*) FROM (SELECT lower(System) FROM System GROUP BY lower(System) "
                     "HAVING count(*) > 1)")
                 .toInt(),
             0);
    // New systems come without a tab, with the settings a delivered system starts with.
    QCOMPARE(t.Value("SELECT count(*) FROM System WHERE SystemID > 34 AND (EnableTab <> 0 OR dAutoDL IS NOT 100 OR "
                     "dTimeOut IS NOT 10 OR Recurse IS NOT 1 OR ImageLimit IS NOT 3)")
                 .toInt(),
             0);

    // A second run (the step's record lost) adds nothing.
    t.Exec("DELETE FROM Upgrades WHERE Step = 16");
    Upgrade(t);
    QCOMPARE(KeysAndNames(t), after);
  }

  void NewSystemsCarryTheirNames_data()
  {
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("extensions");
    QTest::addColumn<QString>("esde");
    QTest::addColumn<QString>("retroArch");
    QTest::addColumn<QStringList>("lists");
    QTest::newRow("PlayStation") << "PlayStation"
                                 << "cue;ccd;m3u;chd;pbp;iso"
                                 << "psx"
                                 << "Sony - PlayStation" << QStringList{"psx"};
    QTest::newRow("Game Boy Color") << "Game Boy Color"
                                    << "gbc;zip"
                                    << "gbc"
                                    << "Nintendo - Game Boy Color" << QStringList{"gbcolor"};
    QTest::newRow("Mega-CD") << "Sega CD / Mega-CD"
                             << "cue;m3u;chd;iso"
                             << "segacd"
                             << "Sega - Mega-CD - Sega CD" << QStringList{"segacd", "megacd", "megacdj"};
    QTest::newRow("GameCube, no list") << "GameCube"
                                       << "m3u;iso;rvz;gcz;ciso"
                                       << "gc"
                                       << "Nintendo - GameCube" << QStringList{};
  }

  void NewSystemsCarryTheirNames()
  {
    QFETCH(QString, system);
    QFETCH(QString, extensions);
    QFETCH(QString, esde);
    QFETCH(QString, retroArch);
    QFETCH(QStringList, lists);
    TestCatalogue t;
    Upgrade(t);
    const qint64 key = t.Value("SELECT SystemID FROM System WHERE System = ?", {system}).toLongLong();
    QVERIFY(key > 34);
    QCOMPARE(t.Value("SELECT DefaultRomType FROM System WHERE SystemID = ?", {key}).toString(), extensions);
    RecordingFeedback feedback;
    const std::optional<SystemNames> names = SystemNamesOf(t.Db(), feedback, key);
    QVERIFY(names);
    QCOMPARE(names->esde, esde);
    QCOMPARE(names->retroArch, retroArch);
    QCOMPARE(names->softwareLists, lists);
    // A renamed system keeps its names: they are in its row, not found by its name.
    t.Exec("UPDATE System SET System = 'Mine' WHERE SystemID = ?", {key});
    QCOMPARE(SystemNamesOf(t.Db(), feedback, key)->esde, esde);
  }

  // Every software list named is one Mame ships (Debian's mame-data lists).
  void SoftwareListsExistInMame()
  {
    if (!QFileInfo(kMameHash).isDir())
      QSKIP("Mame's software lists are not installed");
    for (const DeliveredSystem& system : DeliveredSystems()) {
      for (const QString& list : SoftwareListNames(QString::fromUtf8(system.softwareLists)))
        QVERIFY2(QFileInfo::exists(kMameHash + list + QStringLiteral(".xml")), qPrintable(system.name + (": " + list)));
    }
  }

  // The step adds the table of missing-file notes; deleting a game deletes its note.
  void MissingFileNotesGoWithTheirGame()
  {
    TestCatalogue t;
    Upgrade(t);
    t.Exec("INSERT INTO Games (FullName, FileName, System) VALUES ('Disc', 'disc.cue', 35)");
    const qint64 game = t.Value("SELECT max(GameID) FROM Games").toLongLong();
    t.Exec("INSERT INTO MissingFiles (GameID, Reason) VALUES (?, 'gone')", {game});
    t.Exec("DELETE FROM Games WHERE GameID = ?", {game});
    QCOMPARE(t.Value("SELECT count(*) FROM MissingFiles").toInt(), 0);
  }
};

QUILLON_TEST_CLASS(DeliveredSystemsTest)
#include "DeliveredSystemsTest.moc"
