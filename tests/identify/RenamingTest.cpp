// Renaming identified files to their standard names: a dry run changes nothing; a run renames
// files, zips as a whole and pictures when the system renames them, never over an existing file,
// keeping each game's row; an interrupted run is finished by the next one.
#include "IdentifyScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "common/FileWriting.h"
#include "identify/FileHashes.h"
#include "identify/Renaming.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// The files of the scene's ROM folder, sorted.
QStringList FilesIn(const QString& folder)
{
  return QDir(folder).entryList(QDir::Files, QDir::Name);
}

QByteArray Contents(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Planned(const std::vector<PlannedRename>& plan)
{
  QStringList lines;
  for (const PlannedRename& rename : plan)
    lines << rename.oldFileName + QStringLiteral(" -> ") + rename.newFileName +
                 (rename.problem.isEmpty() ? QString() : QStringLiteral(" (") + rename.problem + QLatin1Char(')'));
  return lines;
}

struct VerifiedScene {
  IdentifyScene scene;
  QMap<QString, qint64> games;

  VerifiedScene()
  {
    scene.Import(IdentifyScene::StandardList());
    games = scene.AddStandardFiles();
    // What the user made of beta: a genre, an overview and an edit mark.
    scene.Catalogue().Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, 18)"),
                           {games.value(QStringLiteral("beta.smc"))});
    scene.Catalogue().Exec(QStringLiteral("UPDATE Games SET Description = 'Fast.', Rating = 4 WHERE GameID = ?"),
                           {games.value(QStringLiteral("beta.smc"))});
    RecordingFeedback feedback;
    scene.Verify(feedback);
  }

  // Gives the system a picture folder holding beta.png, renamed with the ROMs or not.
  QString UsePictureFolder(bool renameImages, const QString& types = QStringLiteral("png"))
  {
    const QString pictures = scene.Catalogue().Path(QStringLiteral("pictures")) + QLatin1Char('/');
    scene.Catalogue().Exec(QStringLiteral("UPDATE System SET RenameImages = ?, DefaultImagePath = ?, "
                                          "DefaultImageType = ? WHERE SystemID = ?"),
                           {renameImages ? 1 : 0, pictures, types, IdentifyScene::kSystem});
    WriteFile(pictures + QStringLiteral("beta.png"), QByteArray("picture"));
    return pictures;
  }
};

const QStringList kStandardPlan{
    QStringLiteral("beta.smc -> Beta Racer (Europe).smc"), QStringLiteral("gamma.sfc -> Gamma Bad (Japan).sfc"),
    QStringLiteral("delta.zip -> Delta Zip (World).zip"), QStringLiteral("epsilon.smc -> Epsilon Headered (USA).smc")};

}  // namespace

class RenamingTest : public QObject {
  Q_OBJECT

 private slots:
  void DryRunPlansAndRunRenames()
  {
    VerifiedScene v;
    IdentifyScene& scene = v.scene;
    const QStringList before = FilesIn(scene.RomFolder());
    RecordingFeedback feedback;
    const RenameSummary dry = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, true);
    QVERIFY(dry.ok);
    QCOMPARE(Planned(dry.renames), kStandardPlan);
    QCOMPARE(FilesIn(scene.RomFolder()), before);
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM RenameJournal")).toInt(), 0);

