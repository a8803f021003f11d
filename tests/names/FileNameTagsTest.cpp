// Year, country and maker from file-name tags, the full name of a scanned file, and the
// country repair. The hashed look-ups are checked against plain walks over every year, code and
// maker on thousands of generated names.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "names/FixCountries.h"
#include "names/RegionWords.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString Tag(const QString& text)
{
  return QLatin1Char('(') + text + QLatin1Char(')');
}

// The plain loops: every year, every code, every maker tested against the name in turn.
qint64 PlainCheckYear(Lookups& lookups, const QString& name)
{
  qint64 result = kUnknownYear;
  const auto take = [&](const QString& text) {
    const qint64 key = lookups.GetYear(text, true).toLongLong();
    result = key > 0 ? key : result;
  };
  for (int year = 1960; year <= QDate::currentDate().year(); ++year) {
    if (name.contains(QLatin1Char('(') + QString::number(year)))
      take(QString::number(year));
  }
  if (result != kUnknownYear)
    return result;
  for (const QString& decade : {QStringLiteral("198x"), QStringLiteral("199x"), QStringLiteral("200x")}) {
    if (name.contains(Tag(decade)))
      take(decade);
  }
  return result;
}

qint64 PlainCheckCountry(Catalogue& catalogue, const QString& name)
{
  qint64 result = 0;
  const Rows rows = *catalogue.TrySelect(QStringLiteral("select countryid, goodcode from country;"), {}, nullptr);
  for (const QVariantList& row : rows.All()) {
    const QStringList pieces = row[1].toString().split(QLatin1Char(';'));
    for (int i = 0; !row[1].isNull() && i < pieces.size() - 1; ++i) {
      if (name.contains(Tag(pieces[i]))) {
        result = row[0].toLongLong();
        break;
      }
    }
  }
  if (result != 0)
    return result;
  // Without a code, the country the No-Intro or TOSEC region words name.
  const QString country = RegionCountryName(name);
  const std::optional<Rows> byName = catalogue.TrySelect(
      QStringLiteral("SELECT CountryID FROM Country WHERE Country = ? ORDER BY CountryID"), {country}, nullptr);
  return byName && !byName->IsEmpty() ? byName->Value(0, 0).toLongLong() : kUnknownCountry;
}

qint64 PlainGetManfFromName(Lookups& lookups, const QString& name)
{
  qint64 result = kUnknownManufacturer;
  const PairTable& cache = lookups.ManufacturerCache();
  for (int i = 0; i < cache.Count(); ++i) {
    if (!cache.Second(i).isNull() && name.contains(Tag(cache.Second(i).toString())))
      result = lookups.GetManf(cache.Second(i), true).toLongLong();
  }
  return result;
}

// Odd codes and makers: no ";" at all, a Null list, codes and names holding brackets.
void AddAwkwardEntries(TestCatalogue& t)
{
  t.Exec(
      QStringLiteral("INSERT INTO Country (CountryID, Country, goodcode) VALUES (37, 'Zedland', 'Zz'), "
                     "(38, 'Nowhere', NULL), (39, 'Bracketia', '(X);Y)(Z;'), (40, 'Quux', 'Q;Qq;U;')"));
  t.Exec(
      QStringLiteral("INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (400, 'Atari (license)'), "
                     "(401, 'Sega (Japan)'), (402, '(weird'), (403, 'odd)'), (404, 'A)(B')"));
}

