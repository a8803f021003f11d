// The game list query, its filters and colours, and the check marks.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "browser/GameList.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// The available games of a system, without other filters.
ListFilters AvailableOf(qint64 systemId)
{
  ListFilters filters;
  filters.systemId = systemId;
  return filters;
}

// Arcade (system 1) and SNES (3) games with every combination the filters look at.
void FillGames(TestCatalogue& t)
{
  t.Exec(QStringLiteral(
      "INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/arcade/', 1), (2, '/roms/snes/', 3)"));
  t.Exec(QStringLiteral("UPDATE System SET DefaultImagePath = '/pics/' WHERE SystemID IN (1, 3)"));
  t.Exec(QStringLiteral(
      "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Clone, Country, Year, Manufacturer, "
      "Image, Description, Selected) VALUES "
      "(1, 'pac-man', 'pacman.zip', 1, 1, 1, 0, 2, 21, 5, 'p.png', 'ok', 0),"
      "(2, 'Puck Man', 'puckman.zip', 1, 1, 1, 1, 2, 21, 5, 'q.png', 'ok', 0),"
      "(3, 'Galaxian', 'galaxian.zip', 1, NULL, 1, 0, 2, 20, 5, 'g.png', 'ok', 0),"
      "(4, 'Zelda', 'zelda.smc', 3, 2, 1, 1, 1, 42, 319, NULL, NULL, 1),"
      "(5, 'Mario', 'mario.smc', 3, 2, 0, 0, 2, 30, 7, '', 'ok', 0),"
      "(6, 'No Genre', 'nogenre.smc', 3, 2, 1, 0, 2, 30, 7, 'n.png', 'ok', 0),"
      "(7, 'Alpha', 'alpha.smc', 3, 2, 1, 0, 2, 30, 7, 'a.png', NULL, 0)"));
  t.Exec(
      QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (1, 2), (2, 2), (3, 2), (4, 1), (5, 13), "
                     "(7, 13), (7, 2)"));
  t.Exec(QStringLiteral(
      "UPDATE Games SET Genre = (SELECT count(*) FROM SubGenres WHERE SubGenres.GameID = Games.GameID)"));
}

QString SelectedIn(TestCatalogue& t, int system)
{
  return t
      .Value(QStringLiteral("SELECT group_concat(GameID) FROM (SELECT GameID FROM Games WHERE System = ? AND "
                            "Selected <> 0 ORDER BY GameID)"),
             {system})
      .toString();
}

QStringList Names(const std::optional<std::vector<GameRow>>& rows)
{
  QStringList names;
  if (rows) {
    for (const GameRow& row : *rows)
      names << row.fullName;
  }
  return names;
}

// Games with every value the list looks at, also odd ones: names equal but for case, without a
// name, with a byte order mark, a NUL or stored as bytes, Available 2, clones -1, pictures that
// are folders, first genre links without a genre. The arcade system's games hold most links;
// SNES has a few games.
void FillVariedGames(TestCatalogue& t)
{
  t.Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/', 1), (2, '/snes/', 3)"));
  t.Exec(
      QStringLiteral("UPDATE System SET DefaultImagePath = CASE SystemID WHEN 1 THEN '/pics/' ELSE '/pics' END "
                     "WHERE SystemID IN (1, 3)"));
  t.Exec(QStringLiteral(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
      "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Clone, Country, Year, Manufacturer, "
      "Image, Description, Genre, Selected) "
      "SELECT i, CASE i % 11 WHEN 0 THEN NULL WHEN 1 THEN 'zed' WHEN 2 THEN 'Zed' WHEN 3 THEN char(233) || 'clair' "
      "WHEN 4 THEN char(65279) || 'Bom' WHEN 5 THEN 'Zed' || char(0) || (i % 3) WHEN 6 THEN CAST('Zed' AS BLOB) "
      "ELSE 'Game ' || (i * 37 % 101) END, 'f' || i, "
      "CASE WHEN i % 15 = 0 THEN 3 ELSE 1 END, CASE WHEN i % 9 = 0 THEN NULL ELSE 1 + (i % 15 = 0) END, "
      "i % 3, (i % 5) - 1, 1 + i % 2, CASE WHEN i % 4 = 0 THEN 42 ELSE 30 END, "
      "CASE WHEN i % 6 = 0 THEN 319 ELSE 7 END, "
      "CASE i % 7 WHEN 0 THEN NULL WHEN 1 THEN '' WHEN 2 THEN 'sub/' WHEN 3 THEN 'b\\' ELSE 'p' || i || '.png' END, "
      "CASE WHEN i % 8 = 0 THEN NULL ELSE 'text' END, i % 3, i % 2 FROM n"));
  // Links: none, the unknown genre, another, a first link without a genre, two in either order.
  t.Exec(QStringLiteral(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
      "INSERT INTO SubGenres (GameID, GenreID) SELECT i, CASE i % 6 WHEN 1 THEN 1 WHEN 2 THEN 13 WHEN 3 THEN NULL "
      "WHEN 4 THEN 13 ELSE 1 END FROM n WHERE i % 6 <> 0"));
  t.Exec(
      QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, CASE WHEN GenreID = 1 THEN 13 ELSE 1 "
                     "END FROM SubGenres WHERE GameID % 6 IN (3, 4, 5)"));
  t.Exec(
      QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                     "INSERT INTO SubGenres (GameID, GenreID) SELECT 1 + i % 500, 20 FROM n"));
}