    const qint64 beta = v.games.value(QStringLiteral("beta.smc"));
    const RenameSummary run = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false);
    QVERIFY(run.ok);
    QVERIFY2(run.problems.isEmpty(), qPrintable(run.problems.join('\n')));
    QCOMPARE(run.renamed, 4);
    QCOMPARE(FilesIn(scene.RomFolder()),
             QStringList({QStringLiteral("Alpha Quest (USA).sfc"), QStringLiteral("Beta Racer (Europe).smc"),
                          QStringLiteral("Delta Zip (World).zip"), QStringLiteral("Epsilon Headered (USA).smc"),
                          QStringLiteral("Gamma Bad (Japan).sfc"), QStringLiteral("Twin (Germany).sfc"),
                          QStringLiteral("twin.sfc"), QStringLiteral("unknown.sfc")}));
    // The game keeps its row, genres and edits; only its file name changed.
    QCOMPARE(scene.GameValue(beta, QStringLiteral("FileName")).toString(), QStringLiteral("Beta Racer (Europe).smc"));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("Description")).toString(), QStringLiteral("Fast."));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("Rating")).toInt(), 4);
    QCOMPARE(scene.Catalogue()
                 .Value(QStringLiteral("SELECT group_concat(GenreID) FROM SubGenres WHERE GameID = ?"), {beta})
                 .toString(),
             QStringLiteral("1,18"));
    // A zip is renamed whole, its members as they were.
    const HashedFile zip = HashFile(scene.RomPath(QStringLiteral("Delta Zip (World).zip")), {});
    QVERIFY(zip.ok);
    QCOMPARE(zip.items.front().member, QStringLiteral("delta.sfc"));

    // The results follow the files, and the cache too: nothing is read again.
    const VerifySummary again = scene.Verify(feedback);
    QCOMPARE(again.filesRead, 0);
    QCOMPARE(again.CountOf(MatchStatus::Verified), 5);
    QCOMPARE(again.CountOf(MatchStatus::BadDump), 1);
    QCOMPARE(again.CountOf(MatchStatus::Rename), 0);
    QVERIFY(RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false).renames.empty());
  }

  void NeverOverAnExistingFile()
  {
    VerifiedScene v;
    IdentifyScene& scene = v.scene;
    const QByteArray theirs = RandomRom(123, 100);
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("Beta Racer (Europe).smc")), theirs));
    // A file changed since it was verified is left for the next verification.
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("gamma.sfc")), RandomRom(4, 4000)));
    RecordingFeedback feedback;
    const RenameSummary run = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false);
    QVERIFY(run.ok);
    QCOMPARE(run.renamed, 2);
    QCOMPARE(Planned(run.renames),
             QStringList({QStringLiteral("beta.smc -> Beta Racer (Europe).smc (a file named Beta Racer (Europe).smc "
                                         "is already there)"),
                          QStringLiteral("gamma.sfc -> Gamma Bad (Japan).sfc (the file changed since it was verified: "
                                         "verify again)"),
                          kStandardPlan[2], kStandardPlan[3]}));
    QCOMPARE(run.problems.size(), 2);
    QCOMPARE(Contents(scene.RomPath(QStringLiteral("Beta Racer (Europe).smc"))), theirs);
    QCOMPARE(Contents(scene.RomPath(QStringLiteral("beta.smc"))), RandomRom(2, 8192));
    QCOMPARE(scene.GameValue(v.games.value(QStringLiteral("beta.smc")), QStringLiteral("FileName")).toString(),
             QStringLiteral("beta.smc"));
    // The low-level rename refuses too.
    QString error;
    QVERIFY(!RenameWithoutReplacing(scene.RomPath(QStringLiteral("beta.smc")),
                                    scene.RomPath(QStringLiteral("Beta Racer (Europe).smc")), &error));
    QVERIFY(error.contains(QStringLiteral("already there")));
  }

  void PicturesFollowWhenTheSystemRenamesThem_data()
  {
    QTest::addColumn<bool>("renameImages");
    QTest::newRow("renames pictures") << true;
    QTest::newRow("keeps pictures") << false;
  }

  void PicturesFollowWhenTheSystemRenamesThem()
  {
    QFETCH(bool, renameImages);
    VerifiedScene v;
    IdentifyScene& scene = v.scene;
    const QString pictures = v.UsePictureFolder(renameImages, QStringLiteral("jpg;png"));
    for (const char* name : {"beta_1.jpg", "beta_2.png", "betamax.png", "Alpha Quest (USA).png"})
      QVERIFY(WriteFile(pictures + QString::fromLatin1(name), QByteArray(name)));
    const qint64 beta = v.games.value(QStringLiteral("beta.smc"));
    scene.Catalogue().Exec(QStringLiteral("UPDATE Games SET Image = 'beta.png' WHERE GameID = ?"), {beta});
    RecordingFeedback feedback;
    QVERIFY(RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false).ok);
    if (renameImages) {
      QCOMPARE(FilesIn(pictures),
               QStringList({QStringLiteral("Alpha Quest (USA).png"), QStringLiteral("Beta Racer (Europe).png"),
                            QStringLiteral("Beta Racer (Europe)_1.jpg"), QStringLiteral("Beta Racer (Europe)_2.png"),
                            QStringLiteral("betamax.png")}));
      QCOMPARE(Contents(pictures + QStringLiteral("Beta Racer (Europe)_1.jpg")), QByteArray("beta_1.jpg"));
      QCOMPARE(scene.GameValue(beta, QStringLiteral("Image")).toString(), QStringLiteral("Beta Racer (Europe).png"));
    } else {
      QVERIFY(FilesIn(pictures).contains(QStringLiteral("beta.png")));
      QCOMPARE(scene.GameValue(beta, QStringLiteral("Image")).toString(), QStringLiteral("beta.png"));
    }
  }

  void InterruptedRenameIsFinishedByTheNextRun_data()
  {
    QTest::addColumn<int>("renamedBefore");  // how many of the game's renames were done
    QTest::newRow("journal written only") << 0;
    QTest::newRow("ROM file renamed") << 1;
    QTest::newRow("ROM file and picture renamed") << 2;
  }

  void InterruptedRenameIsFinishedByTheNextRun()
  {
    QFETCH(int, renamedBefore);
    VerifiedScene v;
    IdentifyScene& scene = v.scene;
    const QString pictures = v.UsePictureFolder(true);
    const qint64 beta = v.games.value(QStringLiteral("beta.smc"));
    scene.Catalogue().Exec(QStringLiteral("UPDATE Games SET Image = 'beta.png' WHERE GameID = ?"), {beta});

    // The first run stops after the journal, or after some of the renames.
    RecordingFeedback feedback;
    bool planned = false;
    const std::vector<PlannedRename> plan = PlanRenames(scene.Db(), feedback, IdentifyScene::kSystem, &planned);
    QVERIFY(planned);
    const PlannedRename& rename = plan.front();
    QCOMPARE(rename.gameId, beta);
    QVERIFY(JournalRename(scene.Db(), feedback, rename));
    if (renamedBefore >= 1)
      QVERIFY(QFile::rename(rename.OldPath(), rename.NewPath()));
    if (renamedBefore >= 2)
      QVERIFY(QFile::rename(rename.pictures.front().first, rename.pictures.front().second));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("FileName")).toString(), QStringLiteral("beta.smc"));

    const RenameSummary next = RenameToStandardNames(scene.Db(), feedback, IdentifyScene::kSystem, false);
    QVERIFY(next.ok);
    QCOMPARE(next.finished, 1);
    QVERIFY2(next.problems.isEmpty(), qPrintable(next.problems.join('\n')));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("FileName")).toString(), QStringLiteral("Beta Racer (Europe).smc"));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("Image")).toString(), QStringLiteral("Beta Racer (Europe).png"));
    QVERIFY(QFile::exists(scene.RomPath(QStringLiteral("Beta Racer (Europe).smc"))));
    QVERIFY(!QFile::exists(scene.RomPath(QStringLiteral("beta.smc"))));
    QVERIFY(QFile::exists(pictures + QStringLiteral("Beta Racer (Europe).png")));
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM RenameJournal")).toInt(), 0);
    // The other games were renamed by the same run.
    QCOMPARE(next.renamed, 3);
  }

  void FinishingGivesUpWhenTheRomCannotMove()
  {
    VerifiedScene v;
    IdentifyScene& scene = v.scene;
    const QString pictures = v.UsePictureFolder(true);
    RecordingFeedback feedback;
    bool planned = false;
    const std::vector<PlannedRename> plan = PlanRenames(scene.Db(), feedback, IdentifyScene::kSystem, &planned);
    const PlannedRename& rename = plan.front();
    QVERIFY(JournalRename(scene.Db(), feedback, rename));
    QVERIFY(QFile::rename(rename.pictures.front().first, rename.pictures.front().second));
    // Meanwhile another file took the ROM's new name.
    QVERIFY(WriteFile(rename.NewPath(), QByteArray("other")));
    QStringList problems;
    QCOMPARE(FinishInterruptedRenames(scene.Db(), feedback, &problems), 0);
    QCOMPARE(problems.size(), 1);
    // The picture has its old name back and the game is as it was.
    QVERIFY(QFile::exists(pictures + QStringLiteral("beta.png")));
    QCOMPARE(scene.GameValue(rename.gameId, QStringLiteral("FileName")).toString(), QStringLiteral("beta.smc"));
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM RenameJournal")).toInt(), 0);
  }
};

QUILLON_TEST_CLASS(RenamingTest)
#include "RenamingTest.moc"
