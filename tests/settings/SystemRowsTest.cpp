// Adding systems of the user's own and deleting a system with everything that hangs on it.
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/StructureUpgrade.h"
#include "settings/SystemOptions.h"
#include "settings/SystemRows.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kSnes = 3;
constexpr qint64 kGenesis = 2;

// Every row that hangs on a system, counted per table: what a deletion must take, and leave.
QString RowsOf(TestCatalogue& t, qint64 system)
{
  const QStringList counts{
      "SELECT count(*) FROM Games WHERE System = ?",
      "SELECT count(*) FROM SubGenres WHERE GameID IN (SELECT GameID FROM Games WHERE System = ?)",
      "SELECT count(*) FROM GameMatch WHERE GameID IN (SELECT GameID FROM Games WHERE System = ?)",
      "SELECT count(*) FROM MissingFiles WHERE GameID IN (SELECT GameID FROM Games WHERE System = ?)",
      "SELECT count(*) FROM RomPath WHERE System = ?",
      "SELECT count(*) FROM ImageURL WHERE SystemID = ?",
      "SELECT count(*) FROM IgnoreList WHERE SystemID = ?",
      "SELECT count(*) FROM dURL WHERE SystemID = ?",
      "SELECT count(*) FROM RefList WHERE System = ?",
      "SELECT count(*) FROM System WHERE SystemID = ?",
  };
  QStringList shown;
  for (const QString& sql : counts)
    shown << t.Value(sql, {system}).toString();
  return shown.join(QLatin1Char(' '));
}

// A game with a genre link, an identification result and a missing-file note; a folder, a site
// with an ignored picture, a site script and a reference list.
void Populate(TestCatalogue& t, qint64 system)
{
  t.Exec("INSERT INTO RomPath (RomPath, System) VALUES ('/roms/x/', ?)", {system});
  for (int i = 0; i < 2; ++i) {
    t.Exec("INSERT INTO Games (FullName, FileName, System) VALUES ('Game', 'game.zip', ?)", {system});
    const qint64 game = t.Db().LastInsertId();
    t.Exec("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, 1)", {game});
    t.Exec("INSERT INTO GameMatch (GameID, Status) VALUES (?, 1)", {game});
    t.Exec("INSERT INTO MissingFiles (GameID, Reason) VALUES (?, 'gone')", {game});
  }
  t.Exec("INSERT INTO ImageURL (SystemID, URL) VALUES (?, 'http://site.example/')", {system});
  t.Exec("INSERT INTO IgnoreList (SystemID, URL, SiteURL) VALUES (?, 'http://site.example/x.gif', ?)",
         {system, t.Db().LastInsertId()});
  t.Exec("INSERT INTO dURL (SystemID, URL) VALUES (?, 'http://script.example/')", {system});
  t.Exec("INSERT INTO RefList (System, Name) VALUES (?, 'list')", {system});
}

void Upgrade(TestCatalogue& t)
{
  RecordingFeedback feedback;
  SilentUpgradeDisplay display;
  UpdateDb(t.Db(), feedback, display);
  QVERIFY(!feedback.HasError());
}

}  // namespace

class SystemRowsTest : public QObject {
  Q_OBJECT

 private slots:
  void AddedSystemStartsWithoutATabUntilItsFirstFolder()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const std::optional<qint64> id = AddSystem(t.Db(), feedback, {QStringLiteral(" Pippin "), 1, {}, {}});
    QVERIFY(id && *id > 33);
    QCOMPARE(t.Value("SELECT System || '|' || SystemShortName || '|' || SType || '|' || EnableTab || '|' || "
                     "DefaultRomType || '|' || dAutoDL || '|' || Recurse FROM System WHERE SystemID = ?",
                     {*id})
                 .toString(),
             QStringLiteral("Pippin|Pippin|1|0|zip|100|1"));
    QVERIFY(AddRomPath(t.Db(), feedback, *id, QStringLiteral("/roms/pippin")));
    QCOMPARE(t.Value("SELECT EnableTab FROM System WHERE SystemID = ?", {*id}).toInt(), 1);

