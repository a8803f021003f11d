#include "names/FileNameTags.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "names/RegionWords.h"

#include <QDate>
#include <QVarLengthArray>

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr int kFirstTagYear = 1960;
// Each decade's year text and its tag.
struct DecadeTag {
  const char* year;
  const char* tag;
};
constexpr std::array<DecadeTag, 3> kDecadeTags = {{{"198x", "(198x)"}, {"199x", "(199x)"}, {"200x", "(200x)"}}};

bool IsAsciiDigit(QChar character)
{
  return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

// Names carry the years of new releases too: any year up to the present one is read. The clock
// is read once per reader, not once per name.
int LastTagYear()
{
  return QDate::currentDate().year();
}

// Every year from 1960 to `lastYear` written as "(" and its four digits, ascending, each once.
QVarLengthArray<int, 8> TagYearsIn(const QString& name, int lastYear)
{
  QVarLengthArray<int, 8> years;
  for (qsizetype open = name.indexOf(QLatin1Char('(')); open >= 0 && open + 4 < name.size();
       open = name.indexOf(QLatin1Char('('), open + 1)) {
    int year = 0;
    bool digits = true;
    for (qsizetype i = open + 1; i <= open + 4 && digits; ++i) {
      digits = IsAsciiDigit(name[i]);
      year = year * 10 + (name[i].unicode() - u'0');
    }
    if (digits && year >= kFirstTagYear && year <= lastYear)
      years.push_back(year);
  }
  std::sort(years.begin(), years.end());
  years.erase(std::unique(years.begin(), years.end()), years.end());
  return years;
}

std::optional<qint64> PositiveKey(const QVariant& value)
{
  bool ok = false;
  const qint64 key = value.toLongLong(&ok);
  if (!value.isValid() || value.isNull() || !ok || key <= 0)
    return std::nullopt;
  return key;
}

}  // namespace

QString FullNameBeforeTags(const QString& name)
{
  const qsizetype bracket = name.indexOf(QLatin1Char('('));
  return bracket < 0 ? name : name.left(bracket);
}

QString ScannedFullName(const QString& path)
{
  const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  return FullNameBeforeTags(dot > 0 ? fileName.left(dot) : fileName);
}

QString YearTagText(const QString& fileName)
{
  const QVarLengthArray<int, 8> years = TagYearsIn(fileName, LastTagYear());
  if (!years.empty())
    return QString::number(years.back());
  QString text;
  for (const DecadeTag& decade : kDecadeTags) {
    if (fileName.contains(QLatin1String(decade.tag)))
      text = QLatin1String(decade.year);
  }
  return text;
}

void BracketedTextIndex::Clear()
{
  m_ranks.clear();
  m_lengths.clear();
}

void BracketedTextIndex::Add(const QString& text, int rank)
{
  const auto found = m_ranks.find(text);
  if (found == m_ranks.end())
    m_ranks.insert(text, rank);
  else
    *found = std::max(*found, rank);
  const size_t length = static_cast<size_t>(text.size());
  if (m_lengths.size() <= length)
    m_lengths.resize(length + 1, false);
  m_lengths[length] = true;
}

int BracketedTextIndex::HighestIn(QStringView name) const
{
  QVarLengthArray<qsizetype, 16> opens;
  QVarLengthArray<qsizetype, 16> closes;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (name[i] == QLatin1Char('('))
      opens.append(i);
    else if (name[i] == QLatin1Char(')'))
      closes.append(i);
  }
  int highest = -1;
  // Every text between an "(" and a later ")" is a candidate: texts may hold brackets themselves.
  for (const qsizetype open : opens) {
    for (const qsizetype close : closes) {
      const qsizetype length = close - open - 1;
      if (length < 0 || static_cast<size_t>(length) >= m_lengths.size() || !m_lengths[static_cast<size_t>(length)])
        continue;
      // A view of the name's own characters: no copy per candidate.
      const auto found = m_ranks.constFind(QString::fromRawData(name.data() + open + 1, length));
      if (found != m_ranks.cend())
        highest = std::max(highest, *found);
    }
  }
  return highest;
}

FileNameTags::FileNameTags(Lookups& lookups)
    : m_lookups(lookups), m_lastYear(LastTagYear()), m_yearKeys(static_cast<size_t>(m_lastYear - kFirstTagYear + 1), 0)
{
}

