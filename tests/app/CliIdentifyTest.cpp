// quillon-cli import-dat, dat-lists, verify and rename on a folder of ROM files made by the test,
// scanned first as a user would: the expected names, years and makers, and failures that say so.
#include "ImageSiteScene.h"
#include "RomFiles.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput Run(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

TestEntry Entry(const QString& name, quint32 seed, const QString& year, const QString& maker,
                const QString& status = {})
{
  return {name, name, year, maker, QString(), {{name + QStringLiteral(".sfc"), RandomRom(seed, 4096), status, {}}}};
}

// A ROM folder: one file named as the list names it, one to rename, one zipped, one bad dump, one
// unknown; and the list as a Logiqx DAT file.
void MakeFolder(TestCatalogue& t)
{
  const QString roms = t.Path(QStringLiteral("roms/"));
  QVERIFY(WriteFile(roms + QStringLiteral("Alpha Quest (USA).sfc"), RandomRom(1, 4096)));
  QVERIFY(WriteFile(roms + QStringLiteral("beta.smc"), CopierHeadered(RandomRom(2, 4096))));
  QVERIFY(WriteZip(roms + QStringLiteral("delta.zip"), {{QStringLiteral("delta.sfc"), RandomRom(3, 4096)}}));
  QVERIFY(WriteFile(roms + QStringLiteral("gamma.sfc"), RandomRom(4, 4096)));
  QVERIFY(WriteFile(roms + QStringLiteral("homebrew.sfc"), RandomRom(5, 4096)));
  TestList list{QStringLiteral("Test - Super Widget System"), QStringLiteral("20240101"), {}};
  list.entries << Entry(QStringLiteral("Alpha Quest (USA)"), 1, QStringLiteral("1991"), QStringLiteral("Acme"))
               << Entry(QStringLiteral("Beta Racer (Europe)"), 2, QStringLiteral("1992"), QStringLiteral("Bolt Soft"))
               << Entry(QStringLiteral("Delta Zip (Japan)"), 3, QStringLiteral("1993"), QStringLiteral("Acme"))
               << Entry(QStringLiteral("Gamma Bad (World)"), 4, QStringLiteral("1994"), QStringLiteral("Acme"),
                        QStringLiteral("baddump"))
               << Entry(QStringLiteral("Omega (USA)"), 6, QStringLiteral("1995"), QStringLiteral("Acme"));
  QVERIFY(WriteLogiqx(t.Path(QStringLiteral("widgets.dat")), list));
}

// Full name, year and maker of the game with this file, as the catalogue holds them.
QString GameFacts(TestCatalogue& t, const QString& fileName)
{
  return t
      .Value(QStringLiteral("SELECT Games.FullName || ' | ' || Year.Year || ' | ' || Manufacturer.Manufacturer "
                            "|| ' | ' || Country.Country FROM Games "
                            "INNER JOIN Year ON Year.YearID = Games.Year "
                            "INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                            "INNER JOIN Country ON Country.CountryID = Games.Country WHERE FileName = ?"),
             {fileName})
      .toString();
}

QStringList SortedLines(const QString& text)
{
  QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  lines.sort();
  return lines;
}

}  // namespace

class CliIdentifyTest : public QObject {
  Q_OBJECT

