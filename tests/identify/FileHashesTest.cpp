// Checksums of ROM files: known test vectors, the headers the lists leave out, zip members known
// by the archive's directory until their data is asked for, 7z members, and ranges of a file.
#include "RomFiles.h"
#include "TestRegistry.h"

#include "identify/FileHashes.h"
#include "identify/RomHeaders.h"

#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QString CrcText(quint32 crc)
{
  return QStringLiteral("%1").arg(crc, 8, 16, QLatin1Char('0'));
}

// Hands the data over in pieces of `piece` bytes, so ranges and headers straddle them.
HashedItem HashInPieces(const QByteArray& data, int piece, const RangePlan& plan = {})
{
  StreamHasher hasher(data.size(), plan);
  for (qsizetype at = 0; at < data.size(); at += piece)
    hasher.Add(data.constData() + at, std::min<qsizetype>(piece, data.size() - at));
  HashedItem item;
  hasher.Finish(item);
  return item;
}

QByteArray Atari7800Header()
{
  QByteArray header(128, '\0');
  header.replace(1, 9, "ATARI7800");
  header.replace(0x64, 28, "ACTUAL CART DATA STARTS HERE");
  return header;
}

}  // namespace

class FileHashesTest : public QObject {
  Q_OBJECT

 private slots:
  void KnownVectors()
  {
    // The check values of CRC-32 and SHA-1, whatever the pieces.
    for (const int piece : {1, 4, 1000}) {
      const HashedItem item = HashInPieces(QByteArrayLiteral("123456789"), piece);
      QCOMPARE(CrcText(item.whole.crc), QStringLiteral("cbf43926"));
      QCOMPARE(item.whole.sha1, QByteArrayLiteral("f7c3bc1d808e04732adf679965ccc34ca7ae3441"));
      QCOMPARE(item.whole.size, qint64(9));
      QCOMPARE(item.headerSize, 0);
    }
    const HashedItem empty = HashInPieces(QByteArray(), 1);
    QCOMPARE(CrcText(empty.whole.crc), QStringLiteral("00000000"));
    QCOMPARE(empty.whole.sha1, QByteArrayLiteral("da39a3ee5e6b4b0d3255bfef95601890afd80709"));
  }

  void HeadersAreLeftOut_data()
  {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("header");
    const QByteArray rom = RandomRom(7, 16384);
    QTest::newRow("iNES") << INesImage(rom, QByteArray(8192, 'c')) << 16;
    QTest::newRow("FDS") << QByteArray("FDS\x1a", 4) + QByteArray(12, '\0') + rom << 16;
    QTest::newRow("Lynx") << QByteArray("LYNX") + QByteArray(60, '\0') + rom << 64;
    QTest::newRow("Atari 7800") << Atari7800Header() + rom << 128;
    QTest::newRow("7800 without its second mark")
        << QByteArray(1, '\0') + QByteArray("ATARI7800") + QByteArray(118, '\0') + rom << 0;
    QTest::newRow("SNES copier") << CopierHeadered(rom) << 512;
    QTest::newRow("SNES without header") << rom << 0;
    QTest::newRow("512 past 2048") << QByteArray(2048 + 512, 'x') << 512;
    QTest::newRow("iNES mark only") << QByteArray("NES\x1a", 4) << 0;
  }

  void HeadersAreLeftOut()
  {
    QFETCH(QByteArray, file);
    QFETCH(int, header);
    QCOMPARE(RomHeaderSize(file.left(kHeaderProbeBytes), file.size()), header);
    const HashedItem item = HashInPieces(file, 100);
    QCOMPARE(item.headerSize, header);
    QCOMPARE(CrcText(item.whole.crc), Crc32Of(file));
    if (header > 0) {
      const QByteArray body = file.mid(header);
      QCOMPARE(item.body.size, body.size());
      QCOMPARE(CrcText(item.body.crc), Crc32Of(body));
      QCOMPARE(QString::fromLatin1(item.body.sha1), Sha1Of(body));
    }
  }

