// The list's model under Qt's model tester: rows replaced, turned round by sort() with the
// persistent indexes following their games, check marks asked of the handler, rows recoloured
// and renamed.
#include "TestRegistry.h"

#include "ui/GameListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace quillon::ui;

namespace {

// Games as the list query gives them, ordered by name; Beta and Delta ticked, Gamma lacking a year.
std::vector<GameRow> Rows()
{
  std::vector<GameRow> rows;
  qint64 key = 10;
  for (const char* name : {"Alpha", "Beta", "Delta", "Gamma"}) {
    GameRow row;
    row.gameId = key++;
    row.fullName = QString::fromLatin1(name);
    row.hasPicture = true;
    row.hasDescription = true;
    row.country = 2;
    row.manufacturer = 7;
    row.year = row.fullName == QStringLiteral("Gamma") ? 42 : 30;
    row.firstGenreId = 13;
    row.selected = row.fullName == QStringLiteral("Beta") || row.fullName == QStringLiteral("Delta");
    rows.push_back(row);
  }
  return rows;
}

// Four games that differ in every optional column; the names of their keys.
std::vector<GameRow> VariedRows()
{
  struct Game {
    const char* name;
    qint64 year, country, maker, genre;
    QVariant rating;
    const char* file;
    int result;
  };
  const Game games[] = {
      {"Alpha", 3, 2, 10, 20, 7, "zeta.smc", 1},
      {"Beta", 1, 1, 11, 21, QVariant(), "Alpha.smc", 0},
      {"Delta", 2, 3, 10, 20, 9, "beta.smc", 4},
      {"Gamma", 42, 2, 12, 22, 1, "Gamma.smc", 1},
  };
  std::vector<GameRow> rows;
  qint64 key = 10;
  for (const Game& game : games) {
    GameRow row;
    row.gameId = key++;
    row.fullName = QString::fromLatin1(game.name);
    row.year = game.year;
    row.country = game.country;
    row.manufacturer = game.maker;
    row.firstGenreId = game.genre;
    row.rating = game.rating;
    row.fileName = QString::fromLatin1(game.file);
    row.matchStatus = game.result;
    rows.push_back(row);
  }
  return rows;
}

ListNames VariedNames()
{
  ListNames names;
  // In name order, as the saved queries give them.
  for (const auto& [key, name] : {std::pair{1, "1989"}, std::pair{2, "1990"}, std::pair{3, "1991"}})
    names.years.Append(key, QString::fromLatin1(name));
  for (const auto& [key, name] : {std::pair{3, "Europe"}, std::pair{2, "USA"}})
    names.countries.Append(key, QString::fromLatin1(name));
  for (const auto& [key, name] : {std::pair{12, "Atlus"}, std::pair{10, "Konix"}, std::pair{11, "Zapp"}})
    names.manufacturers.Append(key, QString::fromLatin1(name));
  for (const auto& [key, name] : {std::pair{21, "Action"}, std::pair{22, "Puzzle"}, std::pair{20, "Sports"}})
    names.genres.Append(key, QString::fromLatin1(name));
  return names;
}

QStringList Names(const GameListModel& model)
{
  QStringList names;
  for (int row = 0; row < model.rowCount(); ++row)
    names << model.index(row, GameListModel::kNameColumn).data().toString();
  return names;
}

}  // namespace

class GameListModelTest : public QObject {
  Q_OBJECT

