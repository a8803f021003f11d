#include "browser/GameList.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

#include <QDir>

#include <limits>

namespace quillon {

namespace {

constexpr qint64 kUnknownCountry = 1;
constexpr qint64 kUnknownYear = 42;
constexpr qint64 kUnknownManufacturer = 319;
constexpr qint64 kUnknownGenre = 1;

// A game's first genre link, in link order (the link index keeps a game's links in that order).
const QString kFirstGenre = QStringLiteral(
    "(SELECT SubGenres.GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID ORDER BY SubGenres.rowid "
    "LIMIT 1)");

QString MissingCondition(const QString& filter)
{
  if (filter == QStringLiteral("Country"))
    return QStringLiteral(" AND Games.Country = 1");
  if (filter == QStringLiteral("Year"))
    return QStringLiteral(" AND Games.Year = 42");
  if (filter == QStringLiteral("Genre"))
    return {};  // tested on the first link, outside

  if (filter == QStringLiteral("Manf"))
    return QStringLiteral(" AND Games.Manufacturer = 319");
  if (filter == QStringLiteral("Overview"))
    return QStringLiteral(" AND Games.Description IS NULL");
  if (filter == QStringLiteral("Image"))
    return QStringLiteral(" AND (Games.Image IS NULL OR length(Games.Image) = 0)");
  return {};
}

QString ViewCondition(GameView view)
{
  return view == GameView::Available ? QStringLiteral(" AND Games.RomPath IS NOT NULL AND Games.Available <> 0")
                                     : QStringLiteral(" AND Games.Available = 0");
}

QString CloneCondition(qint64 systemId, const CloneMarks& clones)
{
  if (systemId != 1 || clones.includeClones)
    return {};
  return clones.clonesOnly ? QStringLiteral(" AND Games.Clone <> 0") : QStringLiteral(" AND Games.Clone = 0");
}

GameRow RowFrom(const BulkStatement& query)
{
  GameRow row;
  row.fullName = query.Text(0);
  row.gameId = query.Int(1);
  row.fileName = query.Text(2);
  row.fullImage = query.Value(3);
  row.image = query.Value(4);
  row.hasDescription = query.Int(5) != 0;
  row.manufacturer = query.Int(6);
  row.year = query.Int(7);
  row.country = query.Int(8);
  row.rating = query.Value(9);
  row.selected = query.Int(10) != 0;
  row.available = query.Int(11) != 0;
  row.romPath = query.Value(12);
  row.clone = query.Int(13) != 0;
  row.extFile = query.Text(14);
  row.genre = static_cast<int>(query.Int(15));
  row.firstGenreId = query.Int(16);
  row.matchStatus = static_cast<int>(query.Int(17));
  row.matchName = query.Text(18);
  return row;
}

}  // namespace

QString PictureFileOf(const GameRow& row)
{
  if (IsMissingImagePath(row.fullImage))
    return {};
  const QString stored = row.image.toString();
  return QDir::isAbsolutePath(stored) ? stored : row.fullImage.toString();
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

bool IsMissingImagePath(const QVariant& fullImage)
{
  if (fullImage.isNull())
    return true;
  const QString path = fullImage.toString();
  return path.isEmpty() || path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'));
}

MissingData MissingDataOf(const GameRow& row)
{
  MissingData missing;
  missing.overview = !row.hasDescription;
  missing.image = IsMissingImagePath(row.fullImage);
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
                                                  const QString& routine)
{
  // The identification result counts while the game's file is the one that was identified.
  const bool identified = !catalogue.ColumnsOf(QStringLiteral("GameMatch")).isEmpty();
  const QString matchColumns = identified ? QStringLiteral(
                                                ", coalesce(GameMatch.Status, 0) AS MatchStatus, "
                                                "GameMatch.StandardName")
                                          : QStringLiteral(", 0 AS MatchStatus, NULL");
  const QString matchJoin = identified ? QStringLiteral(
                                             " LEFT JOIN GameMatch ON GameMatch.GameID = Games.GameID "
                                             "AND GameMatch.FileName = Games.FileName")
                                       : QString();
  QString inner = QStringLiteral(
                      "SELECT Games.FullName, Games.GameID, Games.FileName, "
                      "CASE WHEN Games.Image IS NULL THEN NULL ELSE coalesce(System.DefaultImagePath, '') || "
                      "Games.Image END, Games.Image, Games.Description IS NOT NULL, Games.Manufacturer, Games.Year, "
                      "Games.Country, Games.Rating, Games.Selected, Games.Available, Games.RomPath, Games.Clone, "
                      "Games.ExtFile, Games.Genre, ") +
                  kFirstGenre + QStringLiteral(" AS FirstGenre") + matchColumns +
                  QStringLiteral(" FROM Games INNER JOIN System ON System.SystemID = Games.System") + matchJoin +
                  QStringLiteral(" WHERE Games.System = ?");
  QVariantList binds{filters.systemId};
  inner += ViewCondition(filters.view);
  inner += CloneCondition(filters.systemId, filters.clones);
  if (filters.genreId) {
    inner += QStringLiteral(" AND Games.GameID IN (SELECT GameID FROM SubGenres WHERE GenreID = ?)");
    binds << *filters.genreId;
  }
  inner += MissingCondition(filters.missingFilter);
  if (filters.matchStatus) {
    inner += identified ? QStringLiteral(" AND coalesce(GameMatch.Status, 0) = ?") : QStringLiteral(" AND 0 = ?");
    binds << *filters.matchStatus;
  }
  // Only games with at least one genre link are listed.
  // Kept whole (materialised), the inner query looks each game's first genre up once rather than
  // once for the test and once for the value.
  QString sql = QStringLiteral("WITH Listed AS MATERIALIZED (") + inner +
                QStringLiteral(") SELECT * FROM Listed WHERE FirstGenre IS NOT NULL");
  if (filters.missingFilter == QStringLiteral("Genre"))
    sql += QStringLiteral(" AND (Genre = 0 OR FirstGenre = 1)");
  sql += QStringLiteral(" ORDER BY 1, 2");
  // All rows at once, read straight from the engine: lists of 50,000 games are common.
  BulkStatement query(catalogue, sql);
  for (int i = 0; i < binds.size(); ++i)
    query.Bind(i + 1, binds[i]);
  std::vector<GameRow> rows;
  while (query.Next())
    rows.push_back(RowFrom(query));
  if (!query.IsValid() || query.Failed()) {
    const SqlFailure failure = query.Failure();
    ReportError(feedback, failure.number, routine, failure.description);
    return std::nullopt;
  }
  return rows;
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
