// The Mame import against the recorded outputs of Mame 0.251 and of an old Windows build, played
// by fake-mame.sh, and against stand-in programs that print nothing or break off.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "scan/MameImport.h"
#include "scan/MameImportLegacy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

using namespace quillon;
using namespace quillon::test;

namespace {

QString FakeMame()
{
  return TestDataPath(QStringLiteral("mame/fake-mame.sh"));
}

// Sets an environment variable for the programs a test starts, and restores it afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const QByteArray& value) : m_name(name), m_old(qgetenv(name))
  {
    qputenv(name, value);
  }
  ~ScopedEnvironment()
  {
    if (m_old.isEmpty())
      qunsetenv(m_name);
    else
      qputenv(m_name, m_old);
  }

 private:
  const char* m_name;
  QByteArray m_old;
};

QString WriteScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
  const QString path = dir.filePath(name);
  TouchFile(path, "#!/bin/sh\n" + body);
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

MameImportSummary Import(TestCatalogue& t, const QString& executable, Feedback& feedback,
                         const MameImportOptions& options = {})
{
  Lookups lookups(t.Db(), feedback);
  return MameImport(t.Db(), lookups, t.Folder(), executable, feedback, options);
}

// Records everything, and cancels once the import has added a game and let window events run
// twice more.
class CancellingFeedback final : public Feedback {
 public:
  void SetStatus(StatusKind kind, const QString& text) override
  {
    recorded.SetStatus(kind, text);
    if (m_yieldsAtFirstGame < 0 && text.startsWith(QStringLiteral("Adding ")))
      m_yieldsAtFirstGame = recorded.yields;
  }
  void SetProgressMaximum(int maximum) override { recorded.SetProgressMaximum(maximum); }
  void SetProgressValue(int value) override { recorded.SetProgressValue(value); }
  void AddResultLine(const QString& line) override { recorded.AddResultLine(line); }
  void Yield() override { recorded.Yield(); }
  Answer Ask(const Question& question) override { return recorded.Ask(question); }
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override
  {
    recorded.ShowMessage(title, text, icon);
  }
  bool IsCancelled() override { return m_yieldsAtFirstGame >= 0 && recorded.yields >= m_yieldsAtFirstGame + 2; }

  RecordingFeedback recorded;

 private:
  int m_yieldsAtFirstGame = -1;
};

// True while the process of the pid written in `pidFile` exists.
bool ProcessAlive(const QString& pidFile)
{
  QFile file(pidFile);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const pid_t pid = file.readAll().trimmed().toInt();
  return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH);
}

// One arcade game as "title|year|maker|clone", by file name.
QString GameLine(TestCatalogue& t, const QString& fileName)
{
  return t
      .Value(QStringLiteral("SELECT Games.FullName || '|' || [Year].[Year] || '|' || Manufacturer.Manufacturer || "
                            "'|' || Games.Clone FROM Games JOIN [Year] ON [Year].YearID = Games.Year "
                            "JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                            "WHERE Games.System = 1 AND Games.FileName = ?"),
             {fileName})
      .toString();
}

int Count(TestCatalogue& t, const QString& sql)
{
  return t.Value(sql).toInt();
}

// Everything an import may write, as one text, to prove a failed one wrote nothing.
QString Snapshot(TestCatalogue& t)
{
  return t
      .Value(QStringLiteral(
          "SELECT (SELECT group_concat(GameID || FileName || FullName || Year || Manufacturer || Clone, ';') "
          "FROM Games) || (SELECT count(*) FROM SubGenres) || (SELECT count(*) FROM [Year]) || "
          "(SELECT count(*) FROM Manufacturer)"))
      .toString();
}

}  // namespace

class MameImportTest : public QObject {
  Q_OBJECT

 private slots:
  void ImportsTodaysMameFromItsXmlList()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QElapsedTimer took;
    took.start();
    const MameImportSummary summary = Import(t, FakeMame(), feedback);