// The list as the filters describe it (each row's key, mark and colour), in one statement: the games of the system
// through the view, clone, genre and missing-data conditions whose first genre link names a genre, by full name without
// regard to case, then by key; and the count of the games in the view.
std::pair<QStringList, int> DescribedList(TestCatalogue& t, const ListFilters& filters)
{
  QString conditions = filters.view == GameView::Available
                           ? QStringLiteral(" AND Games.RomPath IS NOT NULL AND Games.Available <> 0")
                           : QStringLiteral(" AND Games.Available = 0");
  if (filters.systemId == 1 && !filters.clones.includeClones)
    conditions += filters.clones.clonesOnly ? QStringLiteral(" AND Games.Clone <> 0") : " AND Games.Clone = 0";
  QVariantList binds{filters.systemId};
  if (filters.genreId) {
    conditions += QStringLiteral(" AND Games.GameID IN (SELECT GameID FROM SubGenres WHERE GenreID = ?)");
    binds << *filters.genreId;
  }
  const QHash<QString, QString> missing{{"Country", " AND Games.Country = 1"},
                                        {"Year", " AND Games.Year = 42"},
                                        {"Manf", " AND Games.Manufacturer = 319"},
                                        {"Overview", " AND Games.Description IS NULL"},
                                        {"Image", " AND (Games.Image IS NULL OR length(Games.Image) = 0)"}};
  conditions += missing.value(filters.missingFilter);
  QString sql = QStringLiteral(
                    "SELECT * FROM (SELECT Games.FullName, Games.GameID, Games.Selected, Games.Description IS NOT "
                    "NULL, CASE WHEN Games.Image IS NULL THEN NULL ELSE coalesce(System.DefaultImagePath, '') || "
                    "Games.Image END, Games.Country, Games.Manufacturer, Games.Year, Games.Genre, "
                    "(SELECT SubGenres.GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID ORDER BY "
                    "SubGenres.rowid LIMIT 1) AS FirstGenre FROM Games INNER JOIN System ON System.SystemID = "
                    "Games.System WHERE Games.System = ?") +
                conditions + QStringLiteral(") WHERE FirstGenre IS NOT NULL");
  if (filters.missingFilter == QStringLiteral("Genre"))
    sql += QStringLiteral(" AND (Genre = 0 OR FirstGenre = 1)");
  sql += QStringLiteral(" ORDER BY 1, 2");
  SqlFailure failure;
  const std::optional<Rows> rows = t.Db().TrySelect(sql, binds, &failure);
  if (!rows)
    return {{failure.description}, -1};
  QStringList lines;
  for (const QVariantList& row : rows->All()) {
    MissingData lacks;
    lacks.overview = row[3].toInt() == 0;
    const QString picture = row[4].toString();
    lacks.image = row[4].isNull() || picture.isEmpty() || picture.endsWith(QLatin1Char('/')) ||
                  picture.endsWith(QLatin1Char('\\'));
    lacks.country = row[5].toLongLong() == 1;
    lacks.manufacturer = row[6].toLongLong() == 319;
    lacks.year = row[7].toLongLong() == 42;
    lacks.genre = row[9].toLongLong() < 1 || row[9].toLongLong() == 1;
    lines << QStringLiteral("%1 %2 %3").arg(row[1].toString(), row[2].toString(), ListColour(lacks));
  }
  const int count = t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = ? AND ") +
                                (filters.view == GameView::Available ? "Available <> 0" : "Available = 0"),
                            {filters.systemId})
                        .toInt();
  return {lines, count};
}

}  // namespace

class GameListTest : public QObject {
  Q_OBJECT

