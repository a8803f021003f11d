#include "scan/SystemGames.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/SystemShare.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace quillon {

namespace {

constexpr int kEmptySlot = -1;
constexpr int kFreedSlot = -2;

// A file name's bytes as the scan compares them: those of its text as the engine gives it in
// UTF-16, so a stored name that is not valid UTF-8 compares as it always did.
std::string_view StoredFileName(const BulkStatement& games, int column, TextBlocks& names)
{
  const std::string_view bytes = games.Utf8(column);
  const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
  if (ascii)
    return names.Keep(bytes);
  return names.Keep(Utf8View(games.Text(column).toUtf8()));
}

// The way a QVariant takes the stored value as a whole number, as the merge always has.
StoredKey KeyColumn(const BulkStatement& games, int column)
{
  switch (games.Type(column)) {
    case ColumnType::Null:
      return {};
    case ColumnType::Integer:
      return {games.Int(column), false};
    default:
      return {games.Value(column).toLongLong(), false};
  }
}

bool HoldsOne(const BulkStatement& games, int column)
{
  return games.Type(column) == ColumnType::Integer && games.Int(column) == 1;
}

// The key table is kept at most three quarters full.
bool IsCrowded(size_t used, size_t capacity)
{
  return 4 * used > 3 * capacity;
}

quint32 HashOf(std::string_view key)
{
  return static_cast<quint32>(std::hash<std::string_view>()(key));
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::string_view MatchKeyOf(std::string_view fileName)
{
  const size_t slash = fileName.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

void SystemGames::Clear()
{
  m_games.clear();
  m_games.shrink_to_fit();
  m_names.Clear();
  m_slots.clear();
  m_slots.shrink_to_fit();
  m_usedSlots = 0;
  m_byFolder.clear();
}

bool SystemGames::Load(Catalogue& catalogue, Feedback& feedback, const QString& routine, qint64 systemId)
{
  Clear();
  BulkStatement folders(catalogue, QStringLiteral("SELECT PathID FROM RomPath WHERE System = ?"));
  folders.Bind(1, systemId);
  std::vector<qint64> systemFolders;
  while (folders.Next())
    systemFolders.push_back(folders.Int(0));
  std::sort(systemFolders.begin(), systemFolders.end());
  bool read = folders.IsValid() && !folders.Failed();
  if (!read)
    m_failure = folders.Failure();
  read = read && ReadGames(catalogue, systemId, systemFolders) && ReadGenreCounts(catalogue);
  if (!read) {
    ReportError(feedback, m_failure.number, routine, m_failure.description);
    Clear();
    return false;
  }
  IndexAll();
  return true;
}

bool SystemGames::ReadGames(Catalogue& catalogue, qint64 systemId, const std::vector<qint64>& folders)
{
  // A system that holds most games is read in table order, which is also key order.
  BulkStatement games(catalogue,
                      QStringLiteral("SELECT GameID, FileName, RomPath, Available, Year, Manufacturer, "
                                     "Country, Image, Genre, Selected, Edited FROM Games") +
                          (HoldsMostGames(catalogue, systemId) ? QStringLiteral(" NOT INDEXED") : QString()) +
                          QStringLiteral(" WHERE System = ?"));
  games.Bind(1, systemId);
  while (games.Next()) {
    // A column's type is read before its value: reading a value may convert it.
    KnownGame game;
    game.romPathIsWhole = games.Type(2) == ColumnType::Integer;
    game.availableIsTrue = HoldsOne(games, 3);
    game.availableIsZero = games.Type(3) == ColumnType::Integer && games.Int(3) == 0;
    game.imageIsNull = games.Type(7) == ColumnType::Null;
    const bool imageIsText = games.Type(7) == ColumnType::Text;
    const bool genreIsWhole = games.Type(8) == ColumnType::Integer;
    game.selectedIsTrue = HoldsOne(games, 9);
    game.editedIsTrue = HoldsOne(games, 10);
    const StoredKey year = KeyColumn(games, 4);
    const StoredKey manufacturer = KeyColumn(games, 5);
    const StoredKey country = KeyColumn(games, 6);
    game.year = year.value;
    game.yearIsNull = year.isNull;
    game.manufacturer = manufacturer.value;
    game.manufacturerIsNull = manufacturer.isNull;
    game.country = country.value;
    game.countryIsNull = country.isNull;
    game.gameId = games.Int(0);
    game.fileName = StoredFileName(games, 1, m_names);
    const qint64 romPath = games.Int(2);
    game.folder = std::binary_search(folders.begin(), folders.end(), romPath) ? romPath : 0;
    game.available = games.Int(3) != 0;
    game.imageHasText = imageIsText ? !games.Utf8(7).empty() : !game.imageIsNull && !games.Text(7).isEmpty();
    // A count too large for an int is written again, as it always was.
    const qint64 genre = games.Int(8);
    game.genreIsWhole = genreIsWhole && genre >= 0 && genre <= std::numeric_limits<int>::max();
    game.genre = game.genreIsWhole ? static_cast<int>(genre) : 0;
    m_games.push_back(game);
  }
  if (!games.IsValid() || games.Failed()) {
    m_failure = games.Failure();
    return false;
  }
  const auto byKey = [](const KnownGame& a, const KnownGame& b) { return a.gameId < b.gameId; };
  if (!std::is_sorted(m_games.begin(), m_games.end(), byKey))
    std::sort(m_games.begin(), m_games.end(), byKey);
  return true;
}

// One pass over the links of the system's range of keys.
bool SystemGames::ReadGenreCounts(Catalogue& catalogue)
{
  if (m_games.empty())
    return true;
  BulkStatement links(catalogue, QStringLiteral("SELECT GameID, count(*) FROM SubGenres WHERE GameID BETWEEN ? AND ? "
                                                "GROUP BY GameID ORDER BY GameID"));
  links.Bind(1, m_games.front().gameId);
  links.Bind(2, m_games.back().gameId);
  // Both come in ascending keys: one walk along the games serves all the links.
  auto game = m_games.begin();
  while (links.Next()) {
    const qint64 gameId = links.Int(0);
    while (game != m_games.end() && game->gameId < gameId)
      ++game;
    if (game != m_games.end() && game->gameId == gameId)
      game->genreCount = static_cast<int>(links.Int(1));
  }
  if (!links.IsValid() || links.Failed()) {
    m_failure = links.Failure();
    return false;
  }
  return true;
}

void SystemGames::IndexAll()
{
  size_t capacity = 16;
  while (IsCrowded(m_games.size(), capacity))
    capacity *= 2;
  m_slots.assign(capacity, Slot());
  m_usedSlots = 0;
  m_byFolder.clear();
  for (int position = 0; position < static_cast<int>(m_games.size()); ++position) {
    m_games[static_cast<size_t>(position)].nextSameKey = -1;
    Link(position);
    m_byFolder[m_games[static_cast<size_t>(position)].folder].push_back(position);
  }
}

size_t SystemGames::SlotOf(std::string_view key, quint32 hash) const
{
  const size_t mask = m_slots.size() - 1;
  for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Slot& probed = m_slots[slot];
    if (probed.head == kEmptySlot)
      return slot;
    if (probed.head >= 0 && probed.hash == hash && MatchKeyOf(Game(probed.head).fileName) == key)
      return slot;
  }
}

int SystemGames::FirstWithKey(std::string_view key) const
{
  const int head = m_slots[SlotOf(key, HashOf(key))].head;
  return head >= 0 ? head : -1;
}

void SystemGames::Grow()
{
  std::vector<Slot> used;
  for (const Slot& slot : m_slots) {
    if (slot.head >= 0)
      used.push_back(slot);
  }
  m_slots.assign(m_slots.size() * 2, Slot());
  m_usedSlots = used.size();
  const size_t mask = m_slots.size() - 1;
  for (const Slot& slot : used) {
    size_t free = slot.hash & mask;
    while (m_slots[free].head != kEmptySlot)
      free = (free + 1) & mask;
    m_slots[free] = slot;
  }
}

// Adds the game at `position` to the games of its key, which stay in GameID order.
void SystemGames::Link(int position)
{
  if (IsCrowded(m_usedSlots + 1, m_slots.size()))
    Grow();
  KnownGame& game = m_games[static_cast<size_t>(position)];
  const std::string_view key = MatchKeyOf(game.fileName);
  const quint32 hash = HashOf(key);
  Slot& slot = m_slots[SlotOf(key, hash)];
  if (slot.head == kEmptySlot) {
    ++m_usedSlots;
    slot = {position, hash};
    game.nextSameKey = -1;
    return;
  }
  const auto before = [&](int other) { return other >= 0 && Game(other).gameId < game.gameId; };
  if (!before(slot.head)) {
    game.nextSameKey = slot.head;
    slot.head = position;
    return;
  }
  int previous = slot.head;
  while (before(Game(previous).nextSameKey))
    previous = Game(previous).nextSameKey;
  game.nextSameKey = Game(previous).nextSameKey;
  m_games[static_cast<size_t>(previous)].nextSameKey = position;
}

void SystemGames::Unlink(int position)
{
  KnownGame& game = m_games[static_cast<size_t>(position)];
  const std::string_view key = MatchKeyOf(game.fileName);
  int& head = m_slots[SlotOf(key, HashOf(key))].head;
  if (head == position) {
    head = game.nextSameKey >= 0 ? game.nextSameKey : kFreedSlot;
  } else {
    for (int previous = head; previous >= 0; previous = Game(previous).nextSameKey) {
      if (Game(previous).nextSameKey == position) {
        m_games[static_cast<size_t>(previous)].nextSameKey = game.nextSameKey;
        break;
      }
    }
  }
  game.nextSameKey = -1;
}

int SystemGames::Take(qint64 pathId, const QStringList& fileNames)
{
  std::vector<QByteArray> names;
  for (const QString& fileName : fileNames)
    names.push_back(fileName.toUtf8());
  const auto firstFree = [&](std::string_view name, const auto& wanted) {
    for (int position = FirstWithKey(MatchKeyOf(name)); position >= 0; position = Game(position).nextSameKey) {
      if (!Game(position).taken && wanted(Game(position)))
        return position;
    }
    return -1;
  };
  int found = -1;
  for (size_t i = 0; found < 0 && i < names.size(); ++i) {
    const std::string_view name = Utf8View(names[i]);
    found = firstFree(name, [&](const KnownGame& game) { return game.folder == pathId && game.fileName == name; });
  }
  for (size_t i = 0; found < 0 && i < names.size(); ++i)
    found = firstFree(Utf8View(names[i]), [](const KnownGame&) { return true; });
  if (found >= 0)
    m_games[static_cast<size_t>(found)].taken = true;
  return found;
}

std::vector<int> SystemGames::MissingAfter(qint64 pathId, const QStringList& keptFolders) const
{
  std::vector<QByteArray> kept;
  for (const QString& folder : keptFolders)
    kept.push_back(folder.toUtf8());
  std::vector<int> missing;
  for (const qint64 folder : {pathId, qint64(0)}) {
    const auto games = m_byFolder.find(folder);
    if (games == m_byFolder.end())
      continue;
    for (const int position : games->second) {
      const KnownGame& game = Game(position);
      // The lists keep games that moved on to another folder.
      if (game.folder != folder || !game.available || game.taken)
        continue;
      const bool isKept = folder == pathId && std::any_of(kept.begin(), kept.end(), [&](const QByteArray& prefix) {
                            return StartsWith(game.fileName, Utf8View(prefix));
                          });
      if (!isKept)
        missing.push_back(position);
    }
  }
  return missing;
}

void SystemGames::MarkMissing(int position)
{
  KnownGame& game = m_games[static_cast<size_t>(position)];
  game.available = game.availableIsTrue = false;
  game.availableIsZero = true;
}

int SystemGames::CountUnavailable() const
{
  return static_cast<int>(
      std::count_if(m_games.begin(), m_games.end(), [](const KnownGame& game) { return game.availableIsZero; }));
}

bool SystemGames::HasFileName(int position, const QString& fileName) const
{
  return Game(position).fileName == Utf8View(fileName.toUtf8());
}

bool SystemGames::IsUnchanged(int position, qint64 pathId, const GameUpdate& update) const
{
  const KnownGame& game = Game(position);
  return !update.year && !update.manufacturer && !update.country &&
         (update.keepImage || (update.image.isEmpty() && game.imageIsNull)) && game.genreIsWhole &&
         game.genre == update.genreCount && game.romPathIsWhole && game.folder == pathId && game.availableIsTrue &&
         game.selectedIsTrue && game.editedIsTrue;
}

int SystemGames::Apply(int position, qint64 gameId, qint64 pathId, const GameUpdate& update)
{
  const QByteArray fileName = update.fileName.toUtf8();
  if (position < 0) {
    KnownGame game;
    game.gameId = gameId;
    game.fileName = m_names.Keep(Utf8View(fileName));
    m_games.push_back(game);
    position = static_cast<int>(m_games.size()) - 1;
    Link(position);
    m_byFolder[pathId].push_back(position);
  } else {
    KnownGame& game = m_games[static_cast<size_t>(position)];
    if (game.fileName != Utf8View(fileName)) {
      Unlink(position);
      game.fileName = m_names.Keep(Utf8View(fileName));
      Link(position);
    }
    if (game.folder != pathId)
      m_byFolder[pathId].push_back(position);
  }
  KnownGame& game = m_games[static_cast<size_t>(position)];
  game.folder = pathId;
  game.romPathIsWhole = true;
  game.available = game.availableIsTrue = game.selectedIsTrue = game.editedIsTrue = true;
  game.availableIsZero = false;
  game.taken = true;
  if (update.year) {
    game.year = *update.year;
    game.yearIsNull = false;
  }
  if (update.manufacturer) {
    game.manufacturer = *update.manufacturer;
    game.manufacturerIsNull = false;
  }
  if (update.country) {
    game.country = *update.country;
    game.countryIsNull = false;
  }
  if (!update.keepImage) {
    game.imageIsNull = update.image.isEmpty();
    game.imageHasText = !update.image.isEmpty();
  }
  game.genreCount = update.genreCount;
  game.genre = update.genreCount;
  game.genreIsWhole = true;
  return position;
}

}  // namespace quillon
