// What quillon-cli prints around its work: the terminal's progress bar and the summary after it
// on one stream, and failures printed once.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "app/cli/CliRun.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Runs a command as on a terminal: the progress bar drawn, stdout and stderr on one screen.
QString RunOnTerminal(const QString& dataFolder, const QString& command, const QStringList& args)
{
  QString screen;
  QTextStream stream(&screen);
  cli::CliRun run(args, dataFolder, stream, stream);
  run.Feedback().SetShowProgress(true);
  for (const cli::CliCommand& candidate : cli::AllCommands()) {
    if (candidate.name == command)
      candidate.run(run);
  }
  stream.flush();
  return screen;
}

}  // namespace

class CliOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void SummaryStartsOnAClearedLine()
  {
    TestCatalogue t;
    QTemporaryDir roms;
    for (const QString& name : {QStringLiteral("Tetris (W).gb"), QStringLiteral("Kirby (U).gb")})
      QVERIFY(TouchFile(roms.filePath(name)));
    t.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, 11)"), {roms.path() + "/"});
    t.Close();
    const QString screen = RunOnTerminal(t.Folder().Path(), QStringLiteral("scan"),
                                         {QStringLiteral("--system"), QStringLiteral("Gameboy")});
    QVERIFY2(screen.contains(QStringLiteral("] 2/2")), qPrintable(screen));
    const qsizetype summary = screen.indexOf(QStringLiteral("Scanned 1 folder(s)"));
    QVERIFY2(summary > 0, qPrintable(screen));
    // The bar's line is wiped and the cursor back at its start before the summary is written.
    QVERIFY2(screen[summary - 1] == QLatin1Char('\r') || screen[summary - 1] == QLatin1Char('\n'), qPrintable(screen));
    QVERIFY(!screen.contains(QRegularExpression(QStringLiteral("\\d/\\d+\\S"))));
  }

  void DamagedCatalogueIsReportedOnce()
  {
    QTemporaryDir data;
    QFile damaged(DataFolder(data.path()).CatalogueFile());
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x5a'));
    damaged.close();
    const CliOutput result = RunCliOn(data.path(), {QStringLiteral("info")});
    QCOMPARE(result.status, 1);
    const QStringList lines = result.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!lines.isEmpty(), "the failure is reported");
    for (const QString& line : lines)
      QVERIFY2(lines.count(line) == 1, qPrintable(result.err));
  }
};

QUILLON_TEST_CLASS(CliOutputTest)
#include "CliOutputTest.moc"
