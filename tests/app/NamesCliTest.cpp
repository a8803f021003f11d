// quillon-cli analyse, compare and fix-countries, run as the real program on a test catalogue.
#include "CliInProcess.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include <QProcess>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput RunProgram(const QStringList& arguments)
{
  return RunCliProgram(arguments);
}

CliOutput RunOn(TestCatalogue& t, const QStringList& arguments)
{
  t.Close();
  const CliOutput result = RunProgram(QStringList{QStringLiteral("--data-dir"), t.Folder().Path()} + arguments);
  t.Reopen();
  return result;
}

}  // namespace

class NamesCliTest : public QObject {
  Q_OBJECT

 private slots:
  void AnalyseReadsWithoutWriting()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("DELETE FROM Year WHERE Year = '1987'"));
    const int years = t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt();
    // The folder's tags do not count; a year the catalogue lacks is shown, not added.
    const CliOutput result =
        RunOn(t, {QStringLiteral("analyse"), QStringLiteral("Street Fighter EX (1996)(Capcom).zip"),
                  QStringLiteral("/roms/(1999)/Out Run (1987)(J).zip"), QStringLiteral("Bob's \"Game\" (U).zip")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QStringLiteral("Street Fighter EX \t37\t1996\t1\t[Unknown]\t48\tCapcom\n"
                                        "Out Run \tnew\t1987\t4\tJapan\t319\t[Unknown]\n"
                                        "Bob's \"Game\" \t42\t[Unknown]\t2\tUSA\t319\t[Unknown]\n"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt(), years);
  }

  void CompareScores()
  {
    CliOutput result =
        RunProgram({QStringLiteral("compare"), QStringLiteral("street fighter 2"), QStringLiteral("Street Fighter II"),
                    QStringLiteral("--delimiter"), QStringLiteral(" "), QStringLiteral("--mode"), QStringLiteral("1")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QStringLiteral("0.6667\n"));
    result = RunProgram({QStringLiteral("compare"), QStringLiteral("abcd"), QStringLiteral("abcx"),
                         QStringLiteral("--delimiter"), QString()});
    QCOMPARE(result.out, QStringLiteral("0.7500\n"));
    QCOMPARE(RunProgram({QStringLiteral("compare"), QStringLiteral("a")}).status, 2);
  }

  void FixCountriesReportsEachCountry()
  {
    TestCatalogue t;
    TestGame(kGameboy, QStringLiteral("Tetris"))
        .File(QStringLiteral("Tetris (E).gb"))
        .Country(1)
        .Missing()
        .Insert(t.Db());
    const CliOutput result = RunOn(t, {QStringLiteral("fix-countries")});
    QCOMPARE(result.status, 0);
    QVERIFY(result.err.contains(QStringLiteral("Status: Updating Europe\n")));
    QVERIFY(result.err.endsWith(QStringLiteral("Status: Done.\n")));
    QCOMPARE(t.Value(QStringLiteral("SELECT Country FROM Games WHERE FileName = 'Tetris (E).gb'")).toInt(), 3);
  }
};

QUILLON_TEST_CLASS(NamesCliTest)
#include "NamesCliTest.moc"