 private slots:
  void SortTurnsTheRowsRoundUnderTheTester()
  {
    GameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows(Rows());
    QCOMPARE(Names(model), (QStringList{"Alpha", "Beta", "Delta", "Gamma"}));
    QCOMPARE(model.CheckedCount(), 2);
    QCOMPARE(model.index(3, GameListModel::kIdColumn).data().toLongLong(), 13);
    QVERIFY(model.index(3, 0).data(Qt::ForegroundRole).isValid());  // Gamma lacks its year
    QVERIFY(!model.index(0, 0).data(Qt::ForegroundRole).isValid());

    const QPersistentModelIndex beta = model.index(1, GameListModel::kNameColumn);
    const QPersistentModelIndex gammaKey = model.index(3, GameListModel::kIdColumn);
    model.sort(GameListModel::kNameColumn, Qt::DescendingOrder);
    QCOMPARE(Names(model), (QStringList{"Gamma", "Delta", "Beta", "Alpha"}));
    QCOMPARE(beta.row(), 2);
    QCOMPARE(beta.data().toString(), QStringLiteral("Beta"));
    QCOMPARE(gammaKey.row(), 0);
    QCOMPARE(gammaKey.data().toLongLong(), 13);
    QCOMPARE(model.RowOfGame(10), 3);
    QCOMPARE(model.GameIdAt(0), 13);

    // Sorting again the same way changes nothing; new rows keep the order chosen.
    QSignalSpy layouts(&model, &QAbstractItemModel::layoutChanged);
    model.sort(GameListModel::kNameColumn, Qt::DescendingOrder);
    QCOMPARE(layouts.count(), 0);
    model.SetRows(Rows());
    QCOMPARE(Names(model), (QStringList{"Gamma", "Delta", "Beta", "Alpha"}));
    model.sort(GameListModel::kNameColumn, Qt::AscendingOrder);
    QCOMPARE(Names(model), (QStringList{"Alpha", "Beta", "Delta", "Gamma"}));

    model.SetRowName(0, QStringLiteral("Alpha II"));
    model.SetRowColour(0, kColourYear);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Alpha II"));
    QVERIFY(model.index(0, 0).data(Qt::FontRole).value<QFont>().bold());
    model.SetRowColour(0, QString());
    QVERIFY(!model.index(0, 0).data(Qt::FontRole).isValid());
    model.SetAllChecked(true);
    QVERIFY(model.AllChecked());
    model.SetRows({});
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.AllChecked());
  }

  // A check mark changes only when the handler has written it.
  void CheckMarksAskTheHandler_data()
  {
    QTest::addColumn<int>("row");  // in name order: Beta is ticked, Alpha is not
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("checked");  // rows ticked afterwards
    QTest::newRow("tick, written") << 0 << true << true << true << 3;
    QTest::newRow("tick, refused") << 0 << true << false << true << 2;
    QTest::newRow("untick, written") << 1 << false << true << true << 1;
    QTest::newRow("untick, refused") << 1 << false << false << true << 2;
    QTest::newRow("already ticked") << 1 << true << true << false << 2;
  }

  void CheckMarksAskTheHandler()
  {
    QFETCH(int, row);
    QFETCH(bool, tick);
    QFETCH(bool, written);
    GameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows(Rows());
    QList<std::pair<qint64, bool>> asked;
    model.SetCheckHandler([&](qint64 gameId, bool selected) {
      asked.append({gameId, selected});
      return written;
    });
    QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex index = model.index(row, GameListModel::kNameColumn);
    QCOMPARE(model.setData(index, tick ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole), written);
    QTEST(!asked.isEmpty(), "asked");
    if (!asked.isEmpty())
      QCOMPARE(asked.first(), std::make_pair(model.GameIdAt(row), tick));
    QTEST(model.CheckedCount(), "checked");
    const bool changed = !asked.isEmpty() && written;
    QCOMPARE(changes.count(), changed ? 1 : 0);
    QCOMPARE(index.data(Qt::CheckStateRole).toInt() == Qt::Checked, changed ? tick : model.RowAt(row)->selected);
    // Only the name column carries the mark.
    QVERIFY(!model.setData(model.index(row, GameListModel::kIdColumn), Qt::Checked, Qt::CheckStateRole));
  }

  // Ascending order of each column; descending is the same turned round. Games without a value
  // (unknown year, no rating) come first or last as their key says; equal values keep name order.
  void SortsByEachColumn_data()
  {
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("ascending");
    QTest::addColumn<QString>("shown");  // what Alpha's cell shows
    QTest::newRow("name") << int(GameListModel::kNameColumn) << QStringList{"Alpha", "Beta", "Delta", "Gamma"}
                          << "Alpha";
    QTest::newRow("year") << int(GameListModel::kYearColumn) << QStringList{"Beta", "Delta", "Alpha", "Gamma"}
                          << "1991";
    QTest::newRow("country") << int(GameListModel::kCountryColumn) << QStringList{"Delta", "Alpha", "Gamma", "Beta"}
                             << "USA";
    QTest::newRow("maker") << int(GameListModel::kMakerColumn) << QStringList{"Gamma", "Alpha", "Delta", "Beta"}
                           << "Konix";
    QTest::newRow("genre") << int(GameListModel::kGenreColumn) << QStringList{"Beta", "Gamma", "Alpha", "Delta"}
                           << "Sports";
    QTest::newRow("rating") << int(GameListModel::kRatingColumn) << QStringList{"Beta", "Gamma", "Alpha", "Delta"}
                            << "7";
    QTest::newRow("file") << int(GameListModel::kFileColumn) << QStringList{"Beta", "Delta", "Gamma", "Alpha"}
                          << "zeta.smc";
    QTest::newRow("verification") << int(GameListModel::kResultColumn) << QStringList{"Beta", "Alpha", "Gamma", "Delta"}
                                  << "verified";
  }

  void SortsByEachColumn()
  {
    QFETCH(int, column);
    QFETCH(QStringList, ascending);
    GameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows(VariedRows(), VariedNames());
    QTEST(model.index(0, column).data().toString(), "shown");
    const QPersistentModelIndex gamma = model.index(3, column);
    model.sort(column, Qt::AscendingOrder);
    QCOMPARE(Names(model), ascending);
    QCOMPARE(gamma.data(Qt::UserRole).toLongLong(), 13);  // the persistent index followed its game
    model.sort(column, Qt::DescendingOrder);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(Names(model), descending);
    // New rows (a rebuilt list) come in the order chosen.
    model.SetRows(VariedRows(), VariedNames());
    QCOMPARE(Names(model), descending);
  }

  // The search shows fewer rows in the order sorted by; marks and counts cover every row.
  void SearchShowsTheRowsItFinds()
  {
    GameListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.SetRows(Rows());
    model.sort(GameListModel::kNameColumn, Qt::DescendingOrder);
    model.SetSearch(QStringLiteral("a"));
    QCOMPARE(Names(model), (QStringList{"Gamma", "Delta", "Beta", "Alpha"}));
    model.SetSearch(QStringLiteral("ta"));
    QCOMPARE(Names(model), (QStringList{"Delta", "Beta"}));
    QCOMPARE(model.TotalCount(), 4);
    QCOMPARE(model.CheckedCount(), 2);
    model.SetRowName(0, QStringLiteral("Delta Force"));
    model.SetSearch(QStringLiteral("ta f"));
    QCOMPARE(Names(model), QStringList{"Delta Force"});
    model.SetSearch(QStringLiteral("mm"));
    QCOMPARE(Names(model), QStringList{"Gamma"});
    model.SetSearch(QStringLiteral("nothing like it"));
    QCOMPARE(model.rowCount(), 0);
    model.SetAllChecked(true);
    QVERIFY(model.AllChecked());
    model.SetSearch(QString());
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.RowOfGame(10), 3);
  }
};

QUILLON_TEST_CLASS(GameListModelTest)
#include "GameListModelTest.moc"
