// The lookup caches and converters on a real catalogue: reserved keys, case rules, adding new
// names exactly once, failed builds, the genre links and the single-value reads.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kCapcom = 48;
constexpr qint64 kSnes = 3;

}  // namespace

class LookupsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestCatalogue> t;
  std::unique_ptr<RecordingFeedback> feedback;
  std::unique_ptr<Lookups> lookups;

  int CountOf(const QString& table) { return t->Value(QStringLiteral("SELECT count(*) FROM ") + table).toInt(); }

 private slots:
  void init()
  {
    t = std::make_unique<TestCatalogue>();
    feedback = std::make_unique<RecordingFeedback>();
    lookups = std::make_unique<Lookups>(t->Db(), *feedback);
  }

  void EmptyNamesGiveTheReservedKeysWithoutSearching()
  {
    t->Exec(QStringLiteral("DROP TABLE Manufacturer"));
    t->Exec(QStringLiteral("DROP TABLE Year"));
    QCOMPARE(lookups->GetYear(QString(), true).toLongLong(), kUnknownYear);
    QCOMPARE(lookups->GetManf(QString(), true).toLongLong(), kUnknownManufacturer);
    QCOMPARE(lookups->GetGen(QString(), true).toLongLong(), kUnknownGenre);
    QVERIFY(!feedback->HasError());
  }

  void ConvertersByKeyAndByName()
  {
    QCOMPARE(lookups->GetYear(kUnknownYear).toString(), QStringLiteral("[Unknown]"));
    QVERIFY(!lookups->GetYear(9999).isValid());
    QCOMPARE(lookups->GetYear(QStringLiteral("1996"), true).toLongLong(), 37);
    QCOMPARE(lookups->GetManf(kCapcom).toString(), QStringLiteral("Capcom"));
    QCOMPARE(lookups->GetManf(QStringLiteral("CAPCOM"), true).toLongLong(), kCapcom);
    QCOMPARE(lookups->GetCountry(QStringLiteral("usa"), true).toLongLong(), 2);
    QCOMPARE(lookups->GetGen(QStringLiteral("[unknown]"), true).toLongLong(), kUnknownGenre);
    // Countries are never added; years compare exactly, so "199X" is a new year.
    QVERIFY(!lookups->GetCountry(QStringLiteral("Atlantis"), true).isValid());
    const int years = CountOf(QStringLiteral("Year"));
    const qint64 upper = lookups->GetYear(QStringLiteral("199X"), true).toLongLong();
    QVERIFY(upper > 0 && upper != lookups->GetYear(QStringLiteral("199x"), true).toLongLong());
    QCOMPARE(CountOf(QStringLiteral("Year")), years + 1);
    QVERIFY(!feedback->HasError());
  }

  void NewNamesAreAddedOnceAndFoundInTheRebuiltCache()
  {
    const int makers = CountOf(QStringLiteral("Manufacturer"));
    const QString name = QStringLiteral("Zyx Soft's \"Best\"'); DROP TABLE Games; --");
    const qint64 first = lookups->GetManf(name, true).toLongLong();
    QCOMPARE(lookups->GetManf(name.toUpper(), true).toLongLong(), first);
    QCOMPARE(CountOf(QStringLiteral("Manufacturer")), makers + 1);
    QCOMPARE(lookups->GetManf(first).toString(), name);
    const int genres = CountOf(QStringLiteral("Genres"));
    const qint64 genre = lookups->GetGen(QStringLiteral("Typing Tutor"), true).toLongLong();
    QVERIFY(genre > 0);
    QCOMPARE(lookups->GetGen(QStringLiteral("TYPING tutor"), true).toLongLong(), genre);
    QCOMPARE(CountOf(QStringLiteral("Genres")), genres + 1);
    QVERIFY(!feedback->HasError());
  }

  void GenreMissingFromTheListEndsInsteadOfLooping()
  {
    t->Exec(QStringLiteral("DROP VIEW genre"));
    t->Exec(QStringLiteral("CREATE VIEW genre AS SELECT GenreID AS genreID, GenreName FROM Genres WHERE GenreID < 99"));
    t->Exec(QStringLiteral("UPDATE sqlite_sequence SET seq = 500 WHERE name = 'Genres'"));
    const int before = CountOf(QStringLiteral("Genres"));
    QVERIFY(!lookups->GetGen(QStringLiteral("Hidden"), true).isValid());
    QCOMPARE(CountOf(QStringLiteral("Genres")), before + 1);
  }

  void FailedBuildIsReportedAndKeepsTheCache()
  {
    QVERIFY(lookups->BuildYArray());
    t->Exec(QStringLiteral("DELETE FROM Year"));
    QVERIFY(!lookups->BuildYArray());
    QVERIFY(feedback->LastStatus().contains(QStringLiteral("-(BuildYArray)-")));
    QCOMPARE(lookups->GetYear(kUnknownYear).toString(), QStringLiteral("[Unknown]"));
    // A cache that cannot be built gives an empty result, once per call, and adds nothing.
    Lookups fresh(t->Db(), *feedback);
    feedback->Clear();
    QVERIFY(!fresh.GetYear(kUnknownYear).isValid());
    QVERIFY(!fresh.GetYear(QStringLiteral("1996"), true).isValid());
    QCOMPARE(CountOf(QStringLiteral("Year")), 0);
    QCOMPARE(feedback->ErrorLines().size(), 2);
    // Emptied caches are built again on the next look-up.
    QCOMPARE(lookups->GetManf(kCapcom).toString(), QStringLiteral("Capcom"));
    t->Exec(QStringLiteral("UPDATE Manufacturer SET Manufacturer = 'Capcom Co.' WHERE ManufacturerID = ?"), {kCapcom});
    lookups->EmptyCaches();
    QCOMPARE(lookups->GetManf(kCapcom).toString(), QStringLiteral("Capcom Co."));
  }

  void GenreLinksOfOneSystem()
  {
    QList<qint64> games;
    for (const qint64 system : {kSnes, kSnes, qint64{4}}) {
      t->Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES ('g', 'g.zip', ?)"), {system});
      games << t->Db().LastInsertId();
    }
    for (int genre = 2; genre <= 8; ++genre)
      QVERIFY(lookups->AddSubGenre(games[0], genre));
    QVERIFY(lookups->AddSubGenre(games[2], 0));
    QCOMPARE(t->Value(QStringLiteral("SELECT GenreID FROM SubGenres WHERE GameID = ?"), {games[2]}).toLongLong(), 1);
    QVERIFY(lookups->BuildGArray(kSnes));
    QCOMPARE(lookups->LinkCache().Count(), 7);
    QCOMPARE(GetGCount(games[0], lookups->LinkCache(), *feedback), 2);
    QCOMPARE(GetGCount(games[2], lookups->LinkCache(), *feedback), 0);
    QCOMPARE(FindGenreNameByGameID(lookups->LinkCache(), games[0]), (QVariantList{2, 3, 4, 5, 6}));
    // A system without links is no failure: its cache is empty.
    QVERIFY(lookups->BuildGArray(20));
    QVERIFY(lookups->LinkCache().IsEmpty());
    QVERIFY(!feedback->HasError());
    PairTable counts;
    counts.Append(9, QStringLiteral("two"));
    QCOMPARE(GetGCount(9, counts, *feedback), 0);
    QVERIFY(feedback->LastStatus().contains(QStringLiteral("-(GetGCount)-")));
  }

  void SingleValueReads()
  {
    QCOMPARE(lookups->GetSysID(QStringLiteral("SNES")), kSnes);
    QCOMPARE(lookups->GetSysID(QStringLiteral("x'; DROP TABLE System; --")), 0);
    t->Exec(QStringLiteral("UPDATE System SET DefaultImage = NULL, ResumePosition = 12, dResumePosition = 3"));
    QCOMPARE(lookups->GetDefaultImage(kSnes), QString());
    QCOMPARE(lookups->GetResumePosition(kSnes, QStringLiteral("I")) + lookups->GetResumePosition(kSnes, "D"),
             QStringLiteral("123"));
    QCOMPARE(lookups->GetResumePosition(999, QStringLiteral("I")), QString());
    t->Exec(QStringLiteral("DELETE FROM Genres"));
    QCOMPARE(lookups->GetFirstGenre(), QString());
    QVERIFY(!feedback->HasError());
  }
};

QUILLON_TEST_CLASS(LookupsTest)
#include "LookupsTest.moc"
