// The structure upgrade at start-up, on catalogues in older structures that the tests build from
// the delivered one with SQL.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "browser/SystemSettings.h"
#include "catalogue/Revision.h"
#include "catalogue/StructureUpgrade.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

class RecordingDisplay final : public UpgradeDisplay {
 public:
  void ShowLabel(const QString& text) override { labels << text; }
  void ShowProgress(int percent) override { progress << percent; }

  QStringList labels;
  QList<int> progress;
};

// Stands for the program being killed: thrown out of the upgrade while a given label shows.
struct Interruption {};

class InterruptingFeedback final : public Feedback {
 public:
  InterruptingFeedback(const RecordingDisplay& display, QString label) : m_display(display), m_label(std::move(label))
  {
  }
  void SetStatus(StatusKind, const QString&) override {}
  void SetProgressMaximum(int) override {}
  void SetProgressValue(int) override {}
  void AddResultLine(const QString&) override {}
  void Yield() override
  {
    if (!m_display.labels.isEmpty() && m_display.labels.last() == m_label)
      throw Interruption();
  }
  Answer Ask(const Question& question) override { return question.fallback; }
  void ShowMessage(const QString&, const QString&, MessageIcon) override {}

 private:
  const RecordingDisplay& m_display;
  QString m_label;
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

// A catalogue at the current revision but for `older`, as an earlier program left it.
void SetRevisionTo(TestCatalogue& t, const QString& older)
{
  t.Exec(QStringLiteral("UPDATE Version SET Revision = ?"), {older});
}

// The oldest structure the steps know: one genre per game in Games.Genre beside the old
// GenresGames column, no link table, no script sites, none of the later System, Games and Inc
// columns, old File and SaveAsMy views, no SaveAsH2 and no Version. Three games: a fighter with a
// ROM folder, selected and available; one with genre 0; one without genre.
void MakeOldest(TestCatalogue& t)
{
  ExecAll(t, {QStringLiteral("DROP VIEW SaveAsH2"), QStringLiteral("DROP VIEW SaveAsMy"),
              QStringLiteral("DROP VIEW File"), QStringLiteral("DROP TABLE SubGenres"),
              QStringLiteral("DROP TABLE dURL"), QStringLiteral("ALTER TABLE Inc DROP COLUMN IncQ"),
              QStringLiteral("ALTER TABLE Games ADD COLUMN GenresGames TEXT")});
  for (const char* column : {"IgnoreMultiples", "ImageFilter", "ResumePosition", "DefaultImage", "Emulator", "SysImg",
                             "Recurse", "dResumePosition", "dIgnoreMultiples", "dAutoDL", "dTimeOut"})
    t.Exec(QStringLiteral("ALTER TABLE System DROP COLUMN ") + QString::fromLatin1(column));
  for (const char* column : {"Clone", "ExtFile", "Edited", "Emulator"})
    t.Exec(QStringLiteral("ALTER TABLE Games DROP COLUMN ") + QString::fromLatin1(column));
  ExecAll(t, {QStringLiteral("CREATE VIEW File AS SELECT Games.GameID, RomPath.RomPath || Games.FileName AS File "
                             "FROM RomPath INNER JOIN Games ON RomPath.PathID = Games.RomPath"),
              QStringLiteral("CREATE VIEW SaveAsMy AS SELECT Games.GameID, Games.Genre FROM Games"),
              QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/gen/', 2)"),
              QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Genre, GenresGames, "
                             "Selected, Available) VALUES (1, 'Alpha', 'alpha.bin', 2, 1, 13, 'Fighter', 1, 1)"),
              QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Genre) VALUES (2, 'Beta', "
                             "'beta.bin', 2, 0)"),
              QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Genre) VALUES (3, 'Gamma', "
                             "'gamma.bin', 2, NULL)")});
}

QString DeclaredType(TestCatalogue& t, const QString& table, const QString& column)
{
  return t
      .Value(QStringLiteral("SELECT type || CASE WHEN \"notnull\" THEN ' NOT NULL' ELSE '' END || "
                            "coalesce(' DEFAULT ' || dflt_value, '') FROM pragma_table_info(?) WHERE name = ?"),
             {table, column})
      .toString();
}

