#include "catalogue/Lookups.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

#include <cmath>

namespace quillon {

namespace {

const QString kNoRowsText = QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.");

std::optional<qint64> IntegerOf(const QVariant& value)
{
  if (value.isNull() || !value.isValid())
    return std::nullopt;
  bool ok = false;
  const qint64 number = value.toLongLong(&ok);
  if (ok)
    return number;
  // Keys may also come as whole floating values ("42.0").
  constexpr double kLargestKey = 9e15;
  const double real = value.toDouble(&ok);
  if (ok && std::abs(real) <= kLargestKey && real == std::trunc(real))
    return static_cast<qint64>(real);
  return std::nullopt;
}

QString NameText(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

}  // namespace

void PairTable::Append(QVariant first, QVariant second)
{
  m_pairs.emplace_back(std::move(first), std::move(second));
  m_indexed = false;
}

void PairTable::Clear()
{
  m_pairs.clear();
  m_index.clear();
  m_indexed = false;
}

void PairTable::EnsureIndex() const
{
  if (m_indexed)
    return;
  m_index.clear();
  for (int i = 0; i < Count(); ++i) {
    if (const std::optional<qint64> key = IntegerOf(First(i)))
      m_index[*key].push_back(i);
  }
  m_indexed = true;
}

const std::vector<int>& PairTable::PositionsOf(qint64 key) const
{
  static const std::vector<int> kNone;
  EnsureIndex();
  const auto found = m_index.constFind(key);
  return found == m_index.cend() ? kNone : *found;
}

int PairTable::FindFirst(qint64 key) const
{
  const std::vector<int>& positions = PositionsOf(key);
  return positions.empty() ? -1 : positions.front();
}

int GetGCount(qint64 gameId, const PairTable& table, Feedback& feedback)
{
  const int position = table.FindFirst(gameId);
  if (position < 0)
    return 0;
  const QVariant& value = table.Second(position);
  if (value.isNull())
    return 0;
  const std::optional<qint64> number = IntegerOf(value);
  if (!number) {
    ReportError(feedback, kTypeMismatch, QStringLiteral("GetGCount"), QStringLiteral("Type mismatch"));
    return 0;
  }
  return static_cast<int>(*number);
}

QVariantList FindGenreNameByGameID(const PairTable& table, qint64 gameId)
{
  constexpr size_t kMostGenres = 5;
  QVariantList names;
  const std::vector<int>& positions = table.PositionsOf(gameId);
  for (size_t i = 0; i < positions.size() && i < kMostGenres; ++i)
    names << table.Second(positions[i]);
  return names;
}

Lookups::Lookups(Catalogue& catalogue, Feedback& feedback) : m_catalogue(catalogue), m_feedback(feedback)
{
  m_manufacturers.caseInsensitive = true;
  m_countries.caseInsensitive = true;
  m_genres.caseInsensitive = true;
}

int Lookups::Cache::FindName(const QString& name) const
{
  return byName.value(Folded(name), -1);
}

bool Lookups::BuildCache(Cache& cache, const QString& routine, const QString& sql)
{
  const std::optional<Rows> rows = m_catalogue.Select(m_feedback, routine, sql);
  if (!rows)
    return false;
  if (rows->IsEmpty()) {
    ReportError(m_feedback, kNoCurrentRecord, routine, kNoRowsText);
    return false;
  }
  cache.pairs.Clear();
  cache.byName.clear();
  for (int i = 0; i < rows->Count(); ++i) {
    const QVariant name = rows->Value(i, 1);
    cache.pairs.Append(rows->Value(i, 0), name);
    // A Null name never equals a searched name; of equal names the first one wins.
    if (name.isNull())
      continue;
    const QString folded = cache.Folded(name.toString());
    if (!cache.byName.contains(folded))
      cache.byName.insert(folded, i);
  }
  return true;
}

bool Lookups::BuildYArray()
{
  return BuildCache(m_years, QStringLiteral("BuildYArray"),
                    QStringLiteral("SELECT YearID, [Year] FROM [Year] ORDER BY [Year]"));
}

bool Lookups::BuildMArray()
{
  const bool built =
      BuildCache(m_manufacturers, QStringLiteral("BuildMArray"),
                 QStringLiteral("SELECT ManufacturerID, Manufacturer FROM Manufacturer ORDER BY Manufacturer"));
  if (built)
    ++m_manufacturerGeneration;
  return built;
}

bool Lookups::BuildCArray()
{
  return BuildCache(m_countries, QStringLiteral("BuildCArray"),
                    QStringLiteral("SELECT CountryID, Country FROM Country ORDER BY Country"));
}

bool Lookups::BuildGenArray()
{
  return BuildCache(m_genres, QStringLiteral("BuildGenArray"), QStringLiteral("SELECT genreID, GenreName FROM genre"));
}

bool Lookups::BuildGArray(qint64 systemId)
{
  const std::optional<Rows> rows = m_catalogue.Select(
      m_feedback, QStringLiteral("BuildGArray"),
      QStringLiteral("SELECT Games.GameID, GenreID FROM SubGenres INNER JOIN Games ON SubGenres.GameID = Games.GameID "
                     "WHERE Games.System = ?"),
      {systemId});
  if (!rows)
    return false;
  m_links.Clear();
  for (const QVariantList& row : rows->All())
    m_links.Append(row.value(0), row.value(1));
  return true;
}

void Lookups::EmptyCaches()
{
  for (Cache* cache : {&m_years, &m_manufacturers, &m_countries, &m_genres}) {
    cache->pairs.Clear();
    cache->byName.clear();
  }
  m_links.Clear();
}

bool Lookups::EnsureBuilt(Cache& cache, bool (Lookups::*builder)())
{
  if (cache.IsBuilt())
    return true;
  (this->*builder)();
  return cache.IsBuilt();
}

bool Lookups::EnsureManufacturers()
{
  return EnsureBuilt(m_manufacturers, &Lookups::BuildMArray);
}

QVariant Lookups::NameOfKey(const Cache& cache, const QVariant& key) const
{
  const std::optional<qint64> number = IntegerOf(key);
  if (!number)
    return {};
  const int position = cache.pairs.FindFirst(*number);
  return position < 0 ? QVariant() : cache.pairs.Second(position);
}

QVariant Lookups::KeyAt(const Cache& cache, int position) const
{
  return position < 0 ? QVariant() : cache.pairs.First(position);
}

QVariant Lookups::GetYear(const QVariant& value, bool byName)
{
  const QString name = NameText(value);
  if (byName && name.isEmpty())
    return kUnknownYear;
  if (!EnsureBuilt(m_years, &Lookups::BuildYArray))
    return {};
  if (!byName)
    return NameOfKey(m_years, value);
  const int position = m_years.FindName(name);
  if (position >= 0)
    return KeyAt(m_years, position);
  const qint64 added = AddYear(name);
  BuildYArray();
  return added > 0 ? QVariant(added) : QVariant();
}

QVariant Lookups::GetManf(const QVariant& value, bool byName)
{
  const QString name = NameText(value);
  if (byName && name.isEmpty())
    return kUnknownManufacturer;
  if (!EnsureManufacturers())
    return {};
  if (!byName)
    return NameOfKey(m_manufacturers, value);
  const int position = m_manufacturers.FindName(name);
  if (position >= 0)
    return KeyAt(m_manufacturers, position);
  const qint64 added = AddManf(name);
  BuildMArray();
  return added > 0 ? QVariant(added) : QVariant();
}

QVariant Lookups::GetCountry(const QVariant& value, bool byName)
{
  if (!EnsureBuilt(m_countries, &Lookups::BuildCArray))
    return {};
  if (!byName)
    return NameOfKey(m_countries, value);
  return KeyAt(m_countries, m_countries.FindName(NameText(value)));
}

QVariant Lookups::GetGen(const QVariant& value, bool byName)
{
  const QString name = NameText(value);
  if (byName && name.isEmpty())
    return kUnknownGenre;
  if (!m_genres.IsBuilt()) {
    m_feedback.Yield();
    if (!EnsureBuilt(m_genres, &Lookups::BuildGenArray))
      return {};
  }
  if (!byName)
    return NameOfKey(m_genres, value);
  const int position = m_genres.FindName(name);
  if (position >= 0)
    return KeyAt(m_genres, position);
  if (!m_catalogue.Execute(m_feedback, QStringLiteral("GetGen"),
                           QStringLiteral("INSERT INTO Genres (GenreName) SELECT ?"), {name}))
    return {};
  BuildGenArray();
  // One more search only: a genre the list does not return is not searched for again.
  return KeyAt(m_genres, m_genres.FindName(name));
}

std::optional<qint64> Lookups::FindYear(const QString& name)
{
  if (name.isEmpty())
    return kUnknownYear;
  if (!EnsureBuilt(m_years, &Lookups::BuildYArray))
    return std::nullopt;
  const int position = m_years.FindName(name);
  return position < 0 ? std::nullopt : IntegerOf(KeyAt(m_years, position));
}

std::optional<qint64> Lookups::FindManf(const QString& name)
{
  if (name.isEmpty())
    return kUnknownManufacturer;
  if (!EnsureManufacturers())
    return std::nullopt;
  const int position = m_manufacturers.FindName(name);
  return position < 0 ? std::nullopt : IntegerOf(KeyAt(m_manufacturers, position));
}

qint64 Lookups::AddYear(const QString& year)
{
  const QString routine = QStringLiteral("AddYear");
  if (!m_catalogue.Execute(m_feedback, routine, QStringLiteral("INSERT INTO [Year] ([Year]) SELECT ?"), {year}))
    return 0;
  const std::optional<QVariant> key = m_catalogue.SelectValue(
      m_feedback, routine, QStringLiteral("SELECT YearID FROM [Year] WHERE [Year] = ?"), {year});
  return key ? IntegerOf(*key).value_or(0) : 0;
}

qint64 Lookups::AddManf(const QString& name)
{
  const QString routine = QStringLiteral("AddManf");
  if (!m_catalogue.Execute(m_feedback, routine, QStringLiteral("INSERT INTO [Manufacturer] ([Manufacturer]) SELECT ?"),
                           {name}))
    return 0;
  const std::optional<QVariant> key = m_catalogue.SelectValue(
      m_feedback, routine, QStringLiteral("SELECT ManufacturerID FROM [Manufacturer] WHERE Manufacturer = ?"), {name});
  return key ? IntegerOf(*key).value_or(0) : 0;
}

bool Lookups::AddSubGenre(qint64 gameId, qint64 genreId)
{
  if (genreId == 0) {
    const std::optional<qint64> unknown = IntegerOf(GetGen(kUnknownGenreName, true));
    if (!unknown)
      return false;
    genreId = *unknown;
  }
  return m_catalogue.Execute(m_feedback, QStringLiteral("AddSubGenre"),
                             QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT ?, ?"), {gameId, genreId});
}

qint64 Lookups::GetSysID(const QString& systemName)
{
  const std::optional<QVariant> key =
      m_catalogue.SelectValue(m_feedback, QStringLiteral("GetSysID"),
                              QStringLiteral("SELECT SystemID FROM System WHERE System = ?"), {systemName});
  return key ? IntegerOf(*key).value_or(0) : 0;
}

QString Lookups::GetFirstGenre()
{
  const std::optional<QVariant> name = m_catalogue.SelectValue(
      m_feedback, QStringLiteral("GetFirstGenre"), QStringLiteral("SELECT GenreName FROM Genres ORDER BY GenreName"));
  return name ? NameText(*name) : QString();
}

QString Lookups::GetDefaultImage(qint64 systemId)
{
  const std::optional<QVariant> image =
      m_catalogue.SelectValue(m_feedback, QStringLiteral("GetDefaultImage"),
                              QStringLiteral("SELECT DefaultImage FROM System WHERE SystemID = ?"), {systemId});
  return image ? NameText(*image) : QString();
}

QString Lookups::GetResumePosition(qint64 systemId, const QString& kind)
{
  const QString column =
      kind == QStringLiteral("I") ? QStringLiteral("ResumePosition") : QStringLiteral("dResumePosition");
  const std::optional<Rows> rows = m_catalogue.TrySelect(
      QStringLiteral("SELECT ") + column + QStringLiteral(" FROM System WHERE SystemID = ?"), {systemId}, nullptr);
  if (!rows || rows->IsEmpty())
    return {};
  return NameText(rows->Value(0, 0));
}

}  // namespace quillon
