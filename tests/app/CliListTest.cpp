// quillon-cli list and check-all print and change what the window shows.
#include "TestCatalogue.h"
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

}  // namespace

class CliListTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsCheckAndFilter()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/', 3)"));
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Country, Year, "
                       "Manufacturer, Image, Description) VALUES "
                       "(1, 'Zelda', 'z.smc', 3, 1, 1, 2, 30, 7, 'z.png', 'x'),"
                       "(2, 'Axelay', 'a.smc', 3, 1, 1, 2, 42, 7, 'a.png', 'x'),"
                       "(3, 'Gone', 'g.smc', 3, 1, 0, 2, 30, 7, 'g.png', 'x')"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres VALUES (1, 13), (2, 13), (3, 13)"));
    CliOutput list = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("snes")});
    QCOMPARE(list.status, 0);
    QCOMPARE(list.out, QStringLiteral("2\tAxelay\t&H669900\t0\n1\tZelda\t\t0\n"));
    // The first command's start adds Zinc to the delivered catalogue, and says so.
    QCOMPARE(list.err,
             QStringLiteral(
                 "Loading, Please wait...\nAdding Zinc Support, Please wait...\nUpdating database, Please wait...\n"
                 "Created list of 2 / 2 games.\n"));

    QCOMPARE(Run(t, {QStringLiteral("check-all"), QStringLiteral("--system"), QStringLiteral("SNES"),
                     QStringLiteral("--missing")})
                 .status,
             0);
    list = Run(t, {QStringLiteral("list"), QStringLiteral("--system=SNES"), QStringLiteral("--missing"),
                   QStringLiteral("--json")});
    QCOMPARE(list.out, QStringLiteral("{\"Colour\":\"\",\"FullName\":\"Gone\",\"GameID\":3,\"Selected\":1}\n"));
    list = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("SNES"),
                   QStringLiteral("--lacking"), QStringLiteral("Year")});
    QCOMPARE(list.out, QStringLiteral("2\tAxelay\t&H669900\t0\n"));

    // Bad input is a usage error or a plain failure, never a partial result.
    QCOMPARE(Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("SNES"),
                     QStringLiteral("--lacking"), QStringLiteral("Colour")})
                 .status,
             2);
    QCOMPARE(Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("Nothing")}).status, 1);
    const CliOutput genre = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("SNES"),
                                    QStringLiteral("--genre"), QStringLiteral("No Such Genre")});
    QCOMPARE(genre.status, 1);
    QVERIFY(genre.out.isEmpty());
    QCOMPARE(Run(t, {QStringLiteral("check-all"), QStringLiteral("--system"), QStringLiteral("SNES"),
                     QStringLiteral("--include-clones"), QStringLiteral("--clones-only")})
                 .status,
             2);
  }
};

QUILLON_TEST_CLASS(CliListTest)
#include "CliListTest.moc"