 private slots:
  void ViewsAndClones()
  {
    TestCatalogue t;
    FillGames(t);
    RecordingFeedback feedback;
    ListFilters filters;
    filters.systemId = 1;
    // A game without ROM path is never available; clones are hidden on system 1 by default.
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), QStringList{"pac-man"});
    filters.clones.includeClones = true;
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), (QStringList{"pac-man", "Puck Man"}));
    filters.clones = {false, true};
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), QStringList{"Puck Man"});
    // Clone marks mean nothing on other systems; games without any genre link are not listed;
    // names sort without regard to case.
    filters.systemId = 3;
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), (QStringList{"Alpha", "Zelda"}));
    filters.view = GameView::Missing;
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), QStringList{"Mario"});
    QCOMPARE(ViewCount(t.Db(), feedback, 3, GameView::Available), 3);
    QCOMPARE(ListCountText(2, 3), QStringLiteral("Created list of 2 / 3 games."));
    QVERIFY(!feedback.HasError());
  }

  void GenreAndMissingDataFilters()
  {
    TestCatalogue t;
    FillGames(t);
    RecordingFeedback feedback;
    ListFilters filters;
    filters.systemId = 3;
    filters.genreId = 13;
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), QStringList{"Alpha"});
    filters.genreId.reset();
    const QList<std::pair<QString, QStringList>> cases{
        {"Country", {"Zelda"}},           {"Year", {"Zelda"}}, {"Manf", {"Zelda"}}, {"Genre", {"Zelda"}},
        {"Overview", {"Alpha", "Zelda"}}, {"Image", {"Zelda"}}};
    for (const auto& [filter, expected] : cases) {
      filters.missingFilter = filter;
      QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), expected);
    }
    filters.view = GameView::Missing;
    filters.missingFilter = QStringLiteral("Image");
    QCOMPARE(Names(GameListQuery(t.Db(), feedback, filters)), QStringList{"Mario"});
  }

  void ColoursTellWhatIsMissing()
  {
    TestCatalogue t;
    FillGames(t);
    RecordingFeedback feedback;
    ListFilters filters;
    filters.systemId = 3;
    const std::vector<GameRow> rows = *GameListQuery(t.Db(), feedback, filters);
    QCOMPARE(ListColour(rows[0]), kColourOverview);  // Alpha: only the overview
    QCOMPARE(ListColour(rows[1]), kColourMultiple);  // Zelda: lacks everything
    filters.view = GameView::Missing;
    // Mario: an empty picture name leaves only the folder, which is no picture.
    QCOMPARE(ListColour(GameListQuery(t.Db(), feedback, filters)->front()), kColourImage);

    GameRow complete;
    complete.hasDescription = true;
    complete.hasPicture = true;
    complete.country = 2;
    complete.year = 30;
    complete.manufacturer = 7;
    complete.firstGenreId = 13;
    QVERIFY(ListColour(complete).isEmpty());
    GameRow lacksGenre = complete;
    lacksGenre.firstGenreId = 1;
    QCOMPARE(ListColour(lacksGenre), kColourGenre);
    GameRow lacksYear = complete;
    lacksYear.year = 42;
    QCOMPARE(ListColour(lacksYear), kColourYear);

    // Blue-green-red literals.
    QCOMPARE(ColourFromLiteral(kColourGenre), QColor(255, 0, 0));
    QCOMPARE(ColourFromLiteral(kColourManufacturer), QColor(0, 0, 255));
    QCOMPARE(ColourFromLiteral(kColourImage), QColor(0xC0, 0x40, 0x00));
    QCOMPARE(ColourFromLiteral(QStringLiteral("&H000000")), QColor(0, 0, 0));
  }

  void ListIsTheOneTheFiltersDescribe()
  {
    TestCatalogue t;
    FillVariedGames(t);
    RecordingFeedback feedback;
    int lists = 0;
    for (const qint64 system : {1, 3}) {
      for (const GameView view : {GameView::Available, GameView::Missing}) {
        for (const CloneMarks clones : {CloneMarks{}, CloneMarks{true, false}, CloneMarks{false, true}}) {
          for (const std::optional<qint64> genre :
               {std::optional<qint64>(), std::optional<qint64>(13), std::optional<qint64>(1)}) {
            for (const QString& lacking : QStringList{QString()} + kMissingFilters) {
              const ListFilters filters{system, view, clones, genre, lacking, std::nullopt};
              int count = -1;
              const std::optional<std::vector<GameRow>> rows =
                  GameListQuery(t.Db(), feedback, filters, QStringLiteral("FilterGenre"), &count);
              QVERIFY(rows);
              QStringList lines;
              for (const GameRow& row : *rows)
                lines << QStringLiteral("%1 %2 %3").arg(row.gameId).arg(row.selected ? 1 : 0).arg(ListColour(row));
              const auto [described, described_count] = DescribedList(t, filters);
              QCOMPARE(lines, described);
              QCOMPARE(count, described_count);
              QCOMPARE(count, ViewCount(t.Db(), feedback, system, view));
              lists += lines.isEmpty() ? 0 : 1;
            }
          }
        }
      }
    }
    // A good share of the combinations list something.
    QVERIFY2(lists > 80, qPrintable(QString::number(lists)));
    QVERIFY(!feedback.HasError());
  }

  void CheckMarksReachTheCatalogue()
  {
    TestCatalogue t;
    FillGames(t);
    RecordingFeedback feedback;
    QVERIFY(SetSelected(t.Db(), feedback, 7, true));
    QCOMPARE(t.Value(QStringLiteral("SELECT Selected FROM Games WHERE GameID = 7")).toInt(), 1);
    // Check All on the Missing view touches only the system's missing games.
    QVERIFY(CheckAll(t.Db(), feedback, 3, true, GameView::Missing, {}));
    QCOMPARE(SelectedIn(t, 3), QStringLiteral("4,5,7"));
    QVERIFY(CheckAll(t.Db(), feedback, 3, false, GameView::Available, {}));
    QCOMPARE(SelectedIn(t, 3), QStringLiteral("5"));
    // On the arcade system the clone marks decide, as they do for the list.
    QVERIFY(CheckAll(t.Db(), feedback, 1, true, GameView::Available, {}));
    QCOMPARE(SelectedIn(t, 1), QStringLiteral("1,3"));
    QVERIFY(CheckAll(t.Db(), feedback, 1, true, GameView::Available, {false, true}));
    QCOMPARE(SelectedIn(t, 1), QStringLiteral("1,2,3"));
    QVERIFY(!feedback.HasError());
  }

  // What the optional columns and the grid read beside the rows: names, counts, picture files.
  void NamesCountsAndPictureFiles()
  {
    TestCatalogue t;
    FillGames(t);
    RecordingFeedback feedback;
    const ListNames names = LoadListNames(t.Db(), feedback);
    QCOMPARE(names.countries.Name(2), QStringLiteral("USA"));
    QCOMPARE(names.manufacturers.Name(7), QStringLiteral("Agetec"));
    QCOMPARE(names.genres.Name(13), QStringLiteral("Fighter"));
    // The unknown entries show nothing and sort after every name.
    for (const auto& [table, unknown] : {std::pair{&names.countries, 1}, std::pair{&names.years, 42},
                                         std::pair{&names.manufacturers, 319}, std::pair{&names.genres, 1}}) {
      QVERIFY(table->Name(unknown).isEmpty());
      QVERIFY(table->Rank(unknown) > table->Rank(2));
    }
    QVERIFY(names.years.Rank(20) < names.years.Rank(21));

    const std::optional<QHash<qint64, GameCounts>> counts = GameCountsBySystem(t.Db(), feedback);
    QVERIFY(counts);
    QCOMPARE(counts->value(1).available, 3);
    QCOMPARE(counts->value(3).In(GameView::Available), 3);
    QCOMPARE(counts->value(3).In(GameView::Missing), 1);
    QCOMPARE(counts->value(3).available, ViewCount(t.Db(), feedback, 3, GameView::Available));
    QVERIFY(!counts->contains(11));

    // A stored picture path is taken as it is; a name is taken in the system's folder.
    const std::optional<std::vector<GameRow>> rows = GameListQuery(t.Db(), feedback, AvailableOf(3));
    QVERIFY(rows && rows->size() == 2);
    QCOMPARE(rows->front().pictureFile, QStringLiteral("/pics/a.png"));
    QVERIFY(rows->back().pictureFile.isEmpty());  // Zelda has none
    QCOMPARE(rows->front().fileName, QStringLiteral("alpha.smc"));
    t.Exec(QStringLiteral("UPDATE Games SET Image = '/elsewhere/a.png', Rating = 8 WHERE GameID = 7"));
    const std::optional<std::vector<GameRow>> again = GameListQuery(t.Db(), feedback, AvailableOf(3));
    QVERIFY(again && again->size() == 2);
    QCOMPARE(again->front().pictureFile, QStringLiteral("/elsewhere/a.png"));
    QCOMPARE(again->front().rating, QVariant(8));
    QVERIFY(again->back().rating.isNull());
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(GameListTest)
#include "GameListTest.moc"
