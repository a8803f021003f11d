// Year, country and maker from file-name tags, the full name of a scanned file, and the
// country repair. The hashed lookups are checked against plain walks over every year, code and
// maker on thousands of generated names.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "names/FixCountries.h"

#include <QRandomGenerator>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kYear1996 = 37;
constexpr qint64 kYear1999 = 40;
constexpr qint64 kYear199x = 71;
constexpr qint64 kUsa = 2;
constexpr qint64 kJapan = 4;
constexpr qint64 kAtari = 27;
constexpr qint64 kCapcom = 48;

// The loops as the document states them: every year, every code, every maker tested against the
// name.
qint64 PlainCheckYear(Lookups& lookups, const QString& name)
{
  qint64 result = kUnknownYear;
  const auto take = [&](const QString& text) {
    const QVariant key = lookups.GetYear(text, true);
    if (key.isValid() && key.toLongLong() > 0)
      result = key.toLongLong();
  };
  for (int year = 1960; year <= 2020; ++year) {
    if (name.contains(QLatin1Char('(') + QString::number(year)))
      take(QString::number(year));
  }
  if (result == kUnknownYear) {
    for (const QString& decade : {QStringLiteral("198x"), QStringLiteral("199x"), QStringLiteral("200x")}) {
      if (name.contains(QLatin1Char('(') + decade + QLatin1Char(')')))
        take(decade);
    }
  }
  return result;
}

qint64 PlainCheckCountry(Catalogue& catalogue, const QString& name)
{
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("select countryid, goodcode from country;"), {}, nullptr);
  qint64 result = 0;
  for (const QVariantList& row : rows->All()) {
    if (row[1].isNull())
      continue;
    const QStringList pieces = row[1].toString().split(QLatin1Char(';'));
    for (int i = 0; i < pieces.size() - 1; ++i) {
      if (name.contains(QLatin1Char('(') + pieces[i] + QLatin1Char(')'))) {
        result = row[0].toLongLong();
        break;
      }
    }
  }
  return result == 0 ? kUnknownCountry : result;
}

qint64 PlainGetManfFromName(Lookups& lookups, const QString& name)
{
  qint64 result = kUnknownManufacturer;
  const PairTable& cache = lookups.ManufacturerCache();
  for (int i = 0; i < cache.Count(); ++i) {
    const QVariant maker = cache.Second(i);
    if (!maker.isNull() && name.contains(QLatin1Char('(') + maker.toString() + QLatin1Char(')')))
      result = lookups.GetManf(maker, true).toLongLong();
  }
  return result;
}

// Odd codes and makers: no ";" at all, a Null list, codes and names holding brackets.
void AddAwkwardEntries(TestCatalogue& t)
{
  t.Exec(QStringLiteral("INSERT INTO Country (Country, goodcode) VALUES ('Zedland', 'Zz')"));
  t.Exec(QStringLiteral("INSERT INTO Country (Country, goodcode) VALUES ('Nowhere', NULL)"));
  t.Exec(QStringLiteral("INSERT INTO Country (Country, goodcode) VALUES ('Bracketia', '(X);Y)(Z;')"));
  t.Exec(QStringLiteral("INSERT INTO Country (Country, goodcode) VALUES ('Quux', 'Q;Qq;U;')"));
  for (const QString& maker : {QStringLiteral("Atari (license)"), QStringLiteral("Sega (Japan)"),
                               QStringLiteral("(weird"), QStringLiteral("odd)"), QStringLiteral("A)(B")})
    t.Exec(QStringLiteral("INSERT INTO Manufacturer (Manufacturer) VALUES (?)"), {maker});
}

