// Writes that fail for want of room or permission say why, in the system's words, and leave what
// was there: whole-file writes, the closing compaction and the copy of the delivered catalogue.
#include "RecordingFeedback.h"
#include "ScratchFileSystem.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Compaction.h"
#include "catalogue/DataFolder.h"
#include "common/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kNoSpace = QStringLiteral("No space left on device");

QByteArray Bytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FullDiskTest : public QObject {
  Q_OBJECT

 private slots:
  void WritesThatRunOutOfRoomSayWhy_data()
  {
    QTest::addColumn<bool>("buffered");
    QTest::addColumn<int>("size");
    QTest::newRow("unbuffered, larger than the room left") << false << 64 * 1024;
    QTest::newRow("buffered, larger than the room left") << true << 64 * 1024;
    QTest::newRow("buffered, within the buffer") << true << 12 * 1024;
  }

  void WritesThatRunOutOfRoomSayWhy()
  {
    QFETCH(bool, buffered);
    QFETCH(int, size);
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    QVERIFY(disk.Fill(8 * 1024));
    const QString path = disk.Path() + QStringLiteral("/out.bin");
    QVERIFY(TouchFile(path, "old"));
    QSaveFile file(path);
    QVERIFY(file.open(buffered ? QIODevice::WriteOnly : QIODevice::WriteOnly | QIODevice::Unbuffered));
    QVERIFY(!WriteAll(file, QByteArray(size, 'x')));
    QCOMPARE(file.errorString(), kNoSpace);
    file.cancelWriting();
    QCOMPARE(Bytes(path), QByteArray("old"));
  }

  void TheFullDeviceSaysWhy()
  {
    // Where no file system can be mounted, /dev/full refuses every write the same way.
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly))
      QSKIP("no /dev/full here");
    QVERIFY(!WriteAll(full, QByteArray(100, 'x')));
    QCOMPARE(full.errorString(), kNoSpace);
  }

  void CompactionOnAFullDiskSaysWhyAndKeepsTheCatalogue()
  {
    ScratchFileSystem disk(512 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    const DataFolder folder(disk.Path());
    QVERIFY(QFile::copy(DeliveredCatalogue(), folder.CatalogueFile()));
    const QByteArray before = Bytes(folder.CatalogueFile());
    QVERIFY(disk.Fill(16 * 1024));
    RecordingFeedback feedback;
    QVERIFY(!CompactCatalogue(folder, feedback));
    QCOMPARE(feedback.messages.size(), 1);
    QVERIFY2(feedback.messages.first().contains(kNoSpace), qPrintable(feedback.messages.first()));
    QCOMPARE(Bytes(folder.CatalogueFile()), before);
    QVERIFY(!QFile::exists(folder.CompactScratchFile()));
  }

  void DeliveredCatalogueThatDoesNotFitSaysWhy()
  {
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    const DataFolder folder(disk.Path());
    QVERIFY(disk.Fill(16 * 1024));
    QString error;
    QVERIFY(!InstallDeliveredCatalogue(folder, DeliveredCatalogue(), &error));
    QVERIFY2(error.contains(folder.CatalogueFile()) && error.contains(kNoSpace), qPrintable(error));
    QVERIFY(!QFile::exists(folder.CatalogueFile()));
    QCOMPARE(QDir(folder.Path()).entryList(QDir::Files).size(), 0);
  }
};

QUILLON_TEST_CLASS(FullDiskTest)
#include "FullDiskTest.moc"
