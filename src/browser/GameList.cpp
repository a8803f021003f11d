#include "browser/GameList.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

constexpr qint64 kUnknownCountry = 1;
constexpr qint64 kUnknownYear = 42;
constexpr qint64 kUnknownManufacturer = 319;
constexpr qint64 kUnknownGenre = 1;

// The first genre link of every game, in link order.
const QString kFirstLinks = QStringLiteral(
    "(SELECT SubGenres.GameID, SubGenres.GenreID FROM SubGenres WHERE SubGenres.rowid IN "
    "(SELECT min(rowid) FROM SubGenres GROUP BY GameID)) AS FirstLink");

QString MissingCondition(const QString& filter)
{
  if (filter == QStringLiteral("Country"))
    return QStringLiteral(" AND Games.Country = 1");
  if (filter == QStringLiteral("Year"))
    return QStringLiteral(" AND Games.Year = 42");
  if (filter == QStringLiteral("Genre"))
    return QStringLiteral(" AND (Games.Genre = 0 OR FirstLink.GenreID = 1)");
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

GameRow RowFrom(const QSqlQuery& query)
{
  GameRow row;
  row.fullName = query.value(0).toString();
  row.gameId = query.value(1).toLongLong();
  row.fileName = query.value(2).toString();
  row.fullImage = query.value(3);
  row.image = query.value(4);
  row.hasDescription = query.value(5).toBool();
  row.manufacturer = query.value(6).toLongLong();
  row.year = query.value(7).toLongLong();
  row.country = query.value(8).toLongLong();
  row.rating = query.value(9);
  row.selected = IsTrue(query.value(10));
  row.available = IsTrue(query.value(11));
  row.romPath = query.value(12);
  row.clone = IsTrue(query.value(13));
  row.extFile = query.value(14).toString();
  row.genre = query.value(15).toInt();
  row.firstGenreId = query.value(16).toLongLong();
  return row;
}

}  // namespace

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
  QString sql = QStringLiteral(
                    "SELECT Games.FullName, Games.GameID, Games.FileName, "
                    "CASE WHEN Games.Image IS NULL THEN NULL ELSE coalesce(System.DefaultImagePath, '') || Games.Image "
                    "END, Games.Image, Games.Description IS NOT NULL, Games.Manufacturer, Games.Year, Games.Country, "
                    "Games.Rating, Games.Selected, Games.Available, Games.RomPath, Games.Clone, Games.ExtFile, "
                    "Games.Genre, FirstLink.GenreID "
                    "FROM Games INNER JOIN System ON System.SystemID = Games.System INNER JOIN ") +
                kFirstLinks + QStringLiteral(" ON FirstLink.GameID = Games.GameID WHERE Games.System = ?");
  QVariantList binds{filters.systemId};
  sql += ViewCondition(filters.view);
  sql += CloneCondition(filters.systemId, filters.clones);
  if (filters.genreId) {
    sql += QStringLiteral(
        " AND EXISTS (SELECT 1 FROM SubGenres AS Link WHERE Link.GameID = Games.GameID "
        "AND Link.GenreID = ?)");
    binds << *filters.genreId;
  }
  sql += MissingCondition(filters.missingFilter);
  sql += QStringLiteral(" ORDER BY Games.FullName, Games.GameID");
  std::vector<GameRow> rows;
  const bool ok = catalogue.ForEachRow(feedback, routine, sql, binds, [&rows](const QSqlQuery& query) {
    rows.push_back(RowFrom(query));
    return true;
  });
  if (!ok)
    return std::nullopt;
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
