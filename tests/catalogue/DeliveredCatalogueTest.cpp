// The delivered catalogue: its systems, reserved rows and views.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/Paths.h"
#include "scan/RomDiscovery.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class DeliveredCatalogueTest : public QObject {
  Q_OBJECT

 private slots:
  void HasTheDeliveredSystemsInOrder()
  {
    TestCatalogue t;
    QVERIFY(t.IsValid());
    const std::optional<Rows> rows =
        t.Db().TrySelect(QStringLiteral("SELECT SystemID, System FROM System ORDER BY SystemID"), {}, nullptr);
    QVERIFY(rows);
    const QStringList expected{"Arcade",         "Sega Genesis /32X", "SNES",         "Turbo Grafix", "Atari 2600",
                               "Atari 5200",     "Atari 7800",        "Atari Lynx",   "Atari Jaguar", "Intellivision",
                               "Gameboy",        "Gameboy Advance",   "Colecovision", "MSX 1",        "MSX 2",
                               "Neo Geo Pocket", "Nintendo 64",       "Oric/CPC",     "Sam Coupe",    "Sega Game Gear",
                               "Sega Master",    "Supervision",       "Tandy CoCo",   "Thomson MO5",  "Virtual Boy",
                               "Vectrex",        "Wonderswan",        "Memotech MTX", "Custom 1",     "Custom 2",
                               "Custom 3",       "Custom 4",          "Custom 5"};
    QCOMPARE(rows->Count(), expected.size());
    for (int i = 0; i < rows->Count(); ++i) {
      QCOMPARE(rows->Value(i, 0).toInt(), i + 1);
      QCOMPARE(rows->Value(i, 1).toString(), expected[i]);
    }
    // The arcade system belongs to the arcade group, and every system is complete enough to scan.
    QCOMPARE(t.Value(QStringLiteral("SELECT SType FROM System WHERE SystemID = 1")).toInt(), 4);
    QCOMPARE(
        t.Value(QStringLiteral("SELECT count(*) FROM System WHERE SystemShortName IS NULL OR DefaultRomType IS NULL "
                               "OR DefaultImageType IS NULL OR SType IS NULL"))
            .toInt(),
        0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM System WHERE dAutoDL <> 100 OR dTimeOut <> 10")).toInt(), 0);
    QVERIFY(t.Value(QStringLiteral("SELECT count(*) FROM System WHERE EnableTab <> 0")).toInt() >= 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM System WHERE System = 'Zinc'")).toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'Version'")).toInt(), 0);
  }

  // The delivered extensions find the files of today's dumps.
  void ScansTheUsualExtensions_data()
  {
    QTest::addColumn<qint64>("systemId");
    QTest::addColumn<QString>("file");
    QTest::newRow("Genesis .md") << qint64(2) << QStringLiteral("Sonic the Hedgehog (USA, Europe).md");
    QTest::newRow("Genesis .gen") << qint64(2) << QStringLiteral("Columns (W).gen");
    QTest::newRow("Gameboy .gb") << qint64(11) << QStringLiteral("Tetris (W).gb");
  }

  void ScansTheUsualExtensions()
  {
    QFETCH(qint64, systemId);
    QFETCH(QString, file);
    TestCatalogue t;
    QTemporaryDir roms;
    QVERIFY(TouchFile(roms.filePath(file)));
    QVERIFY(TouchFile(roms.filePath(QStringLiteral("readme.txt"))));
    const QString types =
        t.Value(QStringLiteral("SELECT DefaultRomType FROM System WHERE SystemID = ?"), {systemId}).toString();
    RecordingFeedback feedback;
    QStringList found;
    QVERIFY(FindRoms(roms.path(), ExtensionList(types), false, feedback, found));
    QCOMPARE(found, QStringList{roms.filePath(file)});
  }

  void HasTheReservedUnknownRows()
  {
    TestCatalogue t;
    QCOMPARE(t.Value(QStringLiteral("SELECT Country FROM Country WHERE CountryID = 1")).toString(),
             QStringLiteral("[Unknown]"));
    QCOMPARE(t.Value(QStringLiteral("SELECT goodcode FROM Country WHERE CountryID = 1")).toString(),
             QStringLiteral("Unk"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Year WHERE YearID = 42")).toString(),
             QStringLiteral("[Unknown]"));
    QCOMPARE(t.Value(QStringLiteral("SELECT Manufacturer FROM Manufacturer WHERE ManufacturerID = 319")).toString(),
             QStringLiteral("[Unknown]"));
    QCOMPARE(t.Value(QStringLiteral("SELECT GenreName FROM Genres WHERE GenreID = 1")).toString(),
             QStringLiteral("[Unknown]"));
    // Region codes in the form the name analysis expects.
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Country WHERE Country = 'USA' AND instr(goodcode, 'U;') = 1"))
                 .toInt(),
             1);
    QCOMPARE(
        t.Value(QStringLiteral("SELECT count(*) FROM Country WHERE Country = 'Japan' AND instr(goodcode, 'J;') = 1"))
            .toInt(),
        1);
    for (const char* maker : {"Capcom", "Namco", "Taito", "Video System Co.", "8ing", "Capcom/Arika", "Axela/Namco"})
      QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Manufacturer WHERE Manufacturer = ?"),
                       {QString::fromUtf8(maker)})
                   .toInt(),
               1);
    for (const char* genre : {"Fighter", "Puzzle/Tetris", "Shooter/Aircraft", "Quiz", "Action", "Bios"})
      QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Genres WHERE GenreName = ?"), {QString::fromUtf8(genre)})
                   .toInt(),
               1);
    for (const char* year : {"1960", "1996", "2020", "19xx", "198x", "199x", "200x"})
      QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Year WHERE Year = ?"), {QString::fromUtf8(year)}).toInt(),
               1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Inc")).toInt(), 1);
  }

  void ViewsGiveTheirColumnsInOrder()
  {
    TestCatalogue t;
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("File")), (QStringList{"GameID", "File"}));
    const QStringList saveAsMy{"GameID",   "System",       "FullName", "FileName",    "File",
                               "Year",     "Manufacturer", "Country",  "Description", "FirstOfImage",
                               "SystemID", "FullImage",    "Rating",   "GenreID"};
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("SaveAsMy")), saveAsMy);
    QStringList saveAsH2 = saveAsMy;
    saveAsH2.last() = QStringLiteral("FirstOfGenreID");
    saveAsH2 << QStringLiteral("Edited") << QStringLiteral("Emu");
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("SaveAsH2")), saveAsH2);
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("genre")), (QStringList{"genreID", "GenreName"}));
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("Countries")).size(), 2);
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("Manf")).size(), 2);
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("Years")).size(), 2);
  }

  void ExportViewsFollowTheGamesAndTheirLinks()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/snes/', 3)"));
    // Game 1: two genres, selected and available. Game 2: no ROM folder. Game 3: not selected.
    t.Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Country, Year, Manufacturer, "
                       "Image, Selected, Available) VALUES "
                       "(1, 'Alpha', 'alpha.smc', 3, 1, 2, 37, 319, 'alpha.png', 1, 1),"
                       "(2, 'Beta', 'beta.smc', 3, NULL, 2, 37, 319, NULL, 1, 1),"
                       "(3, 'Gamma', 'gamma.smc', 3, 1, 2, 37, 319, NULL, 0, 1)"));
    t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (1, 13), (1, 2), (2, 1), (3, 1)"));
    t.Exec(QStringLiteral("UPDATE System SET DefaultImagePath = '/pics/' WHERE SystemID = 3"));
    QCOMPARE(t.Value(QStringLiteral("SELECT File FROM File WHERE GameID = 1")).toString(),
             QStringLiteral("/roms/snes/alpha.smc"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM File WHERE GameID = 2")).toInt(), 0);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM SaveAsMy")).toInt(), 2);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM SaveAsH2")).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT FirstOfGenreID FROM SaveAsH2")).toInt(), 13);
    QCOMPARE(t.Value(QStringLiteral("SELECT FullImage FROM SaveAsH2")).toString(), QStringLiteral("/pics/alpha.png"));
  }
};

QUILLON_TEST_CLASS(DeliveredCatalogueTest)
#include "DeliveredCatalogueTest.moc"
