// Files our writer makes: sound structure, every table and index kept, safe replacement.
#include "Sqlite2TestSupport.h"
#include "TestRegistry.h"

#include "export/sqlite2/Sqlite2Sql.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::sqlite2;
using namespace quillon::test;

namespace {

QByteArray RandomText(QRandomGenerator& random, int length)
{
  QByteArray text(length, Qt::Uninitialized);
  for (char& c : text)
    c = char(1 + random.bounded(255));
  return text;
}

// A library with items rows of every size class (no overflow, overflow, 2- and 3-byte offsets).
LibraryContent VariedContent(int rows, std::uint32_t secondRoot)
{
  QRandomGenerator random(99);
  LibraryContent content;
  content.meta[1] = 1234;
  content.meta[2] = kFileFormat;
  BtreeEntries items;
  for (int i = 1; i <= rows; ++i) {
    const int size =
        i % 97 == 0 ? 70000 + i : (i % 5 == 0 ? 300 + int(random.bounded(3000)) : int(random.bounded(200)));
    items.push_back(
        BtreeEntry{RowidKey(i * 3 - 50), EncodeRecord({std::nullopt, RandomText(random, size), QByteArray()})});
  }
  content.trees[3] = items;
  BtreeEntries other;
  for (int i = 0; i < 40; ++i)
    other.push_back(BtreeEntry{RowidKey(i), EncodeRecord({QByteArray::number(i)})});
  content.trees[secondRoot] = other;
  content.trees[kMasterRoot] = {
      EncodeMasterRow({1, QByteArray("table"), QByteArray("items"), QByteArray("items"), QByteArray("3"),
                       QByteArray("create table items (id integer primary key, a, b)")}),
      EncodeMasterRow({2, QByteArray("table"), QByteArray("other"), QByteArray("other"), QByteArray::number(secondRoot),
                       QByteArray("create table other (x)")})};
  return content;
}

QStringList ProblemsOf(const QString& path)
{
  return CheckLibraryFile(ReadBytes(path), true);
}

BtreeEntries TreeNamed(const QString& library, const QByteArray& name)
{
  const ReadOutcome outcome = ReadLibraryBytes(ReadBytes(library));
  if (!outcome.content)
    return {};
  const std::vector<MasterRow> master =
      DecodeMaster(outcome.content->trees.at(kMasterRoot)).value_or(std::vector<MasterRow>{});
  for (const MasterRow& row : master) {
    if (row.name == name)
      return outcome.content->trees.at(std::uint32_t(RootPageNumber(row.rootPage)));
  }
  return {};
}

bool SameEntries(const BtreeEntries& a, const BtreeEntries& b)
{
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].key != b[i].key || a[i].data != b[i].data)
      return false;
  }
  return true;
}