QString RandomName(QRandomGenerator& random)
{
  static const QStringList titles = {QStringLiteral("Street Fighter EX "), QStringLiteral("Tetris"),
                                     QStringLiteral("Bob's \"Game\" "),    QStringLiteral("x'; DROP TABLE Games; --"),
                                     QStringLiteral("Pac-Man "),           QStringLiteral("Zelda 1996 ")};
  static const QStringList tags = {QStringLiteral("(1959)"),
                                   QStringLiteral("(1960)"),
                                   QStringLiteral("(2020)"),
                                   QStringLiteral("(2021)"),
                                   QStringLiteral("(1996-1998)"),
                                   QStringLiteral("(1987"),
                                   QStringLiteral("(19961)"),
                                   QStringLiteral("1999)"),
                                   QStringLiteral("(199x)"),
                                   QStringLiteral("(19xx)"),
                                   QStringLiteral("(19?\?)"),
                                   QStringLiteral("(198x)"),
                                   QStringLiteral("(200x)"),
                                   QStringLiteral("(199X)"),
                                   QStringLiteral("(U)"),
                                   QStringLiteral("(J)"),
                                   QStringLiteral("(E)"),
                                   QStringLiteral("(UE)"),
                                   QStringLiteral("(Br)"),
                                   QStringLiteral("(u)"),
                                   QStringLiteral("(U;)"),
                                   QStringLiteral("(U"),
                                   QStringLiteral("U)"),
                                   QStringLiteral("((U))"),
                                   QStringLiteral("(Zz)"),
                                   QStringLiteral("(Qq)"),
                                   QStringLiteral("()"),
                                   QStringLiteral("((X))"),
                                   QStringLiteral("(Y)(Z)"),
                                   QStringLiteral("(Unk)"),
                                   QStringLiteral("(Capcom)"),
                                   QStringLiteral("(CAPCOM)"),
                                   QStringLiteral("(Capcom"),
                                   QStringLiteral("(Atari)"),
                                   QStringLiteral("(Atari (license))"),
                                   QStringLiteral("(Atari (license)"),
                                   QStringLiteral("(Sega (Japan))"),
                                   QStringLiteral("((weird)"),
                                   QStringLiteral("(odd))"),
                                   QStringLiteral("(A)(B)"),
                                   QStringLiteral("(Namco)"),
                                   QStringLiteral("[!]"),
                                   QStringLiteral("(")};
  static const QString noise = QStringLiteral("()UJ;x19 9A");
  QString name = titles[random.bounded(titles.size())];
  const int pieces = random.bounded(1, 7);
  for (int i = 0; i < pieces; ++i) {
    if (random.bounded(4) == 0) {
      for (int k = random.bounded(1, 6); k > 0; --k)
        name += noise[random.bounded(noise.size())];
    } else {
      name += tags[random.bounded(tags.size())];
    }
  }
  return name + QStringLiteral(".zip");
}

}  // namespace

class FileNameTagsTest : public QObject {
  Q_OBJECT

