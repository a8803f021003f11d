// File names against the tag reader: the hashed look-ups of year, country and maker must give what
// a plain walk over every year, code and maker gives, and the name parts must be parts of the name.
#include "FuzzSupport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "names/RegionWords.h"

#include <QDate>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

using namespace quillon;

namespace {

QString Tag(const QString& text)
{
  return QLatin1Char('(') + text + QLatin1Char(')');
}

struct Scene {
  QTemporaryDir dir;
  std::unique_ptr<Catalogue> catalogue;
  SilentFeedback feedback;
  std::unique_ptr<Lookups> lookups;
  std::unique_ptr<FileNameTags> tags;
  std::vector<std::pair<qint64, QStringList>> countryCodes;  // table order
};

void Exec(Catalogue& catalogue, const char* sql)
{
  SilentFeedback feedback;
  if (!catalogue.Execute(feedback, QStringLiteral("fuzz"), QString::fromUtf8(sql))) {
    std::fprintf(stderr, "cannot prepare the fuzz catalogue: %s\n", sql);
    std::abort();
  }
}

// The delivered catalogue plus codes and makers that hold brackets and separators.
Scene& TheScene()
{
  static Scene* scene = [] {
    auto* made = new Scene;
    const DataFolder folder(made->dir.path());
    QString error;
    if (!folder.EnsureFolders(&error) ||
        !InstallDeliveredCatalogue(folder, QStringLiteral(QUILLON_DELIVERED_CATALOGUE), &error)) {
      std::fprintf(stderr, "cannot prepare the fuzz catalogue: %s\n", qPrintable(error));
      std::abort();
    }
    made->catalogue = Catalogue::Open(folder.CatalogueFile(), nullptr, nullptr);
    FUZZ_CHECK(made->catalogue != nullptr);
    Exec(*made->catalogue,
         "INSERT INTO Country (CountryID, Country, goodcode) VALUES (37, 'Zedland', 'Zz'), (38, 'Nowhere', NULL), "
         "(39, 'Bracketia', '(X);Y)(Z;'), (40, 'Quux', 'Q;Qq;U;')");
    Exec(*made->catalogue,
         "INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (400, 'Atari (license)'), "
         "(401, 'Sega (Japan)'), (402, '(weird'), (403, 'odd)'), (404, 'A)(B')");
    made->lookups = std::make_unique<Lookups>(*made->catalogue, made->feedback);
    made->tags = std::make_unique<FileNameTags>(*made->lookups);
    FUZZ_CHECK(made->lookups->BuildMArray());
    const std::optional<Rows> rows = made->catalogue->TrySelect(
        QStringLiteral("SELECT CountryID, goodcode FROM Country ORDER BY rowid"), {}, nullptr);
    FUZZ_CHECK(rows.has_value());
    for (const QVariantList& row : rows->All()) {
      QStringList codes;
      if (!row[1].isNull()) {
        codes = row[1].toString().split(QLatin1Char(';'));
        codes.removeLast();  // the piece after the last ";" is no code
      }
      made->countryCodes.emplace_back(row[0].toLongLong(), codes);
    }
    return made;
  }();
  return *scene;
}

QString PlainYearText(const QString& name)
{
  for (int year = QDate::currentDate().year(); year >= 1960; --year) {
    if (name.contains(QLatin1Char('(') + QString::number(year)))
      return QString::number(year);
  }
  QString decade;
  for (const QString& candidate : {QStringLiteral("198x"), QStringLiteral("199x"), QStringLiteral("200x")}) {
    if (name.contains(Tag(candidate)))
      decade = candidate;
  }
  return decade;
}

qint64 PlainCountry(const Scene& scene, const QString& name)
{
  qint64 result = kUnknownCountry;
  for (const auto& [key, codes] : scene.countryCodes) {
    for (const QString& code : codes) {
      if (name.contains(Tag(code))) {
        result = key;
        break;
      }
    }
  }
  if (result != kUnknownCountry)
    return result;
  // Without a GoodTools code, the region words of No-Intro and TOSEC names.
  const QString country = RegionCountryName(name);
  if (country.isEmpty())
    return kUnknownCountry;
  const qint64 key = scene.lookups->GetCountry(country, true).toLongLong();
  return key > 0 ? key : kUnknownCountry;
}

QString PlainMakerName(Lookups& lookups, const QString& name)
{
  QString result;
  const PairTable& cache = lookups.ManufacturerCache();
  for (int i = 0; i < cache.Count(); ++i) {
    if (!cache.Second(i).isNull() && name.contains(Tag(cache.Second(i).toString())))
      result = cache.Second(i).toString();
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
  fuzz::EnsureApplication();
  fuzz::SilenceQtMessages();
  TheScene();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  Scene& scene = TheScene();
  const QString name = QString::fromUtf8(fuzz::Bytes(data, size));

  const QString yearText = YearTagText(name);
  FUZZ_CHECK(yearText == PlainYearText(name));
  const qint64 year = scene.tags->CheckYear(name);
  FUZZ_CHECK(yearText.isEmpty() ? year == kUnknownYear : scene.lookups->FindYear(yearText) == year);

  FUZZ_CHECK(scene.tags->CheckCountry(name) == PlainCountry(scene, name));

  const QString maker = PlainMakerName(*scene.lookups, name);
  FUZZ_CHECK(scene.tags->ManufacturerNameIn(name) == maker);
  const qint64 makerKey = scene.tags->GetManfFromName(name);
  FUZZ_CHECK(maker.isEmpty() ? makerKey == kUnknownManufacturer : makerKey > 0);

  const QString beforeTags = FullNameBeforeTags(name);
  FUZZ_CHECK(name.startsWith(beforeTags) && !beforeTags.contains(QLatin1Char('(')));
  const QString fullName = ScannedFullName(name);
  FUZZ_CHECK(!fullName.contains(QLatin1Char('(')) && !fullName.contains(QLatin1Char('/')));
  FUZZ_CHECK(name.contains(fullName));
  return 0;
}