  void RangesOfTheData()
  {
    const QByteArray prg = RandomRom(10, 32768);
    const QByteArray chr = RandomRom(11, 8192);
    const QByteArray image = INesImage(prg, chr);
    qint64 askedSize = -1;
    int askedHeader = -1;
    const RangePlan plan = [&](qint64 dataSize, int headerSize) {
      askedSize = dataSize;
      askedHeader = headerSize;
      return std::vector<std::pair<qint64, qint64>>{{16, 32768}, {16 + 32768, 8192}, {0, 999999}};
    };
    const HashedItem item = HashInPieces(image, 1000, plan);
    QCOMPARE(askedSize, image.size());
    QCOMPARE(askedHeader, 16);
    const RangeChecksums* first = item.Range(16, 32768);
    const RangeChecksums* second = item.Range(16 + 32768, 8192);
    QVERIFY(first && second);
    QCOMPARE(CrcText(first->crc), Crc32Of(prg));
    QCOMPARE(QString::fromLatin1(second->sha1), Sha1Of(chr));
    QVERIFY(!item.Range(0, 999999));  // past the end: no range
  }

  void ZipMembersAreKnownByTheDirectoryFirst()
  {
    QTemporaryDir dir;
    const QByteArray rom = RandomRom(20, 40000);
    const QByteArray headered = CopierHeadered(RandomRom(21, 2048));
    const QString zip = dir.filePath(QStringLiteral("game.zip"));
    QVERIFY(WriteZip(zip, {{QStringLiteral("sub/"), QByteArray()},
                           {QStringLiteral("game.sfc"), rom},
                           {QStringLiteral("copy.smc"), headered}}));
    const HashedFile hashed = HashFile(zip, {});
    QVERIFY2(hashed.ok, qPrintable(hashed.error));
    QCOMPARE(hashed.items.size(), size_t(2));  // folders are no members
    const HashedItem& game = hashed.items[0];
    QCOMPARE(game.member, QStringLiteral("game.sfc"));
    QCOMPARE(game.whole.size, rom.size());
    QCOMPARE(CrcText(game.whole.crc), Crc32Of(rom));
    QVERIFY(!game.dataRead);
    QVERIFY(game.whole.sha1.isEmpty());

    HashedItem copy = hashed.items[1];
    QString error;
    QVERIFY2(ReadZipMemberData(zip, copy, {}, &error), qPrintable(error));
    QVERIFY(copy.dataRead);
    QCOMPARE(QString::fromLatin1(copy.whole.sha1), Sha1Of(headered));
    QCOMPARE(copy.headerSize, 512);
    QCOMPARE(CrcText(copy.body.crc), Crc32Of(headered.mid(512)));

    // A member that is not what the directory says is not taken.
    HashedItem wrong = hashed.items[0];
    wrong.whole.crc ^= 1;
    QVERIFY(!ReadZipMemberData(zip, wrong, {}, &error));
    QVERIFY(!wrong.dataRead);
  }

  void SevenZipAndPlainFiles()
  {
    QTemporaryDir dir;
    const QByteArray first = RandomRom(30, 5000);
    const QByteArray second = CopierHeadered(RandomRom(31, 1024));
    const QString sevenZip = dir.filePath(QStringLiteral("games.7z"));
    QVERIFY(Write7z(sevenZip, {{QStringLiteral("one.bin"), first}, {QStringLiteral("two.smc"), second}}));
    const HashedFile archived = HashFile(sevenZip, {});
    QVERIFY2(archived.ok, qPrintable(archived.error));
    QCOMPARE(archived.items.size(), size_t(2));
    QCOMPARE(archived.items[0].member, QStringLiteral("one.bin"));
    QCOMPARE(QString::fromLatin1(archived.items[0].whole.sha1), Sha1Of(first));
    QCOMPARE(archived.items[1].headerSize, 512);
    QCOMPARE(CrcText(archived.items[1].body.crc), Crc32Of(second.mid(512)));

    // A ".zip" that is no zip archive is a ROM of its own; a missing file is a failure.
    const QString fake = dir.filePath(QStringLiteral("fake.zip"));
    QVERIFY(WriteFile(fake, first));
    const HashedFile plain = HashFile(fake, {});
    QVERIFY(plain.ok);
    QCOMPARE(plain.items.size(), size_t(1));
    QVERIFY(plain.items[0].member.isEmpty());
    QCOMPARE(CrcText(plain.items[0].whole.crc), Crc32Of(first));
    QVERIFY(!HashFile(dir.filePath(QStringLiteral("none.sfc")), {}).ok);
    QVERIFY(!HashFile(dir.filePath(QStringLiteral("none.7z")), {}).ok);
  }
};

QUILLON_TEST_CLASS(FileHashesTest)
#include "FileHashesTest.moc"
