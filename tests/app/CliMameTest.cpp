// quillon-cli import-mame: statuses on stderr, the summary on stdout, the exit status.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput Run(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

const QString kSummary =
    QStringLiteral("Machines added: 23\nMachines updated: 0\nClones marked: 9\nMachines skipped: %1\n");

}  // namespace

class CliMameTest : public QObject {
  Q_OBJECT

 private slots:
  void ImportsAndSummarises()
  {
    TestCatalogue t;
    t.Close();
    const CliOutput output = Run(t, {QStringLiteral("import-mame"), TestDataPath(QStringLiteral("mame/fake-mame.sh"))});
    QCOMPARE(output.status, 0);
    QCOMPARE(output.out, QStringLiteral("List read from: -listxml\n") + kSummary.arg(7));
    QVERIFY(output.err.contains(QStringLiteral("Status: Exporting game list from Mame...\n")));
    QVERIFY(output.err.endsWith(QStringLiteral("Status: Updating Clones...\nStatus: Done.\n")));
  }

  void OldBuildThroughTheProgram()
  {
    // The installed tool, with an old build's answers.
    TestCatalogue t;
    t.Close();
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FAKE_MAME_MODE"), QStringLiteral("legacy"));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-cli"),
              {QStringLiteral("--data-dir"), t.Folder().Path(), QStringLiteral("import-mame"),
               TestDataPath(QStringLiteral("mame/fake-mame.sh"))});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()),
             QStringLiteral("List read from: -ll, -listgames and -listclones\n") + kSummary.arg(0));
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE FileName = 'simpsons.zip'")),
             QVariant(QStringLiteral("Simpsons, The (4 Players World, set 1)")));
  }

  void FailuresExitNonZero()
  {
    TestCatalogue t;
    t.Close();
    QTemporaryDir dir;
    const QString silent = dir.filePath(QStringLiteral("mame"));
    QVERIFY(TouchFile(silent, "#!/bin/sh\nexit 0\n"));
    QFile::setPermissions(silent, QFile::ReadOwner | QFile::ExeOwner);

    const CliOutput none = Run(t, {QStringLiteral("import-mame"), silent});
    QCOMPARE(none.status, 1);
    QCOMPARE(none.out, QString());
    QVERIFY(none.err.endsWith(QStringLiteral("Status: Error - No Games Available. Check Mame path and version.\n")));

    QCOMPARE(Run(t, {QStringLiteral("import-mame"), dir.filePath(QStringLiteral("absent"))}).status, 1);
    QCOMPARE(Run(t, {QStringLiteral("import-mame"), silent, silent}).status, 2);
    QCOMPARE(
        Run(t, {QStringLiteral("import-mame"), silent, QStringLiteral("--timeout"), QStringLiteral("soon")}).status, 2);
  }

  void SilentMameIsStoppedAfterTheTimeout()
  {
    TestCatalogue t;
    t.Close();
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FAKE_MAME_HANG"), QStringLiteral("-listxml"));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(QUILLON_BIN_DIR "/quillon-cli"),
              {QStringLiteral("--data-dir"), t.Folder().Path(), QStringLiteral("import-mame"),
               TestDataPath(QStringLiteral("mame/fake-mame.sh")), QStringLiteral("--timeout"), QStringLiteral("1")});
    QVERIFY(cli.waitForFinished(60000));
    QCOMPARE(cli.exitCode(), 1);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray());
    QVERIFY(cli.readAllStandardError().endsWith(
        "Status: Error - 1-(MameImport)-Mame printed nothing for 1 s after -listxml and was stopped; the catalogue "
        "is unchanged.\n"));
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = 1")).toInt(), 0);
  }
};

QUILLON_TEST_CLASS(CliMameTest)
#include "CliMameTest.moc"
