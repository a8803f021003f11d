// Files replaced beside and renamed: the target is the old file or the new one, keeps its
// permissions, and nothing is left beside it; pictures are linked where the file system allows.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/AtomicFile.h"
#include "export/frontends/FrontendPictures.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray Content(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

unsigned Mode(const QString& path)
{
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

QStringList Beside(const QString& folder)
{
  return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

}  // namespace

class AtomicFileTest : public QObject {
  Q_OBJECT

 private slots:
  void ReplacesKeepingPermissions()
  {
    QTemporaryDir dir;
    const QString path = dir.filePath("gamelist.xml");
    QVERIFY(TouchFile(path, "old"));
    const QFile::Permissions chosen = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, chosen));
    QString error;
    QVERIFY(WriteFileAtomically(path, "new", &error));
    QCOMPARE(Content(path), QByteArray("new"));
    QCOMPARE(Mode(path), 0640u);
    // A new file gets what the user's umask gives, not a private temporary file's.
    QVERIFY(WriteFileAtomically(dir.filePath("fresh.txt"), "x", &error));
    const mode_t mask = ::umask(0);
    ::umask(mask);
    QCOMPARE(Mode(dir.filePath("fresh.txt")), 0666u & ~mask);
    QCOMPARE(Beside(dir.path()), QStringList({"fresh.txt", "gamelist.xml"}));
  }

  void AFailureLeavesTheTargetAndNothingBeside()
  {
    QTemporaryDir dir;
    const QString path = dir.filePath("list.lpl");
    QVERIFY(TouchFile(path, "old"));
    QString error;
    const FileMaker failing = [](const QString& temporary, QString* why) {
      TouchFile(temporary, "half");
      *why = QStringLiteral("disk full");
      return false;
    };
    QVERIFY(!PlaceFileAtomically(path, failing, Durability::Synced, &error));
    QCOMPARE(error, QDir::toNativeSeparators(path) + ": disk full");
    QCOMPARE(Content(path), QByteArray("old"));
    QCOMPARE(Beside(dir.path()), QStringList{"list.lpl"});
    QVERIFY(!WriteFileAtomically(dir.filePath("missing/list.lpl"), "x", &error));
    QVERIFY(error.contains("missing/list.lpl"));
    QVERIFY(!CopyFileAtomically(dir.filePath("nothing.png"), path, Durability::RenamedOnly, &error));
    QCOMPARE(Content(path), QByteArray("old"));
  }

  void PicturesAreLinkedOrCopiedAcrossFileSystems()
  {
    QTemporaryDir dir;
    const QString source = dir.filePath("pic.png");
    QImage picture(3, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(source));
    QSet<QString> folders;
    const PlacedPicture linked =
        PlacePicture(source, dir.filePath("covers/pic"), {"png", "jpg"}, MediaMode::Link, folders);
    QCOMPARE(linked.outcome, PlacedPicture::Outcome::Linked);
    QCOMPARE(PlacePicture(source, dir.filePath("covers/pic"), {"png"}, MediaMode::Link, folders).outcome,
             PlacedPicture::Outcome::Current);

    // /dev/shm is another file system here: a link cannot cross it, a copy does.
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

QUILLON_TEST_CLASS(AtomicFileTest)
#include "AtomicFileTest.moc"
