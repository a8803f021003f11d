// The structure upgrade at start-up, on catalogues in older structures that the tests build from
// the delivered one with SQL.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Revision.h"
#include "catalogue/StructureUpgrade.h"
#include "catalogue/SystemSettings.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Stands for the program being killed.
struct Interruption {};

class RecordingDisplay final : public UpgradeDisplay {
 public:
  void ShowLabel(const QString& text) override
  {
    // A label shown again is a step's next change, when part of the step is done.
    if (!interruptAt.isEmpty() && labels.value(labels.size() - 1) == interruptAt && text == interruptAt)
      throw Interruption();
    labels << text;
  }
  void ShowProgress(int percent) override { progress << percent; }

  QStringList labels;
  QList<int> progress;
  QString interruptAt;
};

UpgradeResult Upgrade(TestCatalogue& t, RecordingFeedback* feedback = nullptr, RecordingDisplay* display = nullptr)
{
  RecordingFeedback localFeedback;
  RecordingDisplay localDisplay;
  return UpdateDb(t.Db(), feedback ? *feedback : localFeedback, display ? *display : localDisplay);
}

void ExecAll(TestCatalogue& t, const QStringList& statements)
{
  for (const QString& statement : statements)
    t.Exec(statement);
}

QString Text(TestCatalogue& t, const QString& sql)
{
  return t.Value(sql).toString();
}

int Count(TestCatalogue& t, const QString& sql, const QVariantList& binds = {})
{
  return t.Value(sql, binds).toInt();
}

// The oldest structure the steps know: one genre per game in Games.Genre beside the old
// GenresGames column, no link table, no script sites, none of the later System, Games and Inc
// columns, old File and SaveAsMy views, no SaveAsH2 and no Version. Three games: a fighter with a
// ROM folder, selected and available; one with genre 0; one without genre.
void MakeOldest(TestCatalogue& t)
{
  ExecAll(t, {"DROP VIEW SaveAsH2", "DROP VIEW SaveAsMy", "DROP VIEW File", "DROP TABLE SubGenres", "DROP TABLE dURL",
              "ALTER TABLE Inc DROP COLUMN IncQ", "ALTER TABLE Games ADD COLUMN GenresGames TEXT"});
  for (const char* column : {"IgnoreMultiples", "ImageFilter", "ResumePosition", "DefaultImage", "Emulator", "SysImg",
                             "Recurse", "dResumePosition", "dIgnoreMultiples", "dAutoDL", "dTimeOut"})
    t.Exec(QStringLiteral("ALTER TABLE System DROP COLUMN ") + QLatin1String(column));
  for (const char* column : {"Clone", "ExtFile", "Edited", "Emulator"})
    t.Exec(QStringLiteral("ALTER TABLE Games DROP COLUMN ") + QLatin1String(column));
  ExecAll(t,
          {"CREATE VIEW File AS SELECT Games.GameID, RomPath.RomPath || Games.FileName AS File "
           "FROM RomPath INNER JOIN Games ON RomPath.PathID = Games.RomPath",
           "CREATE VIEW SaveAsMy AS SELECT Games.GameID, Games.Genre FROM Games",
           "INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/gen/', 2)",
           "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Genre, GenresGames, Selected, Available) "
           "VALUES (1, 'Alpha', 'alpha.bin', 2, 1, 13, 'Fighter', 1, 1), (2, 'Beta', 'beta.bin', 2, NULL, 0, '', "
           "0, 0), (3, 'Gamma', 'gamma.bin', 2, NULL, NULL, '', 0, 0)"});
}

QString DeclaredType(TestCatalogue& t, const QString& table, const QString& column)
{
  return t
      .Value(
          "SELECT type || CASE WHEN \"notnull\" THEN ' NOT NULL' ELSE '' END || coalesce(' DEFAULT ' || "
          "dflt_value, '') FROM pragma_table_info(?) WHERE name = ?",
          {table, column})
      .toString();
}

// The whole schema but one table, to show that an upgrade touched nothing else.
QString SchemaExcept(TestCatalogue& t, const QString& table)
{
  return t
      .Value("SELECT group_concat(sql, ';') FROM (SELECT sql FROM sqlite_master WHERE name <> ? ORDER BY name)",
             {table})
      .toString();
}

