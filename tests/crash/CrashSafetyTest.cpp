// Kill -9 trials: the real quillon-cli, and the window for its closing compaction, killed at varied
// moments of a scan, a Mame import, both exports and the compaction. After every kill the
// catalogue passes SQLite's integrity check, holds every game it held, and the next run opens it;
// a file an export writes is the old one or a complete new one.
//
// Each operation first runs to its end once on its own copy of the scene: that gives the state it
// leaves and how long it takes from the moment a trial waits for (a status line, a file appearing)
// to its end, so trials kill at fractions of that time and adapt to a slow (sanitizer) build.
#include "RomFiles.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "export/sqlite2/Sqlite2File.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kCli = QStringLiteral(QUILLON_BIN_DIR "/quillon-cli");
const QString kWindow = QStringLiteral(QUILLON_BIN_DIR "/quillon");
const QString kCatalogueName = QStringLiteral("quillon_6103.mdb");

constexpr int kRomFolders = 6;
constexpr int kFilesPerFolder = 700;
constexpr int kMameMachines = 6000;

// Every row of Games by GameID.
using GameRows = QMap<qint64, QVariantList>;

// The catalogue file opened on a connection of the test's own, without the programs' start-up.
std::unique_ptr<Catalogue> OpenCatalogue(const QString& folder)
{
  return Catalogue::Open(folder + QLatin1Char('/') + kCatalogueName, nullptr, nullptr);
}

// The integrity check's lines joined: "ok" for a sound file.
QString Integrity(Catalogue& catalogue)
{
  SqlFailure failure;
  const std::optional<Rows> rows = catalogue.TrySelect(QStringLiteral("PRAGMA integrity_check"), {}, &failure);
  QStringList lines;
  for (const QVariantList& row : rows ? rows->All() : std::vector<QVariantList>{})
    lines << row.value(0).toString();
  return rows ? lines.join(QLatin1Char('\n')) : failure.description;
}

GameRows Games(Catalogue& catalogue)
{
  GameRows games;
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("SELECT * FROM Games ORDER BY GameID"), {}, nullptr);
  for (const QVariantList& row : rows ? rows->All() : std::vector<QVariantList>{})
    games.insert(row.first().toLongLong(), row);
  return games;
}

// When a trial kills: after the program printed a line holding `statusLine` on stderr (its
// `occurrence`th), or once `fileAppears` exists; then after `fraction` of the time the whole run
// took from that moment to its end.
struct Moment {
  QString statusLine;
  int occurrence = 1;
  QString fileAppears;
  double fraction = 0;
};

struct ProgramRun {
  bool started = false;
  bool killed = false;      // false: the program ended before the kill
  bool hung = false;        // still running after a minute (then killed)
  int exitCode = -1;        // when it ended by itself
  qint64 momentToEnd = -1;  // ms from the moment to the end (runs without a kill)
  QString err;
};

struct Launch {
  Launch(QString program, QStringList arguments,
         QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(), QString terminateWhenExists = {})
      : program(std::move(program)),
        arguments(std::move(arguments)),
        environment(std::move(environment)),
        terminateWhenExists(std::move(terminateWhenExists))
  {
  }
  QString program;
  QStringList arguments;
  QProcessEnvironment environment;
  // Sends SIGTERM once this file exists (the window closes and compacts; its lock file shows its
  // signal handlers are in place).
  QString terminateWhenExists;
};

class MomentWatch {
 public:
  explicit MomentWatch(const Moment& moment) : m_moment(moment) {}

  // Reads what the program printed; true once the moment has come.
  bool Reached(const QByteArray& newErr)
  {
    if (m_reached)
      return true;
    if (!m_moment.statusLine.isEmpty()) {
      m_pending += newErr;
      qsizetype end;
      while ((end = m_pending.indexOf('\n')) >= 0) {
        if (QString::fromUtf8(m_pending.left(end)).contains(m_moment.statusLine) && ++m_seen == m_moment.occurrence)
          m_reached = true;
        m_pending.remove(0, end + 1);
      }
    } else if (!m_moment.fileAppears.isEmpty()) {
      m_reached = QFile::exists(m_moment.fileAppears);
    }
    if (m_reached)
      m_since.start();
    return m_reached;
  }
  qint64 SinceMs() const { return m_since.isValid() ? m_since.elapsed() : -1; }

