// The delivered catalogue: its systems, their extensions and the reserved rows. Its views are
// read by the exports and checked there, through what they write.
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

  // The rows the reserved keys name; the names the scan and the imports look up are used there.
  void HasTheReservedUnknownRows()
  {
    TestCatalogue t;
    QCOMPARE(t.Value(QStringLiteral("SELECT (SELECT Country || goodcode FROM Country WHERE CountryID = 1) || "
                                    "(SELECT Year FROM Year WHERE YearID = 42) || (SELECT Manufacturer FROM "
                                    "Manufacturer WHERE ManufacturerID = 319) || (SELECT GenreName FROM Genres WHERE "
                                    "GenreID = 1) || (SELECT count(*) FROM Inc)"))
                 .toString(),
             QStringLiteral("[Unknown]Unk[Unknown][Unknown][Unknown]1"));
  }
};

QUILLON_TEST_CLASS(DeliveredCatalogueTest)
#include "DeliveredCatalogueTest.moc"