QString RandomName(QRandomGenerator& random)
{
  static const QStringList titles =
      QStringLiteral("Street Fighter EX |Tetris|Bob's \"Game\" |x'; DROP TABLE Games; --|Zelda 1996 ").split('|');
  static const QStringList tags =
      QStringLiteral(
          "(1959)|(1960)|(2020)|(2021)|(2999)|(1996-1998)|(1987|(19961)|1999)|(199x)|(19xx)|(19?"
          "?)|(198x)|(200x)|(199X)|(U)|(J)|(E)|(UE)|(Br)|(u)|(U;)|(U|U)|((U))|(Zz)|(Qq)|()|("
          "(X))|(Y)(Z)|(Unk)|(Capcom)|(CAPCOM)|(Capcom|(Atari)|(Atari (license))|(Atari "
          "(license)|(USA, Europe)|(Europe, Australia)|(Japan, rev. A)|(usa)|(Netherlands)|(US-EU)|(US-XX)|(Atari "
          "(license)|(Sega (Japan))|((weird)|(odd))|(A)(B)|[!]|(")
          .split('|');
  static const QString noise = QStringLiteral("()UJ;x19 9A");
  QString name = titles[random.bounded(titles.size())];
  for (int pieces = random.bounded(1, 7); pieces > 0; --pieces) {
    if (random.bounded(4) > 0)
      name += tags[random.bounded(tags.size())];
    for (int k = random.bounded(4) == 0 ? random.bounded(1, 6) : 0; k > 0; --k)
      name += noise[random.bounded(noise.size())];
  }
  return name + QStringLiteral(".zip");
}

}  // namespace

class FileNameTagsTest : public QObject {
  Q_OBJECT