 private:
  Moment m_moment;
  QByteArray m_pending;
  int m_seen = 0;
  bool m_reached = false;
  QElapsedTimer m_since;
};

// Runs the program; with `killAfterMs` >= 0 kills it with SIGKILL that long after the moment.
ProgramRun RunProgram(const Launch& launch, const Moment& moment, qint64 killAfterMs)
{
  ProgramRun run;
  QProcess process;
  process.setProgram(launch.program);
  process.setArguments(launch.arguments);
  process.setProcessEnvironment(launch.environment);
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setReadChannel(QProcess::StandardError);
  process.start();
  if (!process.waitForStarted(10000))
    return run;
  run.started = true;
  bool terminated = launch.terminateWhenExists.isEmpty();
  MomentWatch watch(moment);
  QElapsedTimer limit;
  limit.start();
  while (process.state() != QProcess::NotRunning && limit.elapsed() < 60000) {
    process.waitForReadyRead(1);
    if (!terminated && QFile::exists(launch.terminateWhenExists)) {
      ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
      terminated = true;
    }
    const QByteArray err = process.readAllStandardError();
    run.err += QString::fromUtf8(err);
    if (watch.Reached(err) && killAfterMs >= 0 && watch.SinceMs() >= killAfterMs &&
        process.state() == QProcess::Running) {
      ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
      run.killed = true;
      break;
    }
  }
  if (process.state() != QProcess::NotRunning && !process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished(5000);
    run.hung = true;
    run.err += QStringLiteral("\n(still running after a minute: killed)");
    return run;
  }
  run.err += QString::fromUtf8(process.readAllStandardError());
  run.momentToEnd = watch.SinceMs();
  if (!run.killed && process.exitStatus() == QProcess::NormalExit)
    run.exitCode = process.exitCode();
  return run;
}

ProgramRun RunCli(const QString& dataFolder, const QStringList& arguments)
{
  return RunProgram(Launch(kCli, QStringList{QStringLiteral("--data-dir"), dataFolder} + arguments), {}, -1);
}

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Games of `before` that are gone from `now`.
QList<qint64> LostGames(const GameRows& now, const GameRows& before)
{
  QList<qint64> lost;
  for (auto it = before.cbegin(); it != before.cend(); ++it) {
    if (!now.contains(it.key()))
      lost << it.key();
  }
  return lost;
}

// Games of `now` whose row is neither what it was nor what the completed operation made of it.
QList<qint64> GamesInNeitherState(const GameRows& now, const GameRows& before, const GameRows& after)
{
  QList<qint64> odd;
  for (auto it = now.cbegin(); it != now.cend(); ++it) {
    if (it.value() != before.value(it.key()) && it.value() != after.value(it.key()))
      odd << it.key();
  }
  return odd;
}

QString Ids(const QList<qint64>& ids)
{
  QStringList texts;
  for (qsizetype i = 0; i < ids.size() && i < 10; ++i)
    texts << QString::number(ids[i]);
  return QStringLiteral("%1 game(s): %2").arg(ids.size()).arg(texts.join(QLatin1Char(' ')));
}

QByteArray MachineName(int index)
{
  return "m" + QByteArray::number(index);
}

QByteArray MachineMaker(int index)
{
  return index % 5 == 0 ? "Maker " + QByteArray::number(index % 70) + " (licensed to Another Maker)"
                        : "Maker " + QByteArray::number(index % 70);
}

// A Mame -listxml of many machines, with some of the details Mame prints after the maker, and the
// -listfull beside it (the import counts the machines with it first).
bool WriteModernLists(const QString& folder)
{
  QByteArray xml =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n]>\n\n"
      "<mame build=\"0.251 (crash test)\" debug=\"no\" mameconfig=\"10\">\n";
  QByteArray full = "Name:             Description:\n";
  for (int i = 0; i < kMameMachines; ++i) {
    xml += "\t<machine name=\"" + MachineName(i) + "\" sourcefile=\"test.cpp\"";
    if (i % 3 != 0)
      xml += " cloneof=\"" + MachineName(i - i % 3) + "\" romof=\"" + MachineName(i - i % 3) + "\"";
    xml += ">\n\t\t<description>Machine " + QByteArray::number(i) + " &amp; Co (World)</description>\n\t\t<year>" +
           QByteArray::number(1975 + i % 30) + "</year>\n\t\t<manufacturer>" + MachineMaker(i) + "</manufacturer>\n";
    for (int rom = 0; rom < 8; ++rom)
      xml += "\t\t<rom name=\"r" + QByteArray::number(rom) + ".bin\" size=\"16384\" crc=\"0123abcd\"/>\n";
    xml += "\t</machine>\n";
    full += MachineName(i).leftJustified(17) + " \"Machine " + QByteArray::number(i) + " & Co (World)\"\n";
  }
  xml += "</mame>\n";
  return QDir().mkpath(folder + QStringLiteral("/modern")) &&
         WriteFile(folder + QStringLiteral("/modern/listxml.xml"), xml) &&
         WriteFile(folder + QStringLiteral("/modern/listfull.txt"), full);
}

