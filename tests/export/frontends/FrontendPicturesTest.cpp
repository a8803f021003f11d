// Pictures placed for a front-end across file systems: a link cannot cross, a copy does. Links
// within one file system are tried in FrontendExportTest.
#include "TestRegistry.h"

#include "export/frontends/FrontendPictures.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quillon;

namespace {

QByteArray Content(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class FrontendPicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void PicturesAreCopiedAcrossFileSystems()
  {
    QTemporaryDir dir;
    const QString source = dir.filePath("pic.png");
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(source));
    QSet<QString> folders;
    // /dev/shm is another file system here.
    struct stat shm {};
    struct stat tmp {};
    if (::stat("/dev/shm", &shm) != 0 || ::stat(QFile::encodeName(dir.path()).constData(), &tmp) != 0 ||
        shm.st_dev == tmp.st_dev)
      QSKIP("no second file system to link across");
    QTemporaryDir other(QStringLiteral("/dev/shm/quillon-XXXXXX"));
    const PlacedPicture copied = PlacePicture(source, other.filePath("pic"), {"png"}, MediaMode::Link, folders);
    QCOMPARE(copied.outcome, PlacedPicture::Outcome::Copied);
    QCOMPARE(Content(copied.path), Content(source));
    QCOMPARE(PlacePicture(source, other.filePath("pic"), {"png"}, MediaMode::Link, folders).outcome,
             PlacedPicture::Outcome::Current);
  }
};

QUILLON_TEST_CLASS(FrontendPicturesTest)
#include "FrontendPicturesTest.moc"
