// The export's statement sequence against libraries our writer made, compared with the engine's.
#include "Sqlite2TestSupport.h"
#include "TestRegistry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::sqlite2;
using namespace quillon::test;

namespace {

std::array<std::int32_t, kMetaCount> MetaOf(const QString& library)
{
  return ReadLibraryBytes(ReadBytes(library)).content->meta;
}

QByteArray ItemsOf(const QString& library)
{
  QString error;
  const QByteArray tsv = TableAsTsv(ReadBytes(library), "items", &error);
  return error.isEmpty() ? tsv : error.toUtf8();
}

}  // namespace

class Sqlite2ExportRunTest : public QObject {
  Q_OBJECT

 private slots:
  void TheTemplateIsTheEnginesEmptyLibrary()
  {
    QTemporaryDir dir;
    const QString path = dir.filePath("library/quillon.mlf");
    QVERIFY(QDir().mkpath(dir.filePath("library")));
    QString error;
    QVERIFY2(CreateTemplateLibrary(path, &error), qPrintable(error));
    QByteArray ours = ReadBytes(path);
    QByteArray engine = ReadBytes(GoldenPath("empty-library.mlf"));
    QVERIFY(CheckLibraryFile(ours, true).isEmpty());
    // The schema cookie is random in the engine's file; every other byte is the same.
    ours.replace(kOffsetSchemaCookie, 4, QByteArray(4, '\0'));
    engine.replace(kOffsetSchemaCookie, 4, QByteArray(4, '\0'));
    QCOMPARE(ours, engine);
    // It refuses to overwrite a file.
    QVERIFY(!CreateTemplateLibrary(path, &error));
    QVERIFY(error.contains("already exists"));
  }

  void ExportRunsGiveTheEnginesLibrary_data()
  {
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QStringList>("runs");  // transfer file = system id
    QTest::newRow("two systems") << "two-systems"
                                 << QStringList{"h2export-1.tmp=1", "h2export-3.tmp=3", "h2export-1-second.tmp=1"};
    QTest::newRow("large") << "large" << QStringList{"large-5.tmp=5", "large-6.tmp=6", "large-6-empty.tmp=6"};
  }

  void ExportRunsGiveTheEnginesLibrary()
  {
    QFETCH(QString, golden);
    QFETCH(QStringList, runs);
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QString error;
    QVERIFY2(CreateTemplateLibrary(library, &error), qPrintable(error));
    const auto meta = MetaOf(library);
    for (const QString& run : runs) {
      QVERIFY2(RunExport(library, GoldenPath(run.section('=', 0, 0)), run.section('=', 1), &error), qPrintable(error));
      const QStringList problems = CheckLibraryFile(ReadBytes(library), true);
      QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
    QCOMPARE(ItemsOf(library), ReadBytes(GoldenPath(golden + ".rows.tsv")));
    // Only rows changed: the schema cookie and the other meta values are as they were.
    QCOMPARE(MetaOf(library)[1], meta[1]);
    QCOMPARE(MetaOf(library)[3], meta[3]);
    QVERIFY(!QFile::exists(library + "-journal"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"library.mlf"});
  }

  void ExportingOntoTheEnginesFilesReusesTheLastIds_data()
  {
    QTest::addColumn<QString>("file");
    QTest::newRow("little-endian") << "two-systems.mlf";
    QTest::newRow("big-endian, written back little-endian") << "two-systems-be.mlf";
  }

  void ExportingOntoTheEnginesFilesReusesTheLastIds()
  {
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(CopyGolden(file, library));
    const auto meta = MetaOf(library);
    QString error;
    // System 1 a fourth time: ids 6 and 7 are deleted and taken again by the same rows.
    QVERIFY2(RunExport(library, GoldenPath("h2export-1-second.tmp"), "1", &error), qPrintable(error));
    QCOMPARE(ItemsOf(library), ReadBytes(GoldenPath("two-systems.rows.tsv")));
    QCOMPARE(MetaOf(library), meta);
    QVERIFY(CheckLibraryFile(ReadBytes(library), true).isEmpty());
    // System 3 with no rows left to export: its items go, the others stay.
    const QString empty = dir.filePath("empty.tmp");
    QVERIFY(WriteBytes(empty, {}));
    QVERIFY2(RunExport(library, empty, "3", &error), qPrintable(error));
    const QByteArrayList lines = ItemsOf(library).split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith("6\t") && lines[1].startsWith("7\t"));
  }

