// Editing a system's settings and ROM folders.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/GameList.h"
#include "settings/SystemOptions.h"
#include "settings/SystemSites.h"

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

    // A name another system has, or none, is refused with a report and changes nothing (wrong
    // values and columns: SeveralSettingsAreWrittenAllOrNone).
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("System"), QStringLiteral("arcade")));
    QVERIFY(!SetSystemSetting(t.Db(), feedback, 3, QStringLiteral("System"), QString()));
    QCOMPARE(feedback.ErrorLines().size(), 2);
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
    const qint64 a =
        TestGame(kSnes, QStringLiteral("A")).File(QStringLiteral("a.smc")).Folder(snesPath).Genres({1}).Insert(t.Db());
    const qint64 b =
        TestGame(kSnes, QStringLiteral("B")).File(QStringLiteral("b.smc")).Folder(morePath).Genres({1}).Insert(t.Db());
    const qint64 c = TestGame(2, QStringLiteral("C")).File(QStringLiteral("c.bin")).Folder(genesisPath).Insert(t.Db());
    QVERIFY(RemoveRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes/")));
    QVERIFY(!RemoveRomPath(t.Db(), feedback, 3, QStringLiteral("/roms/snes/")));
    QVERIFY(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = ?"), {a}).isNull());
    QCOMPARE(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = ?"), {b}).toInt(), morePath);
    // The game of the removed folder is listed among the missing games.
    const std::optional<std::vector<GameRow>> missing =
        GameListQuery(t.Db(), feedback, {3, GameView::Missing, {}, {}, {}, {}}, QStringLiteral("CreateList"));
    QVERIFY(missing && missing->size() == 1);
    QCOMPARE(missing->front().gameId, a);
    QCOMPARE(t.Value(QStringLiteral("SELECT Available FROM Games WHERE GameID = ?"), {b}).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT RomPath FROM Games WHERE GameID = ?"), {c}).toInt(), genesisPath);
    QCOMPARE(RomPathsOf(t.Db(), feedback, 3), QStringList{"/more/snes/"});
    QVERIFY(!feedback.HasError());
  }

  void TreeTypesAndTheLastEnabledSystem()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    std::optional<QList<SystemTypeNode>> tree = SystemTree(t.Db(), feedback);
    QVERIFY(tree);
    QCOMPARE(tree->size(), 5);
    QCOMPARE(tree->at(1).name, QStringLiteral("Handhelds"));
    QCOMPARE(tree->at(1).systems.first().name, QStringLiteral("Atari Lynx"));
    QVERIFY(!tree->at(4).systems.first().enabled);

    // SNES moves to the handhelds, sorted in by name.
    const std::optional<qint64> handhelds = SystemTypeIdByName(t.Db(), feedback, QStringLiteral("handhelds"));
    QCOMPARE(handhelds.value_or(0), 2);
    QVERIFY(SetSystemType(t.Db(), feedback, 3, *handhelds));
    QVERIFY(!SetSystemType(t.Db(), feedback, 3, 99));
    tree = SystemTree(t.Db(), feedback);
    QStringList handheldNames;
    for (const SystemNode& system : tree->at(1).systems)
      handheldNames << system.name;
    QVERIFY(handheldNames.indexOf(QStringLiteral("SNES")) > handheldNames.indexOf(QStringLiteral("Neo Geo Pocket")));

    // The last enabled system keeps its tab when asked to; the options dialog may pass through none.
    t.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID = 3 THEN 1 ELSE 0 END"));
    QVERIFY(!SetSystemEnabled(t.Db(), feedback, 3, false, true));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Error - 13-(EditRecord)-") + kOneSystemEnabledText);
    QCOMPARE(EnabledSystemCount(t.Db(), feedback).value_or(-1), 1);
    QVERIFY(SetSystemEnabled(t.Db(), feedback, 3, false, false));
    QCOMPARE(EnabledSystemCount(t.Db(), feedback).value_or(-1), 0);

    QVERIFY(!UsesGoodTool(QStringLiteral("Arcade")));
    QVERIFY(!UsesGoodTool(QStringLiteral("zinc")));
    QVERIFY(UsesGoodTool(QStringLiteral("SNES")));
  }

  // Several settings at once (quillon-cli system set): all are written, or none.
  void SeveralSettingsAreWrittenAllOrNone_data()
  {
    QTest::addColumn<QStringList>("settings");  // COLUMN=VALUE
    QTest::addColumn<bool>("written");
    QTest::newRow("all good") << QStringList{"TimeOut=5", "Recurse=0"} << true;
    QTest::newRow("a bad value undoes the good one") << QStringList{"TimeOut=5", "ImageLimit=lots"} << false;
    QTest::newRow("an unknown column undoes the good one") << QStringList{"TimeOut=5", "SystemID=9"} << false;
    QTest::newRow("the last tab is kept") << QStringList{"TimeOut=5", "enabletab=0"} << false;
    QTest::newRow("a tab given back in the same set") << QStringList{"EnableTab=0", "TimeOut=5", "EnableTab=1"} << true;
  }

  void SeveralSettingsAreWrittenAllOrNone()
  {
    QFETCH(QStringList, settings);
    QFETCH(bool, written);
    TestCatalogue t;
    t.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID = 3 THEN 1 ELSE 0 END"));
    QList<QPair<QString, QString>> pairs;
    for (const QString& setting : settings)
      pairs.append({setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1)});
    RecordingFeedback feedback;
    QCOMPARE(SetSystemSettings(t.Db(), feedback, 3, pairs), written);
    QCOMPARE(feedback.HasError(), !written);
    QCOMPARE(t.Value(QStringLiteral("SELECT TimeOut FROM System WHERE SystemID = 3")).toInt(), written ? 5 : 10);
    QCOMPARE(EnabledSystemCount(t.Db(), feedback).value_or(-1), 1);
  }

  void SummariesCountFoldersAndGames()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const qint64 folder = InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/snes/"));
    TestGame(kSnes, QStringLiteral("Alpha")).Folder(folder).Insert(t.Db());
    TestGame(kSnes, QStringLiteral("Gone")).Missing().Insert(t.Db());
    t.Exec(QStringLiteral("UPDATE System SET EnableTab = 0 WHERE SystemID = ?"), {kGameboy});
    const std::optional<QList<SystemSummary>> systems = SystemSummaries(t.Db(), feedback);
    QVERIFY(systems && systems->size() > int(kGameboy));
    const SystemSummary& snes = systems->at(int(kSnes) - 1);
    QCOMPARE(snes.name, QStringLiteral("SNES"));
    QCOMPARE(snes.typeName, QStringLiteral("Consoles"));
    QCOMPARE(snes.romPaths, 1);
    QCOMPARE(snes.games, 2);
    QVERIFY(snes.enabled);
    QVERIFY(!systems->at(int(kGameboy) - 1).enabled);
    QCOMPARE(systems->at(int(kGameboy) - 1).games, 0);
  }

  void SitesAndTheirIgnoreLists()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const QString site = QStringLiteral("http://pics.example/?q=\"quoted\"&s=");
    const std::optional<qint64> snesSite = AddImageSite(t.Db(), feedback, 3, site);
    const std::optional<qint64> gbSite = AddImageSite(t.Db(), feedback, 11, site);
    QVERIFY(snesSite && gbSite);
    QVERIFY(!AddImageSite(t.Db(), feedback, 3, site));
    QVERIFY(!AddImageSite(t.Db(), feedback, 3, QString()));
    // The same address is each system's own site.
    QCOMPARE(ImageSiteId(t.Db(), feedback, 11, site).value_or(0), *gbSite);

    QVERIFY(AddIgnoredUrl(t.Db(), feedback, 3, *snesSite, QStringLiteral("http://pics.example/bad.jpg")));
    QVERIFY(!AddIgnoredUrl(t.Db(), feedback, 3, *snesSite, QStringLiteral("http://pics.example/bad.jpg")));
    QVERIFY(AddIgnoredUrl(t.Db(), feedback, 11, *gbSite, QStringLiteral("http://pics.example/gb.jpg")));
    QCOMPARE(IgnoredUrlsOf(t.Db(), feedback, 3, *snesSite).value(), QStringList{"http://pics.example/bad.jpg"});
    QVERIFY(IgnoredUrlsOf(t.Db(), feedback, 3, *gbSite)->isEmpty());

    // Removing a site takes its ignore list along, and only the system's own.
    QVERIFY(RemoveImageSite(t.Db(), feedback, 3, site));
    QVERIFY(!RemoveImageSite(t.Db(), feedback, 3, site));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM IgnoreList WHERE SystemID = 3")).toInt(), 0);
    QCOMPARE(ImageSitesOf(t.Db(), feedback, 11)->size(), 1);
    QVERIFY(RemoveIgnoredUrl(t.Db(), feedback, 11, *gbSite, QStringLiteral("http://pics.example/gb.jpg")));
    QVERIFY(IgnoredUrlsOf(t.Db(), feedback, 11, *gbSite)->isEmpty());
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(SystemOptionsTest)
#include "SystemOptionsTest.moc"