// The whole schema but one table, to show that an upgrade touched nothing else.
QStringList SchemaExcept(TestCatalogue& t, const QString& table)
{
  QStringList schema;
  const Rows rows =
      t.Db()
          .TrySelect(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE name <> ? ORDER BY name"), {table},
                     nullptr)
          .value_or(Rows());
  for (const QVariantList& row : rows.All())
    schema << row[0].toString() + QLatin1Char(' ') + row[1].toString() + QLatin1Char(' ') + row[2].toString();
  return schema;
}

int Count(TestCatalogue& t, const QString& sql, const QVariantList& binds = {})
{
  return t.Value(sql, binds).toInt();
}

// Everything the steps add is there, and the three games of MakeOldest kept their data.
void VerifyOldestUpgraded(TestCatalogue& t)
{
  QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Version")), 1);
  QCOMPARE(GetRevision(t.Db()), kCurrentRevision);
  const QStringList systemColumns = t.Db().ColumnsOf(QStringLiteral("System"));
  for (const char* column : {"IgnoreMultiples", "ImageFilter", "ResumePosition", "DefaultImage", "Emulator", "SysImg",
                             "Recurse", "dResumePosition", "dIgnoreMultiples", "dAutoDL", "dTimeOut"})
    QVERIFY2(systemColumns.contains(QString::fromLatin1(column)), column);
  QCOMPARE(DeclaredType(t, QStringLiteral("System"), QStringLiteral("IgnoreMultiples")),
           QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
  QCOMPARE(DeclaredType(t, QStringLiteral("System"), QStringLiteral("ImageFilter")), QStringLiteral("TEXT(255)"));
  QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM System WHERE dAutoDL IS NOT 100 OR dTimeOut IS NOT 10")), 0);
  QCOMPARE(t.Db().ColumnsOf(QStringLiteral("Games")).filter(QStringLiteral("GenresGames")), QStringList());
  for (const char* column : {"Clone", "ExtFile", "Edited", "Emulator", "Genre"})
    QVERIFY2(t.Db().HasColumn(QStringLiteral("Games"), QString::fromLatin1(column)), column);
  QVERIFY(t.Db().HasColumn(QStringLiteral("Inc"), QStringLiteral("IncQ")));
  QCOMPARE(t.Db().ColumnsOf(QStringLiteral("dURL")), QStringList({"ID", "ScriptName", "Script", "SystemID", "URL"}));
  t.Exec(QStringLiteral("INSERT INTO dURL (URL) VALUES ('http://example.invalid/')"));
  QCOMPARE(t.Value(QStringLiteral("SELECT ID FROM dURL")).toInt(), 1);

  // The single genres became links (genre 0 the unknown genre), and Genre their summary.
  QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 2")), 3);
  QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID || ':' || GenreID) FROM SubGenres WHERE GameID < 4"))
               .toString(),
           QStringLiteral("1:13,2:1"));
  QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Genre) FROM (SELECT Genre FROM Games WHERE GameID < 4 "
                                  "ORDER BY GameID)"))
               .toString(),
           QStringLiteral("1,-1,0"));
  QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = 2")).toString(), QStringLiteral("Beta"));

  // The export views answer with the current columns.
  const std::optional<Rows> my = t.Db().TrySelect(QStringLiteral("SELECT * FROM SaveAsMy"), {}, nullptr);
  QVERIFY(my);
  QCOMPARE(my->Columns(),
           QStringList({"GameID", "System", "FullName", "FileName", "File", "Year", "Manufacturer", "Country",
                        "Description", "FirstOfImage", "SystemID", "FullImage", "Rating", "GenreID"}));
  QCOMPARE(my->Count(), 1);
  QCOMPARE(my->Value(0, QStringLiteral("File")).toString(), QStringLiteral("/roms/gen/alpha.bin"));
  QCOMPARE(my->Value(0, QStringLiteral("GenreID")).toInt(), 13);
  const std::optional<Rows> h2 = t.Db().TrySelect(QStringLiteral("SELECT * FROM SaveAsH2"), {}, nullptr);
  QVERIFY(h2);
  QCOMPARE(h2->Columns().mid(13), QStringList({"FirstOfGenreID", "Edited", "Emu"}));
  QCOMPARE(h2->Count(), 1);
  QCOMPARE(h2->Value(0, QStringLiteral("FirstOfGenreID")).toInt(), 13);

  QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM System WHERE System = 'Zinc'")), 1);
  QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games INNER JOIN System ON System.SystemID = Games.System "
                                   "WHERE System.System = 'Zinc'")),
           27);
}

}  // namespace

