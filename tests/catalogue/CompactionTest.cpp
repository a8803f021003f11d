// Compaction at close: the catalogue is never left missing or damaged, whatever step fails.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Compaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Fills the catalogue with games and deletes most of them, so compaction has room to win.
void AddAndDeleteGames(TestCatalogue& t, int count)
{
  Transaction transaction(t.Db());
  for (int i = 0; i < count; ++i)
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, Description) VALUES (?, ?, 3, ?)"),
           {QStringLiteral("Game %1").arg(i), QStringLiteral("game%1.smc").arg(i), QString(400, QLatin1Char('d'))});
  QVERIFY(transaction.Commit());
  t.Exec(QStringLiteral("DELETE FROM Games WHERE GameID > 10"));
}

int GamesIn(const QString& file)
{
  bool missing = false;
  std::unique_ptr<Catalogue> catalogue = Catalogue::Open(file, &missing, nullptr);
  if (!catalogue)
    return -1;
  const std::optional<Rows> rows = catalogue->TrySelect(QStringLiteral("SELECT count(*) FROM Games"), {}, nullptr);
  return rows ? rows->Value(0, 0).toInt() : -1;
}

}  // namespace

class CompactionTest : public QObject {
  Q_OBJECT

 private slots:
  void CompactsAndRemovesAStaleScratchFile()
  {
    TestCatalogue t;
    AddAndDeleteGames(t, 2000);
    t.Close();
    const qint64 before = QFileInfo(t.Folder().CatalogueFile()).size();
    QVERIFY(TouchFile(t.Folder().CompactScratchFile(), "left over from an interrupted run"));
    RecordingFeedback feedback;
    QVERIFY(CompactCatalogue(t.Folder(), feedback));
    QCOMPARE(feedback.StatusLines(), (QStringList{"Status: Compacting Database, Please wait...", "Status: Done."}));
    QVERIFY(QFileInfo(t.Folder().CatalogueFile()).size() < before / 2);
    QVERIFY(!QFile::exists(t.Folder().CompactScratchFile()));
    QCOMPARE(GamesIn(t.Folder().CatalogueFile()), 10);
  }

  void EveryFailingStepKeepsTheCatalogue_data()
  {
    QTest::addColumn<int>("step");
    QTest::newRow("remove stale scratch") << int(CompactStep::RemoveStaleScratch);
    QTest::newRow("write compact copy") << int(CompactStep::WriteCompactCopy);
    QTest::newRow("verify copy") << int(CompactStep::VerifyCopy);
    QTest::newRow("replace catalogue") << int(CompactStep::ReplaceCatalogue);
  }

  void EveryFailingStepKeepsTheCatalogue()
  {
    QFETCH(int, step);
    TestCatalogue t;
    AddAndDeleteGames(t, 200);
    t.Close();
    QFile original(t.Folder().CatalogueFile());
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    RecordingFeedback feedback;
    QVERIFY(!CompactCatalogue(t.Folder(), feedback, [step](CompactStep s) { return int(s) == step; }));
    QCOMPARE(feedback.messages.size(), 1);
    QVERIFY2(feedback.messages.first().startsWith(QStringLiteral("Error (")), qPrintable(feedback.messages.first()));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), bytes);
    QCOMPARE(GamesIn(t.Folder().CatalogueFile()), 10);
    QVERIFY(!QFileInfo(t.Folder().CompactScratchFile()).isFile());
  }

  void AScratchThatCannotBeRemovedStopsBeforeTouchingTheCatalogue()
  {
    TestCatalogue t;
    t.Close();
    // A folder in the scratch file's place cannot be deleted as a file.
    QVERIFY(QDir().mkpath(t.Folder().CompactScratchFile() + QStringLiteral("/inside")));
    RecordingFeedback feedback;
    QVERIFY(!CompactCatalogue(t.Folder(), feedback));
    QCOMPARE(GamesIn(t.Folder().CatalogueFile()), 0);
    QVERIFY(QFileInfo(t.Folder().CompactScratchFile()).isDir());
  }

  void ADamagedCatalogueIsNotReplaced()
  {
    TestCatalogue t;
    t.Close();
    QVERIFY(TouchFile(t.Folder().CatalogueFile(), QByteArray(8192, 'z')));
    RecordingFeedback feedback;
    QVERIFY(!CompactCatalogue(t.Folder(), feedback));
    QFile file(t.Folder().CatalogueFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray(8192, 'z'));
    QVERIFY(!QFile::exists(t.Folder().CompactScratchFile()));
  }
};

QUILLON_TEST_CLASS(CompactionTest)
#include "CompactionTest.moc"