 private slots:
  void TagsOfNames_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("year");
    QTest::addColumn<qint64>("country");
    QTest::addColumn<qint64>("maker");
    const auto row = [](const char* name, qint64 year, qint64 country, qint64 maker) {
      QTest::newRow(name) << QString::fromUtf8(name) << year << country << maker;
    };
    row("Street Fighter EX (1996)(Capcom).zip", 37, 1, 48);
    row("Game (1999)(1996)(J)(E).zip", 40, 4, 319);         // highest year; last country in table order
    row("Game (1996-1998)(CAPCOM).zip", 37, 1, 319);        // tags are case-sensitive
    row("Game (1996(199x)(Capcom)(Atari).zip", 37, 1, 48);  // no ")" needed; last maker alphabetically
    row("Game (199x)(j).zip", 71, 1, 319);
    row("Game (19xx)(19?\?)(1959)(2999)(J.zip", 42, 1, 319);
    row("Game (2021)(1996).zip", 63, 1, 319);              // years after 2020 are read too
    row("Game (U)(Atari (license)).zip", 42, 40, 400);     // Quux lists "U;" after USA; makers with brackets
    row("Game (Zz)(Atari (license).zip", 42, 1, 319);      // a code list without ";" is not used here
    row("Game (Qq)((X))(Sega (Japan)).zip", 42, 40, 401);  // the Null list before Quux spoils nothing
    row("Bob's \"Game\" ((J)).zip", 42, 4, 319);
    // Without a GoodTools code, the region words of No-Intro and TOSEC names.
    row("Tetris (USA, Europe).zip", 42, 5, 319);
    row("Zelda (Europe) (Rev 1).zip", 42, 3, 319);
    row("Xenon 2 (Mirrorsoft)(US-EU).zip", 42, 5, 166);
    row("Game (J) (USA).zip", 42, 4, 319);  // a code comes first
  }

  void TagsOfNames()
  {
    QFETCH(QString, name);
    TestCatalogue t;
    AddAwkwardEntries(t);
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    QTEST(tags.CheckYear(name), "year");
    QTEST(tags.CheckCountry(name), "country");
    QTEST(tags.GetManfFromName(name), "maker");
    QVERIFY(!feedback.HasError());
  }

  void YearsUpToTheCurrentOne()
  {
    const int thisYear = QDate::currentDate().year();
    QCOMPARE(YearTagText(QStringLiteral("Game (%1)(U).zip").arg(thisYear)), QString::number(thisYear));
    QCOMPARE(YearTagText(QStringLiteral("Game (%1)(U).zip").arg(thisYear + 1)), QString());
    QCOMPARE(YearTagText(QStringLiteral("Game (2020)(%1).zip").arg(thisYear + 1)), QStringLiteral("2020"));
  }

  void NewYearsAndMakersAreFoundOnce()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("DELETE FROM Year WHERE Year = '1987'"));
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    const int years = t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt();
    const qint64 key = tags.CheckYear(QStringLiteral("Out Run (1987)(Sega).zip"));
    QCOMPARE(tags.CheckYear(QStringLiteral("Space Harrier (1987).zip")), key);
    QCOMPARE(lookups.GetYear(key).toString(), QStringLiteral("1987"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt(), years + 1);
    // A maker added after the first look-up is found in names too.
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Newco).zip")), kUnknownManufacturer);
    const qint64 newco = lookups.GetManf(QStringLiteral("Newco"), true).toLongLong();
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Newco).zip")), newco);
  }

  void HashedLookupsEqualThePlainLoops()
  {
    TestCatalogue t;
    AddAwkwardEntries(t);
    // Years the catalogue lacks, so both readings add them and must agree on the key.
    t.Exec(QStringLiteral("DELETE FROM Year WHERE Year IN ('1987', '2020', '199x')"));
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    QVERIFY(lookups.BuildMArray());
    QRandomGenerator random(20240611);
    int found = 0;
    for (int i = 0; i < 4000; ++i) {
      const QString name = RandomName(random);
      const qint64 plainYear = i % 2 == 0 ? PlainCheckYear(lookups, name) : 0;
      const qint64 year = tags.CheckYear(name);
      QVERIFY2((i % 2 == 0 ? plainYear : PlainCheckYear(lookups, name)) == year, qPrintable(name));
      const qint64 country = tags.CheckCountry(name);
      QCOMPARE(country, PlainCheckCountry(t.Db(), name));
      const qint64 maker = tags.GetManfFromName(name);
      QCOMPARE(maker, PlainGetManfFromName(lookups, name));
      found += (year != kUnknownYear) + (country != kUnknownCountry) + (maker != kUnknownManufacturer);
    }
    QVERIFY(found > 4000);  // the names do carry tags
    QVERIFY(!feedback.HasError());
  }

  void FullNameOfAScannedFile()
  {
    QCOMPARE(ScannedFullName(QStringLiteral("Tetris (U).gb")), QStringLiteral("Tetris "));
    QCOMPARE(ScannedFullName(QStringLiteral("/roms/gb (all)/Tetris (U) [!].gb")), QStringLiteral("Tetris "));
    QCOMPARE(ScannedFullName(QStringLiteral("Super Mario Bros. 3 (U).nes")), QStringLiteral("Super Mario Bros. 3 "));
    QCOMPARE(FullNameBeforeTags(QStringLiteral("Tetris.gb")), QStringLiteral("Tetris.gb"));
  }

  void FixCountriesIsAllOrNothing()
  {
    TestCatalogue t;
    AddAwkwardEntries(t);
    const QStringList files = {QStringLiteral("A (U).gb"), QStringLiteral("B (J)(E).gb"), QStringLiteral("C (Zz).gb"),
                               QStringLiteral("Bob's \"Game\" (E).zip"),
                               QStringLiteral("x'; DROP TABLE Games; --.nes")};
    for (const QString& file : files)
      t.Exec(QStringLiteral("INSERT INTO Games (FileName, System, Country) VALUES (?, 5, 9)"), {file});
    const auto countries = [&] {
      return t.Value(QStringLiteral("SELECT group_concat(Country) FROM (SELECT Country FROM Games ORDER BY GameID)"))
          .toString();
    };
    RecordingFeedback feedback;
    t.Exec(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Games WHEN NEW.Country = 37 "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    QVERIFY(!FixCountries(t.Db(), feedback));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(FixCountries)-")));
    QCOMPARE(countries(), QStringLiteral("9,9,9,9,9"));

    t.Exec(QStringLiteral("DROP TRIGGER refuse"));
    feedback.Clear();
    QVERIFY(FixCountries(t.Db(), feedback));
    // Later countries win; a single code without ";" is used here.
    QCOMPARE(countries(), QStringLiteral("40,4,37,3,9"));
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: Updating Zedland")));
    QVERIFY(!feedback.StatusLines().contains(QStringLiteral("Status: Updating Nowhere")));
  }
};

QUILLON_TEST_CLASS(FileNameTagsTest)
#include "FileNameTagsTest.moc"
