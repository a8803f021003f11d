#include "identify/GameFill.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "identify/RomIndex.h"
#include "names/FileNameTags.h"
#include "names/RegionWords.h"

#include <algorithm>

namespace quillon {

namespace {

bool IsDigits(QStringView text)
{
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

bool IsUnknown(qint64 key, qint64 unknown)
{
  return key <= 0 || key == unknown;
}

std::optional<qint64> KeyOf(const QVariant& value)
{
  bool ok = false;
  const qint64 key = value.toLongLong(&ok);
  if (!value.isValid() || value.isNull() || !ok || key <= 0)
    return std::nullopt;
  return key;
}

// Makers the lists write when they know none.
bool IsKnownPublisher(const QString& publisher)
{
  return !publisher.isEmpty() && !publisher.startsWith(QLatin1Char('<'));
}

}  // namespace

QString YearOfList(const QString& year)
{
  const QString text = year.trimmed();
  if (text.size() < 4)
    return {};
  if (IsDigits(QStringView(text).left(4)))
    return text.left(4);
  if (IsDigits(QStringView(text).left(3)) && text[3] == QLatin1Char('?'))
    return text.left(3) + QLatin1Char('x');
  return {};
}

QString TitleOfDescription(const QString& description)
{
  const qsizetype bracket = description.indexOf(QStringLiteral(" ("));
  const QString title = (bracket > 0 ? description.left(bracket) : description).trimmed();
  return title.isEmpty() ? description.trimmed() : title;
}

bool IsDerivedFullName(const QString& fullName, const QString& fileName)
{
  const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
  return fullName.trimmed().isEmpty() || fullName == ScannedFullName(fileName) || fullName == FullNameBeforeTags(name);
}

QStringList FillFromEntry(Catalogue& catalogue, Lookups& lookups, const GameFacts& game, const IndexEntry& entry,
                          bool* failed)
{
  QStringList filled;
  qint64 year = game.year;
  qint64 manufacturer = game.manufacturer;
  qint64 country = game.country;
  QString fullName = game.fullName;
  bool clone = game.clone;
  const QString yearText = YearOfList(entry.year);
  if (IsUnknown(year, kUnknownYear) && !yearText.isEmpty()) {
    if (const std::optional<qint64> key = KeyOf(lookups.GetYear(yearText, true))) {
      year = *key;
      filled << QStringLiteral("Year");
    }
  }
  if (IsUnknown(manufacturer, kUnknownManufacturer) && IsKnownPublisher(entry.publisher)) {
    if (const std::optional<qint64> key = KeyOf(lookups.GetManf(entry.publisher, true))) {
      manufacturer = *key;
      filled << QStringLiteral("Manufacturer");
    }
  }
  if (IsUnknown(country, kUnknownCountry)) {
    const QString name = RegionCountryName(entry.standardName);
    if (const std::optional<qint64> key = name.isEmpty() ? std::nullopt : KeyOf(lookups.GetCountry(name, true))) {
      country = *key;
      filled << QStringLiteral("Country");
    }
  }
  const QString title = TitleOfDescription(entry.description.isEmpty() ? entry.standardName : entry.description);
  if (IsDerivedFullName(game.fullName, game.fileName) && !title.isEmpty() && title != game.fullName) {
    fullName = title;
    filled << QStringLiteral("FullName");
  }
  if (!clone && !entry.cloneOf.isEmpty()) {
    clone = true;
    filled << QStringLiteral("Clone");
  }
  if (filled.isEmpty())
    return filled;
  const bool written = catalogue.Execute(
      lookups.Reporter(), QStringLiteral("VerifyRoms"),
      QStringLiteral("UPDATE Games SET Year = ?, Manufacturer = ?, Country = ?, FullName = ?, Clone = ? "
                     "WHERE GameID = ?"),
      {year, manufacturer, country, fullName, clone ? 1 : 0, game.gameId});
  if (!written) {
    if (failed)
      *failed = true;
    return {};
  }
  return filled;
}

}  // namespace quillon
