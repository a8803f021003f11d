// Many rows to a statement: every row that can be inserted is, in order, with its own key, and
// each row that cannot is told.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/MultiRowInsert.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

class MultiRowInsertTest : public QObject {
  Q_OBJECT

 private slots:
  void RowsGetTheirOwnKeys_data()
  {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("clashing");
    QTest::newRow("none") << 0 << QList<int>{};
    QTest::newRow("one") << 1 << QList<int>{};
    QTest::newRow("a statement of eight and one of one") << 9 << QList<int>{};
    QTest::newRow("every statement size") << 75 << QList<int>{};
    QTest::newRow("several large statements") << 200 << QList<int>{};
    QTest::newRow("failures in a large and a small statement") << 75 << QList<int>{3, 70};
    QTest::newRow("the first and the last row fail") << 73 << QList<int>{0, 72};
  }

  void RowsGetTheirOwnKeys()
  {
    QFETCH(int, count);
    QFETCH(QList<int>, clashing);
    TestCatalogue t;
    t.Exec(QStringLiteral("CREATE TABLE Sample (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT UNIQUE, Extra)"));
    t.Exec(QStringLiteral("INSERT INTO Sample (Name) VALUES ('taken')"));
    const auto name = [&](int row) { return clashing.contains(row) ? QStringLiteral("taken") : QString::number(row); };
    Transaction transaction(t.Db());
    MultiRowInsert insert(t.Db(), QStringLiteral("INSERT INTO Sample (Name, Extra) VALUES "), QStringLiteral("(?, ?)"),
                          2);
    QList<int> failed;
    const std::vector<std::optional<qint64>> keys = insert.Insert(
        count,
        [&](BulkStatement& statement, int row, int first) {
          statement.Bind(first, name(row));
          statement.Bind(first + 1, qint64(row));
        },
        [&](int row, const SqlFailure& failure) {
          QVERIFY(failure.description.contains(QStringLiteral("UNIQUE")));
          failed << row;
        });
    QVERIFY(transaction.Commit());
    QCOMPARE(failed, clashing);
    QCOMPARE(static_cast<int>(keys.size()), count);
    for (int row = 0; row < count; ++row) {
      QCOMPARE(keys[static_cast<size_t>(row)].has_value(), !clashing.contains(row));
      if (keys[static_cast<size_t>(row)])
        QCOMPARE(
            t.Value(QStringLiteral("SELECT Extra FROM Sample WHERE ID = ?"), {*keys[static_cast<size_t>(row)]}).toInt(),
            row);
    }
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Sample")).toInt(), 1 + count - clashing.size());
  }
};

QUILLON_TEST_CLASS(MultiRowInsertTest)
#include "MultiRowInsertTest.moc"
