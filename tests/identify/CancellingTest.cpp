// Stopping identification part way: a cancelled verification keeps nothing of its run, a
// cancelled renaming keeps the files it renamed whole and the next run renames the rest, and the
// reading of a large image asks as it goes whether to go on.
#include "IdentifyScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "identify/FileHashes.h"
#include "identify/Renaming.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class CancellingTest : public QObject {
  Q_OBJECT

 private slots:
  void CancelledVerificationChangesNothing()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    scene.AddStandardFiles();
    RecordingFeedback feedback;
    feedback.cancelAtProgress = 3;
    const VerifySummary cancelled = scene.Verify(feedback);
    QVERIFY(!cancelled.ok);
    QVERIFY(cancelled.cancelled);
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM GameMatch")).toInt(), 0);

    feedback.cancelAtProgress = 0;
    const VerifySummary whole = scene.Verify(feedback);
    QVERIFY2(whole.ok, qPrintable(whole.error));
    QVERIFY(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM GameMatch")).toInt() > 0);
  }

  void LargeFilesAskWhetherToGoOn()
  {
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("disc.iso"));
    QFile file(image);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64(70) << 20));
    file.close();
    int asked = 0;
    const HashedFile whole = HashFile(image, {}, [&asked] { return ++asked > 0; });
    QVERIFY(whole.ok);
    QCOMPARE(asked, 2);  // after 32 and 64 MiB

    asked = 0;
    const HashedFile stopped = HashFile(image, {}, [&asked] { return ++asked < 1; });
    QVERIFY(!stopped.ok);
    QCOMPARE(asked, 1);
    QVERIFY(!stopped.error.isEmpty());
  }

  void CancelledRenamingKeepsWhatItRenamed()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    scene.AddStandardFiles();
    RecordingFeedback feedback;
    QVERIFY(scene.Verify(feedback).ok);
    const int planned =
        static_cast<int>(RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, true).renames.size());
    QVERIFY(planned > 2);

    // Cancelled while the second file is due: the first is renamed, with its row.
    feedback.cancelAtProgress = 2;
    const RenameSummary first = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false);
    QVERIFY(first.ok);
    QVERIFY(first.cancelled);
    QCOMPARE(first.renamed, 1);
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM RenameJournal")).toInt(), 0);
    const QString renamedFile = first.renames.front().newFileName;
    QVERIFY(QDir(scene.RomFolder()).exists(renamedFile));
    QCOMPARE(scene.GameValue(first.renames.front().gameId, QStringLiteral("FileName")).toString(), renamedFile);

    feedback.cancelAtProgress = 0;
    const RenameSummary rest = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false);
    QVERIFY(!rest.cancelled);
    QCOMPARE(rest.renamed, planned - 1);
  }
};

QUILLON_TEST_CLASS(CancellingTest)
#include "CancellingTest.moc"
