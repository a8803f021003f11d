// Damaged files beside a library that fuzzing found the reader mishandling: each is refused with
// a message, and the library stays as it was.
#include "Sqlite2TestSupport.h"
#include "TestRegistry.h"

#include "export/sqlite2/Sqlite2.h"
#include "export/sqlite2/Sqlite2File.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon::sqlite2;
using namespace quillon::test;

class Sqlite2HostileInputTest : public QObject {
  Q_OBJECT

 private slots:
  void JournalsClaimingMoreRecordsThanTheyHold_data()
  {
    QTest::addColumn<QByteArray>("journal");
    // Format 3 (big-endian, checksummed): record count, checksum seed, original size in pages.
    // The count claims 3.5 billion records; the journal holds none, so the original size of
    // 4 million pages (4 GB) cannot be true.
    QTest::newRow("huge count, no records") << QByteArray::fromHex("d9d505f920a163d6d50000000100000000410000");
    QTest::newRow("huge count, cut short") << QByteArray::fromHex("d9d505f920a163d6d500000001000000004100000000");
    QTest::newRow("count 2, original size 100 pages")
        << QByteArray::fromHex("d9d505f920a163d6000000020000000000000064");
  }

  void JournalsClaimingMoreRecordsThanTheyHold()
  {
    QFETCH(QByteArray, journal);
    QTemporaryDir dir;
    const QString library = dir.filePath(QStringLiteral("library.mlf"));
    QVERIFY(CopyGolden(QStringLiteral("two-systems.mlf"), library));
    QVERIFY(WriteBytes(JournalPath(library), journal));

    QByteArray bytes = ReadBytes(library);
    const std::optional<QString> refusal = PlayBackJournal(bytes, journal);
    QVERIFY(refusal.has_value());
    QVERIFY(refusal->contains(QStringLiteral("original size")));

    QString error;
    QVERIFY(!sqlite_open(library, &error));
    QVERIFY(error.contains(QStringLiteral("journal")));
    QCOMPARE(ReadBytes(library), ReadBytes(GoldenPath(QStringLiteral("two-systems.mlf"))));
  }
};

QUILLON_TEST_CLASS(Sqlite2HostileInputTest)
#include "Sqlite2HostileInputTest.moc"
