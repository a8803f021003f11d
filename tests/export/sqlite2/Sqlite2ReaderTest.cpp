// Reading library files: every golden file gives the engine's rows and passes the structural check,
// damaged files an error.
#include "Sqlite2TestSupport.h"
#include "TestRegistry.h"

#include "export/sqlite2/Sqlite2File.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::sqlite2;
using namespace quillon::test;

namespace {

QByteArray SetPage32(QByteArray bytes, std::uint32_t page, int offset, std::uint32_t value)
{
  Put32(reinterpret_cast<unsigned char*>(bytes.data()) + (page - 1) * kPageSize + offset, value);
  return bytes;
}

QByteArray SetPage16(QByteArray bytes, std::uint32_t page, int offset, std::uint16_t value)
{
  Put16(reinterpret_cast<unsigned char*>(bytes.data()) + (page - 1) * kPageSize + offset, value);
  return bytes;
}

}  // namespace

class Sqlite2ReaderTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadsTheEnginesRows_data()
  {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("rows");
    QTest::newRow("empty library") << "empty-library.mlf"
                                   << "items"
                                   << "empty-library.rows.tsv";
    QTest::newRow("two systems") << "two-systems.mlf"
                                 << "items"
                                 << "two-systems.rows.tsv";
    QTest::newRow("two systems, big-endian") << "two-systems-be.mlf"
                                             << "items"
                                             << "two-systems.rows.tsv";
    QTest::newRow("large, interior rows and free pages") << "large.mlf"
                                                         << "items"
                                                         << "large.rows.tsv";
    QTest::newRow("tiny example") << "tiny-example.db"
                                  << "t"
                                  << "tiny-example.rows.tsv";
    QTest::newRow("trailing partial page") << "corrupt/odd-trailing-bytes.mlf"
                                           << "items"
                                           << "two-systems.rows.tsv";
  }

  void ReadsTheEnginesRows()
  {
    QFETCH(QString, file);
    QFETCH(QString, table);
    QFETCH(QString, rows);
    const QByteArray bytes = ReadBytes(GoldenPath(file));
    QVERIFY(!bytes.isEmpty());
    QString error;
    const QByteArray tsv = TableAsTsv(bytes, table.toLatin1(), &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(tsv, ReadBytes(GoldenPath(rows)));
    // The engine's sound files pass the structural check.
    if (!file.startsWith(QStringLiteral("corrupt/"))) {
      const QStringList problems = CheckLibraryFile(bytes, false);
      QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }
  }

  void TheBigEndianFileIsRecognised()
  {
    const ReadOutcome outcome = ReadLibraryBytes(ReadBytes(GoldenPath("two-systems-be.mlf")));
    QVERIFY(outcome.content);
    QCOMPARE(outcome.content->order, ByteOrder::Big);
    const ReadOutcome little = ReadLibraryBytes(ReadBytes(GoldenPath("two-systems.mlf")));
    QCOMPARE(little.content->order, ByteOrder::Little);
    QCOMPARE(outcome.content->meta, little.content->meta);
  }

  void DamagedFilesGiveTheirError_data()
  {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    QTest::newRow("magic text") << "bad-magic-text.mlf" << kNotADatabase;
    QTest::newRow("magic NUL") << "bad-magic-nul.mlf" << kNotADatabase;
    QTest::newRow("byte-order magic") << "bad-magic-int.mlf" << kNotADatabase;
    QTest::newRow("file format 5") << "bad-file-format-5.mlf" << kUnsupportedFileFormat;
    QTest::newRow("misaligned master cell") << "bad-master-cell-misaligned.mlf" << kMalformed;
    QTest::newRow("master free block size") << "bad-master-free-size.mlf" << kMalformed;
    QTest::newRow("master type NULL") << "bad-master-type-null.mlf" << kMalformedSchema;
    QTest::newRow("items cell out of range") << "bad-items-cell-range.mlf" << kMalformed;
    QTest::newRow("truncated overflow chain") << "odd-truncated-overflow.mlf" << kMalformed;
  }

  void DamagedFilesGiveTheirError()
  {
    QFETCH(QString, file);
    QFETCH(QString, error);
    const ReadOutcome outcome = ReadLibraryBytes(ReadBytes(GoldenPath("corrupt/" + file)));
    QVERIFY(!outcome.content);
    QVERIFY2(outcome.error.startsWith(error), qPrintable(outcome.error));
    QString openError;
    QVERIFY(!sqlite_open(GoldenPath("corrupt/" + file), &openError));
    QVERIFY2(openError.contains(error), qPrintable(openError));
    QVERIFY(!CheckLibraryFile(ReadBytes(GoldenPath("corrupt/" + file)), false).isEmpty());
  }

  void ReadsDamageTheEngineAccepts()
  {
    // large.mlf with twelve bits flipped: two in overflow text, two in the NUL ending a value, the
    // rest in bytes nothing reads. The engine takes a value as text up to its first NUL.
    QString error;
    const QByteArray tsv = TableAsTsv(ReadBytes(GoldenPath("flipped/large-flipped.mlf")), "items", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // Row 897's "Sys Five" lost its NUL: it runs on into the next value.
    QVERIFY(
        tsv.contains("\tSys Five\x80"
                     "5897\t5897\t"));
    // Row 1539's last value lost the last byte of its record: the engine printed what followed in
    // its own memory (" r adipi!", then a heap chunk header, 0x21 0x00), bytes the file does not
    // hold. Within the record the value is the one blank.
    QByteArray engine = ReadBytes(GoldenPath("flipped/large-flipped.rows.tsv"));
    const QByteArray beyondTheRecord = "\t6539\tE:\\\\emu5.exe \t5\t r adipi!\n";
    QCOMPARE(engine.count(beyondTheRecord), 1);
    engine.replace(beyondTheRecord, "\t6539\tE:\\\\emu5.exe \t5\t \n");
    QCOMPARE(tsv, engine);
  }

  void FilesShorterThanAPageAreEmptyDatabases_data()
  {
    QTest::addColumn<QString>("file");
    QTest::newRow("page 1 only") << "odd-page1-only.mlf";
    QTest::newRow("500 bytes") << "odd-short-file.mlf";
  }

  void FilesShorterThanAPageAreEmptyDatabases()
  {
    QFETCH(QString, file);
    QTemporaryDir dir;
    const QString copy = dir.filePath("library.mlf");
    QVERIFY(QFile::copy(GoldenPath("corrupt/" + file), copy));
    QString error;
    std::unique_ptr<Connection> library = sqlite_open(copy, &error);
    QVERIFY2(library, qPrintable(error));
    const StatementResult result = ags_sqlite_get_table(library.get(), "delete from items;");
    QCOMPARE(result.error, QStringLiteral("no such table: items"));
    QVERIFY(sqlite_close(std::move(library)));
  }

  void ACycleInTheTreeIsDamageNotAHang()
  {
    const QByteArray two = ReadBytes(GoldenPath("two-systems.mlf"));
    // Page 3 (items root, a leaf) made interior with its right child pointing at itself.
    QVERIFY(!ReadLibraryBytes(SetPage32(two, 3, 0, 3)).content);
    // The overflow chain of row 6 (pages 4, 5) looping on page 4.
    const ReadOutcome loop = ReadLibraryBytes(SetPage32(two, 4, 0, 4));
    QVERIFY(!loop.content);
    QVERIFY2(loop.error.contains("already in use"), qPrintable(loop.error));
    // The last cell of page 3 pointing back at the first one.
    const QByteArray large = ReadBytes(GoldenPath("large.mlf"));
    QByteArray cellLoop = two;
    const auto* page3 = reinterpret_cast<const unsigned char*>(two.constData()) + 2 * kPageSize;
    int offset = Get16(page3 + 4, ByteOrder::Little);
    while (Get16(page3 + offset + 6, ByteOrder::Little) != 0)
      offset = Get16(page3 + offset + 6, ByteOrder::Little);
    cellLoop = SetPage16(cellLoop, 3, offset + 6, Get16(page3 + 4, ByteOrder::Little));
    QVERIFY(!ReadLibraryBytes(cellLoop).content);
    // A freelist trunk that names itself.
    const auto* first = reinterpret_cast<const unsigned char*>(large.constData());
    const std::uint32_t trunk = Get32(first + kOffsetFreelistHead, ByteOrder::Little);
    QVERIFY(trunk != 0);
    QVERIFY(!ReadLibraryBytes(SetPage32(large, trunk, 0, trunk)).content);
  }

  void TruncatedFilesNeverCrash()
  {
    const QByteArray large = ReadBytes(GoldenPath("large.mlf"));
    int failures = 0;
    for (qsizetype size = 0; size < large.size(); size += 1024 * 37 + 311) {
      const ReadOutcome outcome = ReadLibraryBytes(large.left(size));
      failures += outcome.content ? 0 : 1;
      if (!outcome.content)
        QVERIFY(!outcome.error.isEmpty());
    }
    QVERIFY(failures > 10);
  }

  void RandomDamageNeverCrashes()
  {
    const QByteArray two = ReadBytes(GoldenPath("two-systems.mlf"));
    QRandomGenerator random(20240601);
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
      QByteArray damaged = two;
      const int flips = 1 + int(random.bounded(6));
      for (int i = 0; i < flips; ++i) {
        // Mostly the structural parts: page headers and the start of cells.
        const int page = 1 + int(random.bounded(damaged.size() / kPageSize));
        const int offset = random.bounded(4) == 0 ? int(random.bounded(kPageSize)) : int(random.bounded(16));
        damaged[(page - 1) * kPageSize + offset] = char(random.bounded(256));
      }
      const ReadOutcome outcome = ReadLibraryBytes(damaged);
      if (!outcome.content) {
        ++rejected;
        QVERIFY(!outcome.error.isEmpty());
      }
      CheckLibraryFile(damaged, true);
    }
    QVERIFY(rejected > 100);
    // Files of random bytes behind a valid header.
    for (int round = 0; round < 200; ++round) {
      QByteArray garbage(kPageSize * (2 + int(random.bounded(8))), Qt::Uninitialized);
      for (char& c : garbage)
        c = char(random.bounded(256));
      garbage.replace(0, kPageSize, two.left(kPageSize));
      const ReadOutcome outcome = ReadLibraryBytes(garbage);
      QVERIFY(outcome.content || !outcome.error.isEmpty());
      QVERIFY(!ReadLibraryBytes(garbage.mid(kPageSize)).content);
    }
  }
};

QUILLON_TEST_CLASS(Sqlite2ReaderTest)
#include "Sqlite2ReaderTest.moc"
