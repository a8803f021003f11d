// Thumbnails of the box-art grid, made once and kept on disk until their picture changes.
#include "TestRegistry.h"

#include "browser/CoverThumbnails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

namespace {

bool SavePicture(const QString& path, const QSize& size, const QColor& colour)
{
  QImage picture(size, QImage::Format_RGB32);
  picture.fill(colour);
  return picture.save(path);
}

}  // namespace

class CoverThumbnailsTest : public QObject {
  Q_OBJECT

 private slots:
  void MadeInProportionAndStored_data()
  {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("thumbnail");
    QTest::newRow("tall box") << QSize(600, 840) << QSize(137, 192);
    QTest::newRow("wide screenshot") << QSize(640, 480) << QSize(192, 144);
    QTest::newRow("smaller than a thumbnail") << QSize(100, 60) << QSize(100, 60);
  }

  void MadeInProportionAndStored()
  {
    QFETCH(QSize, picture);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cover.jpg"));
    const QString cache = dir.filePath(QStringLiteral("cache/thumbnails/"));
    QVERIFY(SavePicture(path, picture, Qt::darkGreen));
    QTEST(LoadThumbnail(path, cache).size(), "thumbnail");
    QTEST(QImage(ThumbnailFile(cache, path)).size(), "thumbnail");
  }

  void ReadFromTheCacheUntilThePictureChanges()
  {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cover.png"));
    const QString cache = dir.filePath(QStringLiteral("thumbs/"));
    QVERIFY(SavePicture(path, QSize(300, 400), Qt::red));
    QCOMPARE(LoadThumbnail(path, cache).pixelColor(5, 5), QColor(Qt::red));

    // A thumbnail that is the picture's as it is now is read, not made again.
    const QString stored = ThumbnailFile(cache, path);
    QImage marked(stored);
    marked.setPixelColor(5, 5, Qt::blue);
    for (const QString& key : QImage(stored).textKeys())
      marked.setText(key, QImage(stored).text(key));
    QVERIFY(marked.save(stored, "PNG"));
    QCOMPARE(LoadThumbnail(path, cache).pixelColor(5, 5), QColor(Qt::blue));

    // A new picture under the same name (another size) gives a new thumbnail.
    QVERIFY(SavePicture(path, QSize(300, 401), Qt::yellow));
    QCOMPARE(LoadThumbnail(path, cache).pixelColor(5, 5), QColor(Qt::yellow));
    QCOMPARE(QImage(stored).pixelColor(5, 5), QColor(Qt::yellow));
    QCOMPARE(QDir(cache).entryList(QDir::Files).size(), 1);
  }

  void NoThumbnailForWhatIsNoPicture()
  {
    QTemporaryDir dir;
    const QString cache = dir.filePath(QStringLiteral("thumbs/"));
    const QString text = dir.filePath(QStringLiteral("notes.png"));
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a picture") > 0);
    file.close();
    QVERIFY(LoadThumbnail(text, cache).isNull());
    QVERIFY(LoadThumbnail(dir.filePath(QStringLiteral("gone.png")), cache).isNull());
    QVERIFY(LoadThumbnail(dir.path(), cache).isNull());
    QVERIFY(!QFileInfo::exists(cache) || QDir(cache).isEmpty());
  }
};

QUILLON_TEST_CLASS(CoverThumbnailsTest)
#include "CoverThumbnailsTest.moc"