    // A system whose tab the user took away keeps it off when it gets a further folder.
    QVERIFY(SetSystemEnabled(t.Db(), feedback, *id, false, true));
    QVERIFY(AddRomPath(t.Db(), feedback, *id, QStringLiteral("/more/pippin")));
    QCOMPARE(t.Value("SELECT EnableTab FROM System WHERE SystemID = ?", {*id}).toInt(), 0);
  }

  void AddingRefusesWhatCannotBe_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("type");
    QTest::newRow("empty name") << "  " << qint64(1);
    QTest::newRow("a name taken, other case") << "snes" << qint64(1);
    QTest::newRow("no such type") << "Pippin" << qint64(99);
  }

  void AddingRefusesWhatCannotBe()
  {
    QFETCH(QString, name);
    QFETCH(qint64, type);
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(!AddSystem(t.Db(), feedback, {name, type, {}, {}}));
    QVERIFY(feedback.LastStatus().startsWith(QStringLiteral("Status: Error - 5-(AddSystem)-")));
    QCOMPARE(t.Value("SELECT count(*) FROM System").toInt(), 33);
  }

  void DeletingTakesEverythingOfTheSystemAndNothingElse()
  {
    TestCatalogue t;
    Upgrade(t);
    Populate(t, kSnes);
    Populate(t, kGenesis);
    const QString genesis = RowsOf(t, kGenesis);
    QCOMPARE(RowsOf(t, kSnes), QStringLiteral("2 2 2 2 1 1 1 1 1 1"));

    // Declined (the CLI without --yes): nothing changes.
    RecordingFeedback feedback;
    QCOMPARE(DeleteSystem(t.Db(), feedback, kSnes), SystemDeletion::Declined);
    QCOMPARE(feedback.questions.size(), 1);
    QCOMPARE(feedback.questions.first().key, kDeleteSystemQuestion);
    QCOMPARE(RowsOf(t, kSnes), QStringLiteral("2 2 2 2 1 1 1 1 1 1"));

    feedback.Script(kDeleteSystemQuestion, Answer::Yes);
    QCOMPARE(DeleteSystem(t.Db(), feedback, kSnes), SystemDeletion::Deleted);
    QCOMPARE(RowsOf(t, kSnes), QStringLiteral("0 0 0 0 0 0 0 0 0 0"));
    QCOMPARE(t.Value("SELECT count(*) FROM GameMatch WHERE GameID NOT IN (SELECT GameID FROM Games)").toInt(), 0);
    QCOMPARE(RowsOf(t, kGenesis), genesis);
  }

  void DeletingRefusesTheArcadeSystemsAndTheLastTab_data()
  {
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("Arcade") << "Arcade"
                            << "Arcade is a delivered arcade system; it cannot be deleted.";
    QTest::newRow("Zinc") << "Zinc"
                          << "Zinc is a delivered arcade system; it cannot be deleted.";
    QTest::newRow("the last system with a tab") << "SNES"
                                                << "At least one system must be enabled.";
  }

  void DeletingRefusesTheArcadeSystemsAndTheLastTab()
  {
    QFETCH(QString, system);
    QFETCH(QString, refusal);
    TestCatalogue t;
    Upgrade(t);
    t.Exec("UPDATE System SET EnableTab = CASE WHEN SystemID = ? THEN 1 ELSE 0 END", {kSnes});
    const qint64 id = t.Value("SELECT SystemID FROM System WHERE System = ?", {system}).toLongLong();
    RecordingFeedback feedback;
    feedback.Script(kDeleteSystemQuestion, Answer::Yes);
    QCOMPARE(DeleteSystemRefusal(t.Db(), feedback, id), std::optional<QString>(refusal));
    QCOMPARE(DeleteSystem(t.Db(), feedback, id), SystemDeletion::Refused);
    QCOMPARE(t.Value("SELECT count(*) FROM System WHERE SystemID = ?", {id}).toInt(), 1);
  }
};

QUILLON_TEST_CLASS(SystemRowsTest)
#include "SystemRowsTest.moc"
