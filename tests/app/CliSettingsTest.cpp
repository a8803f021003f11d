// quillon-cli system and lookup: the options dialog's and the lookup editor's work without a window,
// with questions answered from flags.
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput Run(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

int Status(const TestCatalogue& t, const QString& line)
{
  return Run(t, line.split(QLatin1Char('|'))).status;
}

}  // namespace

class CliSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void SystemNameTabTypeAndSites()
  {
    TestCatalogue t;
    QCOMPARE(Status(t, QStringLiteral("system|rename|snes|Super Famicom")), 0);
    QCOMPARE(Status(t, QStringLiteral("system|rename|Super Famicom|Gameboy")), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT System FROM System WHERE SystemID = 3")).toString(),
             QStringLiteral("Super Famicom"));
    QCOMPARE(Status(t, QStringLiteral("system|set-type|Super Famicom|Handhelds")), 0);
    QCOMPARE(Status(t, QStringLiteral("system|set-type|Super Famicom|4")), 0);
    QCOMPARE(Status(t, QStringLiteral("system|set-type|Super Famicom|Toasters")), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT SType FROM System WHERE SystemID = 3")).toInt(), 4);

    // The last system with a tab keeps it.
    t.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID = 3 THEN 1 ELSE 0 END"));
    const CliOutput last =
        Run(t, {QStringLiteral("system"), QStringLiteral("disable"), QStringLiteral("Super Famicom")});
    QCOMPARE(last.status, 1);
    QVERIFY(last.err.contains(QStringLiteral("At least one system must be enabled.")));
    QCOMPARE(Status(t, QStringLiteral("system|set|Super Famicom|EnableTab=0")), 1);
    QCOMPARE(Status(t, QStringLiteral("system|enable|Gameboy")), 0);
    QCOMPARE(Status(t, QStringLiteral("system|disable|Super Famicom")), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(SystemID) FROM System WHERE EnableTab <> 0")).toString(),
             QStringLiteral("11"));

    const QString site = QStringLiteral("https://pics.example/?q=");
    QCOMPARE(Status(t, QStringLiteral("system|add-site|Gameboy|") + site), 0);
    QCOMPARE(Status(t, QStringLiteral("system|add-ignore|Gameboy|") + site + QStringLiteral("|https://bad.example/")),
             0);
    QCOMPARE(Status(t, QStringLiteral("system|add-ignore|Gameboy|https://other.example/|https://bad.example/")), 1);
    const CliOutput shown = Run(t, {QStringLiteral("system"), QStringLiteral("show"), QStringLiteral("Gameboy")});
    QVERIFY(shown.out.contains(QStringLiteral("IgnoreList\t") + site + QStringLiteral("\thttps://bad.example/\n")));
    QCOMPARE(Status(t, QStringLiteral("system|remove-site|Gameboy|") + site), 0);
    QCOMPARE(Status(t, QStringLiteral("system|remove-site|Gameboy|") + site), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM IgnoreList")).toInt(), 0);
    QCOMPARE(Status(t, QStringLiteral("system|add-ignore|Gameboy|x")), 2);
    QCOMPARE(Status(t, QStringLiteral("system|enable")), 2);
  }

  void LookupDeletionNeedsYesForEntriesInUse()
  {
    TestCatalogue t;
    TestGame(kSnes, QStringLiteral("One")).Maker(3).Missing().Insert(t.Db());
    const CliOutput kept = Run(t, {QStringLiteral("lookup"), QStringLiteral("delete"), QStringLiteral("manufacturer"),
                                   QStringLiteral("Acclaim")});
    QCOMPARE(kept.status, 1);
    QVERIFY(kept.err.contains(QStringLiteral("Would you like to delete this manufacturer? -> no")));
    QVERIFY(t.Value(QStringLiteral("SELECT 1 FROM Manufacturer WHERE ManufacturerID = 3")).isValid());

    QCOMPARE(Status(t, QStringLiteral("lookup|delete|manufacturer|acclaim|--yes")), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT Manufacturer FROM Games")).toInt(), 319);
    const CliOutput unknown =
        Run(t, {QStringLiteral("lookup"), QStringLiteral("delete"), QStringLiteral("manufacturer"),
                QStringLiteral("[Unknown]"), QStringLiteral("--yes")});
    QCOMPARE(unknown.status, 1);
    QVERIFY(unknown.err.contains(QStringLiteral("Sorry, this manufacturer cannot be edited.")));
    QCOMPARE(Status(t, QStringLiteral("lookup|delete|manufacturer|No Such Maker|--yes")), 1);
  }

  void LookupAddRenameMoveAndList()
  {
    TestCatalogue t;
    const qint64 one = TestGame(kSnes, QStringLiteral("One")).Missing().Genres({13}).Insert(t.Db());
    QCOMPARE(Status(t, QStringLiteral("lookup|add|genre|Run and Gun")), 0);
    QCOMPARE(Status(t, QStringLiteral("lookup|add|genre|RUN AND GUN")), 1);
    QCOMPARE(Status(t, QStringLiteral("lookup|rename|genre|run and gun|Shoot'em Up")), 0);
    QCOMPARE(Status(t, QStringLiteral("lookup|add|country|Atlantis|--code|At;")), 0);
    // The catalogue's own fighters (the start-up adds some) move too.
    const int fighters =
        t.Value(QStringLiteral("SELECT count(DISTINCT GameID) FROM SubGenres WHERE GenreID = 13")).toInt();
    QVERIFY(fighters >= 1);
    const CliOutput moved = Run(t, {QStringLiteral("lookup"), QStringLiteral("move"), QStringLiteral("genre"),
                                    QStringLiteral("Fighter"), QStringLiteral("Shoot'em Up")});
    QCOMPARE(moved.status, 0);
    QCOMPARE(moved.out, QStringLiteral("Moved %1 game(s) from Fighter to Shoot'em Up\n").arg(fighters));
    const CliOutput genres = Run(t, {QStringLiteral("lookup"), QStringLiteral("list"), QStringLiteral("genre")});
    QVERIFY(genres.out.startsWith(QStringLiteral("ID\tName\n1\t[Unknown]\n")));
    const QString shooter =
        t.Value(QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = ?"), {QStringLiteral("Shoot'em Up")})
            .toString();
    QVERIFY(genres.out.contains(shooter + QStringLiteral("\tShoot'em Up\n")));
    QCOMPARE(t.Value(QStringLiteral("SELECT GenreID FROM SubGenres WHERE GameID = ?"), {one}).toString(), shooter);
    const CliOutput countries = Run(t, {QStringLiteral("lookup"), QStringLiteral("list"), QStringLiteral("country")});
    QVERIFY(countries.out.contains(QStringLiteral("\tAtlantis\tAt;\n")));

    for (const char* line : {"lookup|list|year", "lookup|add|genre", "lookup|list|genre|--yes",
                             "lookup|add|genre|X|--code|Y", "lookup|frobnicate|genre"})
      QVERIFY2(Status(t, QString::fromLatin1(line)) == 2, line);
  }

  void SystemAddAndDelete()
  {
    TestCatalogue t;
    const CliOutput added = Run(t, {"system", "add", "Pippin", "--type", "Consoles", "--extensions", "cue;m3u;chd"});
    QCOMPARE(added.status, 0);
    const qint64 id = t.Value("SELECT SystemID FROM System WHERE System = 'Pippin'").toLongLong();
    QVERIFY(added.out.contains(QStringLiteral("with the ID %1").arg(id)));
    QCOMPARE(t.Value("SELECT SystemShortName || '|' || DefaultRomType || '|' || EnableTab FROM System WHERE "
                     "SystemID = ?",
                     {id})
                 .toString(),
             QStringLiteral("Pippin|cue;m3u;chd|0"));
    // Refused: a taken name, no type, an unknown type. Each says why and adds nothing.
    const int systems = t.Value("SELECT count(*) FROM System").toInt();
    const CliOutput taken = Run(t, {"system", "add", "pippin", "--type", "1"});
    QCOMPARE(taken.status, 1);
    QVERIFY2(taken.err.contains("Another system is named pippin."), qPrintable(taken.err));
    QCOMPARE(Status(t, "system|add|Bandai"), 2);
    QCOMPARE(Status(t, "system|add|Bandai|--type|Toasters"), 1);
    QCOMPARE(t.Value("SELECT count(*) FROM System").toInt(), systems);

    TestGame(id, "Disc Game").File("disc.cue").Genres({1}).Insert(t.Db());
    const CliOutput kept = Run(t, {"system", "delete", "Pippin"});
    QCOMPARE(kept.status, 1);
    QVERIFY2(kept.err.contains("--yes"), qPrintable(kept.err));
    QCOMPARE(t.Value("SELECT count(*) FROM Games WHERE System = ?", {id}).toInt(), 1);
    QCOMPARE(Status(t, "system|delete|Pippin|--yes"), 0);
    QCOMPARE(t.Value("SELECT count(*) FROM System WHERE SystemID = ?", {id}).toInt(), 0);
    QCOMPARE(t.Value("SELECT count(*) FROM Games WHERE System = ?", {id}).toInt(), 0);
    QCOMPARE(t.Value("SELECT count(*) FROM SubGenres WHERE GameID NOT IN (SELECT GameID FROM Games)").toInt(), 0);

    const CliOutput arcade = Run(t, {"system", "delete", "Arcade", "--yes"});
    QCOMPARE(arcade.status, 1);
    QVERIFY(arcade.err.contains("cannot be deleted"));
  }
};

QUILLON_TEST_CLASS(CliSettingsTest)
#include "CliSettingsTest.moc"