class StructureUpgradeTest : public QObject {
  Q_OBJECT

 private slots:
  void DeliveredCatalogueIsBroughtToTheCurrentRevision()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    RecordingDisplay display;
    const UpgradeResult result = Upgrade(t, &feedback, &display);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(result.revisionBefore, kUnknownRevision);
    QVERIFY(result.revisionStored);
    // The delivered structure only lacks Zinc, SaveAsH2 is there already.
    QCOMPARE(result.changedSteps, QStringList{QStringLiteral("6")});
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Revision) FROM Version")).toString(), kCurrentRevision);
    QCOMPARE(display.labels, QStringList({kLoadingLabel, kAddingZincLabel}));
    QCOMPARE(display.progress, QList<int>({0, 10, 15, 25, 35, 45, 55, 65, 75, 85, 90, 95, 95, 100}));

    // Later starts only renumber, and write nothing when there is nothing to renumber.
    t.Reopen();
    display = RecordingDisplay();
    const UpgradeResult again = Upgrade(t, &feedback, &display);
    QVERIFY(!again.stepsRan);
    QCOMPARE(display.labels, QStringList{kLoadingLabel});
    QCOMPARE(display.progress, QList<int>({0, 10, 100}));
    QCOMPARE(t.Value(QStringLiteral("SELECT total_changes()")).toInt(), 0);
  }

  void CurrentRevisionRunsNoStep()
  {
    TestCatalogue t;
    Upgrade(t);
    t.Exec(QStringLiteral("ALTER TABLE Games DROP COLUMN Clone"));
    const UpgradeResult result = Upgrade(t);
    QVERIFY(!result.stepsRan);
    QVERIFY(!t.Db().HasColumn(QStringLiteral("Games"), QStringLiteral("Clone")));
  }

  void OldestStructureGainsEveryStep()
  {
    TestCatalogue t;
    MakeOldest(t);
    RecordingFeedback feedback;
    RecordingDisplay display;
    const UpgradeResult result = Upgrade(t, &feedback, &display);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(result.changedSteps,
             QStringList({"1", "2", "3", "4", "5", "6", "7.1", "7.2", "7.3", "7.5", "8", "9", "10", "11"}));
    QVERIFY(display.labels.contains(kUpdatingEmulatorLabel));
    VerifyOldestUpgraded(t);
  }

  void LackingOnlyCloneGainsOnlyClone()
  {
    TestCatalogue t;
    Upgrade(t);
    SetRevisionTo(t, QStringLiteral("2.7.3.1"));
    t.Exec(QStringLiteral("ALTER TABLE Games DROP COLUMN Clone"));
    const QStringList schema = SchemaExcept(t, QStringLiteral("Games"));
    const QStringList gameColumns = t.Db().ColumnsOf(QStringLiteral("Games"));
    const int games = Count(t, QStringLiteral("SELECT count(*) FROM Games"));

    RecordingDisplay display;
    const UpgradeResult result = Upgrade(t, nullptr, &display);
    QCOMPARE(result.changedSteps, QStringList{QStringLiteral("2")});
    QCOMPARE(display.labels, QStringList({kLoadingLabel, kUpdatingLabel}));
    QCOMPARE(DeclaredType(t, QStringLiteral("Games"), QStringLiteral("Clone")),
             QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("Games")), gameColumns + QStringList{QStringLiteral("Clone")});
    QCOMPARE(SchemaExcept(t, QStringLiteral("Games")), schema);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games")), games);
    QCOMPARE(GetRevision(t.Db()), kCurrentRevision);
  }

  void ZincComesOnceWithItsGames()
  {
    TestCatalogue t;
    // Names the catalogue does not know yet are added, once each.
    ExecAll(t, {QStringLiteral("DELETE FROM Manufacturer WHERE Manufacturer = 'Capcom/Arika'"),
                QStringLiteral("DELETE FROM Genres WHERE GenreName = 'Puzzle/Tetris'"),
                QStringLiteral("DELETE FROM Year WHERE Year = '1994'")});
    Upgrade(t);
    const std::optional<Rows> zinc = t.Db().TrySelect(
        QStringLiteral("SELECT SystemID, SType, EnableTab, SystemShortName FROM System WHERE System = 'Zinc'"), {},
        nullptr);
    QVERIFY(zinc && zinc->Count() == 1);
    const qint64 zincId = zinc->Value(0, 0).toLongLong();
    QCOMPARE(zincId, 34);
    QCOMPARE(zinc->Value(0, 1).toInt(), 4);
    QCOMPARE(zinc->Value(0, 2).toInt(), 0);
    QCOMPARE(zinc->Value(0, 3).toString(), QStringLiteral("Zinc"));

    const std::optional<Rows> games = t.Db().TrySelect(
        QStringLiteral("SELECT Games.FullName, Games.ExtFile, Country.Country, Year.Year, Manufacturer.Manufacturer, "
                       "Genres.GenreName, Games.Genre, Games.Available, Games.Selected FROM Games "
                       "INNER JOIN Country ON Country.CountryID = Games.Country "
                       "INNER JOIN Year ON Year.YearID = Games.Year "
                       "INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                       "INNER JOIN SubGenres ON SubGenres.GameID = Games.GameID "
                       "INNER JOIN Genres ON Genres.GenreID = SubGenres.GenreID "
                       "WHERE Games.System = ? ORDER BY Games.GameID"),
        {zincId}, nullptr);
    QVERIFY(games);
    QCOMPARE(games->Count(), 27);
    const auto row = [&](int i) {
      QStringList values;
      for (const QVariant& value : games->Row(i))
        values << (value.isNull() ? QStringLiteral("-") : value.toString());
      return values.join(QLatin1Char('|'));
    };
    QCOMPARE(row(0), QStringLiteral("Street Fighter EX|1|Japan|1996|Capcom/Arika|Fighter|1|0|0"));
    QCOMPARE(row(9), QStringLiteral("Strider Hiryu 2|10|Japan|[Unknown]|[Unknown]|Fighter|1|0|0"));
    QCOMPARE(row(13), QStringLiteral("Tetris - The Grand Master|14|Japan|[Unknown]|[Unknown]|Puzzle/Tetris|1|0|0"));
    QCOMPARE(row(15), QStringLiteral("Beastorizer (Bootleg)|16|[Unknown]|1997|8ing|Fighter|1|0|0"));
    QCOMPARE(row(20), QStringLiteral("Tekken - The Iron Fist (Version A)|21|Japan|1994|Namco|Fighter|1|0|0"));
    QCOMPARE(row(24), QStringLiteral("Star Sweep (Version A)|25|Japan|1997|Axela/Namco|[Unknown]|-1|0|0"));
    QCOMPARE(row(26), QStringLiteral("Bios|-|[Unknown]|[Unknown]|[Unknown]|Bios|1|0|0"));
    for (const char* name : {"Capcom/Arika"})
      QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Manufacturer WHERE Manufacturer = ?"),
                     {QString::fromLatin1(name)}),
               1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Genres WHERE GenreName = 'Puzzle/Tetris'")), 1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Year WHERE Year = '1994'")), 1);

    // A Zinc game's File is its number; other games keep their ROM path.
    ExecAll(t, {QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (7, '/roms/zinc/', 34)"),
                QStringLiteral("UPDATE Games SET RomPath = 7 WHERE GameID = 5"),
                QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath) VALUES ('X', 'x.zip', 1, 7)")});
    QCOMPARE(t.Value(QStringLiteral("SELECT File FROM File WHERE GameID = 5")).toString(), QStringLiteral("5"));
    QCOMPARE(t.Value(QStringLiteral("SELECT File FROM File WHERE GameID = 28")).toString(),
             QStringLiteral("/roms/zinc/x.zip"));

    // An upgrade run again adds no second Zinc.
    SetRevisionTo(t, QStringLiteral("2.7"));
    const UpgradeResult again = Upgrade(t);
    QVERIFY(!again.changedSteps.contains(QStringLiteral("6")));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM System WHERE System = 'Zinc'")), 1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 34")), 27);

    // Its tab comes once the options enable it.
    SilentFeedback silent;
    const auto hasZincTab = [&] {
      for (const SystemTab& tab : EnabledSystems(t.Db(), silent)) {
        if (tab.name == QStringLiteral("Zinc"))
          return true;
      }
      return false;
    };
    QVERIFY(!hasZincTab());
    t.Exec(QStringLiteral("UPDATE System SET EnableTab = 1 WHERE SystemID = 34"));
    QVERIFY(hasZincTab());
    QVERIFY(LoadSystemSettings(t.Db(), silent, QStringLiteral("Zinc")));
  }

  void GenresGamesReworkKeepsGamesAndSummarisesLinks()
  {
    TestCatalogue t;
    Upgrade(t);
    SetRevisionTo(t, QStringLiteral("2.6"));
    // Links: game 101 [unknown, 5], game 102 [5, 1, 7], game 103 none. Old Genre values are stale.
    ExecAll(t, {QStringLiteral("ALTER TABLE Games ADD COLUMN GenresGames TEXT"),
                QStringLiteral("CREATE INDEX GamesByGenre ON Games (Genre)"),
                QStringLiteral("CREATE INDEX GamesByOldGenres ON Games (GenresGames)"),
                QStringLiteral("CREATE VIEW GenreCounts AS SELECT Genre, count(*) AS n FROM Games GROUP BY Genre"),
                QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, Genre, GenresGames, Rating) "
                               "VALUES (101, 'One', 'one.bin', 3, 99, 'a', 5), (102, 'Two', 'two.bin', 3, 1, 'b', 4), "
                               "(103, 'Three', 'three.bin', 3, 7, 'c', 3)"),
                QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (101, 1), (101, 5), (102, 5), (102, 1), "
                               "(102, 7)")});
    const int games = Count(t, QStringLiteral("SELECT count(*) FROM Games"));

    RecordingFeedback feedback;
    const UpgradeResult result = Upgrade(t, &feedback);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    QCOMPARE(result.changedSteps, QStringList{QStringLiteral("7.5")});
    QVERIFY(!t.Db().HasColumn(QStringLiteral("Games"), QStringLiteral("GenresGames")));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games")), games);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID || '=' || Genre || '/' || Rating) FROM "
                                    "(SELECT * FROM Games WHERE GameID > 100 ORDER BY GameID)"))
                 .toString(),
             QStringLiteral("101=-1/5,102=3/4,103=0/3"));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE Genre NOT IN (0, -1) AND Genre <> "
                                     "(SELECT count(*) FROM SubGenres WHERE SubGenres.GameID = Games.GameID)")),
             0);
    // The objects that stood in the way are back; the index of the dropped column is gone.
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'GamesByGenre'")), 1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'GamesByOldGenres'")), 0);
    QCOMPARE(Count(t, QStringLiteral("SELECT n FROM GenreCounts WHERE Genre = 3")), 1);
    QVERIFY(t.Db().TrySelect(QStringLiteral("SELECT * FROM SaveAsH2"), {}, nullptr));
  }

  void SingleGenresBecomeLinksWithTheirSummary()
  {
    TestCatalogue t;
    Upgrade(t);
    // An empty Version table, as if a revision had never been stored in it.
    ExecAll(t, {QStringLiteral("DELETE FROM Version"), QStringLiteral("DROP TABLE SubGenres"),
                QStringLiteral("UPDATE Games SET Genre = 13 WHERE GameID = 1"),
                QStringLiteral("UPDATE Games SET Genre = 0 WHERE GameID = 2"),
                QStringLiteral("UPDATE Games SET Genre = NULL WHERE GameID > 2")});
    const UpgradeResult result = Upgrade(t);
    QCOMPARE(result.changedSteps, QStringList{QStringLiteral("5")});
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GameID || ':' || GenreID) FROM SubGenres")).toString(),
             QStringLiteral("1:13,2:1"));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Genre) FROM (SELECT Genre FROM Games WHERE GameID < 4 "
                                    "ORDER BY GameID)"))
                 .toString(),
             QStringLiteral("1,-1,0"));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'SubGenresByGame'")), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Revision) FROM Version")).toString(), kCurrentRevision);
  }

  void RenumberingGivesFreedKeysAgain()
  {
    TestCatalogue t;
    Upgrade(t);
    ExecAll(t, {QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES ('a', 'a', 2), ('b', 'b', 2)"),
                QStringLiteral("DELETE FROM Games WHERE GameID = (SELECT max(GameID) FROM Games)"),
                QStringLiteral("INSERT INTO dURL (URL) VALUES ('u')"), QStringLiteral("DELETE FROM dURL"),
                QStringLiteral("DELETE FROM Genres WHERE GenreID = (SELECT max(GenreID) FROM Genres)")});
    const qint64 freedGame = t.Value(QStringLiteral("SELECT max(GameID) + 1 FROM Games")).toLongLong();
    const qint64 freedGenre = t.Value(QStringLiteral("SELECT max(GenreID) + 1 FROM Genres")).toLongLong();
    t.Reopen();
    Upgrade(t);
    ExecAll(t, {QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES ('c', 'c', 2)"),
                QStringLiteral("INSERT INTO dURL (URL) VALUES ('v')"),
                QStringLiteral("INSERT INTO Genres (GenreName) VALUES ('New')")});
    QCOMPARE(t.Value(QStringLiteral("SELECT GameID FROM Games WHERE FullName = 'c'")).toLongLong(), freedGame);
    QCOMPARE(t.Value(QStringLiteral("SELECT ID FROM dURL")).toLongLong(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = 'New'")).toLongLong(), freedGenre);
  }

  void ProbeFailingOtherwiseIsReportedAndTheRestRuns()
  {
    TestCatalogue t;
    Upgrade(t);
    SetRevisionTo(t, QStringLiteral("2.7.3.1"));
    ExecAll(t, {QStringLiteral("ALTER TABLE System DROP COLUMN SysImg"), QStringLiteral("DROP VIEW SaveAsH2"),
                QStringLiteral("CREATE VIEW SaveAsH2 AS SELECT no_such_function(1) AS emu")});
    RecordingFeedback feedback;
    const UpgradeResult result = Upgrade(t, &feedback);
    QCOMPARE(feedback.ErrorLines().size(), 1);
    const QString error = feedback.ErrorLines().first();
    QVERIFY2(error.startsWith(QStringLiteral("Status: Error - 1 - (UpdateDb step 9) ")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("no such function")), qPrintable(error));
    // The view was not replaced, the next steps ran, and the revision waits for a clean run.
    QVERIFY(t.Value(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = 'SaveAsH2'"))
                .toString()
                .contains(QStringLiteral("no_such_function")));
    QVERIFY(t.Db().HasColumn(QStringLiteral("System"), QStringLiteral("SysImg")));
    QCOMPARE(result.failures, 1);
    QVERIFY(!result.revisionStored);
    QCOMPARE(GetRevision(t.Db()), QStringLiteral("2.7.3.1"));
  }

  void InterruptedUpgradeIsCompletedAtTheNextStart()
  {
    TestCatalogue t;
    MakeOldest(t);
    RecordingDisplay display;
    InterruptingFeedback interrupting(display, kAddingZincLabel);
    QVERIFY_THROWS_EXCEPTION(Interruption, UpdateDb(t.Db(), interrupting, display));
    // Steps before Zinc are kept, nothing of the Zinc step is.
    t.Reopen();
    QVERIFY(t.Db().HasColumn(QStringLiteral("Games"), QStringLiteral("Clone")));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM SubGenres")), 2);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM System WHERE System = 'Zinc'")), 0);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games")), 3);
    QVERIFY(!t.Db().HasColumn(QStringLiteral("Games"), QStringLiteral("ExtFile")));
    QCOMPARE(GetRevision(t.Db()), kUnknownRevision);

    RecordingFeedback feedback;
    Upgrade(t, &feedback);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join(QLatin1Char('\n'))));
    VerifyOldestUpgraded(t);
  }
};

QUILLON_TEST_CLASS(StructureUpgradeTest)
#include "StructureUpgradeTest.moc"
