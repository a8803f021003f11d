// The download routine against a real HTTP server on 127.0.0.1: a picture is kept, anything that
// fails leaves no file (and no partial file) behind and the file already there untouched.
#include "LocalHttpServer.h"
#include "ScratchFileSystem.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "images/PictureCheck.h"
#include "images/UrlDownload.h"

#include <QDir>
#include <QFile>
#include <QNetworkAccessManager>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything in the folder, hidden temporary files included.
QStringList Entries(const QString& folder)
{
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

}  // namespace

class UrlDownloadTest : public QObject {
  Q_OBJECT

 private slots:
  void PictureIsDownloadedOverTheOldFile()
  {
    LocalHttpServer server;
    const QByteArray picture = LocalHttpServer::MakePicture({80, 60}, "jpeg");
    server.ServePicture(QStringLiteral("/box.jpg"), picture, "image/jpeg");
    server.ServeRedirect(QStringLiteral("/moved.jpg"), QStringLiteral("/box.jpg"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Game (E).jpg"));
    QVERIFY(TouchFile(file, "an older picture"));
    QNetworkAccessManager network;
    const DownloadOutcome outcome = UrlDownloadToFile(network, server.Address(QStringLiteral("/moved.jpg")), file);
    QVERIFY2(outcome.ok, qPrintable(outcome.reason));
    QCOMPARE(outcome.httpStatus, 200);
    QCOMPARE(outcome.bytes, qint64(picture.size()));
    QCOMPARE(FileBytes(file), picture);
    QVERIFY(IsPictureFile(file));
    QCOMPARE(ReadPictureFile(file)->size, QSize(80, 60));
    QCOMPARE(Entries(dir.path()), QStringList({QStringLiteral("Game (E).jpg")}));
    QVERIFY(QFile::permissions(file) & QFile::ReadOther);
  }

  void FailuresLeaveTheFolderAsItWas()
  {
    LocalHttpServer server;
    server.ServeStatus(QStringLiteral("/gone.jpg"), 404);
    server.ServePage(QStringLiteral("/big.png"), QByteArray(3000, 'x'), "image/png");
    LocalHttpServer::Reply unannounced;
    unannounced.contentType = "image/png";
    unannounced.body = QByteArray(3000, 'y');
    unannounced.omitContentLength = true;
    unannounced.trickleBytes = 500;
    unannounced.trickleIntervalMs = 10;
    server.Serve(QStringLiteral("/unannounced.png"), unannounced);
    LocalHttpServer::Reply stalled;
    stalled.contentType = "image/png";
    stalled.body = QByteArray(800, 'z');
    stalled.neverFinish = true;
    server.Serve(QStringLiteral("/stalled.png"), stalled);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("keep.png"));
    QVERIFY(TouchFile(file, "keep me"));
    QNetworkAccessManager network;
    DownloadOptions options;
    options.maxBytes = 1000;
    options.timeoutMs = 700;
    const struct {
      QString address;
      WebFailure failure;
    } cases[] = {
        {server.Address(QStringLiteral("/gone.jpg")), WebFailure::HttpStatus},
        {server.Address(QStringLiteral("/big.png")), WebFailure::TooLarge},
        {server.Address(QStringLiteral("/unannounced.png")), WebFailure::TooLarge},
        {server.Address(QStringLiteral("/stalled.png")), WebFailure::TimedOut},
        {QStringLiteral("file:///etc/hostname"), WebFailure::UnsupportedAddress},
    };
    for (const auto& item : cases) {
      const DownloadOutcome outcome = UrlDownloadToFile(network, item.address, file, options);
      QVERIFY2(!outcome.ok, qPrintable(item.address));
      QCOMPARE(outcome.failure, item.failure);
      QCOMPARE(FileBytes(file), QByteArray("keep me"));
      QCOMPARE(Entries(dir.path()), QStringList({QStringLiteral("keep.png")}));
    }
    // A folder that does not exist cannot take the file.
    const DownloadOutcome nowhere = UrlDownloadToFile(network, server.Address(QStringLiteral("/gone.jpg")),
                                                      dir.filePath(QStringLiteral("none/x.png")), options);
    QCOMPARE(nowhere.failure, WebFailure::Local);
  }

  void AFolderThatCannotTakeTheFileSaysWhy_data()
  {
    QTest::addColumn<bool>("full");  // else read-only
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << true << QStringLiteral("No space left on device");
    QTest::newRow("read-only file system") << false << QStringLiteral("Read-only file system");
  }

  void AFolderThatCannotTakeTheFileSaysWhy()
  {
    QFETCH(bool, full);
    QFETCH(QString, reason);
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    LocalHttpServer server;
    server.ServePage(QStringLiteral("/large.png"), QByteArray(64 * 1024, 'p'), "image/png");
    const QString file = disk.Path() + QStringLiteral("/large.png");
    QVERIFY(TouchFile(file, "keep me"));
    // Less room than the download needs, so a write falls short part of the way.
    QVERIFY(full ? disk.Fill(8 * 1024) : disk.MakeReadOnly());
    QNetworkAccessManager network;
    const DownloadOutcome outcome = UrlDownloadToFile(network, server.Address(QStringLiteral("/large.png")), file);
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.failure, WebFailure::Local);
    QVERIFY2(outcome.reason.contains(reason), qPrintable(outcome.reason));
    QCOMPARE(FileBytes(file), QByteArray("keep me"));
    QCOMPARE(Entries(disk.Path()),
             QStringList({QStringLiteral(".filler"), QStringLiteral("large.png")}).mid(full ? 0 : 1));
  }

  void AnErrorPageServedAsAPictureIsNoPicture()
  {
    LocalHttpServer server;
    server.ServePage(QStringLiteral("/cover.jpg"), "<html><body>Hot-linking not allowed</body></html>", "image/jpeg");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cover.jpg"));
    QNetworkAccessManager network;
    DownloadOptions options;
    options.requirePicture = true;
    const DownloadOutcome refused =
        UrlDownloadToFile(network, server.Address(QStringLiteral("/cover.jpg")), file, options);
    QVERIFY(!refused.ok);
    QCOMPARE(refused.failure, WebFailure::Local);
    QVERIFY(Entries(dir.path()).isEmpty());
    // Without the requirement the file is kept as it came, and the check tells it apart.
    QVERIFY(UrlDownloadToFile(network, server.Address(QStringLiteral("/cover.jpg")), file).ok);
    QVERIFY(QFile::exists(file));
    QVERIFY(!IsPictureFile(file));
    // A picture cut short is no picture either.
    const QByteArray png = LocalHttpServer::MakePicture({50, 50}, "png");
    QVERIFY(TouchFile(file, png.left(png.size() - 20)));
    QVERIFY(!IsPictureFile(file));
    QVERIFY(TouchFile(file, png));
    QVERIFY(IsPictureFile(file));
  }
};

QUILLON_TEST_CLASS(UrlDownloadTest)
#include "UrlDownloadTest.moc"
