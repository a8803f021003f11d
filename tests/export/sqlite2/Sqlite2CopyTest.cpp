// COPY input: what the engine makes of each transfer file, and values escaped so they come back.
#include "Sqlite2TestSupport.h"
#include "TestRegistry.h"

#include "export/sqlite2/Sqlite2Copy.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::sqlite2;
using namespace quillon::test;

namespace {

constexpr int kTmpColumns = 18;

QByteArray RowsAsTsv(const std::vector<Values>& rows)
{
  QByteArray out;
  for (const Values& row : rows) {
    QByteArrayList fields;
    for (const Value& value : row)
      fields << TsvValue(value);
    out += fields.join('\t') + '\n';
  }
  return out;
}

}  // namespace

class Sqlite2CopyTest : public QObject {
  Q_OBJECT

 private slots:
  void CopyGivesTheEnginesRows_data()
  {
    QTest::addColumn<QString>("name");
    for (const char* name : {"h2export-1", "h2export-3", "h2export-1-second", "copy-edge"})
      QTest::newRow(name) << name;
  }

  void CopyGivesTheEnginesRows()
  {
    QFETCH(QString, name);
    const QByteArray input = ReadBytes(GoldenPath(name + ".tmp"));
    QVERIFY(!input.isEmpty());
    QCOMPARE(RowsAsTsv(ParseCopyInput(input, "|||", kTmpColumns)), ReadBytes(GoldenPath(name + ".copy.tsv")));
  }

  // The same through the statement layer: COPY into a table of the library, read back from the file.
  void CopyStatementLoadsTheFileIntoATable()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("copy.mlf");
    QString error;
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    QVERIFY2(db, qPrintable(error));
    QVERIFY(ags_sqlite_get_table(db.get(),
                                 "CREATE TABLE c (item_name,item_location,item_image,tag_1,tag_2,tag_3,tag_4,tag_5,"
                                 "tag_6,tag_7,tag_8,tag_9,tag_10,tag_11,tag_12,tag_13,tag_14,tag_15)"));
    const StatementResult copied = ags_sqlite_get_table(
        db.get(), QStringLiteral("Copy c FROM '%1' using   delimiters '|||'").arg(GoldenPath("copy-edge.tmp")));
    QVERIFY2(copied, qPrintable(copied.error));
    QCOMPARE(copied.changes, 6);
    QVERIFY(sqlite_close(std::move(db)));
    const QByteArray tsv = TableAsTsv(ReadBytes(library), "c", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QByteArray withoutRowids;
    for (const QByteArray& line : tsv.split('\n')) {
      if (!line.isEmpty())
        withoutRowids += line.mid(line.indexOf('\t') + 1) + '\n';
    }
    QCOMPARE(withoutRowids, ReadBytes(GoldenPath("copy-edge.copy.tsv")));
  }

  void LineEndsAndShortLines()
  {
    // CR LF, LF and lone CR end lines; a backslash continues one; an empty line ends the load.
    const std::vector<Values> rows = ParseCopyInput("a,b\r\nc,d\ne,f\rg\\\r\nh,i\r\n\r\nlost,x\r\n", ",", 3);
    QCOMPARE(int(rows.size()), 4);
    QCOMPARE(rows[3][0], Value("g\nh"));
    QCOMPARE(rows[3][1], Value("i"));
    // Columns after the last field of a short line are NULL, never a stale value of an earlier line.
    QCOMPARE(rows[1][2], Value());
    const std::vector<Values> shortAfterLong = ParseCopyInput("a|||b|||c\nx|||y\n", "|||", 3);
    QCOMPARE(shortAfterLong[1], (Values{QByteArray("x"), QByteArray("y"), std::nullopt}));
    // "\." ends the load; a delimiter at the end leaves an empty last field.
    const std::vector<Values> ended = ParseCopyInput("p|||\n\\.\nq|||r\n", "|||", 2);
    QCOMPARE(int(ended.size()), 1);
    QCOMPARE(ended[0], (Values{QByteArray("p"), QByteArray("")}));
  }

  void EscapedValuesComeBackWhole()
  {
    QList<QByteArray> values = {"",         "|||",         "a|",          "|b",      "||||",      "ends with \\",
                                "\\",       "\\N",         "\\.",         "x\\|||y", "tab\there", "cr\rlf\nboth\r\n",
                                "D:\\a\\b", "slash / too", "\\n literal", "|\\|"};
    QRandomGenerator random(7);
    for (int i = 0; i < 300; ++i) {
      QByteArray value;
      for (int n = int(random.bounded(40)); n > 0; --n) {
        const char pick = "|\\\r\nNx.t /"[random.bounded(10)];
        value.append(random.bounded(5) == 0 ? char(1 + random.bounded(255)) : pick);
      }
      values << value;
    }
    for (qsizetype start = 0; start < values.size(); start += kTmpColumns - 1) {
      Values row;
      for (int c = 0; c < kTmpColumns; ++c)
        row.push_back(c == 5 ? Value() : Value(values.value(start + c, QByteArray("filler"))));
      QByteArrayList fields;
      for (const Value& value : row)
        fields << EscapeCopyField(value);
      const std::vector<Values> parsed = ParseCopyInput(fields.join("|||") + "\r\n", "|||", kTmpColumns);
      QCOMPARE(int(parsed.size()), 1);
      QCOMPARE(parsed[0], row);
    }
  }
};

QUILLON_TEST_CLASS(Sqlite2CopyTest)
#include "Sqlite2CopyTest.moc"