// Everything the steps add is there, and the three games of MakeOldest kept their data.
void VerifyOldestUpgraded(TestCatalogue& t)
{
  QCOMPARE(Text(t, "SELECT group_concat(Revision) FROM Version"), kCurrentRevision);
  const QStringList systemColumns = t.Db().ColumnsOf("System");
  for (const char* column : {"IgnoreMultiples", "ImageFilter", "ResumePosition", "DefaultImage", "Emulator", "SysImg",
                             "Recurse", "dResumePosition", "dIgnoreMultiples", "dAutoDL", "dTimeOut"})
    QVERIFY2(systemColumns.contains(QLatin1String(column)), column);
  QCOMPARE(DeclaredType(t, "System", "IgnoreMultiples"), QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
  QCOMPARE(Count(t, "SELECT count(*) FROM System WHERE dAutoDL IS NOT 100 OR dTimeOut IS NOT 10"), 0);
  QCOMPARE(t.Db().ColumnsOf("Games").mid(8), QStringList({"Image", "Description", "Rating", "Selected", "Available",
                                                          "Clone", "ExtFile", "Genre", "Emulator", "Edited"}));
  QVERIFY(t.Db().HasColumn("Inc", "IncQ"));
  QCOMPARE(t.Db().ColumnsOf("dURL"), QStringList({"ID", "ScriptName", "Script", "SystemID", "URL"}));

  // The single genres became links (genre 0 the unknown genre), and Genre their summary.
  QCOMPARE(Text(t, "SELECT group_concat(GameID || ':' || GenreID) FROM SubGenres WHERE GameID < 4"),
           QStringLiteral("1:13,2:1"));
  QCOMPARE(Text(t, "SELECT group_concat(FullName || '=' || Genre) FROM Games WHERE GameID < 4"),
           QStringLiteral("Alpha=1,Beta=-1,Gamma=0"));

  // The export views answer with the current columns.
  const std::optional<Rows> my = t.Db().TrySelect("SELECT * FROM SaveAsMy", {}, nullptr);
  QVERIFY(my && my->Count() == 1);
  QCOMPARE(my->Columns().mid(9), QStringList({"FirstOfImage", "SystemID", "FullImage", "Rating", "GenreID"}));
  QCOMPARE(my->Value(0, "File").toString(), QStringLiteral("/roms/gen/alpha.bin"));
  const std::optional<Rows> h2 = t.Db().TrySelect("SELECT * FROM SaveAsH2", {}, nullptr);
  QVERIFY(h2 && h2->Count() == 1);
  QCOMPARE(h2->Columns().mid(13), QStringList({"FirstOfGenreID", "Edited", "Emu"}));
  QCOMPARE(h2->Value(0, "FirstOfGenreID").toInt(), 13);

  QCOMPARE(Count(t,
                 "SELECT count(*) FROM Games INNER JOIN System ON SystemID = Games.System WHERE System.System = "
                 "'Zinc'"),
           27);

  // The tabs' game counts are answered from an index, without reading the games.
  const std::optional<Rows> plan = t.Db().TrySelect(
      "EXPLAIN QUERY PLAN SELECT System, sum(Available <> 0), sum(Available = 0) FROM Games GROUP BY System", {},
      nullptr);
  QVERIFY(plan && plan->Count() > 0);
  QVERIFY2(plan->Value(0, "detail").toString().contains(QStringLiteral("COVERING INDEX GamesBySystemAvailable")),
           qPrintable(plan->Value(0, "detail").toString()));
}

bool HasTab(TestCatalogue& t, const QString& name)
{
  SilentFeedback silent;
  for (const SystemTab& tab : EnabledSystems(t.Db(), silent)) {
    if (tab.name == name)
      return true;
  }
  return false;
}

}  // namespace

class StructureUpgradeTest : public QObject {
  Q_OBJECT

 private slots:
  void DeliveredCatalogueGainsZincThenOnlyRenumbers()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    RecordingDisplay display;
    const UpgradeResult result = Upgrade(t, &feedback, &display);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(result.revisionBefore, kUnknownRevision);
    QCOMPARE(result.changedSteps, QStringList({"6", "13", "14", "15", "16"}));
    QCOMPARE(Text(t, "SELECT group_concat(Revision) FROM Version"), kCurrentRevision);
    QCOMPARE(display.labels, QStringList({kLoadingLabel, kAddingZincLabel, kUpdatingLabel, kUpdatingLabel,
                                          kUpdatingLabel, kUpdatingLabel}));
    QCOMPARE(display.progress, QList<int>({0, 10, 15, 25, 35, 45, 55, 65, 75, 85, 90, 95, 95, 100}));