// The same machines in the three lists of old Windows builds (CR LF, fixed columns).
bool WriteLegacyLists(const QString& folder)
{
  QByteArray list = "Name:     Description:\r\n";
  QByteArray years;
  QByteArray clones = "Name:    Clone of:\r\n";
  for (int i = 0; i < kMameMachines; ++i) {
    const QByteArray title = "Machine " + QByteArray::number(i) + " & Co (World)";
    list += MachineName(i).leftJustified(10) + "\"" + title + "\"\r\n";
    years +=
        QByteArray::number(1975 + i % 30).leftJustified(5) + MachineMaker(i).leftJustified(36) + " " + title + "\r\n";
    if (i % 3 != 0)
      clones += MachineName(i).leftJustified(8) + " " + MachineName(i - i % 3).leftJustified(8) + "\r\n";
  }
  return QDir().mkpath(folder + QStringLiteral("/legacy")) &&
         WriteFile(folder + QStringLiteral("/legacy/list.txt"), list) &&
         WriteFile(folder + QStringLiteral("/legacy/year.txt"), years) &&
         WriteFile(folder + QStringLiteral("/legacy/clones.txt"), clones);
}

QString RomFolder(const QString& root, int folder)
{
  return root + QStringLiteral("/roms/f%1").arg(folder);
}

QString RomName(int folder, int file)
{
  static const QStringList tags = {QStringLiteral("(1994)(Capcom)(U)"), QStringLiteral("(J)"),
                                   QStringLiteral("(1991)(E)"), QStringLiteral("(Konami)(199x)")};
  return QStringLiteral("Game %1-%2 %3.smc").arg(folder).arg(file).arg(tags[file % tags.size()]);
}

}  // namespace

class CrashSafetyTest : public QObject {
  Q_OBJECT

 private:
  // What one operation is, and what its complete run left.
  struct Operation {
    Launch launch{{}, {}};
    QString output;  // a file it writes, relative to the trial's folder; empty when none
    Moment moment;   // the moment trials count from (fraction ignored)
    qint64 momentToEnd = 0;
    GameRows after;
    QByteArray outputAfter;
  };

  QTemporaryDir m_dir;
  QString m_base;  // the data folder every trial copies
  GameRows m_before;
  QByteArray m_oldMy;
  QByteArray m_oldLibrary;
  QMap<QString, Operation> m_operations;
  int m_trial = 0;
  QMap<QString, int> m_trials;  // by operation
  QMap<QString, int> m_kills;   // trials that stopped the program before its end

  QString NewTrialFolder()
  {
    const QString folder = m_dir.filePath(QStringLiteral("trial-%1").arg(++m_trial));
    if (!QDir().mkpath(folder) ||
        !QFile::copy(m_base + QLatin1Char('/') + kCatalogueName, folder + QLatin1Char('/') + kCatalogueName) ||
        !WriteFile(folder + QStringLiteral("/old.my"), m_oldMy) ||
        !WriteFile(folder + QStringLiteral("/library.mlf"), m_oldLibrary))
      return {};
    return folder;
  }

  // The operation's program and arguments in `folder`.
  Launch LaunchIn(const Operation& operation, const QString& folder) const
  {
    Launch launch = operation.launch;
    launch.arguments.replaceInStrings(QStringLiteral("{folder}"), folder);
    launch.terminateWhenExists.replace(QStringLiteral("{folder}"), folder);
    return launch;
  }

  Moment MomentIn(Moment moment, const QString& folder) const
  {
    moment.fileAppears.replace(QStringLiteral("{folder}"), folder);
    return moment;
  }

