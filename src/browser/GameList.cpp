#include "browser/GameList.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/ReservedKeys.h"
#include "catalogue/SystemShare.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <limits>
#include <numeric>
#include <string>

namespace quillon {

namespace {

// The condition a missing-data filter adds, and the reserved key it compares with (if any).
struct MissingTest {
  QString condition;
  std::optional<qint64> key;
};

MissingTest MissingCondition(const QString& filter)
{
  if (filter == QStringLiteral("Country"))
    return {QStringLiteral(" AND Games.Country = ?"), kUnknownCountry};
  if (filter == QStringLiteral("Year"))
    return {QStringLiteral(" AND Games.Year = ?"), kUnknownYear};
  if (filter == QStringLiteral("Genre"))
    return {};  // tested on the first link, outside

  if (filter == QStringLiteral("Manf"))
    return {QStringLiteral(" AND Games.Manufacturer = ?"), kUnknownManufacturer};
  if (filter == QStringLiteral("Overview"))
    return {QStringLiteral(" AND Games.Description IS NULL"), std::nullopt};
  if (filter == QStringLiteral("Image"))
    return {QStringLiteral(" AND (Games.Image IS NULL OR length(Games.Image) = 0)"), std::nullopt};
  return {};
}

QString ViewCondition(GameView view)
{
  return view == GameView::Available ? QStringLiteral(" AND Games.RomPath IS NOT NULL AND Games.Available <> 0")
                                     : QStringLiteral(" AND Games.Available = 0");
}

QString CloneCondition(qint64 systemId, const CloneMarks& clones)
{
  if (systemId != kArcadeSystemId || clones.includeClones)
    return {};
  return clones.clonesOnly ? QStringLiteral(" AND Games.Clone <> 0") : QStringLiteral(" AND Games.Clone = 0");
}

// Whether the image folder (column `folder`) joined to the picture name (column `image`) names a
// picture, without joining them: the joined path ends as the name does, or as the folder when
// the name is empty.
bool NamesAPicture(const BulkStatement& query, int folder, int image)
{
  if (query.Type(image) == ColumnType::Null)
    return false;
  std::string_view path = query.Utf8(image);
  if (path.empty())
    path = query.Utf8(folder);
  return !path.empty() && path.back() != '/' && path.back() != '\\';
}

// The picture file a row names: the stored path when it is absolute, else the name in the
// system's picture folder.
QString PictureFile(const BulkStatement& query, int folder, int image)
{
  const QString stored = query.Text(image);
  return QDir::isAbsolutePath(stored) ? stored : query.Text(folder) + stored;
}

// Columns: FullName, GameID, Selected, Description IS NOT NULL, DefaultImagePath, Image,
// Manufacturer, Year, Country, (9 to 11 below), match status, standard name, FileName, Rating.
GameRow RowFrom(const BulkStatement& query)
{
  GameRow row;
  row.hasPicture = NamesAPicture(query, 4, 5);
  if (row.hasPicture)
    row.pictureFile = PictureFile(query, 4, 5);
  row.fullName = query.Text(0);
  row.gameId = query.Int(1);
  row.selected = query.Int(2) != 0;
  row.hasDescription = query.Int(3) != 0;
  row.manufacturer = query.Int(6);
  row.year = query.Int(7);
  row.country = query.Int(8);
  row.matchStatus = static_cast<int>(query.Int(12));
  row.matchName = query.Text(13);
  row.fileName = query.Text(14);
  row.rating = query.Value(15);
  return row;
}

// A game's first genre link (in link order): its GenreID, which may be Null.
struct FirstLink {
  bool found = false;
  bool isNull = true;
  qint64 genreId = 0;
  bool isOne = false;  // GenreID = 1 holds
};

// The first link of each of `games` (ascending keys) that has one. A system that holds a good
// share of the links is served by one pass over all of them (in link order, so a game's first
// link comes first); a small one by a look per game.
std::optional<QHash<qint64, FirstLink>> FirstLinks(Catalogue& catalogue, const std::vector<qint64>& games,
                                                   SqlFailure* failure)
{
  QHash<qint64, FirstLink> first;
  if (games.empty())
    return first;
  first.reserve(static_cast<qsizetype>(games.size()));
  const auto take = [&](const BulkStatement& links, int column) {
    FirstLink link;
    link.found = true;
    link.isNull = links.Type(column) == ColumnType::Null;
    link.isOne = links.Type(column) == ColumnType::Integer && links.Int(column) == 1;
    link.genreId = links.Int(column);
    return link;
  };
  BulkStatement size(catalogue, QStringLiteral("SELECT max(rowid) FROM SubGenres"));
  const qint64 links = size.Next() ? size.Int(0) : 0;
  if (links > 64 * static_cast<qint64>(games.size())) {
    BulkStatement lookup(catalogue, QStringLiteral("SELECT GenreID FROM SubGenres WHERE GameID = ? "
                                                   "ORDER BY rowid LIMIT 1"));
    for (const qint64 gameId : games) {
      lookup.Reset();
      lookup.Bind(1, gameId);
      if (lookup.Next()) {
        first.insert(gameId, take(lookup, 0));
      } else if (!lookup.IsValid() || lookup.Failed()) {
        *failure = lookup.Failure();
        return std::nullopt;
      }
    }
    lookup.Reset();
    return first;
  }
  for (const qint64 gameId : games)
    first.insert(gameId, FirstLink());
  BulkStatement all(catalogue, QStringLiteral("SELECT GameID, GenreID FROM SubGenres NOT INDEXED "
                                              "WHERE GameID BETWEEN ? AND ?"));
  all.Bind(1, games.front());
  all.Bind(2, games.back());
  while (all.Next()) {
    if (all.Type(0) != ColumnType::Integer)
      continue;
    const auto game = first.find(all.Int(0));
    if (game != first.end() && !game->found)
      *game = take(all, 1);
  }
  if (!all.IsValid() || all.Failed()) {
    *failure = all.Failure();
    return std::nullopt;
  }
  return first;
}

// The engine's order of a FullName under its collation (NOCASE): Null first, then texts compared
// byte by byte with A-Z taken as a-z, then anything else by its bytes.
struct NameKey {
  int kind = 0;       // 0 Null, 1 text, 2 other
  std::string bytes;  // text with A-Z as a-z; other values as they are
  bool hasNul = false;
};

NameKey NameKeyOf(const BulkStatement& query, int column)
{
  NameKey key;
  const ColumnType type = query.Type(column);
  if (type == ColumnType::Null)
    return key;
  key.kind = type == ColumnType::Text ? 1 : 2;
  const std::string_view bytes = query.Utf8(column);
  key.bytes.assign(bytes.begin(), bytes.end());
  if (key.kind == 1) {
    for (char& c : key.bytes) {
      if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c - 'A' + 'a');
      key.hasNul = key.hasNul || c == 0;
    }
  }
  return key;
}

// As the engine's NOCASE collation compares two texts (already folded): up to the shorter
// length, stopping at a NUL in the first; then by length.
int CompareFolded(std::string_view a, std::string_view b)
{
  const size_t shorter = std::min(a.size(), b.size());
  for (size_t i = 0; i < shorter; ++i) {
    if (a[i] == 0 || a[i] != b[i]) {
      const int difference = static_cast<uchar>(a[i]) - static_cast<uchar>(b[i]);
      if (difference != 0)
        return difference;
      break;
    }
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

int CompareNames(const NameKey& a, const NameKey& b)
{
  if (a.kind != b.kind)
    return a.kind - b.kind;
  // Without a NUL in the first text that is a plain comparison of bytes.
  if (a.kind == 1 && a.hasNul)
    return CompareFolded(a.bytes, b.bytes);
  return a.bytes.compare(b.bytes);
}

struct Candidate {
  GameRow row;
  bool genreIsZero = false;
};

// The games of the system the filters take, in list order, and the number the view counts.
struct ListedGames {
  std::vector<Candidate> candidates;
  std::vector<int> order;  // positions in `candidates`, in list order
  int viewCount = 0;
};

// Every game of the system in one pass, each with whether the filters take it and whether the
// view counts it: the conditions are worked out by the engine as columns.
std::optional<ListedGames> ReadListedGames(Catalogue& catalogue, const ListFilters& filters, SqlFailure* failure)
{
  const MissingTest missing = MissingCondition(filters.missingFilter);
  QString listed = QStringLiteral("System.SystemID IS NOT NULL") + ViewCondition(filters.view) +
                   CloneCondition(filters.systemId, filters.clones) + missing.condition;
  QVariantList binds;
  if (missing.key)
    binds << *missing.key;
  if (filters.genreId) {
    listed += QStringLiteral(" AND Games.GameID IN (SELECT GameID FROM SubGenres WHERE GenreID = ?)");
    binds << *filters.genreId;
  }
  // The identification result counts while the game's file is the one that was identified.
  const bool identified = !catalogue.ColumnsOf(QStringLiteral("GameMatch")).isEmpty();
  const QString matchStatus = identified ? QStringLiteral("coalesce(GameMatch.Status, 0)") : QStringLiteral("0");
  if (filters.matchStatus) {
    listed += QStringLiteral(" AND ") + matchStatus + QStringLiteral(" = ?");
    binds << *filters.matchStatus;
  }
  binds << filters.systemId;
  const QString counted = filters.view == GameView::Available ? QStringLiteral("Games.Available <> 0")
                                                              : QStringLiteral("Games.Available = 0");
  qint64 systemGames = 0;
  // A system that holds most games is read in table order and sorted here.
  const bool wholeTable = HoldsMostGames(catalogue, filters.systemId, &systemGames);
  const QString sql =
      QStringLiteral(
          "SELECT Games.FullName, Games.GameID, Games.Selected, Games.Description IS NOT NULL, "
          "System.DefaultImagePath, Games.Image, Games.Manufacturer, Games.Year, Games.Country, Games.Genre = 0, "
          "coalesce(") +
      listed + QStringLiteral(", 0), coalesce(") + counted + QStringLiteral(", 0), ") + matchStatus +
      (identified ? QStringLiteral(", GameMatch.StandardName") : QStringLiteral(", NULL")) +
      QStringLiteral(", Games.FileName, Games.Rating FROM Games") +
      (wholeTable ? QStringLiteral(" NOT INDEXED") : QString()) +
      QStringLiteral(" LEFT JOIN System ON System.SystemID = Games.System") +
      (identified ? QStringLiteral(" LEFT JOIN GameMatch ON GameMatch.GameID = Games.GameID "
                                   "AND GameMatch.FileName = Games.FileName")
                  : QString()) +
      QStringLiteral(" WHERE Games.System = ?") +
      (wholeTable ? QString() : QStringLiteral(" ORDER BY Games.FullName, Games.GameID"));
  // All rows at once, read straight from the engine: lists of 50,000 games are common.
  BulkStatement query(catalogue, sql);
  for (int i = 0; i < binds.size(); ++i)
    query.Bind(i + 1, binds[i]);
  ListedGames games;
  std::vector<NameKey> names;
  games.candidates.reserve(static_cast<size_t>(systemGames));
  if (wholeTable)
    names.reserve(static_cast<size_t>(systemGames));
  while (query.Next()) {
    games.viewCount += query.Int(11) != 0 ? 1 : 0;
    if (query.Int(10) == 0)
      continue;
    if (wholeTable)
      names.push_back(NameKeyOf(query, 0));
    games.candidates.push_back({RowFrom(query), query.Int(9) != 0});
  }
  if (!query.IsValid() || query.Failed()) {
    *failure = query.Failure();
    return std::nullopt;
  }
  games.order.resize(games.candidates.size());
  std::iota(games.order.begin(), games.order.end(), 0);
  if (wholeTable) {
    std::sort(games.order.begin(), games.order.end(), [&](int a, int b) {
      const int byName = CompareNames(names[static_cast<size_t>(a)], names[static_cast<size_t>(b)]);
      return byName != 0 ? byName < 0
                         : games.candidates[static_cast<size_t>(a)].row.gameId <
                               games.candidates[static_cast<size_t>(b)].row.gameId;
    });
  }
  return games;
}

}  // namespace

MissingData MissingDataOf(const GameRow& row)
{
  MissingData missing;
  missing.overview = !row.hasDescription;
  missing.image = !row.hasPicture;
  missing.country = row.country == kUnknownCountry;
  missing.manufacturer = row.manufacturer == kUnknownManufacturer;
  missing.year = row.year == kUnknownYear;
  // A game whose only genre is the unknown one lacks its genre as much as one without any.
  missing.genre = row.firstGenreId < 1 || row.firstGenreId == kUnknownGenre;
  return missing;
}

QString ListColour(const MissingData& missing)
{
  const std::pair<bool, const QString*> tests[] = {
      {missing.overview, &kColourOverview},         {missing.image, &kColourImage}, {missing.country, &kColourCountry},
      {missing.manufacturer, &kColourManufacturer}, {missing.year, &kColourYear},   {missing.genre, &kColourGenre}};
  QString colour;
  for (const auto& [lacks, literal] : tests) {
    if (!lacks)
      continue;
    colour = colour.isEmpty() ? *literal : kColourMultiple;
  }
  return colour;
}

QColor ColourFromLiteral(const QString& literal)
{
  QString digits = literal;
  if (digits.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive))
    digits = digits.mid(2);
  bool ok = false;
  const uint value = digits.toUInt(&ok, 16);
  if (!ok)
    return QColor(Qt::black);
  return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::optional<std::vector<GameRow>> GameListQuery(Catalogue& catalogue, Feedback& feedback, const ListFilters& filters,
                                                  const QString& routine, int* viewCount)
{
  SqlFailure failure;
  std::optional<ListedGames> games = ReadListedGames(catalogue, filters, &failure);
  std::optional<QHash<qint64, FirstLink>> firstLinks;
  if (games) {
    std::vector<qint64> keys;
    keys.reserve(games->candidates.size());
    for (const Candidate& candidate : games->candidates)
      keys.push_back(candidate.row.gameId);
    std::sort(keys.begin(), keys.end());
    firstLinks = FirstLinks(catalogue, keys, &failure);
  }
  if (!firstLinks) {
    ReportError(feedback, failure.number, routine, failure.description);
    return std::nullopt;
  }
  // Only games whose first genre link names a genre are listed.
  const bool lackingGenre = filters.missingFilter == QStringLiteral("Genre");
  std::vector<GameRow> rows;
  rows.reserve(games->candidates.size());
  for (const int index : games->order) {
    Candidate& candidate = games->candidates[static_cast<size_t>(index)];
    const auto link = firstLinks->constFind(candidate.row.gameId);
    if (link == firstLinks->cend() || !link->found || link->isNull)
      continue;
    if (lackingGenre && !candidate.genreIsZero && !link->isOne)
      continue;
    candidate.row.firstGenreId = link->genreId;
    rows.push_back(std::move(candidate.row));
  }
  if (viewCount)
    *viewCount = games->viewCount;
  return rows;
}

void NameTable::Append(qint64 key, const QString& name)
{
  m_rankOf.insert(key, static_cast<int>(m_names.size()));
  m_names.append(name);
}

QString NameTable::Name(qint64 key) const
{
  const int rank = m_rankOf.value(key, -1);
  return rank < 0 ? QString() : m_names[rank];
}

int NameTable::Rank(qint64 key) const
{
  return m_rankOf.value(key, std::numeric_limits<int>::max());
}

ListNames LoadListNames(Catalogue& catalogue, Feedback& feedback)
{
  // The saved queries give each table in name order; the reserved "[Unknown]" keys are left out.
  const auto load = [&](const char* sql, qint64 unknown) {
    NameTable table;
    const std::optional<Rows> rows = catalogue.Select(feedback, QStringLiteral("CreateList"), QString::fromLatin1(sql));
    if (rows) {
      for (const QVariantList& row : rows->All()) {
        if (row[0].toLongLong() != unknown)
          table.Append(row[0].toLongLong(), row[1].toString());
      }
    }
    return table;
  };
  ListNames names;
  names.countries = load("SELECT CountryID, Country FROM Countries", kUnknownCountry);
  names.years = load("SELECT YearID, Year FROM Years", kUnknownYear);
  names.manufacturers = load("SELECT ManufacturerID, Manufacturer FROM Manf", kUnknownManufacturer);
  names.genres = load("SELECT genreID, GenreName FROM genre", kUnknownGenre);
  return names;
}

int ViewCount(Catalogue& catalogue, Feedback& feedback, qint64 systemId, GameView view)
{
  const std::optional<QVariant> count = catalogue.SelectValue(
      feedback, QStringLiteral("CreateList"),
      QStringLiteral("SELECT count(*) FROM Games WHERE System = ? AND ") +
          (view == GameView::Available ? QStringLiteral("Available <> 0") : QStringLiteral("Available = 0")),
      {systemId});
  return count ? count->toInt() : 0;
}

std::optional<QHash<qint64, GameCounts>> GameCountsBySystem(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("UpdateTabs"),
      QStringLiteral("SELECT System, sum(Available <> 0), sum(Available = 0) FROM Games GROUP BY System"));
  if (!rows)
    return std::nullopt;
  QHash<qint64, GameCounts> counts;
  for (const QVariantList& row : rows->All())
    counts.insert(row[0].toLongLong(), {row[1].toInt(), row[2].toInt()});
  return counts;
}

QString ListCountText(int rows, int count)
{
  return QStringLiteral("Created list of %1 / %2 games.").arg(rows).arg(count);
}

bool SetSelected(Catalogue& catalogue, Feedback& feedback, qint64 gameId, bool selected)
{
  return catalogue.Execute(feedback, QStringLiteral("listgames_ItemCheck"),
                           QStringLiteral("UPDATE Games SET Selected = ? WHERE GameID = ?"),
                           {selected ? 1 : 0, gameId});
}

bool CheckAll(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool mark, GameView view,
              const CloneMarks& clones)
{
  QString sql = QStringLiteral("UPDATE Games SET Selected = ? WHERE System = ? AND ") +
                (view == GameView::Available ? QStringLiteral("Available <> 0") : QStringLiteral("Available = 0"));
  // The same clone rule as the list, so the marks land on the games the list shows.
  sql += CloneCondition(systemId, clones).replace(QStringLiteral("Games."), QString());
  return catalogue.Execute(feedback, QStringLiteral("cmdsall_Click"), sql, {mark ? 1 : 0, systemId});
}

}  // namespace quillon
