// quillon-cli list and check-all print and change what the window shows.
#include "TestCatalogue.h"
#include "TestGames.h"
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
    const qint64 roms = InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/"));
    // USA (2), Agetec (7), Fighter (13); year 30 is 1989, 42 unknown.
    const auto game = [&](const char* name, qint64 year) {
      const QString title = QString::fromLatin1(name);
      return TestGame(kSnes, title)
          .File(title.left(1).toLower() + QStringLiteral(".smc"))
          .Folder(roms)
          .Country(2)
          .Year(year)
          .Maker(7)
          .Image(title.left(1).toLower() + QStringLiteral(".png"))
          .Description(QStringLiteral("x"))
          .Genres({13});
    };
    const qint64 zelda = game("Zelda", 30).Insert(t.Db());
    const qint64 axelay = game("Axelay", 42).Insert(t.Db());
    const qint64 gone = game("Gone", 30).Missing().Insert(t.Db());
    CliOutput list = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("snes")});
    QCOMPARE(list.status, 0);
    QCOMPARE(list.out, QStringLiteral("%1\tAxelay\t&H669900\t0\n%2\tZelda\t\t0\n").arg(axelay).arg(zelda));
    // The count follows whatever the start said about the catalogue's structure.
    const QStringList said = list.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(!said.isEmpty(), "the count is written");
    QCOMPARE(said.last(), QStringLiteral("Created list of 2 / 2 games."));

    QCOMPARE(Run(t, {QStringLiteral("check-all"), QStringLiteral("--system"), QStringLiteral("SNES"),
                     QStringLiteral("--missing")})
                 .status,
             0);
    list = Run(t, {QStringLiteral("list"), QStringLiteral("--system=SNES"), QStringLiteral("--missing"),
                   QStringLiteral("--json")});
    QCOMPARE(list.out,
             QStringLiteral("{\"Colour\":\"\",\"FullName\":\"Gone\",\"GameID\":%1,\"Selected\":1}\n").arg(gone));
    list = Run(t, {QStringLiteral("list"), QStringLiteral("--system"), QStringLiteral("SNES"),
                   QStringLiteral("--lacking"), QStringLiteral("Year")});
    QCOMPARE(list.out, QStringLiteral("%1\tAxelay\t&H669900\t0\n").arg(axelay));

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
