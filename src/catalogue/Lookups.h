#pragma once
// The lookup caches: years, manufacturers, countries and genres held in memory as (key, name)
// pairs, the genre links of one system as (game, genre) pairs, and the converters between keys
// and names that scans, imports and windows share. One Lookups object per session or window; it
// talks to the catalogue and reports through the Feedback it was given.
#include "catalogue/ReservedKeys.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

// A table of pairs in the order a statement returned them: `First(i)` is the key (or game),
// `Second(i)` the name (or genre). Lookups by first value use an index built on first use, and
// always give the earliest pair, as a walk from the start would.
class PairTable {
 public:
  void Append(QVariant first, QVariant second);
  void Clear();

  int Count() const { return static_cast<int>(m_pairs.size()); }
  bool IsEmpty() const { return m_pairs.empty(); }
  const QVariant& First(int i) const { return m_pairs[static_cast<size_t>(i)].first; }
  const QVariant& Second(int i) const { return m_pairs[static_cast<size_t>(i)].second; }

  // Positions of the pairs whose first value equals `key`, ascending.
  const std::vector<int>& PositionsOf(qint64 key) const;
  // Position of the first pair whose first value equals `key`; -1 when none does.
  int FindFirst(qint64 key) const;

 private:
  void EnsureIndex() const;

  std::vector<std::pair<QVariant, QVariant>> m_pairs;
  mutable QHash<qint64, std::vector<int>> m_index;
  mutable bool m_indexed = false;
};

// Second value of the first pair whose first value is `gameId`, as a number; 0 when none. On the
// link cache this is the game's first genre; on a (game, count) table the number of links.
int GetGCount(qint64 gameId, const PairTable& table, Feedback& feedback);

// Second values of the pairs whose first value is `gameId`, in table order, at most five.
QVariantList FindGenreNameByGameID(const PairTable& table, qint64 gameId);

class Lookups {
 public:
  Lookups(Catalogue& catalogue, Feedback& feedback);

  Catalogue& Connection() { return m_catalogue; }
  Feedback& Reporter() { return m_feedback; }

  // Each builder replaces its whole cache. A failing statement or an empty result is reported
  // under the builder's name and leaves the cache as it was.
  bool BuildYArray();
  bool BuildMArray();
  bool BuildCArray();
  bool BuildGenArray();
  // The genre links of one system's games. A system without links gets an empty cache.
  bool BuildGArray(qint64 systemId);
  // Forgets every cache (the main window does so when it closes).
  void EmptyCaches();

  // Converters. By key (`byName` false): the name of the first entry with that key, or an invalid
  // QVariant. By name: the key of the first entry with that name; see each for empty and new names.
  // A cache that is not built is built first.
  //
  // Empty name: 42. Names compare exactly. A new name is added (AddYear) and the cache rebuilt.
  QVariant GetYear(const QVariant& value, bool byName = false);
  // Empty name: 319. Names compare ignoring case. A new name is added (AddManf), cache rebuilt.
  QVariant GetManf(const QVariant& value, bool byName = false);
  // Names compare ignoring case; an unknown name gives an invalid QVariant and adds nothing.
  QVariant GetCountry(const QVariant& value, bool byName = false);
  // Empty name: 1. Names compare ignoring case. A new name is inserted into Genres and the cache
  // rebuilt; if the rebuilt cache still lacks it the result is an invalid QVariant.
  QVariant GetGen(const QVariant& value, bool byName = false);

  // Searches without adding: the key of a year or manufacturer name, or nullopt when the cache
  // has no such name (or cannot be built).
  std::optional<qint64> FindYear(const QString& name);
  std::optional<qint64> FindManf(const QString& name);

  // Inserts a year text or a manufacturer name and returns its key; 0 on failure (reported).
  qint64 AddYear(const QString& year);
  qint64 AddManf(const QString& name);

  // Links a game to a genre; genre 0 stands for "[Unknown]". Does not look for an existing link.
  bool AddSubGenre(qint64 gameId, qint64 genreId);

  // SystemID of the system with this name; 0 when there is none.
  qint64 GetSysID(const QString& systemName);
  // The alphabetically first genre name; empty when there is none.
  QString GetFirstGenre();
  // The system's DefaultImage; empty when missing or Null.
  QString GetDefaultImage(qint64 systemId);
  // Where an interrupted image batch resumes: kind "I" reads ResumePosition, any other kind
  // dResumePosition. Empty when there is no row; errors leave it empty.
  QString GetResumePosition(qint64 systemId, const QString& kind);

  // The caches, for walks of their own (the file-name analysis, combo boxes).
  const PairTable& YearCache() const { return m_years.pairs; }
  const PairTable& ManufacturerCache() const { return m_manufacturers.pairs; }
  const PairTable& CountryCache() const { return m_countries.pairs; }
  const PairTable& GenreCache() const { return m_genres.pairs; }
  const PairTable& LinkCache() const { return m_links; }
  // Counts the builds of the manufacturer cache, so holders of data derived from it know when
  // to refresh.
  int ManufacturerCacheGeneration() const { return m_manufacturerGeneration; }
  bool EnsureManufacturers();

 private:
  // One lookup cache with a first-position index of its names (folded as the converter compares).
  struct Cache {
    PairTable pairs;
    QHash<QString, int> byName;
    bool caseInsensitive = false;

    bool IsBuilt() const { return !pairs.IsEmpty() && !pairs.First(0).isNull(); }
    int FindName(const QString& name) const;
    QString Folded(const QString& name) const { return caseInsensitive ? name.toLower() : name; }
  };

  bool BuildCache(Cache& cache, const QString& routine, const QString& sql);
  bool EnsureBuilt(Cache& cache, bool (Lookups::*builder)());
  QVariant NameOfKey(const Cache& cache, const QVariant& key) const;
  QVariant KeyAt(const Cache& cache, int position) const;

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  Cache m_years;
  Cache m_manufacturers;
  Cache m_countries;
  Cache m_genres;
  PairTable m_links;
  int m_manufacturerGeneration = 0;
};

}  // namespace quillon
