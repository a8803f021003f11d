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

constexpr qint64 kYear1996 = 37;
constexpr qint64 kCapcom = 48;
constexpr qint64 kUsa = 2;
constexpr qint64 kSnes = 3;

int CountOf(TestCatalogue& t, const QString& table)
{
  return t.Value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

qint64 AddGame(TestCatalogue& t, qint64 system)
{
  t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES ('g', 'g.zip', ?)"), {system});
  return t.Db().LastInsertId();
}

}  // namespace

class LookupsTest : public QObject {
  Q_OBJECT

 private slots:
  void EmptyNamesGiveTheReservedKeysWithoutTouchingTheCatalogue()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    // The caches stay unbuilt: nothing was searched.
    t.Exec(QStringLiteral("DROP TABLE Manufacturer"));
    t.Exec(QStringLiteral("DROP TABLE Year"));
    QCOMPARE(lookups.GetYear(QString(), true).toLongLong(), kUnknownYear);
    QCOMPARE(lookups.GetManf(QString(), true).toLongLong(), kUnknownManufacturer);
    QCOMPARE(lookups.GetGen(QString(), true).toLongLong(), kUnknownGenre);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join('\n')));
  }

  void ConvertersByKeyAndByName()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    QCOMPARE(lookups.GetYear(kUnknownYear).toString(), QStringLiteral("[Unknown]"));
    QCOMPARE(lookups.GetYear(9999).isValid(), false);
    QCOMPARE(lookups.GetYear(QStringLiteral("1996"), true).toLongLong(), kYear1996);
    QCOMPARE(lookups.GetManf(kCapcom).toString(), QStringLiteral("Capcom"));
    QCOMPARE(lookups.GetManf(QStringLiteral("CAPCOM"), true).toLongLong(), kCapcom);
    QCOMPARE(lookups.GetCountry(QStringLiteral("usa"), true).toLongLong(), kUsa);
    QCOMPARE(lookups.GetCountry(kUsa).toString(), QStringLiteral("USA"));
    QCOMPARE(lookups.GetGen(QStringLiteral("[unknown]"), true).toLongLong(), kUnknownGenre);
    QVERIFY(!feedback.HasError());
  }

  void YearsCompareExactlySoAnotherCaseIsANewYear()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const int before = CountOf(t, QStringLiteral("Year"));
    const qint64 upper = lookups.GetYear(QStringLiteral("199X"), true).toLongLong();
    QVERIFY(upper > 0);
    QVERIFY(upper != lookups.GetYear(QStringLiteral("199x"), true).toLongLong());
    QCOMPARE(CountOf(t, QStringLiteral("Year")), before + 1);
    QCOMPARE(lookups.GetYear(upper).toString(), QStringLiteral("199X"));
  }

  void NewNamesAreAddedOnceAndFoundInTheRebuiltCache()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const int makers = CountOf(t, QStringLiteral("Manufacturer"));
    const QString name = QStringLiteral("Zyx Soft's \"Best\"");
    const qint64 first = lookups.GetManf(name, true).toLongLong();
    QCOMPARE(lookups.GetManf(name.toUpper(), true).toLongLong(), first);
    QCOMPARE(CountOf(t, QStringLiteral("Manufacturer")), makers + 1);
    QCOMPARE(lookups.GetManf(first).toString(), name);

    const int genres = CountOf(t, QStringLiteral("Genres"));
    const qint64 genre = lookups.GetGen(QStringLiteral("Typing Tutor"), true).toLongLong();
    QVERIFY(genre > 0);
    QCOMPARE(lookups.GetGen(QStringLiteral("TYPING tutor"), true).toLongLong(), genre);
    QCOMPARE(CountOf(t, QStringLiteral("Genres")), genres + 1);
    QVERIFY(!feedback.HasError());
  }

  void GetCountryNeverAdds()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const int before = CountOf(t, QStringLiteral("Country"));
    QVERIFY(!lookups.GetCountry(QStringLiteral("Atlantis"), true).isValid());
    QVERIFY(!lookups.GetCountry(QString(), true).isValid());
    QCOMPARE(CountOf(t, QStringLiteral("Country")), before);
  }

  void GenreMissingFromTheListEndsInsteadOfLooping()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    // The list of genres no longer shows new rows: the added genre cannot be found again.
    t.Exec(QStringLiteral("DROP VIEW genre"));
    t.Exec(
        QStringLiteral("CREATE VIEW genre AS SELECT GenreID AS genreID, GenreName FROM Genres WHERE GenreID < 1000"));
    t.Exec(QStringLiteral("UPDATE sqlite_sequence SET seq = 5000 WHERE name = 'Genres'"));
    const int before = CountOf(t, QStringLiteral("Genres"));
    QVERIFY(!lookups.GetGen(QStringLiteral("Hidden"), true).isValid());
    QCOMPARE(CountOf(t, QStringLiteral("Genres")), before + 1);
  }

  void FailedBuildIsReportedAndKeepsTheCache()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    QVERIFY(lookups.BuildYArray());
    t.Exec(QStringLiteral("DELETE FROM Year"));
    QVERIFY(!lookups.BuildYArray());
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(BuildYArray)-")));
    QCOMPARE(lookups.GetYear(kUnknownYear).toString(), QStringLiteral("[Unknown]"));

    // A cache that cannot be built at all gives an empty result, once, and nothing is added.
    Lookups fresh(t.Db(), feedback);
    feedback.Clear();
    QVERIFY(!fresh.GetYear(kUnknownYear).isValid());
    QVERIFY(!fresh.GetYear(QStringLiteral("1996"), true).isValid());
    QCOMPARE(CountOf(t, QStringLiteral("Year")), 0);
    QCOMPARE(feedback.ErrorLines().size(), 2);

    t.Exec(QStringLiteral("DROP TABLE Manufacturer"));
    QVERIFY(!fresh.BuildMArray());
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(BuildMArray)-")));
  }

  void EmptiedCachesAreRebuiltOnDemand()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    QCOMPARE(lookups.GetManf(kCapcom).toString(), QStringLiteral("Capcom"));
    t.Exec(QStringLiteral("UPDATE Manufacturer SET Manufacturer = 'Capcom Co.' WHERE ManufacturerID = ?"), {kCapcom});
    QCOMPARE(lookups.GetManf(kCapcom).toString(), QStringLiteral("Capcom"));
    lookups.EmptyCaches();
    QVERIFY(lookups.ManufacturerCache().IsEmpty());
    QCOMPARE(lookups.GetManf(kCapcom).toString(), QStringLiteral("Capcom Co."));
  }

  void GenreLinksOfOneSystem()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const qint64 many = AddGame(t, kSnes);
    const qint64 none = AddGame(t, kSnes);
    const qint64 elsewhere = AddGame(t, 4);
    for (int genre = 2; genre <= 8; ++genre)
      QVERIFY(lookups.AddSubGenre(many, genre));
    QVERIFY(lookups.AddSubGenre(elsewhere, 0));
    QCOMPARE(t.Value(QStringLiteral("SELECT GenreID FROM SubGenres WHERE GameID = ?"), {elsewhere}).toLongLong(),
             kUnknownGenre);

    QVERIFY(lookups.BuildGArray(kSnes));
    QCOMPARE(lookups.LinkCache().Count(), 7);
    QCOMPARE(GetGCount(many, lookups.LinkCache(), feedback), 2);
    QCOMPARE(GetGCount(none, lookups.LinkCache(), feedback), 0);
    QCOMPARE(GetGCount(elsewhere, lookups.LinkCache(), feedback), 0);
    const QVariantList firstFive = FindGenreNameByGameID(lookups.LinkCache(), many);
    QCOMPARE(firstFive, (QVariantList{2, 3, 4, 5, 6}));

    // A system without links is not a failure; its cache is empty.
    QVERIFY(lookups.BuildGArray(20));
    QVERIFY(lookups.LinkCache().IsEmpty());
    QVERIFY(!feedback.HasError());
  }

  void GCountWalksAnyTableAndReportsNonNumbers()
  {
    RecordingFeedback feedback;
    PairTable counts;
    counts.Append(7, 3);
    counts.Append(9, QStringLiteral("two"));
    counts.Append(7, 5);
    QCOMPARE(GetGCount(7, counts, feedback), 3);
    QVERIFY(!feedback.HasError());
    QCOMPARE(GetGCount(9, counts, feedback), 0);
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(GetGCount)-")));
    counts.Append(11, 1);
    QCOMPARE(GetGCount(11, counts, feedback), 1);
  }

  void SingleValueReadsBindTheirValues()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    QCOMPARE(lookups.GetSysID(QStringLiteral("SNES")), kSnes);
    QCOMPARE(lookups.GetSysID(QStringLiteral("x'; DROP TABLE System; --")), 0);
    QCOMPARE(lookups.GetSysID(QStringLiteral("Bob's \"Console\"")), 0);
    QCOMPARE(CountOf(t, QStringLiteral("System")), 33);

    QCOMPARE(lookups.GetFirstGenre(), t.Value(QStringLiteral("SELECT min(GenreName) FROM Genres")).toString());
    t.Exec(QStringLiteral("DELETE FROM Genres"));
    QCOMPARE(lookups.GetFirstGenre(), QString());

    t.Exec(QStringLiteral("UPDATE System SET DefaultImage = NULL, ResumePosition = 12, dResumePosition = 3"));
    QCOMPARE(lookups.GetDefaultImage(kSnes), QString());
    t.Exec(QStringLiteral("UPDATE System SET DefaultImage = 'none.png' WHERE SystemID = ?"), {kSnes});
    QCOMPARE(lookups.GetDefaultImage(kSnes), QStringLiteral("none.png"));
    QCOMPARE(lookups.GetResumePosition(kSnes, QStringLiteral("I")), QStringLiteral("12"));
    QCOMPARE(lookups.GetResumePosition(kSnes, QStringLiteral("D")), QStringLiteral("3"));
    QCOMPARE(lookups.GetResumePosition(999, QStringLiteral("I")), QString());
    QVERIFY(!feedback.HasError());

    // AddYear and AddManf take quotes like any other text.
    const QString risky = QStringLiteral("x'); DROP TABLE Games; --");
    const qint64 maker = lookups.AddManf(risky);
    QVERIFY(maker > 0);
    QCOMPARE(lookups.GetManf(risky, true).toLongLong(), maker);
    const qint64 year = lookups.AddYear(risky);
    QVERIFY(year > 0);
    QCOMPARE(lookups.GetYear(year).toString(), risky);
    QVERIFY(t.Db().HasColumn(QStringLiteral("Games"), QStringLiteral("GameID")));
  }
};

QUILLON_TEST_CLASS(LookupsTest)
#include "LookupsTest.moc"
