// The game list query, its filters and colours, and the check marks.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "browser/GameList.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

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
    complete.fullImage = QStringLiteral("/pics/a.png");
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
    const std::optional<std::vector<GameRow>> rows = GameListQuery(t.Db(), feedback, {3, GameView::Available});
    QVERIFY(rows && rows->size() == 2);
    QCOMPARE(PictureFileOf(rows->front()), QStringLiteral("/pics/a.png"));
    GameRow absolute = rows->front();
    absolute.image = QStringLiteral("/elsewhere/a.png");
    QCOMPARE(PictureFileOf(absolute), QStringLiteral("/elsewhere/a.png"));
    QVERIFY(PictureFileOf(rows->back()).isEmpty());  // Zelda has none
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(GameListTest)
#include "GameListTest.moc"
