#pragma once
// The games of the system a scan is working on, as compact as matching allows: per game its key,
// its file name (UTF-8, in large blocks), its folder, and the stored values the merge compares
// with, but none of the game's other data. Files are matched to games without statements; what a
// folder writes is applied here too, so the next folder sees the catalogue as it then is.
#include "catalogue/Catalogue.h"
#include "scan/TextBlocks.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillon {

class Feedback;

// A stored key column (year, maker, country) as the merge reads it: Null, or its value taken as a
// whole number the way a QVariant converts it.
struct StoredKey {
  qint64 value = 0;
  bool isNull = true;
};

// A known game, in as few bytes as its uses allow. The flags say which stored values are already
// what a found file's row gets, so that a row with nothing new is not written at all.
struct KnownGame {
  qint64 gameId = 0;
  qint64 folder = 0;  // the PathID of a ROM folder of the system, 0 when the game has none of them
  std::string_view fileName;
  qint64 year = 0;  // stored keys as the merge reads them, when not Null
  qint64 manufacturer = 0;
  qint64 country = 0;
  int genre = 0;         // the Genre column, when `genreIsWhole`
  int genreCount = 0;    // its genre links
  int nextSameKey = -1;  // the next game (by GameID) with the same key
  bool yearIsNull : 1 = true;
  bool manufacturerIsNull : 1 = true;
  bool countryIsNull : 1 = true;
  bool available : 1 = false;        // Available is not 0 as a number
  bool availableIsZero : 1 = false;  // Available holds exactly 0
  bool taken : 1 = false;            // a file of this scan was found to be this game
  bool romPathIsWhole : 1 = false;   // RomPath holds the whole number `folder` (when that is not 0)
  bool genreIsWhole : 1 = false;
  bool availableIsTrue : 1 = false;  // Available, Selected and Edited hold exactly 1
  bool selectedIsTrue : 1 = false;
  bool editedIsTrue : 1 = false;
  bool imageIsNull : 1 = true;
  bool imageHasText : 1 = false;  // a picture of its own, which a scan keeps

  StoredKey Year() const { return {year, yearIsNull}; }
  StoredKey Manufacturer() const { return {manufacturer, manufacturerIsNull}; }
  StoredKey Country() const { return {country, countryIsNull}; }
};

// What the scan gives a game it found or made: the values its row gets. A key left empty keeps
// the stored one.
struct GameUpdate {
  QString fileName;
  std::optional<qint64> year;
  std::optional<qint64> manufacturer;
  std::optional<qint64> country;
  bool keepImage = false;
  QString image;  // written when the stored one is not kept; empty writes Null
  int genreCount = 0;
};

class SystemGames {
 public:
  // Reads the system's games; reports a failure as `routine`.
  bool Load(Catalogue& catalogue, Feedback& feedback, const QString& routine, qint64 systemId);

  // The game a found file of the ROM folder `pathId` belongs to, looked up under each of
  // `fileNames` (paths relative to the folder) in turn: the game of this folder stored under that
  // very path, else the first game (by GameID) with that base name. A game goes to one file of a
  // scan: one that another file took already is passed over. The game found is taken; -1 when
  // none, else its position.
  int Take(qint64 pathId, const QStringList& fileNames);

  const KnownGame& Game(int position) const { return m_games[static_cast<size_t>(position)]; }
  // Whether the stored game at `position` has exactly this file name.
  bool HasFileName(int position, const QString& fileName) const;

  // The positions of the available games that a scan of the ROM folder `pathId` did not find:
  // those of the folder and those of no folder of the system, but not those below `keptFolders`
  // (paths relative to the ROM folder, which could not be read).
  std::vector<int> MissingAfter(qint64 pathId, const QStringList& keptFolders) const;

  // Whether writing `update` into the stored game at `position`, found in `pathId` under the file
  // name it has, would change nothing in its row.
  bool IsUnchanged(int position, qint64 pathId, const GameUpdate& update) const;

  // What a written folder made of a game: a stored one (`position`) or a new one (-1).
  // Returns the game's position (a new game gets one).
  int Apply(int position, qint64 gameId, qint64 pathId, const GameUpdate& update);
  void MarkMissing(int position);
  // The games whose Available holds 0.
  int CountUnavailable() const;

 private:
  void Clear();
  bool ReadGames(Catalogue& catalogue, qint64 systemId, const std::vector<qint64>& folders);
  bool ReadGenreCounts(Catalogue& catalogue);
  void IndexAll();
  // The position of the first game (by GameID) whose key is `key`; -1 when none.
  int FirstWithKey(std::string_view key) const;
  void Link(int position);
  void Unlink(int position);
  size_t SlotOf(std::string_view key, quint32 hash) const;
  void Grow();

  // Ascending GameID as read; games the scan adds follow. A deque grows without moving what it
  // holds, so a large system never needs room for two copies of its games.
  std::deque<KnownGame> m_games;
  SqlFailure m_failure;
  TextBlocks m_names;
  // Open addressing by key: the position of the first game with a key (-1 empty, -2 a key no
  // game has any more) and the key's hash, so that probing seldom reads a game. A key's games are
  // chained in GameID order.
  struct Slot {
    int head = -1;
    quint32 hash = 0;
  };
  std::vector<Slot> m_slots;
  size_t m_usedSlots = 0;
  std::unordered_map<qint64, std::vector<int>> m_byFolder;  // positions, stale ones passed over
};

// The file name without folder and extension, as games are matched by it: UTF-8 bytes in, a view
// of them out. A name without a dot (or whose only dot comes first) is compared whole.
std::string_view MatchKeyOf(std::string_view fileName);

}  // namespace quillon