 private slots:
  void ImportVerifyRenameOnAScannedFolder()
  {
    TestCatalogue t;
    MakeFolder(t);
    t.Close();
    const QString roms = t.Path(QStringLiteral("roms"));
    QCOMPARE(Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("SNES"), roms}).status, 0);
    QCOMPARE(Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")}).status, 0);

    const CliOutput imported = Run(t, {QStringLiteral("import-dat"), QStringLiteral("--system"), QStringLiteral("SNES"),
                                       t.Path(QStringLiteral("widgets.dat"))});
    QCOMPARE(imported.status, 0);
    QCOMPARE(imported.out, QStringLiteral("Test - Super Widget System\t20240101\t5\tLogiqx XML\n"));
    QVERIFY(imported.err.contains(QStringLiteral("Added the list \"Test - Super Widget System\" (5 entries).")));
    QCOMPARE(Run(t, {QStringLiteral("dat-lists"), QStringLiteral("--system"), QStringLiteral("SNES")}).out,
             imported.out);

    const CliOutput verified = Run(t, {QStringLiteral("verify"), QStringLiteral("--system"), QStringLiteral("SNES")});
    QCOMPARE(verified.status, 0);
    QStringList lines = verified.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeLast(), QStringLiteral("# have 4 / missing from the list 1"));
    for (QString& line : lines)
      line = line.section(QLatin1Char('\t'), 1);  // without the GameID
    lines.sort();
    QCOMPARE(lines, QStringList({QStringLiteral("Alpha Quest (USA).sfc\tverified\tAlpha Quest (USA)\tYear,Manufacturer,"
                                                "FullName"),
                                 QStringLiteral("beta.smc\trename needed\tBeta Racer (Europe)\tYear,Manufacturer,"
                                                "Country,FullName"),
                                 QStringLiteral("delta.zip\trename needed\tDelta Zip (Japan)\tYear,Manufacturer,"
                                                "Country,FullName"),
                                 QStringLiteral("gamma.sfc\tbad dump\tGamma Bad (World)\tYear,Manufacturer,Country,"
                                                "FullName"),
                                 QStringLiteral("homebrew.sfc\tnot in list\t\t")}));

    const CliOutput json = Run(
        t, {QStringLiteral("verify"), QStringLiteral("--system"), QStringLiteral("SNES"), QStringLiteral("--json")});
    QCOMPARE(json.status, 0);
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(document.value(QStringLiteral("have")).toInt(), 4);
    QCOMPARE(document.value(QStringLiteral("missing")).toInt(), 1);
    QCOMPARE(document.value(QStringLiteral("filesRead")).toInt(), 0);  // the cache knew every file
    QCOMPARE(document.value(QStringLiteral("counts")).toObject().value(QStringLiteral("rename needed")).toInt(), 2);
    QCOMPARE(document.value(QStringLiteral("games")).toArray().size(), 5);

    const QStringList before = QDir(roms).entryList(QDir::Files, QDir::Name);
    const CliOutput dry = Run(
        t, {QStringLiteral("rename"), QStringLiteral("--system"), QStringLiteral("SNES"), QStringLiteral("--dry-run")});
    QCOMPARE(dry.status, 0);
    const QStringList plan{QStringLiteral("beta.smc\tBeta Racer (Europe).smc"),
                           QStringLiteral("delta.zip\tDelta Zip (Japan).zip"),
                           QStringLiteral("gamma.sfc\tGamma Bad (World).sfc")};
    QCOMPARE(SortedLines(dry.out), plan);
    QCOMPARE(QDir(roms).entryList(QDir::Files, QDir::Name), before);

    const CliOutput renamed = Run(t, {QStringLiteral("rename"), QStringLiteral("--system"), QStringLiteral("SNES")});
    QCOMPARE(renamed.status, 0);
    QCOMPARE(SortedLines(renamed.out), plan);
    QCOMPARE(QDir(roms).entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("Alpha Quest (USA).sfc"), QStringLiteral("Beta Racer (Europe).smc"),
                          QStringLiteral("Delta Zip (Japan).zip"), QStringLiteral("Gamma Bad (World).sfc"),
                          QStringLiteral("homebrew.sfc")}));

    // A rescan finds the renamed files as the same games; nothing is renamed twice.
    QCOMPARE(Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")}).status, 0);
    const CliOutput again = Run(t, {QStringLiteral("verify"), QStringLiteral("--system"), QStringLiteral("SNES")});
    QCOMPARE(again.out.count(QStringLiteral("\tverified\t")), 3);
    QCOMPARE(Run(t, {QStringLiteral("rename"), QStringLiteral("--system"), QStringLiteral("SNES")}).out, QString());

    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = 3")).toInt(), 5);
    QCOMPARE(GameFacts(t, QStringLiteral("Alpha Quest (USA).sfc")), QStringLiteral("Alpha Quest | 1991 | Acme | USA"));
    QCOMPARE(GameFacts(t, QStringLiteral("Beta Racer (Europe).smc")),
             QStringLiteral("Beta Racer | 1992 | Bolt Soft | Europe"));
    QCOMPARE(GameFacts(t, QStringLiteral("Delta Zip (Japan).zip")), QStringLiteral("Delta Zip | 1993 | Acme | Japan"));
    QCOMPARE(GameFacts(t, QStringLiteral("homebrew.sfc")),
             QStringLiteral("homebrew | [Unknown] | [Unknown] | [Unknown]"));
  }

  void FailuresSaySo()
  {
    TestCatalogue t;
    MakeFolder(t);
    t.Close();
    const QString roms = t.Path(QStringLiteral("roms"));
    Run(t, {QStringLiteral("system"), QStringLiteral("add-rompath"), QStringLiteral("SNES"), roms});
    Run(t, {QStringLiteral("scan"), QStringLiteral("--system"), QStringLiteral("SNES")});
    struct Case {
      QStringList args;
      int status;
      const char* message;
    };
    const Case cases[] = {
        {{"verify", "--system", "SNES"}, 1, "no reference list"},
        {{"rename", "--system", "SNES"}, 1, "run 'quillon-cli verify' first"},
        {{"verify", "--system", "Nowhere"}, 1, "no system named \"Nowhere\""},
        {{"verify"}, 2, "verify needs --system NAME"},
        {{"import-dat", "SNES.dat"}, 2, "import-dat needs --system NAME and a FILE"},
        {{"import-dat", "--system", "Custom 1"}, 1, "the system has no Mame software lists"},
        {{"import-dat", "--system", "SNES", t.Path(QStringLiteral("none.dat"))}, 1, "cannot read"},
        {{"import-dat", "--system", "SNES", t.Path(QStringLiteral("roms/homebrew.sfc"))}, 1, "no reference list"},
        {{"import-dat", "--system", "SNES", "--list", "none", "--hash-folder", roms}, 1, "none.xml"},
        {{"dat-lists", "--system", "SNES", "--remove", "none"}, 1, "no list named \"none\""},
    };
    for (const Case& c : cases) {
      const CliOutput output = Run(t, c.args);
      QVERIFY2(output.status == c.status, qPrintable(c.args.join(' ') + QStringLiteral(": ") + output.err));
      QVERIFY2(output.err.contains(QString::fromUtf8(c.message)), qPrintable(output.err));
    }
    // Nothing was stored by any of them.
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefList")).toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM GameMatch")).toInt(), 0);
  }

  void BoxArtForIdentifiedGames()
  {
    // The system's DAT list names its database on the thumbnail server; it has no search site.
    ImageSiteScene scene;
    QVERIFY(scene.IsValid());
    TestList list{QStringLiteral("Nintendo - Super Nintendo Entertainment System (Parent-Clone)"),
                  QStringLiteral("1"),
                  {Entry(QStringLiteral("Alpha Quest (USA)"), 1, QStringLiteral("1991"), QStringLiteral("Acme"))}};
    QVERIFY(WriteLogiqx(scene.Catalogue().Path(QStringLiteral("snes.dat")), list));
    QVERIFY(WriteFile(scene.Catalogue().Path(QStringLiteral("roms/alpha.sfc")), RandomRom(1, 4096)));
    const qint64 game = scene.AddGame(QStringLiteral("alpha"), QStringLiteral("alpha.sfc"));
    const QString boxArt = QStringLiteral(
        "/Nintendo%20-%20Super%20Nintendo%20Entertainment%20System/Named_Boxarts/Alpha%20Quest%20%28USA%29.png");
    scene.ServePicture(boxArt, {300, 200}, "png");
    const QString folder = scene.Catalogue().Folder().Path();
    scene.Catalogue().Close();
    QCOMPARE(RunCliOn(folder, {QStringLiteral("import-dat"), QStringLiteral("--system"), QStringLiteral("SNES"),
                               scene.Catalogue().Path(QStringLiteral("snes.dat"))})
                 .status,
             0);
    QCOMPARE(RunCliOn(folder, {QStringLiteral("verify"), QStringLiteral("--system"), QStringLiteral("SNES")}).status,
             0);
    const CliOutput images = RunCliOn(
        folder, {QStringLiteral("images"), QStringLiteral("--system"), QStringLiteral("SNES"), QStringLiteral("--game"),
                 QString::number(game), QStringLiteral("--thumbnail-server"), scene.Server().Address(QString())});
    QCOMPARE(images.status, 0);
    QCOMPARE(images.out, QStringLiteral("%1\tAlpha Quest\t1\tdownloaded\talpha.png\n").arg(game));
    QCOMPARE(scene.Server().RequestCount(boxArt), 1);
    scene.Catalogue().Reopen();
    QCOMPARE(scene.GameImage(game).toString(), QStringLiteral("alpha.png"));
    QCOMPARE(scene.PictureSize(QStringLiteral("alpha.png")), QSize(300, 200));
  }

  void SoftwareListsByName()
  {
    TestCatalogue t;
    t.Close();
    TestList list{QStringLiteral("testnes"), {}, {}};
    list.entries << TestEntry{QStringLiteral("widget"),
                              QStringLiteral("Widget Hunt (USA)"),
                              QStringLiteral("1988"),
                              QStringLiteral("Acme"),
                              QString(),
                              {{QStringLiteral("w.prg"), RandomRom(10, 16384), {}, QStringLiteral("prg")},
                               {QStringLiteral("w.chr"), RandomRom(11, 8192), {}, QStringLiteral("chr")}}};
    const QString hash = t.Path(QStringLiteral("hash"));
    QVERIFY(WriteSoftwareList(hash + QStringLiteral("/testnes.xml"), list));
    const CliOutput imported =
        Run(t, {QStringLiteral("import-dat"), QStringLiteral("--system"), QStringLiteral("Custom 1"),
                QStringLiteral("--list"), QStringLiteral("testnes"), QStringLiteral("--hash-folder"), hash});
    QCOMPARE(imported.status, 0);
    QVERIFY(imported.out.startsWith(QStringLiteral("testnes\t")));
    QVERIFY(imported.out.endsWith(QStringLiteral("\t1\tsoftware list\n")));

    // Without a file or a list name, the system's own software lists are read.
    QCOMPARE(Run(t, {QStringLiteral("system"), QStringLiteral("set"), QStringLiteral("Custom 2"),
                     QStringLiteral("SoftwareLists=testnes")})
                 .status,
             0);
    const CliOutput own = Run(t, {QStringLiteral("import-dat"), QStringLiteral("--system"), QStringLiteral("Custom 2"),
                                  QStringLiteral("--hash-folder"), hash});
    QCOMPARE(own.status, 0);
    QVERIFY2(own.out.startsWith(QStringLiteral("testnes\t")), qPrintable(own.err));
  }
};

QUILLON_TEST_CLASS(CliIdentifyTest)
#include "CliIdentifyTest.moc"