 private slots:
  void YearTags()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    QCOMPARE(tags.CheckYear(QStringLiteral("Street Fighter EX (1996)(Capcom).zip")), kYear1996);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (1999)(1996).zip")), kYear1999);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (1996-1998).zip")), kYear1996);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (1996")), kYear1996);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (199x).zip")), kYear199x);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (1996)(199x).zip")), kYear1996);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (19xx).zip")), kUnknownYear);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (19?\?).zip")), kUnknownYear);
    QCOMPARE(tags.CheckYear(QStringLiteral("Game (1959)(2021) 1996.zip")), kUnknownYear);
    QCOMPARE(YearTagText(QStringLiteral("Game (198x)(199x)")), QStringLiteral("199x"));
    QCOMPARE(YearTagText(QStringLiteral("Game (2020)(1960)")), QStringLiteral("2020"));
    QCOMPARE(YearTagText(QStringLiteral("Game [1996]")), QString());
  }

  void YearMissingFromTheCatalogueIsAddedOnce()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("DELETE FROM Year WHERE Year = '1987'"));
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    const int before = t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt();
    const qint64 key = tags.CheckYear(QStringLiteral("Out Run (1987)(Sega).zip"));
    QCOMPARE(tags.CheckYear(QStringLiteral("Space Harrier (1987).zip")), key);
    QCOMPARE(t.Value(QStringLiteral("SELECT Year FROM Year WHERE YearID = ?"), {key}).toString(),
             QStringLiteral("1987"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Year")).toInt(), before + 1);
  }

  void CountryCodes()
  {
    TestCatalogue t;
    AddAwkwardEntries(t);
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    const qint64 quux = t.Value(QStringLiteral("SELECT CountryID FROM Country WHERE Country = 'Quux'")).toLongLong();
    QCOMPARE(tags.CheckCountry(QStringLiteral("Tetris (J).gb")), kJapan);
    // The last country in table order that matches wins, whatever the order in the name.
    QCOMPARE(tags.CheckCountry(QStringLiteral("Tetris (J)(E).gb")), kJapan);
    QCOMPARE(tags.CheckCountry(QStringLiteral("Tetris (U).gb")), quux);
    QCOMPARE(tags.CheckCountry(QStringLiteral("Tetris ((J)).gb")), kJapan);
    // No code, a code in the wrong case, an unclosed one, a list without ";": the unknown
    // country 1, never 0.
    for (const QString& name : {QStringLiteral("Tetris.gb"), QStringLiteral("Tetris (j).gb"),
                                QStringLiteral("Tetris (J.gb"), QStringLiteral("Tetris (Zz).gb")})
      QCOMPARE(tags.CheckCountry(name), kUnknownCountry);
    // The country without codes (Null) does not spoil those after it.
    QCOMPARE(tags.CheckCountry(QStringLiteral("Tetris (Qq).gb")), quux);
    QCOMPARE(tags.CheckCountry(QStringLiteral("Bob's \"Game\" (J).zip")), kJapan);
    QVERIFY(!feedback.HasError());
  }

  void Makers()
  {
    TestCatalogue t;
    AddAwkwardEntries(t);
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    FileNameTags tags(lookups);
    const qint64 license =
        t.Value(QStringLiteral("SELECT ManufacturerID FROM Manufacturer WHERE Manufacturer = 'Atari (license)'"))
            .toLongLong();
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Street Fighter EX (1996)(Capcom).zip")), kCapcom);
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (CAPCOM).zip")), kUnknownManufacturer);
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Capcom)(Atari).zip")), kCapcom);
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Atari).zip")), kAtari);
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Atari (license)).zip")), license);
    QCOMPARE(tags.GetManfFromName(QStringLiteral("Game (Atari (license).zip")), kUnknownManufacturer);

    // A maker added after the first look-up is found too.
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
    int withYear = 0;
    int withCountry = 0;
    int withMaker = 0;
    for (int i = 0; i < 4000; ++i) {
      const QString name = RandomName(random);
      const bool plainFirst = i % 2 == 0;
      const qint64 plainYear = plainFirst ? PlainCheckYear(lookups, name) : 0;
      const qint64 year = tags.CheckYear(name);
      QCOMPARE(plainFirst ? plainYear : PlainCheckYear(lookups, name), year);
      const qint64 country = tags.CheckCountry(name);
      QCOMPARE(country, PlainCheckCountry(t.Db(), name));
      const qint64 maker = tags.GetManfFromName(name);
      QCOMPARE(maker, PlainGetManfFromName(lookups, name));
      withYear += year != kUnknownYear;
      withCountry += country != kUnknownCountry;
      withMaker += maker != kUnknownManufacturer;
    }
    // The names exercised every branch.
    QVERIFY(withYear > 1000 && withCountry > 1000 && withMaker > 1000);
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join('\n')));
  }

  void FullNameOfAScannedFile()
  {
    QCOMPARE(ScannedFullName(QStringLiteral("Tetris (U).gb")), QStringLiteral("Tetris "));
    QCOMPARE(ScannedFullName(QStringLiteral("Tetris.gb")), QStringLiteral("Tetris"));
    QCOMPARE(ScannedFullName(QStringLiteral("/roms/gb (all)/Tetris (U) [!].gb")), QStringLiteral("Tetris "));
    QCOMPARE(ScannedFullName(QStringLiteral("Super Mario Bros. 3 (U).nes")), QStringLiteral("Super Mario Bros. 3 "));
    QCOMPARE(ScannedFullName(QStringLiteral(" Spaced .zip")), QStringLiteral(" Spaced "));
    QCOMPARE(FullNameBeforeTags(QStringLiteral("Tetris.gb")), QStringLiteral("Tetris.gb"));
  }

  void FixCountriesGivesEveryGameTheCountryOfItsCode()
  {
    TestCatalogue t;
    AddAwkwardEntries(t);
    const QStringList files = {QStringLiteral("Tetris (U).gb"), QStringLiteral("Tetris (J)(E).gb"),
                               QStringLiteral("Tetris (Zz).gb"), QStringLiteral("Bob's \"Game\" (E).zip"),
                               QStringLiteral("x'; DROP TABLE Games; --.nes")};
    for (const QString& file : files)
      t.Exec(QStringLiteral("INSERT INTO Games (FileName, System, Country) VALUES (?, 5, 9)"), {file});
    RecordingFeedback feedback;
    QVERIFY(FixCountries(t.Db(), feedback));
    const auto countryOf = [&](const QString& file) {
      return t.Value(QStringLiteral("SELECT Country FROM Games WHERE FileName = ?"), {file}).toLongLong();
    };
    const qint64 quux = t.Value(QStringLiteral("SELECT CountryID FROM Country WHERE Country = 'Quux'")).toLongLong();
    const qint64 zedland =
        t.Value(QStringLiteral("SELECT CountryID FROM Country WHERE Country = 'Zedland'")).toLongLong();
    QCOMPARE(countryOf(files[0]), quux);
    QCOMPARE(countryOf(files[1]), kJapan);
    QCOMPARE(countryOf(files[2]), zedland);
    QCOMPARE(countryOf(files[3]), 3);
    QCOMPARE(countryOf(files[4]), 9);
    const QStringList lines = feedback.StatusLines();
    QCOMPARE(lines.first(), QStringLiteral("Status: Updating [Unknown]"));
    QVERIFY(lines.contains(QStringLiteral("Status: Updating Zedland")));
    QVERIFY(!lines.contains(QStringLiteral("Status: Updating Nowhere")));
  }

  void FailedFixCountriesLeavesTheGamesAsTheyWere()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO Games (FileName, System, Country) VALUES ('A (U).gb', 5, 9)"));
    t.Exec(QStringLiteral("INSERT INTO Games (FileName, System, Country) VALUES ('B (J).gb', 5, 9)"));
    t.Exec(
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Games WHEN NEW.Country = 4 "
                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    RecordingFeedback feedback;
    QVERIFY(!FixCountries(t.Db(), feedback));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(FixCountries)-")));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Country = 9")).toInt(), 2);
  }
};

QUILLON_TEST_CLASS(FileNameTagsTest)
#include "FileNameTagsTest.moc"