  void ExportingOntoDamageTheEngineAcceptsKeepsTheOtherRows()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(CopyGolden("flipped/large-flipped.mlf", library));
    const BtreeEntries before = ReadLibraryBytes(ReadBytes(library)).content->trees.at(3);
    QString error;
    QVERIFY2(RunExport(library, GoldenPath("h2export-3.tmp"), "3", &error), qPrintable(error));
    // System 5's records stay byte for byte what they were, so the engine reads them as before.
    const BtreeEntries after = ReadLibraryBytes(ReadBytes(library)).content->trees.at(3);
    QCOMPARE(after.size(), before.size() + 2);
    for (size_t i = 0; i < before.size(); ++i) {
      QCOMPARE(after[i].key, before[i].key);
      QCOMPARE(after[i].data, before[i].data);
    }
    QVERIFY(ItemsOf(library).startsWith(ItemsOf(GoldenPath("flipped/large-flipped.mlf"))));
  }

  void DeleteComparesAsTheEngine()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QString error;
    QVERIFY(CreateTemplateLibrary(library, &error));
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    const QList<QByteArray> kept = {"' 3'", "'3 '", "NULL", "'30'", "'3x'", "'3\n'"};
    const QList<QByteArray> deleted = {"'3'", "'3.0'", "'03'", "'+3'", "'3e0'", "3"};
    for (const QByteArray& value : kept + deleted)
      QVERIFY(ags_sqlite_get_table(db.get(),
                                   "insert into items (item_name, tag_14) values (" + value + ", " + value + ")"));
    const StatementResult result = ags_sqlite_get_table(db.get(), "DELETE FROM items WHERE items.tag_14 = '3'");
    QVERIFY2(result, qPrintable(result.error));
    QCOMPARE(result.changes, deleted.size());
    // A text column compares as text, except with a number on the other side.
    QVERIFY(ags_sqlite_get_table(db.get(), "create table t (name text, n)"));
    QVERIFY(ags_sqlite_get_table(db.get(), "insert into t values ('03', '03')"));
    QCOMPARE(ags_sqlite_get_table(db.get(), "delete from t where name = '3'").changes, 0);
    QCOMPARE(ags_sqlite_get_table(db.get(), "delete from t where '3' = n").changes, 1);
    QVERIFY(ags_sqlite_get_table(db.get(), "insert into t values ('03', '03')"));
    QCOMPARE(ags_sqlite_get_table(db.get(), "delete from t where name = 3").changes, 1);
    QVERIFY(sqlite_close(std::move(db)));
    QByteArray names;
    for (const QByteArray& line : ItemsOf(library).split('\n')) {
      if (!line.isEmpty())
        names += line.split('\t')[1] + ',';
    }
    QCOMPARE(names, QByteArray(" 3,3 ,\\N,30,3x,3\\n,"));
  }

  void OtherStatementsAreRefusedAndChangeNothing_data()
  {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("error");
    QTest::newRow("select") << "select * from items;"
                            << "unsupported statement: select * from items;";
    QTest::newRow("update") << "UPDATE items SET tag_1 = 'x'"
                            << "unsupported statement";
    QTest::newRow("drop") << "drop table items"
                          << "unsupported statement";
    QTest::newRow("delete with like") << "delete from items where tag_14 like '1'"
                                      << "unsupported statement";
    QTest::newRow("delete with two terms") << "delete from items where tag_14 = '1' and tag_1 = 'x'"
                                           << "unsupported statement";
    QTest::newRow("unknown table") << "delete from nothing where a = '1'"
                                   << "no such table: nothing";
    QTest::newRow("unknown column") << "delete from items where tag_99 = '1'"
                                    << "table items has no column named tag_99";
    QTest::newRow("copy of a missing file") << "copy items from '/no/such/file.tmp' USING DELIMITERS '|||'"
                                            << "unable to open file: /no/such/file.tmp";
    QTest::newRow("second statement fails") << "delete from items; vacuum;"
                                            << "unsupported statement: vacuum;";
    QTest::newRow("unterminated string") << "delete from items where tag_14 = '1"
                                         << "unterminated quoted text";
    QTest::newRow("commit without begin") << "commit;"
                                          << "cannot commit - no transaction is active";
    QTest::newRow("nested begin") << "begin; begin;"
                                  << "cannot start a transaction within a transaction";
    QTest::newRow("table exists") << "create table items (a)"
                                  << "table items already exists";
    QTest::newRow("row id not a number") << "insert into items (item_id, item_name) values ('x', 'y')"
                                         << "datatype mismatch";
    QTest::newRow("duplicate row id") << "insert into items (item_id) values (6)"
                                      << "PRIMARY KEY must be unique";
  }

  void OtherStatementsAreRefusedAndChangeNothing()
  {
    QFETCH(QString, sql);
    QFETCH(QString, error);
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(QFile::copy(GoldenPath("two-systems.mlf"), library));
    const QByteArray before = ReadBytes(library);
    QString openError;
    std::unique_ptr<Connection> db = sqlite_open(library, &openError);
    QVERIFY(db);
    const StatementResult result = ags_sqlite_get_table(db.get(), sql);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.startsWith(error), qPrintable(result.error));
    QVERIFY(sqlite_close(std::move(db)));
    QCOMPARE(ReadBytes(library), before);
  }

  void TransactionsDecideWhatIsWritten()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(QFile::copy(GoldenPath("two-systems.mlf"), library));
    const QByteArray before = ReadBytes(library);
    QString error;
    // Rolled back, and left open at close: nothing is written.
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    QVERIFY(ags_sqlite_get_table(db.get(), "BEGIN TRANSACTION; delete from items; ROLLBACK;"));
    QVERIFY(ags_sqlite_get_table(db.get(), "begin; delete from items;"));
    QVERIFY(sqlite_close(std::move(db)));
    QCOMPARE(ReadBytes(library), before);
    // A failing statement inside a transaction undoes only itself.
    db = sqlite_open(library, &error);
    QVERIFY(ags_sqlite_get_table(db.get(), "begin; delete from items where tag_14 = '3';"));
    QVERIFY(!ags_sqlite_get_table(db.get(), "insert into items (item_id) values (6)"));
    QVERIFY(ags_sqlite_get_table(db.get(), "end transaction"));
    QVERIFY(sqlite_close(std::move(db)));
    const QByteArrayList lines = ItemsOf(library).split('\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines[0].startsWith("6\t"));
  }

  void ASecondTemporaryTableOnOneConnectionFails()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QString error;
    QVERIFY(CreateTemplateLibrary(library, &error));
    const QByteArray before = ReadBytes(library);
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    const QString create = ExportStatements("x", "1").first();
    QVERIFY(ags_sqlite_get_table(db.get(), create));
    QCOMPARE(ags_sqlite_get_table(db.get(), create).error, QStringLiteral("table tmp already exists"));
    QVERIFY(sqlite_close(std::move(db)));
    QCOMPARE(ReadBytes(library), before);  // temporary tables never touch the file
  }
};

QUILLON_TEST_CLASS(Sqlite2ExportRunTest)
#include "Sqlite2ExportRunTest.moc"