  bool AddOperation(const QString& name, const Operation& definition)
  {
    Operation operation = definition;
    const QString folder = NewTrialFolder();
    const ProgramRun run = RunProgram(LaunchIn(operation, folder), MomentIn(operation.moment, folder), -1);
    if (run.exitCode != 0 || run.momentToEnd < 0) {
      qWarning("%s did not complete (exit %d): %s", qPrintable(name), run.exitCode, qPrintable(run.err));
      return false;
    }
    operation.momentToEnd = run.momentToEnd;
    const std::unique_ptr<Catalogue> catalogue = OpenCatalogue(folder);
    operation.after = catalogue ? Games(*catalogue) : GameRows();
    if (!operation.output.isEmpty())
      operation.outputAfter = FileBytes(folder + QLatin1Char('/') + operation.output);
    m_operations.insert(name, operation);
    return true;
  }

  bool BuildRomFolders()
  {
    for (int folder = 1; folder <= kRomFolders; ++folder) {
      for (int file = 0; file < kFilesPerFolder; ++file) {
        if (!TouchFile(RomFolder(m_dir.path(), folder) + QLatin1Char('/') + RomName(folder, file)))
          return false;
      }
    }
    return true;
  }

  // Between the first scan and the trials' rescan some files go and others come, so the rescan
  // changes games in every folder.
  bool ChangeRomFolders()
  {
    for (int folder = 1; folder <= kRomFolders; ++folder) {
      for (int file = folder; file < kFilesPerFolder; file += 7) {
        if (!QFile::remove(RomFolder(m_dir.path(), folder) + QLatin1Char('/') + RomName(folder, file)))
          return false;
      }
      for (int file = kFilesPerFolder; file < kFilesPerFolder + 40; ++file) {
        if (!TouchFile(RomFolder(m_dir.path(), folder) + QLatin1Char('/') + RomName(folder, file)))
          return false;
      }
    }
    return true;
  }