    // Later starts run no step, even for a missing column, and write nothing when no key needs it.
    t.Exec("ALTER TABLE Games DROP COLUMN Clone");
    t.Reopen();
    display = RecordingDisplay();
    QVERIFY(!Upgrade(t, &feedback, &display).stepsRan);
    QCOMPARE(display.labels, QStringList{kLoadingLabel});
    QCOMPARE(display.progress, QList<int>({0, 10, 100}));
    QVERIFY(!t.Db().HasColumn("Games", "Clone"));
    QCOMPARE(Count(t, "SELECT total_changes()"), 0);
  }

  void OldestStructureGainsEveryStep()
  {
    TestCatalogue t;
    MakeOldest(t);
    RecordingFeedback feedback;
    RecordingDisplay display;
    const UpgradeResult result = Upgrade(t, &feedback, &display);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(result.changedSteps, QStringList({"1", "2", "3", "4", "5", "6", "7.1", "7.2", "7.3", "7.5", "8", "9", "10",
                                               "11", "13", "14", "15", "16"}));
    QVERIFY(display.labels.contains(kUpdatingEmulatorLabel));
    VerifyOldestUpgraded(t);
  }

  // A catalogue lacking one later column gains that column alone, with the value its existing rows
  // need (systems kept scanning their subfolders), and nothing else changes.
  void LackingOneColumnGainsOnlyIt_data()
  {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("step");
    QTest::addColumn<int>("existing");
    QTest::newRow("Games.Clone") << "Games"
                                 << "Clone"
                                 << "2" << 0;
    QTest::newRow("System.Recurse") << "System"
                                    << "Recurse"
                                    << "11" << 1;
  }

  void LackingOneColumnGainsOnlyIt()
  {
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, step);
    QFETCH(int, existing);
    TestCatalogue t;
    Upgrade(t);
    ExecAll(t, {"UPDATE Version SET Revision = '2.7.3.1'",
                QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, column)});
    const QString schema = SchemaExcept(t, table);
    const QStringList columns = t.Db().ColumnsOf(table);
    const int rows = Count(t, "SELECT count(*) FROM " + table);

    RecordingDisplay display;
    QCOMPARE(Upgrade(t, nullptr, &display).changedSteps, QStringList{step});
    QCOMPARE(display.labels, QStringList({kLoadingLabel, kUpdatingLabel}));
    QCOMPARE(DeclaredType(t, table, column), QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
    QCOMPARE(t.Db().ColumnsOf(table), columns + QStringList{column});
    QCOMPARE(SchemaExcept(t, table), schema);
    QCOMPARE(Count(t, "SELECT count(*) FROM " + table), rows);
    QVERIFY(rows > 25);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM %1 WHERE %2 <> ?").arg(table, column), {existing}), 0);
    QCOMPARE(GetRevision(t.Db()), kCurrentRevision);
  }

  void ZincComesOnceWithItsGames()
  {
    TestCatalogue t;
    // Names the catalogue does not know yet are added, once each.
    ExecAll(t, {"DELETE FROM Manufacturer WHERE Manufacturer = 'Capcom/Arika'",
                "DELETE FROM Genres WHERE GenreName = 'Puzzle/Tetris'", "DELETE FROM Year WHERE Year = '1994'"});
    Upgrade(t);
    QCOMPARE(Text(t,
                  "SELECT group_concat(SystemID || '|' || SType || '|' || EnableTab || '|' || SystemShortName) "
                  "FROM System WHERE System = 'Zinc'"),
             QStringLiteral("34|4|0|Zinc"));
    const std::optional<Rows> games = t.Db().TrySelect(
        "SELECT FullName || '|' || coalesce(ExtFile, '-') || '|' || Country.Country || '|' || Year.Year || '|' || "
        "Manufacturer.Manufacturer || '|' || GenreName || '|' || Genre || '|' || Available || Selected FROM Games "
        "INNER JOIN Country ON CountryID = Games.Country INNER JOIN Year ON YearID = Games.Year "
        "INNER JOIN Manufacturer ON ManufacturerID = Games.Manufacturer "
        "INNER JOIN SubGenres ON SubGenres.GameID = Games.GameID INNER JOIN Genres ON Genres.GenreID = "
        "SubGenres.GenreID WHERE Games.System = 34 ORDER BY Games.GameID",
        {}, nullptr);
    QVERIFY(games && games->Count() == 27);
    QCOMPARE(games->Value(0, 0).toString(), QStringLiteral("Street Fighter EX|1|Japan|1996|Capcom/Arika|Fighter|1|00"));
    QCOMPARE(games->Value(13, 0).toString(),
             QStringLiteral("Tetris - The Grand Master|14|Japan|[Unknown]|[Unknown]|Puzzle/Tetris|1|00"));
    QCOMPARE(games->Value(15, 0).toString(),
             QStringLiteral("Beastorizer (Bootleg)|16|[Unknown]|1997|8ing|Fighter|1|00"));
    QCOMPARE(games->Value(24, 0).toString(),
             QStringLiteral("Star Sweep (Version A)|25|Japan|1997|Axela/Namco|[Unknown]|-1|00"));
    QCOMPARE(games->Value(26, 0).toString(), QStringLiteral("Bios|-|[Unknown]|[Unknown]|[Unknown]|Bios|1|00"));
    QCOMPARE(Count(t,
                   "SELECT (SELECT count(*) FROM Manufacturer WHERE Manufacturer = 'Capcom/Arika') || "
                   "(SELECT count(*) FROM Genres WHERE GenreName = 'Puzzle/Tetris') || "
                   "(SELECT count(*) FROM Year WHERE Year = '1994')"),
             111);

    // A Zinc game's File is its number; other games keep their ROM path.
    ExecAll(t, {"INSERT INTO RomPath (PathID, RomPath, System) VALUES (7, '/roms/zinc/', 34)",
                "UPDATE Games SET RomPath = 7 WHERE GameID = 5",
                "INSERT INTO Games (GameID, FullName, FileName, System, RomPath) VALUES (99, 'X', 'x.zip', 1, 7)"});
    QCOMPARE(Text(t, "SELECT group_concat(File, ' ') FROM File"), QStringLiteral("5 /roms/zinc/x.zip"));

    // An upgrade run again adds no second Zinc; enabling it in the options gives it a tab.
    t.Exec("UPDATE Version SET Revision = '2.7'");
    QVERIFY(!Upgrade(t).changedSteps.contains("6"));
    QCOMPARE(Count(t, "SELECT count(*) FROM System WHERE System = 'Zinc'"), 1);
    QCOMPARE(Count(t, "SELECT count(*) FROM Games WHERE System = 34"), 27);
    QVERIFY(!HasTab(t, "Zinc"));
    t.Exec("UPDATE System SET EnableTab = 1 WHERE SystemID = 34");
    QVERIFY(HasTab(t, "Zinc"));
  }

  void GenresGamesReworkKeepsGamesAndSummarisesLinks()
  {
    TestCatalogue t;
    Upgrade(t);
    // Links: game 101 [unknown, 5], game 102 [5, 1, 7], game 103 none. Old Genre values are stale.
    ExecAll(t, {"UPDATE Version SET Revision = '2.6'", "ALTER TABLE Games ADD COLUMN GenresGames TEXT",
                "CREATE INDEX GamesByGenre ON Games (Genre)", "CREATE INDEX GamesByOldGenres ON Games (GenresGames)",
                "CREATE VIEW GenreCounts AS SELECT Genre, count(*) AS n FROM Games GROUP BY Genre",
                "INSERT INTO Games (GameID, FullName, FileName, System, Genre, GenresGames, Rating) VALUES "
                "(101, 'One', 'one.bin', 3, 99, 'a', 5), (102, 'Two', 'two.bin', 3, 1, 'b', 4), "
                "(103, 'Three', 'three.bin', 3, 7, 'c', 3)",
                "INSERT INTO SubGenres (GameID, GenreID) VALUES (101, 1), (101, 5), (102, 5), (102, 1), (102, 7)"});
    const int games = Count(t, "SELECT count(*) FROM Games");

    RecordingFeedback feedback;
    QCOMPARE(Upgrade(t, &feedback).changedSteps, QStringList{"7.5"});
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QVERIFY(!t.Db().HasColumn("Games", "GenresGames"));
    QCOMPARE(Count(t, "SELECT count(*) FROM Games"), games);
    QCOMPARE(Text(t, "SELECT group_concat(FullName || '=' || Genre || '/' || Rating) FROM Games WHERE GameID > 100"),
             QStringLiteral("One=-1/5,Two=3/4,Three=0/3"));
    QCOMPARE(Count(t,
                   "SELECT count(*) FROM Games WHERE Genre NOT IN (0, -1) AND Genre <> (SELECT count(*) FROM "
                   "SubGenres WHERE SubGenres.GameID = Games.GameID)"),
             0);
    // What stood in the way is back, but for the index of the dropped column.
    QCOMPARE(Text(t, "SELECT group_concat(name) FROM sqlite_master WHERE name LIKE 'GamesBy%Genre%'"),
             QStringLiteral("GamesByGenre"));
    QCOMPARE(Count(t, "SELECT n FROM GenreCounts WHERE Genre = 3"), 1);
  }

  void SingleGenresBecomeLinksWithTheirSummary()
  {
    TestCatalogue t;
    Upgrade(t);
    // The Version table is empty, as if no revision had ever been stored in it.
    ExecAll(t, {"DELETE FROM Version", "DROP TABLE SubGenres", "UPDATE Games SET Genre = 13 WHERE GameID = 1",
                "UPDATE Games SET Genre = 0 WHERE GameID = 2", "UPDATE Games SET Genre = NULL WHERE GameID > 2"});
    QCOMPARE(Upgrade(t).changedSteps, QStringList{"5"});
    QCOMPARE(Text(t, "SELECT group_concat(GameID || ':' || GenreID) FROM SubGenres"), QStringLiteral("1:13,2:1"));
    QCOMPARE(Text(t, "SELECT group_concat(Genre) FROM Games WHERE GameID < 4"), QStringLiteral("1,-1,0"));
    QCOMPARE(Count(t, "SELECT count(*) FROM sqlite_master WHERE name = 'SubGenresByGame'"), 1);
    QCOMPARE(Text(t, "SELECT group_concat(Revision) FROM Version"), kCurrentRevision);
  }

  void RenumberingGivesFreedKeysAgain()
  {
    TestCatalogue t;
    Upgrade(t);
    ExecAll(t, {"INSERT INTO Games (GameID, FullName, FileName, System) VALUES (28, 'a', 'a', 2), (29, 'b', 'b', 2)",
                "DELETE FROM Games WHERE GameID = 29", "INSERT INTO dURL (URL) VALUES ('u')", "DELETE FROM dURL",
                "DELETE FROM Genres WHERE GenreID = 41"});
    t.Reopen();
    Upgrade(t);
    ExecAll(t, {"INSERT INTO Games (FullName, FileName, System) VALUES ('c', 'c', 2)",
                "INSERT INTO dURL (URL) VALUES ('v')", "INSERT INTO Genres (GenreName) VALUES ('New')"});
    QCOMPARE(Count(t, "SELECT GameID FROM Games WHERE FullName = 'c'"), 29);
    QCOMPARE(Count(t, "SELECT ID FROM dURL"), 1);
    QCOMPARE(Count(t, "SELECT GenreID FROM Genres WHERE GenreName = 'New'"), 41);
  }

  void ProbeFailingOtherwiseIsReportedAndTheRestRuns()
  {
    TestCatalogue t;
    Upgrade(t);
    ExecAll(t, {"UPDATE Version SET Revision = '2.7.3.1'", "ALTER TABLE System DROP COLUMN SysImg",
                "DROP VIEW SaveAsH2", "CREATE VIEW SaveAsH2 AS SELECT no_such_function(1) AS emu"});
    RecordingFeedback feedback;
    const UpgradeResult result = Upgrade(t, &feedback);
    QCOMPARE(feedback.ErrorLines().size(), 1);
    const QString error = feedback.ErrorLines().first();
    QVERIFY2(error.startsWith("Status: Error - 1 - (UpdateDb step 9) no such function"), qPrintable(error));
    // The view stays as it was, the next steps ran, and the revision waits for a clean run.
    QVERIFY(Text(t, "SELECT sql FROM sqlite_master WHERE name = 'SaveAsH2'").contains("no_such_function"));
    QVERIFY(t.Db().HasColumn("System", "SysImg"));
    QCOMPARE(result.failures, 1);
    QCOMPARE(GetRevision(t.Db()), QStringLiteral("2.7.3.1"));
  }

  void InterruptedUpgradeIsCompletedAtTheNextStart()
  {
    TestCatalogue t;
    MakeOldest(t);
    RecordingDisplay display;
    display.interruptAt = kUpdatingEmulatorLabel;
    QVERIFY_THROWS_EXCEPTION(Interruption, Upgrade(t, nullptr, &display));
    // The steps before are kept, nothing of the interrupted one is.
    t.Reopen();
    QVERIFY(!t.Db().HasColumn("Games", "GenresGames"));
    QCOMPARE(Count(t, "SELECT count(*) FROM Games"), 30);
    QVERIFY(!t.Db().HasColumn("System", "Emulator"));
    QCOMPARE(GetRevision(t.Db()), kUnknownRevision);

    RecordingFeedback feedback;
    Upgrade(t, &feedback);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    VerifyOldestUpgraded(t);
  }
};

QUILLON_TEST_CLASS(StructureUpgradeTest)
#include "StructureUpgradeTest.moc"