    QVERIFY(summary.succeeded);
    QCOMPARE(summary.form, MameListForm::Xml);
    QCOMPARE(summary.counts.added, 23);
    QCOMPARE(summary.counts.skipped, 7);  // six devices and the BIOS set
    QCOMPARE(summary.counts.clonesMarked, 9);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 1")), 23);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE FileName IN ('neogeo.zip', 'z80.zip', "
                                     "'istrebiteli_sound.zip')")),
             0);
    // Quotes, "&", "<" and non-ASCII characters arrive as Mame wrote them.
    QCOMPARE(GameLine(t, QStringLiteral("cc7.zip")), QStringLiteral("Chess Challenger \"7\" (set 1)|1980|Fidelity "
                                                                    "Electronics|0"));
    QCOMPARE(GameLine(t, QStringLiteral("j_ews.zip")),
             QStringLiteral("Each Way Shuffle (JPM) (SRU) (revision 8A, \u00A32 Jackpot)|1981|JPM|0"));
    QCOMPARE(GameLine(t, QStringLiteral("tst_galx.zip")), QStringLiteral("Galaxian Test ROM|19??|<unknown>|1"));
    QCOMPARE(GameLine(t, QStringLiteral("foodf2.zip")),
             QStringLiteral("Food Fight (rev 2)|1982|General Computer Corporation (Atari license)|1"));
    // New games are missing until a ROM scan finds them, and carry the "[Unknown]" genre link.
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games JOIN SubGenres ON SubGenres.GameID = Games.GameID "
                                     "WHERE System = 1 AND GenreID = 1 AND Genre = 1 AND RomPath IS NULL "
                                     "AND Available = 0")),
             23);

    // The first machine's status, then at most four a second, and the count at the end.
    const QStringList statuses = feedback.StatusLines();
    QCOMPARE(statuses.first(), QStringLiteral("Status: Exporting game list from Mame..."));
    QCOMPARE(statuses.at(1), QStringLiteral("Status: Adding 1942 (Revision B)"));
    QVERIFY(statuses.filter(QStringLiteral("Status: Adding ")).size() <= 1 + took.elapsed() / 250);
    QCOMPARE(statuses.mid(statuses.size() - 3),
             QStringList({QStringLiteral("Status: 23 games added, 0 updated"),
                          QStringLiteral("Status: Updating Clones..."), QStringLiteral("Status: Done.")}));
    QCOMPARE(feedback.progressMaximum, 30);
    QCOMPARE(feedback.progressValue, 30);
  }

  void ImportsOldBuildsFromTheirThreeLists()
  {
    TestCatalogue t;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("calls.log"));
    ScopedEnvironment mode("FAKE_MAME_MODE", "legacy");
    ScopedEnvironment calls("FAKE_MAME_LOG", log.toUtf8());
    RecordingFeedback feedback;
    const MameImportSummary summary = Import(t, FakeMame(), feedback);

    QVERIFY(summary.succeeded);
    QCOMPARE(summary.form, MameListForm::ThreeLists);
    QCOMPARE(summary.counts.added, 23);
    QCOMPARE(summary.counts.clonesMarked, 9);
    QFile calledWith(log);
    QVERIFY(calledWith.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(calledWith.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.mid(lines.size() - 3),
             QStringList({QStringLiteral("-ll -sortdriver"), QStringLiteral("-listgames -sortdriver"),
                          QStringLiteral("-listclones -sortdriver")}));
    // Makers longer than their column are read up to their ")"; 0xA3 is the pound sign.
    QCOMPARE(GameLine(t, QStringLiteral("foodf.zip")),
             QStringLiteral("Food Fight (rev 3)|1982|General Computer Corporation (Atari license)|0"));
    QCOMPARE(GameLine(t, QStringLiteral("ninjawu.zip")),
             QStringLiteral("Ninja Warriors, The (US, Romstar license)|1987|Taito Corporation America (licensed to "
                            "Romstar)|1"));
    QCOMPARE(GameLine(t, QStringLiteral("v4psi.zip")),
             QStringLiteral("Prize Space Invaders (BWB IN2, \u00A320, 50p/30p Play, 20\" Version 1.1) (MPU4 "
                            "Video)|1991|BWB|0"));
    QCOMPARE(GameLine(t, QStringLiteral("alphaho.zip")), QStringLiteral("Alpha Fighter / Head On|19??|Data East "
                                                                        "Corporation|0"));
    for (const QString& name : {kMameListFile, kMameYearFile, kMameClonesFile})
      QVERIFY2(!QFile::exists(t.Folder().TempFolder() + name), qPrintable(name));
  }

  void ExistingGamesKeepTheirOwnColumns()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (7, '/roms/arcade/', 1)"));
    t.Exec(QStringLiteral(
        "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Selected, Country, Year, "
        "Manufacturer, Image, Description, Rating, Genre) VALUES "
        "(500, 'Old name', 'pacman.zip', 1, 7, 1, 1, 5, 42, 319, 'pacman.png', 'Yellow', 4, 2), "
        "(501, 'Donkey Kong 7z', 'dkong.7z', 1, 7, 1, 0, 1, 42, 319, NULL, NULL, NULL, 1), "
        "(502, 'Not arcade', 'kof98a.zip', 2, NULL, 0, 0, 1, 42, 319, NULL, NULL, NULL, 1)"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (500, 5), (500, 7), (501, 1), (502, 1)"));
    t.Exec(QStringLiteral("UPDATE System SET RemoveText = 1 WHERE SystemID = 1"));
    RecordingFeedback feedback;
    const MameImportSummary summary = Import(t, FakeMame(), feedback);

    QVERIFY(summary.succeeded);
    QCOMPARE(summary.counts.updated, 1);
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: 22 games added, 1 updated")));
    // New title (cut before "(" as the arcade system asks, blank kept), year, maker and clone mark...
    QCOMPARE(GameLine(t, QStringLiteral("pacman.zip")), QStringLiteral("Pac-Man |1980|Namco (Midway license)|1"));
    // ...and everything else as it was.
    QCOMPARE(t.Value(QStringLiteral("SELECT GameID || RomPath || Available || Selected || Country || Image || "
                                    "Description || Rating || Genre FROM Games WHERE FileName = 'pacman.zip'"))
                 .toString(),
             QStringLiteral("5007115pacman.pngYellow42"));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(GenreID) FROM SubGenres WHERE GameID = 500")).toString(),
             QStringLiteral("5,7"));
    // Only ".zip" names of the arcade system match: the others stay as they were.
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName || Clone FROM Games WHERE GameID = 501")).toString(),
             QStringLiteral("Donkey Kong 7z0"));
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName || Clone FROM Games WHERE GameID = 502")).toString(),
             QStringLiteral("Not arcade0"));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 1")), 24);
  }

  void ClonesMissingFromTheCatalogueChangeNothing()
  {
    // An old build's clone list naming a driver that its game list lacks.
    QTemporaryDir data;
    QDir().mkpath(data.filePath(QStringLiteral("legacy")));
    for (const QString& name : {kMameListFile, kMameYearFile})
      QFile::copy(TestDataPath(QStringLiteral("mame/legacy/") + name), data.filePath(QStringLiteral("legacy/") + name));
    TouchFile(data.filePath(QStringLiteral("legacy/clones.txt")),
              "Name:    Clone of:\r\nghost    galaxian\r\npacman   puckman \r\n");
    ScopedEnvironment mode("FAKE_MAME_MODE", "legacy");
    ScopedEnvironment folder("FAKE_MAME_DATA", data.path().toUtf8());
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES ('Ghost', 'ghost.zip', 2)"));
    RecordingFeedback feedback;
    const MameImportSummary summary = Import(t, FakeMame(), feedback);

    QVERIFY(summary.succeeded);
    QCOMPARE(summary.counts.clonesMarked, 1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE Clone <> 0")), 1);
    QCOMPARE(GameLine(t, QStringLiteral("pacman.zip")).right(1), QStringLiteral("1"));
  }

  void ReimportClearsCloneMarksTheListNoLongerHas_data()
  {
    QTest::addColumn<QByteArray>("mode");
    QTest::newRow("-listxml") << QByteArray("modern");
    QTest::newRow("three lists") << QByteArray("legacy");
  }

  void ReimportClearsCloneMarksTheListNoLongerHas()
  {
    QFETCH(QByteArray, mode);
    ScopedEnvironment fake("FAKE_MAME_MODE", mode);
    TestCatalogue t;
    // puckman is a parent in the list; dkong.7z is no machine of the list.
    t.Exec(
        QStringLiteral("INSERT INTO Games (FullName, FileName, System, Clone) VALUES "
                       "('Puck Man', 'puckman.zip', 1, 1), ('Donkey Kong 7z', 'dkong.7z', 1, 1)"));
    RecordingFeedback feedback;
    QVERIFY(Import(t, FakeMame(), feedback).succeeded);

    QCOMPARE(GameLine(t, QStringLiteral("puckman.zip")).right(1), QStringLiteral("0"));
    QCOMPARE(GameLine(t, QStringLiteral("pacman.zip")).right(1), QStringLiteral("1"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Clone FROM Games WHERE FileName = 'dkong.7z'")).toInt(), 1);
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 1 AND Clone <> 0")), 10);
  }

  void ProgramsWithoutAListTouchNoRow_data()
  {
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QString>("error");
    const QString noGames = QStringLiteral("Status: Error - ") + kMameNoGamesError;
    QTest::newRow("prints nothing") << QByteArray("exit 0\n") << noGames;
    QTest::newRow("not Mame") << QByteArray("echo 'Usage: something else'\n") << noGames;
    QTest::newRow("empty Mame list") << QByteArray(
                                            "printf '<?xml version=\"1.0\"?>\\n<mame build=\"x\">\\n</mame>\\n'\n")
                                     << noGames;
    QTest::newRow("list breaks off") << QByteArray("head -c 100000 \"$FAKE_LIST\"; exit 1\n")
                                     << QStringLiteral(
                                            "Status: Error - 1-(MameImport)-Mame's list ended before its "
                                            "last machine.");
    // Old builds' lists are read line by line: far more lines, or a far longer one, is no list.
    QTest::newRow("old build's list too long")
        << QByteArray("[ \"$1\" = -ll ] && yes 'pacman    \"Pac-Man\"' | head -n 1000100; exit 0\n")
        << QStringLiteral(
               "Status: Error - 1-(MameImport)-Mame's -ll list names more than 1000000 machines; it is no "
               "game list, and the catalogue is unchanged.");
    QTest::newRow("old build's line too long")
        << QByteArray("[ \"$1\" = -ll ] && head -c 100000 /dev/zero | tr '\\0' x; exit 0\n")
        << QStringLiteral(
               "Status: Error - 1-(MameImport)-Mame's -ll list holds a line longer than 64 KB; it is no "
               "game list, and the catalogue is unchanged.");
  }

  void ProgramsWithoutAListTouchNoRow()
  {
    QFETCH(QByteArray, script);
    QFETCH(QString, error);
    QTemporaryDir dir;
    ScopedEnvironment list("FAKE_LIST", TestDataPath(QStringLiteral("mame/modern/listxml.xml")).toUtf8());
    TestCatalogue t;
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System) VALUES (9, 'Kept', 'pacman.zip', 1)"));
    const QString before = Snapshot(t);
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const MameImportSummary summary =
        MameImport(t.Db(), lookups, t.Folder(), WriteScript(dir, QStringLiteral("mame"), script), feedback);

    QVERIFY(!summary.succeeded);
    QCOMPARE(feedback.LastStatus(), error);
    QCOMPARE(Snapshot(t), before);
    // The caches forget what the rolled-back import added: a maker is found or added for real.
    const QVariant key = lookups.GetManf(QStringLiteral("Fidelity Electronics"), true);
    QCOMPARE(t.Value(QStringLiteral("SELECT Manufacturer FROM Manufacturer WHERE ManufacturerID = ?"), {key}),
             QVariant(QStringLiteral("Fidelity Electronics")));
  }

  void SilentMameIsStoppedAndNothingChanges_data()
  {
    QTest::addColumn<QByteArray>("mode");
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("bytes");  // printed before it falls silent
    QTest::newRow("-listfull") << QByteArray("modern") << QByteArray("-listfull") << QByteArray("0");
    QTest::newRow("-listxml") << QByteArray("modern") << QByteArray("-listxml") << QByteArray("0");
    QTest::newRow("-listxml, half the list") << QByteArray("modern") << QByteArray("-listxml") << QByteArray("20000");
    QTest::newRow("old build, -ll") << QByteArray("legacy") << QByteArray("-ll") << QByteArray("0");
    QTest::newRow("old build, half of -listgames")
        << QByteArray("legacy") << QByteArray("-listgames") << QByteArray("700");
    QTest::newRow("old build, -listclones") << QByteArray("legacy") << QByteArray("-listclones") << QByteArray("0");
  }

  void SilentMameIsStoppedAndNothingChanges()
  {
    QFETCH(QByteArray, mode);
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("mame.pid"));
    ScopedEnvironment fake("FAKE_MAME_MODE", mode);
    ScopedEnvironment hang("FAKE_MAME_HANG", option);
    ScopedEnvironment printed("FAKE_MAME_HANG_BYTES", bytes);
    ScopedEnvironment pid("FAKE_MAME_PIDFILE", pidFile.toUtf8());
    TestCatalogue t;
    t.Exec(
        QStringLiteral("INSERT INTO Games (FullName, FileName, System, Clone) VALUES ('Puck', 'puckman.zip', 1, 1)"));
    const QString before = Snapshot(t);
    RecordingFeedback feedback;
    MameImportOptions options;
    options.silenceLimitSeconds = 1;
    const MameImportSummary summary = Import(t, FakeMame(), feedback, options);

    QVERIFY(!summary.succeeded);
    QVERIFY(!summary.committed);
    QCOMPARE(feedback.LastStatus(),
             QStringLiteral("Status: Error - 1-(MameImport)-Mame printed nothing for 1 s after %1 and was stopped; the "
                            "catalogue is unchanged.")
                 .arg(QString::fromLatin1(option)));
    QCOMPARE(Snapshot(t), before);
    QVERIFY(QFile::exists(pidFile));
    QVERIFY(!ProcessAlive(pidFile));
  }

  void CancellingStopsMameAndChangesNothing()
  {
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("mame.pid"));
    ScopedEnvironment hang("FAKE_MAME_HANG", "-listxml");
    ScopedEnvironment printed("FAKE_MAME_HANG_BYTES", "20000");
    ScopedEnvironment pid("FAKE_MAME_PIDFILE", pidFile.toUtf8());
    TestCatalogue t;
    const QString before = Snapshot(t);
    // No silence limit: only the user ends the wait.
    MameImportOptions options;
    options.silenceLimitSeconds = 0;
    CancellingFeedback feedback;
    const MameImportSummary summary = Import(t, FakeMame(), feedback, options);

    QVERIFY(!summary.committed);
    QCOMPARE(feedback.recorded.LastStatus(), QStringLiteral("Status: Error - 18-(MameImport)-The import was cancelled; "
                                                            "Mame was stopped and the catalogue is unchanged."));
    QCOMPARE(Snapshot(t), before);
    QVERIFY(!ProcessAlive(pidFile));
  }

  void RowsThatCannotBeWrittenAreCounted()
  {
    TestCatalogue t;
    t.Exec(
        QStringLiteral("CREATE TRIGGER RefusePong BEFORE INSERT ON Games WHEN NEW.FileName = 'pong.zip' "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    RecordingFeedback feedback;
    const MameImportSummary summary = Import(t, FakeMame(), feedback);

    QVERIFY(!summary.succeeded);
    QCOMPARE(summary.counts.added, 22);
    QCOMPARE(summary.counts.failed, 1);
    QVERIFY(feedback.ErrorLines().first().contains(QStringLiteral("-(MameImport)-pong: refused")));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Error - 1 machines could not be imported"));
    QCOMPARE(Count(t, QStringLiteral("SELECT count(*) FROM Games WHERE System = 1")), 22);
  }
};

QUILLON_TEST_CLASS(MameImportTest)
#include "MameImportTest.moc"