  bool BuildBase()
  {
    if (!BuildRomFolders())
      return false;
    for (int folder = 1; folder <= kRomFolders; ++folder) {
      const ProgramRun run = RunCli(m_base, {QStringLiteral("system"), QStringLiteral("add-rompath"),
                                             QStringLiteral("SNES"), RomFolder(m_dir.path(), folder)});
      if (run.exitCode != 0) {
        qWarning("add-rompath: %s", qPrintable(run.err));
        return false;
      }
    }
    const QList<QStringList> steps = {
        {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")},
        {QStringLiteral("import-mame"), TestDataPath(QStringLiteral("mame/fake-mame.sh"))},
        {QStringLiteral("check-all"), QStringLiteral("--system"), QStringLiteral("SNES")},
        {QStringLiteral("check-all"), QStringLiteral("--system"), QStringLiteral("Arcade")},
        {QStringLiteral("export-meedio"), m_base + QStringLiteral("/library.mlf"), QStringLiteral("--system"),
         QStringLiteral("SNES")}};
    for (const QStringList& step : steps) {
      const ProgramRun run = RunCli(m_base, step);
      if (run.exitCode != 0) {
        qWarning("%s: %s", qPrintable(step.join(QLatin1Char(' '))), qPrintable(run.err));
        return false;
      }
    }
    m_oldLibrary = FileBytes(m_base + QStringLiteral("/library.mlf"));
    m_oldMy = QByteArrayLiteral("[the .my file of an earlier export]\r\n");
    const std::unique_ptr<Catalogue> catalogue = OpenCatalogue(m_base);
    // Overviews make the catalogue large enough for its compaction to take a while.
    if (!catalogue ||
        !catalogue->TryExecute(QStringLiteral("UPDATE Games SET Description = hex(randomblob(600))"), {}, nullptr)) {
      qWarning("cannot give the games overviews");
      return false;
    }
    m_before = Games(*catalogue);
    return ChangeRomFolders();
  }

  bool DefineOperations()
  {
    QProcessEnvironment mame = QProcessEnvironment::systemEnvironment();
    mame.insert(QStringLiteral("FAKE_MAME_DATA"), m_dir.filePath(QStringLiteral("mame")));
    QProcessEnvironment legacyMame = mame;
    legacyMame.insert(QStringLiteral("FAKE_MAME_MODE"), QStringLiteral("legacy"));
    QProcessEnvironment window = QProcessEnvironment::systemEnvironment();
    window.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString fakeMame = TestDataPath(QStringLiteral("mame/fake-mame.sh"));
    const QStringList dataDir = {QStringLiteral("--data-dir"), QStringLiteral("{folder}")};

    Operation scan;
    scan.launch =
        Launch(kCli, dataDir + QStringList{QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")});
    scan.moment.statusLine = QStringLiteral("Status: Scanning");
    Operation xmlImport;
    xmlImport.launch = {kCli, dataDir + QStringList{QStringLiteral("import-mame"), fakeMame}, mame};
    xmlImport.moment.statusLine = QStringLiteral("Exporting game list from Mame");
    Operation legacyImport = xmlImport;
    legacyImport.launch.environment = legacyMame;
    Operation myExport;
    myExport.launch = {kCli, dataDir + QStringList{QStringLiteral("export-my"), QStringLiteral("{folder}/old.my"),
                                                   QStringLiteral("--all-systems"), QStringLiteral("--all-genres"),
                                                   QStringLiteral("--overwrite")}};
    myExport.output = QStringLiteral("old.my");
    myExport.moment.statusLine = QStringLiteral("Status: Checking");
    Operation meedioExport;
    meedioExport.launch = {
        kCli, dataDir + QStringList{QStringLiteral("export-meedio"), QStringLiteral("{folder}/library.mlf"),
                                    QStringLiteral("--all-systems")}};
    meedioExport.output = QStringLiteral("library.mlf");
    meedioExport.moment.statusLine = QStringLiteral("Status: Exporting");
    Operation compaction;
    compaction.launch = {kWindow, dataDir, window, QStringLiteral("{folder}/quillon_6103.ldb")};
    compaction.moment.fileAppears = QStringLiteral("{folder}/dbtemp.mdb");

    return AddOperation(QStringLiteral("scan"), scan) && AddOperation(QStringLiteral("xml import"), xmlImport) &&
           AddOperation(QStringLiteral("legacy import"), legacyImport) &&
           AddOperation(QStringLiteral(".my export"), myExport) &&
           AddOperation(QStringLiteral("Meedio export"), meedioExport) &&
           AddOperation(QStringLiteral("compaction"), compaction);
  }

  // Kills a run of the operation at the moment; returns the trial's folder (empty on failure).
  QString KillTrial(const QString& name, const Moment& moment, ProgramRun* run)
  {
    const Operation& operation = m_operations[name];
    const QString folder = NewTrialFolder();
    if (folder.isEmpty())
      return {};
    const auto killAfter = static_cast<qint64>(moment.fraction * double(operation.momentToEnd));
    *run = RunProgram(LaunchIn(operation, folder), MomentIn(moment, folder), killAfter);
    ++m_trials[name];
    m_kills[name] += run->killed ? 1 : 0;
    return folder;
  }

  // What every kill must leave: a sound catalogue holding every game it held, that the next run
  // opens. Returns the games it holds now.
  GameRows CheckCatalogueAfterKill(const QString& folder)
  {
    GameRows now;
    {
      const std::unique_ptr<Catalogue> catalogue = OpenCatalogue(folder);
      [&] { QVERIFY(catalogue); }();
      if (!catalogue)
        return now;
      const QString integrity = Integrity(*catalogue);
      [&] { QCOMPARE(integrity, QStringLiteral("ok")); }();
      now = Games(*catalogue);
    }
    const QList<qint64> lost = LostGames(now, m_before);
    [&] { QVERIFY2(lost.isEmpty(), qPrintable(QStringLiteral("lost ") + Ids(lost))); }();
    const ProgramRun next = RunCli(folder, {QStringLiteral("info")});
    [&] { QVERIFY2(next.exitCode == 0, qPrintable(next.err)); }();
    return now;
  }

 private slots:
  void initTestCase()
  {
    QVERIFY(m_dir.isValid());
    m_base = m_dir.filePath(QStringLiteral("base"));
    QVERIFY(QDir().mkpath(m_base));
    QVERIFY(WriteModernLists(m_dir.filePath(QStringLiteral("mame"))));
    QVERIFY(WriteLegacyLists(m_dir.filePath(QStringLiteral("mame"))));
    QVERIFY(BuildBase());
    QVERIFY(DefineOperations());
    // The operations do change what the trials check.
    QVERIFY(m_operations[QStringLiteral("scan")].after != m_before);
    QVERIFY(m_operations[QStringLiteral("xml import")].after.size() > m_before.size() + kMameMachines / 2);
    QVERIFY(m_operations[QStringLiteral(".my export")].outputAfter.size() > m_oldMy.size());
    QVERIFY(m_operations[QStringLiteral("Meedio export")].outputAfter != m_oldLibrary);
  }

  // A trial whose program ended before the kill still checks what it left, but an operation none
  // of whose trials killed it proved nothing.
  void cleanupTestCase()
  {
    for (auto it = m_trials.cbegin(); it != m_trials.cend(); ++it)
      QVERIFY2(m_kills.value(it.key()) > 0, qPrintable(it.key() + QStringLiteral(": no trial killed it midway")));
  }

  void KilledScan_data()
  {
    QTest::addColumn<QString>("statusLine");
    QTest::addColumn<int>("occurrence");
    // Moments tied to the scan's own statuses, so that folders are always left to scan: while
    // the first and the third folder's changes are saved, as the second and the fourth begin.
    QTest::newRow("saving folder 1") << QStringLiteral("Status: Saving changes") << 1;
    QTest::newRow("starting folder 2") << QStringLiteral("Status: Scanning") << 2;
    QTest::newRow("saving folder 3") << QStringLiteral("Status: Saving changes") << 3;
    QTest::newRow("starting folder 4") << QStringLiteral("Status: Scanning") << 4;
  }

  void KilledScan()
  {
    QFETCH(QString, statusLine);
    QFETCH(int, occurrence);
    ProgramRun run;
    const QString folder = KillTrial(QStringLiteral("scan"), {statusLine, occurrence, {}, 0}, &run);
    QVERIFY2(!folder.isEmpty() && run.started && !run.hung, qPrintable(run.err));
    const GameRows now = CheckCatalogueAfterKill(folder);
    if (QTest::currentTestFailed())
      return;
    const QList<qint64> odd = GamesInNeitherState(now, m_before, m_operations[QStringLiteral("scan")].after);
    QVERIFY2(odd.isEmpty(), qPrintable(Ids(odd) + QStringLiteral(" neither as they were nor as the scan found them")));
  }

  void KilledMidway_data()
  {
    QTest::addColumn<QString>("operation");
    QTest::addColumn<double>("fraction");
    const auto rows = [](const QString& operation, const QString& moment, std::initializer_list<double> fractions) {
      for (const double fraction : fractions)
        QTest::addRow("%s, %s +%d%%", qPrintable(operation), qPrintable(moment), int(fraction * 100))
            << operation << fraction;
    };
    rows(QStringLiteral("xml import"), QStringLiteral("from -listxml"), {0.05, 0.5, 0.9});
    rows(QStringLiteral("legacy import"), QStringLiteral("from the old three lists"), {0.5});
    rows(QStringLiteral(".my export"), QStringLiteral("from the first check"), {0.0, 0.3, 0.6, 0.9});
    rows(QStringLiteral("Meedio export"), QStringLiteral("from the start"), {0.0, 0.3, 0.6, 0.9});
    rows(QStringLiteral("compaction"), QStringLiteral("from the compacted copy"), {0.0, 0.4, 0.9});
  }

  // An import is one transaction: all of it or nothing. The exports and the compaction change no
  // game, and a file an export writes is the old one or a complete new one.
  void KilledMidway()
  {
    QFETCH(QString, operation);
    QFETCH(double, fraction);
    const Operation& complete = m_operations[operation];
    Moment moment = complete.moment;
    moment.fraction = fraction;
    ProgramRun run;
    const QString folder = KillTrial(operation, moment, &run);
    QVERIFY2(!folder.isEmpty() && run.started && !run.hung, qPrintable(run.err));
    const GameRows now = CheckCatalogueAfterKill(folder);
    if (QTest::currentTestFailed())
      return;
    QVERIFY(now == m_before || (operation.endsWith(QStringLiteral("import")) && now == complete.after));
    const QByteArray output =
        complete.output.isEmpty() ? QByteArray() : FileBytes(folder + QLatin1Char('/') + complete.output);
    if (operation == QStringLiteral(".my export")) {
      QVERIFY2(output == m_oldMy || output == complete.outputAfter, "a half-written .my file");
    } else if (operation == QStringLiteral("Meedio export")) {
      const QStringList problems = sqlite2::CheckLibraryFile(output, false);
      QVERIFY2(output == m_oldLibrary || problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
  }
};

QUILLON_TEST_CLASS(CrashSafetyTest)
#include "CrashSafetyTest.moc"