qint64 FileNameTags::CheckYear(const QString& fileName)
{
  qint64 result = kUnknownYear;
  // Each year found is looked up (and added when new) in ascending order; the highest wins.
  const auto resolve = [&](const QString& text) {
    if (const std::optional<qint64> key = PositiveKey(m_lookups.GetYear(text, true)))
      result = *key;
  };
  for (const int year : TagYearsIn(fileName, m_lastYear)) {
    // A year once found keeps its key; one that could not be found is asked for again.
    qint64& known = m_yearKeys[static_cast<size_t>(year - kFirstTagYear)];
    if (known == 0)
      known = PositiveKey(m_lookups.GetYear(QString::number(year), true)).value_or(0);
    if (known != 0)
      result = known;
  }
  if (result != kUnknownYear)
    return result;
  for (const DecadeTag& decade : kDecadeTags) {
    if (fileName.contains(QLatin1String(decade.tag)))
      resolve(QLatin1String(decade.year));
  }
  return result;
}

bool FileNameTags::LoadCountryCodes()
{
  m_countriesLoaded = false;
  m_countryCodes.Clear();
  m_countryKeys.clear();
  const std::optional<Rows> rows = m_lookups.Connection().Select(
      m_lookups.Reporter(), QStringLiteral("CheckCountry"), QStringLiteral("SELECT CountryID, goodcode FROM Country"));
  if (!rows)
    return false;
  for (int rank = 0; rank < rows->Count(); ++rank) {
    m_countryKeys.push_back(rows->Value(rank, 0).toLongLong());
    const QVariant goodcode = rows->Value(rank, 1);
    if (goodcode.isNull())
      continue;
    // The piece after the last ";" is never a code.
    QStringList pieces = goodcode.toString().split(QLatin1Char(';'));
    pieces.removeLast();
    for (const QString& piece : pieces)
      m_countryCodes.Add(piece, rank);
  }
  m_countriesLoaded = true;
  return true;
}

qint64 FileNameTags::CheckCountry(const QString& fileName)
{
  if (!m_countriesLoaded && !LoadCountryCodes())
    return kUnknownCountry;
  const int rank = m_countryCodes.HighestIn(fileName);
  if (rank >= 0)
    return m_countryKeys[static_cast<size_t>(rank)];
  // No GoodTools code: the region words of No-Intro and TOSEC names.
  const QString country = RegionCountryName(fileName);
  if (country.isEmpty())
    return kUnknownCountry;
  return PositiveKey(m_lookups.GetCountry(country, true)).value_or(kUnknownCountry);
}

bool FileNameTags::EnsureManufacturerIndex()
{
  if (!m_lookups.EnsureManufacturers())
    return false;
  if (m_makersGeneration == m_lookups.ManufacturerCacheGeneration())
    return true;
  m_makers.Clear();
  m_makerKeys.clear();
  const PairTable& cache = m_lookups.ManufacturerCache();
  for (int i = 0; i < cache.Count(); ++i) {
    if (!cache.Second(i).isNull())
      m_makers.Add(cache.Second(i).toString(), i);
  }
  m_makersGeneration = m_lookups.ManufacturerCacheGeneration();
  return true;
}

int FileNameTags::ManufacturerPositionIn(const QString& fileName)
{
  return EnsureManufacturerIndex() ? m_makers.HighestIn(fileName) : -1;
}

QString FileNameTags::ManufacturerNameIn(const QString& fileName)
{
  const int position = ManufacturerPositionIn(fileName);
  return position < 0 ? QString() : m_lookups.ManufacturerCache().Second(position).toString();
}

qint64 FileNameTags::GetManfFromName(const QString& fileName)
{
  const int position = ManufacturerPositionIn(fileName);
  if (position < 0)
    return kUnknownManufacturer;
  // A maker of the cache is found by name without adding anything, so its key stays what it was
  // until the cache is built again.
  const auto known = m_makerKeys.constFind(position);
  if (known != m_makerKeys.cend())
    return *known;
  const QString name = m_lookups.ManufacturerCache().Second(position).toString();
  if (name.isEmpty())
    return kUnknownManufacturer;
  const std::optional<qint64> key = PositiveKey(m_lookups.GetManf(name, true));
  if (!key)
    return kUnknownManufacturer;
  if (m_makersGeneration == m_lookups.ManufacturerCacheGeneration())
    m_makerKeys.insert(position, *key);
  return *key;
}

}  // namespace quillon
