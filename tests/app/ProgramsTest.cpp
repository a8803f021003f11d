// The two programs as a user starts them: real processes on real data folders.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace quillon;
using namespace quillon::test;

namespace {

QString Program(const QString& name)
{
  return QStringLiteral(QUILLON_BIN_DIR) + QLatin1Char('/') + name;
}

CliOutput RunCli(const QStringList& arguments, const QString& program = {})
{
  return RunCliProgram(arguments, program);
}

}  // namespace

class ProgramsTest : public QObject {
  Q_OBJECT

 private slots:
  void InfoOnAnEmptyFolderCreatesTheCatalogue()
  {
    QTemporaryDir dir;
    const CliOutput result = RunCli({QStringLiteral("--data-dir"), dir.path(), QStringLiteral("info")});
    QCOMPARE(result.status, 0);
    // The first start brings the delivered catalogue to the current structure, with Zinc and its
    // games and today's systems.
    QVERIFY(result.out.contains(QStringLiteral("Revision:\t2.7.3.2\n")));
    QVERIFY(result.out.contains(QStringLiteral("Systems:\t58\n")));
    QVERIFY(result.out.contains(QStringLiteral("Games:\t27\n")));
    // It says so while it works: each step a "Please wait" line, whichever steps the structure needs.
    const QStringList said = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!said.isEmpty() && said.first() == QStringLiteral("Loading, Please wait..."), qPrintable(result.err));
    for (const QString& line : said)
      QVERIFY2(line.endsWith(QStringLiteral(", Please wait...")), qPrintable(line));
    QVERIFY(QFileInfo(DataFolder(dir.path()).CatalogueFile()).isFile());
    QVERIFY(!QFile::exists(DataFolder(dir.path()).LockFile()));

    // Later starts only renumber, quietly.
    const CliOutput again = RunCli({QStringLiteral("--data-dir"), dir.path(), QStringLiteral("info")});
    QCOMPARE(again.status, 0);
    QCOMPARE(again.err, QString());
    QCOMPARE(again.out, result.out);
  }

  void HelpListsCommandsAndBadInputFails()
  {
    const CliOutput help = RunCli({QStringLiteral("--help")});
    QCOMPARE(help.status, 0);
    QVERIFY(help.out.contains(QStringLiteral("info")));
    const CliOutput unknown = RunCli({QStringLiteral("no-such-command")});
    QCOMPARE(unknown.status, 2);
    QVERIFY(unknown.err.contains(QStringLiteral("unknown command")));
    QVERIFY(unknown.out.isEmpty());
  }

  void MissingCatalogueIsFatal()
  {
    // A copy of the program without its delivered catalogue beside it.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin/quillon-cli"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("bin"))));
    QVERIFY(QFile::copy(Program(QStringLiteral("quillon-cli")), program));
    const CliOutput result =
        RunCli({QStringLiteral("--data-dir"), dir.filePath(QStringLiteral("data")), QStringLiteral("info")}, program);
    QCOMPARE(result.status, 1);
    QVERIFY(result.err.contains(QStringLiteral("Unable to locate database.")));
    QVERIFY(result.out.isEmpty());
  }

  void EmptyCatalogueIsRefusedAndLeftEmpty()
  {
    QTemporaryDir dir;
    const QString catalogue = DataFolder(dir.path()).CatalogueFile();
    QVERIFY(TouchFile(catalogue));
    const CliOutput result = RunCli({QStringLiteral("--data-dir"), dir.path(), QStringLiteral("info")});
    QCOMPARE(result.status, 1);
    QCOMPARE(result.out, QString());
    QCOMPARE(result.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(result.err.contains(catalogue) && result.err.contains(QStringLiteral("move it aside")),
             qPrintable(result.err));
    QCOMPARE(QFileInfo(catalogue).size(), 0);
  }

  void WindowRefusingToStartEndsOnSigterm_data()
  {
    QTest::addColumn<bool>("locked");  // else the catalogue file is empty
    QTest::newRow("catalogue in use") << true;
    QTest::newRow("empty catalogue") << false;
  }

  void WindowRefusingToStartEndsOnSigterm()
  {
    QFETCH(bool, locked);
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    QVERIFY(locked ? QFile::copy(QStringLiteral(QUILLON_DELIVERED_CATALOGUE), folder.CatalogueFile())
                   : TouchFile(folder.CatalogueFile()));
    QLockFile lock(folder.LockFile());
    QVERIFY(!locked || lock.tryLock(0));
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(environment);
    window.start(Program(QStringLiteral("quillon")), {QStringLiteral("--data-dir"), dir.path()});
    QVERIFY(window.waitForStarted());
    // Its message waits for a click nobody gives; a logout ends it all the same.
    QTest::qWait(1500);
    QCOMPARE(window.state(), QProcess::Running);
    ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
    QVERIFY(window.waitForFinished(10000));
    QCOMPARE(window.exitStatus(), QProcess::NormalExit);
    QCOMPARE(window.exitCode(), 1);
    if (!locked)
      QCOMPARE(QFileInfo(folder.CatalogueFile()).size(), 0);
  }

  void SecondInstanceIsToldTheCatalogueIsInUse()
  {
    QTemporaryDir dir;
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(environment);
    window.start(Program(QStringLiteral("quillon")), {QStringLiteral("--data-dir"), dir.path()});
    QVERIFY(window.waitForStarted());
    const QString lock = DataFolder(dir.path()).LockFile();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 20000);

    const CliOutput second = RunCli({QStringLiteral("--data-dir"), dir.path(), QStringLiteral("info")});
    QCOMPARE(second.status, 1);
    QVERIFY2(second.err.contains(QStringLiteral("in use")), qPrintable(second.err));

    // Closing the window (as a logout does) compacts and releases the catalogue.
    ::kill(static_cast<pid_t>(window.processId()), SIGTERM);
    QVERIFY(window.waitForFinished(30000));
    QCOMPARE(window.exitStatus(), QProcess::NormalExit);
    QCOMPARE(window.exitCode(), 0);
    QVERIFY(!QFile::exists(lock));
    QVERIFY(!QFile::exists(DataFolder(dir.path()).CompactScratchFile()));
    QCOMPARE(RunCli({QStringLiteral("--data-dir"), dir.path(), QStringLiteral("info")}).status, 0);
  }
};

QUILLON_TEST_CLASS(ProgramsTest)
#include "ProgramsTest.moc"
