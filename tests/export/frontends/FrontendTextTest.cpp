// Hostile text in titles, overviews and file names arrives intact in each format, as each front-end
// reads it back; and the small conversions of ES-DE's fields.
#include "FrontendReaders.h"
#include "FrontendScene.h"
#include "TestRegistry.h"

#include "export/frontends/EsdeGamelist.h"
#include "export/frontends/ExportedGame.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString OnOneLine(QString text)
{
  for (QChar& c : text) {
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
      c = QLatin1Char(' ');
  }
  return text.trimmed();
}

QString WithLfLineEnds(QString text)
{
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).trimmed();
}

}  // namespace

class FrontendTextTest : public QObject {
  Q_OBJECT

 private slots:
  void HostileTextArrivesIntact_data()
  {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("overview");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("markup") << "Fish & Chips <Deluxe> \"Q\" 'S'"
                            << "Fish & chips <b>bold</b> \"q\" &amp;"
                            << "Fish & Chips <1> \"q\" 'x'.sfc";
    QTest::newRow("tabs") << "Tab\tInside"
                          << "Col1\tCol2\nRow2\tX"
                          << "Tab\tName.sfc";
    QTest::newRow("line breaks") << "Two\nLines"
                                 << "Line1\r\nLine2\n\n\nAfter two blank lines\n\nEnd"
                                 << "Two Lines.sfc";
    QTest::newRow("emoji and right-to-left") << "\U0001F3AE Game \u2014 \u05E9\u05DC\u05D5\u05DD"
                                             << "\u0645\u0631\u062D\u0628\u0627 \U0001F3AE\n\u0633\u0637\u0631"
                                             << "\U0001F3AE \u05E9\u05DC\u05D5\u05DD.sfc";
    QTest::newRow("backslashes") << "C:\\games\\new"
                                 << "Typed \\n stays, C:\\next\\nine\nreal break"
                                 << "back\\slash.sfc";
    QTest::newRow("colons and hashes") << "Title: Subtitle"
                                       << "First\n\n# not a comment\n. not a break"
                                       << "Ab:cd.sfc";
    QTest::newRow("carriage return") << "Carriage\rReturn"
                                     << "a\rb"
                                     << "cr.sfc";
  }

  void HostileTextArrivesIntact()
  {
    QFETCH(QString, title);
    QFETCH(QString, overview);
    QFETCH(QString, fileName);
    FrontendScene scene;
    const qint64 folder = scene.AddRomFolder(kSnes, "roms/snes");
    scene.AddGame(kSnes, folder, fileName, title, {{"Description", overview}});
    const QString rom = scene.Path("roms/snes/") + fileName;

    QVERIFY(scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("esde")).Succeeded());
    const EsdeGamelist esde = ReadEsdeGamelist(scene.Path("esde/gamelists/snes/gamelist.xml"), scene.Path("roms/snes"));
    QVERIFY2(esde.errors.isEmpty(), qPrintable(esde.errors.join('\n')));
    QCOMPARE(esde.games.size(), 1);
    QCOMPARE(esde.games[0].file, rom);
    QCOMPARE(esde.games[0].fields.value("name"), title);
    // A lone CR of an overview is a line break like the others.
    QCOMPARE(esde.games[0].fields.value("desc"), WithLfLineEnds(overview).replace('\r', '\n'));

    QVERIFY(scene.Export(FrontendFormat::Pegasus, {kSnes}, scene.Path("pegasus")).Succeeded());
    const PegasusMetadata pegasus = ReadPegasusMetadata(scene.Path("pegasus/snes/metadata.pegasus.txt"));
    QVERIFY2(pegasus.errors.isEmpty(), qPrintable(pegasus.errors.join('\n')));
    QCOMPARE(pegasus.Games().size(), 1);
    const PegasusEntry game = pegasus.Games().first();
    // Pegasus titles are one line.
    QCOMPARE(game.Value("game"), OnOneLine(title));
    QCOMPARE(game.Value("file"), rom);
    QCOMPARE(game.Text("description"), WithLfLineEnds(overview).replace('\r', '\n'));

    QVERIFY(scene.Export(FrontendFormat::RetroArch, {kSnes}, scene.Path("ra")).Succeeded());
    const RetroArchPlaylistFile ra =
        ReadRetroArchPlaylist(scene.Path("ra/playlists/Nintendo - Super Nintendo Entertainment System.lpl"));
    QVERIFY2(ra.errors.isEmpty(), qPrintable(ra.errors.join('\n')));
    QCOMPARE(ra.items.size(), 1);
    QCOMPARE(ra.items[0].label, title);
    QCOMPARE(ra.items[0].path, rom);
  }

  void AFileNamePegasusCannotReadIsLeftOut()
  {
    FrontendScene scene;
    const qint64 folder = scene.AddRomFolder(kSnes, "roms/snes");
    scene.AddGame(kSnes, folder, "New\nLine.sfc", "Broken");
    scene.AddGame(kSnes, folder, "Blank at the end.sfc ", "Blank");
    scene.AddGame(kSnes, folder, "Fine.sfc", "Fine");
    const FrontendExportResult result = scene.Export(FrontendFormat::Pegasus, {kSnes}, QString());
    QVERIFY(result.Succeeded());
    QCOMPARE(result.games, 1);
    QCOMPARE(result.leftOut.size(), 2);
    QVERIFY(result.leftOut[1].reason.contains("line break"));
    QVERIFY(result.leftOut[0].reason.contains("ends in a blank"));
    // ES-DE reads both.
    QCOMPARE(scene.Export(FrontendFormat::Esde, {kSnes}, scene.Path("esde")).games, 3);
  }

  void EsdeFieldForms_data()
  {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("date");
    QTest::newRow("a year") << "1991"
                            << "19910101T000000";
    QTest::newRow("1970 shows as a year, not as unknown") << "1970"
                                                          << "19700102T000000";
    QTest::newRow("before 1970") << "1969"
                                 << "";
    QTest::newRow("a decade") << "198x"
                              << "";
    QTest::newRow("unknown") << ""
                             << "";
  }

  void EsdeFieldForms()
  {
    QFETCH(QString, year);
    QFETCH(QString, date);
    QCOMPARE(EsdeReleaseDate(FourDigitYear(year)), date);
    QCOMPARE(EsdeRating(std::nullopt), QString());
    QCOMPARE(EsdeRating(5), QStringLiteral("0.5"));
    QCOMPARE(EsdeRating(10), QStringLiteral("1"));
    QCOMPARE(EsdeGenre({"Sports/Golf", "Action"}), QStringLiteral("Sports / Golf"));
    QCOMPARE(EsdeGenre({}), QString());
  }
};

QUILLON_TEST_CLASS(FrontendTextTest)
#include "FrontendTextTest.moc"
