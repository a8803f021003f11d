#include "names/RegionWords.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <span>

namespace quillon {

namespace {

// No-Intro region words and TOSEC country codes, each with its country's name in the catalogue.
struct Region {
  const char* word;
  const char* country;
};
constexpr Region kRegionWords[] = {
    {"World", "World"},       {"USA", "USA"},
    {"Europe", "Europe"},     {"Japan", "Japan"},
    {"Asia", "Asia"},         {"Australia", "Australia"},
    {"Brazil", "Brazil"},     {"Canada", "Canada"},
    {"China", "China"},       {"France", "France"},
    {"Germany", "Germany"},   {"Netherlands", "Holland"},
    {"Italy", "Italy"},       {"Korea", "Korea"},
    {"Spain", "Spain"},       {"Sweden", "Sweden"},
    {"Taiwan", "Taiwan"},     {"Hong Kong", "Hong Kong"},
    {"UK", "United Kingdom"}, {"United Kingdom", "United Kingdom"},
    {"Finland", "Finland"},   {"Greece", "Greece"},
    {"Russia", "Russia"},     {"Scandinavia", "Scandinavia"},
    {"Norway", "Norway"},     {"Denmark", "Denmark"},
    {"Portugal", "Portugal"},
};
constexpr Region kTosecCodes[] = {
    {"US", "USA"},     {"EU", "Europe"},    {"JP", "Japan"},          {"AS", "Asia"},     {"AU", "Australia"},
    {"BR", "Brazil"},  {"CA", "Canada"},    {"CN", "China"},          {"FR", "France"},   {"DE", "Germany"},
    {"NL", "Holland"}, {"IT", "Italy"},     {"KR", "Korea"},          {"ES", "Spain"},    {"SE", "Sweden"},
    {"TW", "Taiwan"},  {"HK", "Hong Kong"}, {"GB", "United Kingdom"}, {"FI", "Finland"},  {"GR", "Greece"},
    {"RU", "Russia"},  {"NO", "Norway"},    {"DK", "Denmark"},        {"PT", "Portugal"},
};
// Countries of the catalogue that stand for several regions at once.
struct Combination {
  const char* regions;  // the countries' names, sorted, joined by "+"
  const char* country;
};
constexpr Combination kCombinations[] = {
    {"Europe+USA", "USA/Europe"},     {"Japan+USA", "Japan/USA"},
    {"Europe+Japan", "Japan/Europe"}, {"Europe+Japan+USA", "Japan/USA/Europe"},
    {"Japan+Korea", "Japan & Korea"}, {"Brazil+USA", "USA & Brazil"},
};

QHash<QString, QString> TableOf(std::span<const Region> regions)
{
  QHash<QString, QString> table;
  for (const Region& region : regions)
    table.insert(QString::fromLatin1(region.word), QString::fromLatin1(region.country));
  return table;
}

const QHash<QString, QString>& Words()
{
  static const QHash<QString, QString> table = TableOf(kRegionWords);
  return table;
}

const QHash<QString, QString>& Codes()
{
  static const QHash<QString, QString> table = TableOf(kTosecCodes);
  return table;
}

// The leading region words of a No-Intro group, as countries; empty when the first is none.
QStringList WordCountries(const QString& group)
{
  QStringList countries;
  for (const QString& piece : group.split(QStringLiteral(", "))) {
    const auto found = Words().constFind(piece);
    if (found == Words().cend())
      break;
    countries << *found;
  }
  return countries;
}

// A TOSEC group: every piece must be a country code.
QStringList CodeCountries(const QString& group)
{
  QStringList countries;
  for (const QString& piece : group.split(QLatin1Char('-'))) {
    const auto found = Codes().constFind(piece);
    if (found == Codes().cend())
      return {};
    countries << *found;
  }
  return countries;
}

QString CountryOf(QStringList countries)
{
  countries.removeDuplicates();
  if (countries.size() == 1)
    return countries.first();
  QStringList sorted = countries;
  sorted.sort();
  const QString key = sorted.join(QLatin1Char('+'));
  for (const Combination& combination : kCombinations) {
    if (key == QLatin1String(combination.regions))
      return QString::fromLatin1(combination.country);
  }
  return countries.first();
}

}  // namespace

QString RegionCountryName(QStringView name)
{
  for (qsizetype open = name.indexOf(QLatin1Char('(')); open >= 0; open = name.indexOf(QLatin1Char('('), open + 1)) {
    const qsizetype close = name.indexOf(QLatin1Char(')'), open + 1);
    if (close < 0)
      break;
    const QString group = name.mid(open + 1, close - open - 1).toString();
    QStringList countries = WordCountries(group);
    if (countries.isEmpty())
      countries = CodeCountries(group);
    if (!countries.isEmpty())
      return CountryOf(countries);
  }
  return {};
}

}  // namespace quillon