QStringList FilesIn(const QString& folder)
{
  return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

class Sqlite2WriterTest : public QObject {
  Q_OBJECT

 private slots:
  void WrittenFilesAreSoundAndReadBack_data()
  {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("secondRoot");
    QTest::newRow("empty") << 0 << 4;
    QTest::newRow("one page") << 3 << 4;
    QTest::newRow("deep tree, overflow, 3-byte offsets") << 5000 << 4;
    QTest::newRow("a root far beyond the data: free pages in between") << 40 << 900;
  }

  void WrittenFilesAreSoundAndReadBack()
  {
    QFETCH(int, rows);
    QFETCH(int, secondRoot);
    const LibraryContent content = VariedContent(rows, std::uint32_t(secondRoot));
    QString error;
    const std::optional<QByteArray> bytes = BuildLibraryFile(content, &error);
    QVERIFY2(bytes, qPrintable(error));
    const QStringList problems = CheckLibraryFile(*bytes, true);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.mid(0, 5).join('\n')));
    const ReadOutcome outcome = ReadLibraryBytes(*bytes);
    QVERIFY2(outcome.content, qPrintable(outcome.error));
    QCOMPARE(outcome.content->trees.size(), content.trees.size());
    for (const auto& [root, entries] : content.trees)
      QVERIFY(SameEntries(outcome.content->trees.at(root), entries));
    QCOMPARE(outcome.content->meta[1], 1234);
    QVERIFY(bytes->size() >= secondRoot * kPageSize);
  }

  void EveryRowCountMakesASoundTree()
  {
    // Cells of 16 bytes (63 to a page) and of 252 bytes (overflow), for every count up to a few
    // pages of the level above, so each way a level can end is met.
    for (const int size : {1, 230, 300}) {
      for (int rows = 0; rows <= 400; rows += rows < 140 ? 1 : 13) {
        LibraryContent content;
        content.meta[2] = kFileFormat;
        content.trees[kMasterRoot] = {EncodeMasterRow({1, QByteArray("table"), QByteArray("t"), QByteArray("t"),
                                                       QByteArray("3"), QByteArray("create table t (a)")})};
        for (int i = 0; i < rows; ++i)
          content.trees[3].push_back(BtreeEntry{RowidKey(i), EncodeRecord({QByteArray(size, 'v')})});
        const std::optional<QByteArray> bytes = BuildLibraryFile(content, nullptr);
        QVERIFY(bytes);
        const QStringList problems = CheckLibraryFile(*bytes, true);
        QVERIFY2(problems.isEmpty(),
                 qPrintable(QStringLiteral("%1 rows of %2: ").arg(rows).arg(size) + problems.join(' ')));
        QCOMPARE(int(ReadLibraryBytes(*bytes).content->trees.at(3).size()), rows);
      }
    }
  }

  void TheCheckerFindsWhatIsWrong()
  {
    const QByteArray good = *BuildLibraryFile(VariedContent(300, 4), nullptr);
    QVERIFY(CheckLibraryFile(good, true).isEmpty());
    // A page nobody uses.
    QVERIFY(CheckLibraryFile(good + QByteArray(kPageSize, '\0'), true).join(' ').contains("never used"));
    // A wrong free count.
    QByteArray count = good;
    Put32(reinterpret_cast<unsigned char*>(count.data()) + kOffsetFreeCount, 3);
    QVERIFY(!CheckLibraryFile(count, true).isEmpty());
    // Keys out of order: two leaf cells' keys swapped on the first leaf.
    const ReadOutcome outcome = ReadLibraryBytes(good);
    LibraryContent swapped = *outcome.content;
    std::swap(swapped.trees[3][0].key, swapped.trees[3][1].key);
    QVERIFY(CheckLibraryFile(*BuildLibraryFile(swapped, nullptr), true).join(' ').contains("out of order"));
    // A record with the wrong column count.
    LibraryContent columns = *outcome.content;
    columns.trees[3][5].data = EncodeRecord({std::nullopt, QByteArray("x")});
    QVERIFY(CheckLibraryFile(*BuildLibraryFile(columns, nullptr), true).join(' ').contains("column"));
    // The engine's own big-endian file breaks only the writer's rules.
    QVERIFY(CheckLibraryFile(ReadBytes(GoldenPath("two-systems-be.mlf")), true).join(' ').contains("big-endian"));
  }

  void OtherTablesAndIndexesKeepTheirContentAndItemsIndexesAreRebuilt()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QString error;
    QVERIFY(CreateTemplateLibrary(library, &error));
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    for (const char* sql :
         {"create table notes (title varchar(20) not null, body, stamp default 'now', unique (title))",
          "insert into notes (title, body) values ('b', 'second')",
          "insert into notes (title, body) values ('a', NULL)", "create index notes_body on notes (body)",
          "create index items_system on items (tag_14, item_name)",
          "create unique index items_game on items (tag_12)"}) {
      const StatementResult result = ags_sqlite_get_table(db.get(), sql);
      QVERIFY2(result, qPrintable(QString::fromLatin1(sql) + ": " + result.error));
    }
    QVERIFY(sqlite_close(std::move(db)));
    const auto cookie = ReadLibraryBytes(ReadBytes(library)).content->meta[1];
    QCOMPARE(cookie, 1 + 4);  // the template's table, then one change per CREATE
    const BtreeEntries notes = TreeNamed(library, "notes");
    const BtreeEntries notesIndex = TreeNamed(library, "notes_body");
    const BtreeEntries notesUnique = TreeNamed(library, "(notes autoindex 1)");
    QCOMPARE(int(notes.size()), 2);
    QCOMPARE(int(notesUnique.size()), 2);
    QCOMPARE(notesUnique[0].key, QByteArray("ca\0", 3) + RowidKey(2));

    for (const char* run : {"h2export-1.tmp=1", "h2export-3.tmp=3", "h2export-1-second.tmp=1"}) {
      const QString exportRun = QString::fromLatin1(run);
      QVERIFY2(RunExport(library, GoldenPath(exportRun.section('=', 0, 0)), exportRun.section('=', 1), &error),
               qPrintable(error));
      const QStringList problems = ProblemsOf(library);
      QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
    QCOMPARE(ReadLibraryBytes(ReadBytes(library)).content->meta[1], cookie);
    QVERIFY(SameEntries(TreeNamed(library, "notes"), notes));
    QVERIFY(SameEntries(TreeNamed(library, "notes_body"), notesIndex));
    QVERIFY(SameEntries(TreeNamed(library, "(notes autoindex 1)"), notesUnique));
    // The items indexes hold exactly the rows now in items: (tag_14, item_name) and (tag_12).
    const BtreeEntries system = TreeNamed(library, "items_system");
    QCOMPARE(int(system.size()), 4);
    // tag_14 "1" is the number 1 ("b" + sortable text), sorting before system 3.
    QCOMPARE(system[0].key, QByteArray("b") + RealToSortable(1) + QByteArray("\0c", 2) +
                                QByteArray("Delta Run (USA) (Rev 1)") + QByteArray("\0", 1) + RowidKey(6));
    QVERIFY(system[3].key.startsWith(QByteArray("b") + RealToSortable(3)));
    const BtreeEntries games = TreeNamed(library, "items_game");
    QCOMPARE(int(games.size()), 4);
    QVERIFY(games[0].key.startsWith(QByteArray("b") + RealToSortable(104)));
    // A unique index refuses a second row with the same game id; nothing is written.
    const QByteArray before = ReadBytes(library);
    db = sqlite_open(library, &error);
    const StatementResult duplicate =
        ags_sqlite_get_table(db.get(), "insert into items (item_name, tag_12) values ('again', '104')");
    QCOMPARE(duplicate.error, QStringLiteral("column tag_12 is not unique"));
    QVERIFY(!ags_sqlite_get_table(db.get(), "insert into notes (title) values ('a')"));
    QVERIFY(!ags_sqlite_get_table(db.get(), "insert into notes (body) values ('no title')"));
    QVERIFY(sqlite_close(std::move(db)));
    QCOMPARE(ReadBytes(library), before);
  }

  void TriggersOnItemsStopChangesToIt()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    LibraryContent content = *ReadLibraryBytes(ReadBytes(GoldenPath("two-systems.mlf"))).content;
    content.trees[kMasterRoot].push_back(
        EncodeMasterRow({2, QByteArray("trigger"), QByteArray("keep"), QByteArray("items"), QByteArray("0"),
                         QByteArray("create trigger keep after delete on items begin select 1; end")}));
    QVERIFY(WriteBytes(library, *BuildLibraryFile(content, nullptr)));
    QString error;
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    QVERIFY2(db, qPrintable(error));
    const StatementResult result = ags_sqlite_get_table(db.get(), "delete from items where tag_14 = '1'");
    QVERIFY(result.error.contains("it has triggers"));
    QVERIFY(sqlite_close(std::move(db)));
  }

  void AFailingStepLeavesTheLibraryAsItWas_data()
  {
    QTest::addColumn<int>("step");
    QTest::newRow("create temporary") << int(ReplaceStep::CreateTemporary);
    QTest::newRow("write temporary") << int(ReplaceStep::WriteTemporary);
    QTest::newRow("sync temporary") << int(ReplaceStep::SyncTemporary);
    QTest::newRow("replace") << int(ReplaceStep::ReplaceFile);
  }

  void AFailingStepLeavesTheLibraryAsItWas()
  {
    QFETCH(int, step);
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(CopyGolden("large.mlf", library));
    const QByteArray before = ReadBytes(library);
    QString error;
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    for (const QString& statement : ExportStatements(GoldenPath("large-6.tmp"), "5"))
      QVERIFY(ags_sqlite_get_table(db.get(), statement));
    const StatementResult closed = sqlite_close(std::move(db), [step](ReplaceStep s) { return int(s) == step; });
    QVERIFY(!closed.ok);
    QVERIFY(!closed.error.isEmpty());
    QCOMPARE(ReadBytes(library), before);
    QCOMPARE(FilesIn(dir.path()), QStringList{"library.mlf"});
  }

  void ALinkedLibraryIsWrittenWhereItIs()
  {
    QTemporaryDir dir;
    const QString real = dir.filePath("real.mlf");
    const QString link = dir.filePath("link.mlf");
    QString error;
    QVERIFY(CreateTemplateLibrary(real, &error));
    QVERIFY(QFile::link(real, link));
    QVERIFY2(RunExport(link, GoldenPath("h2export-1.tmp"), "1", &error), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(TableAsTsv(ReadBytes(real), "items", &error).count('\n'), 3);
  }

  void AnotherProgramsChangesAreNotOverwritten()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(CopyGolden("two-systems.mlf", library));
    QString error;
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    QVERIFY(ags_sqlite_get_table(db.get(), "delete from items"));
    QVERIFY(QFile::remove(library));
    QVERIFY(QFile::copy(GoldenPath("empty-library.mlf"), library));
    StatementResult closed = sqlite_close(std::move(db));
    QVERIFY(closed.error.contains("changed by another program"));
    QCOMPARE(ReadBytes(library), ReadBytes(GoldenPath("empty-library.mlf")));
    // A journal that appeared meanwhile: another program is writing.
    db = sqlite_open(library, &error);
    QVERIFY(ags_sqlite_get_table(db.get(), "delete from items"));
    QVERIFY(WriteBytes(library + "-journal", "busy"));
    closed = sqlite_close(std::move(db));
    QVERIFY(closed.error.contains("journal"));
  }

  void AStaleJournalIsPlayedBackFirst()
  {
    QTemporaryDir dir;
    const QString library = dir.filePath("library.mlf");
    QVERIFY(CopyGolden("two-systems.mlf", library));
    // The journal of a transaction that started on the empty library: original size 3 pages, the
    // original pages 2 and 3, then a record whose checksum shows it was never finished.
    const QByteArray empty = ReadBytes(GoldenPath("empty-library.mlf"));
    QByteArray journal = QByteArray::fromHex("d9d505f920a163d6");
    auto be32 = [](std::uint32_t v) {
      QByteArray b(4, '\0');
      Put32(reinterpret_cast<unsigned char*>(b.data()), v, ByteOrder::Big);
      return b;
    };
    const std::uint32_t seed = 0x1234;
    journal += be32(3) + be32(seed) + be32(3);
    for (std::uint32_t page : {2u, 3u})
      journal += be32(page) + empty.mid((page - 1) * kPageSize, kPageSize) + be32(seed + page);
    journal += be32(1) + QByteArray(kPageSize, 'x') + be32(0);
    QVERIFY(WriteBytes(library + "-journal", journal));
    QString error;
    std::unique_ptr<Connection> db = sqlite_open(library, &error);
    QVERIFY2(db, qPrintable(error));
    QVERIFY(!QFile::exists(library + "-journal"));
    QCOMPARE(ReadBytes(library), empty);  // the rollback is on disk at once
    QCOMPARE(ags_sqlite_get_table(db.get(), "delete from items").changes, 0);
    QVERIFY(sqlite_close(std::move(db)));

    // A journal too short for a header is dropped; one with a wrong header stops the open.
    QVERIFY(WriteBytes(library + "-journal", "short"));
    db = sqlite_open(library, &error);
    QVERIFY(db);
    QVERIFY(!QFile::exists(library + "-journal"));
    QVERIFY(sqlite_close(std::move(db)));
    QVERIFY(WriteBytes(library + "-journal", QByteArray(64, 'j')));
    QVERIFY(!sqlite_open(library, &error));
    QVERIFY(error.contains("journal"));
    QCOMPARE(ReadBytes(library), empty);
  }
};

QUILLON_TEST_CLASS(Sqlite2WriterTest)
#include "Sqlite2WriterTest.moc"
