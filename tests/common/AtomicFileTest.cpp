// Files replaced beside and renamed: the target is the old file or the new one, keeps its
// permissions, and nothing is left beside it.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "common/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
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

  void AFailingStepNamesItselfAndLeavesTheTarget_data()
  {
    QTest::addColumn<int>("step");
    QTest::newRow("create") << int(ReplaceStep::CreateTemporary);
    QTest::newRow("write") << int(ReplaceStep::WriteTemporary);
    QTest::newRow("sync") << int(ReplaceStep::SyncTemporary);
    QTest::newRow("replace") << int(ReplaceStep::ReplaceFile);
  }

  void AFailingStepNamesItselfAndLeavesTheTarget()
  {
    QFETCH(int, step);
    QTemporaryDir dir;
    const QString path = dir.filePath("library.mlf");
    QVERIFY(TouchFile(path, "old"));
    ReplaceOptions options;
    options.fault = [step](ReplaceStep s) { return int(s) == step; };
    {
      AtomicFile file(path, options);
      ReplaceFailure failure;
      QVERIFY(!(file.Write("new", &failure) && file.Commit(&failure)));
      QCOMPARE(int(failure.step), step);
      QVERIFY(!failure.reason.isEmpty());
    }
    QCOMPARE(Content(path), QByteArray("old"));
    QCOMPARE(Beside(dir.path()), QStringList{"library.mlf"});
  }

  void OptionsDecideWhatIsReplacedAndHow()
  {
    QTemporaryDir dir;
    // A link is followed: the file it points to gets the content, the link stays a link.
    const QString real = dir.filePath("real.mlf");
    const QString link = dir.filePath("link.mlf");
    QVERIFY(TouchFile(real, "old"));
    QVERIFY(QFile::link(real, link));
    ReplaceOptions followed;
    followed.followLink = true;
    ReplaceFailure failure;
    {
      AtomicFile file(link, followed);
      QCOMPARE(file.Target(), real);
      QVERIFY(file.Write("new", &failure) && file.Commit(&failure));
    }
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(Content(real), QByteArray("new"));

    // Without replacing, a file that is already there stays as it is.
    ReplaceOptions keep;
    keep.replaceExisting = false;
    {
      AtomicFile file(real, keep);
      QVERIFY(file.Write("newer", &failure));
      QVERIFY(!file.Commit(&failure));
      QCOMPARE(failure.step, ReplaceStep::ReplaceFile);
    }
    QCOMPARE(Content(real), QByteArray("new"));

    // Fixed permissions instead of the target's.
    ReplaceOptions fixed;
    fixed.keepTargetPermissions = false;
    fixed.newPermissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    QVERIFY(QFile::setPermissions(real, QFile::ReadOwner | QFile::ReadUser));
    {
      AtomicFile file(real, fixed);
      QVERIFY(file.Write("newest", &failure) && file.Commit(&failure));
    }
    QCOMPARE(Mode(real), 0600u);
    QCOMPARE(Beside(dir.path()), QStringList({"link.mlf", "real.mlf"}));
  }
};

QUILLON_TEST_CLASS(AtomicFileTest)
#include "AtomicFileTest.moc"
