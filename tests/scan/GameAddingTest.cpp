// Where adding games by hand starts, and whether the system renames what it takes.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "scan/GameAdding.h"
#include "scan/GameDeletion.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

class GameAddingTest : public QObject {
  Q_OBJECT

 private slots:
  void StartsInTheSystemsFirstFolder()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    t.Exec(QStringLiteral("UPDATE System SET DefaultRomType = 'smc;sfc', Rename = 1 WHERE SystemID = ?"), {kSnes});
    t.Exec(QStringLiteral("UPDATE System SET Rename = 0 WHERE SystemID = ?"), {kGameboy});
    QCOMPARE(AddGameStartOf(t.Db(), feedback, kSnes)->romFolder, QString());
    QCOMPARE(AddGameStartOf(t.Db(), feedback, kSnes)->romTypes, QStringLiteral("smc;sfc"));
    InsertRomPath(t.Db(), kGameboy, QStringLiteral("/roms/gb/"));
    InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/snes/"));
    InsertRomPath(t.Db(), kSnes, QStringLiteral("/more/snes/"));
    QCOMPARE(AddGameStartOf(t.Db(), feedback, kSnes)->romFolder, QStringLiteral("/roms/snes/"));
    QVERIFY(SystemRenamesRoms(t.Db(), feedback, kSnes, QStringLiteral("AddGame")));
    QVERIFY(!SystemRenamesRoms(t.Db(), feedback, kGameboy, QStringLiteral("AddGame")));
    QVERIFY(!feedback.HasError());
  }

  void TickedGamesAreThePresentOnes()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const qint64 folder = InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/snes/"));
    const qint64 ticked = TestGame(kSnes, QStringLiteral("Ticked")).Folder(folder).Selected().Insert(t.Db());
    TestGame(kSnes, QStringLiteral("Not ticked")).Folder(folder).Insert(t.Db());
    TestGame(kSnes, QStringLiteral("Missing")).Folder(folder).Selected().Missing().Insert(t.Db());
    TestGame(kSnes, QStringLiteral("No folder")).Selected().Insert(t.Db());
    TestGame(kGameboy, QStringLiteral("Other system")).Folder(folder).Selected().Insert(t.Db());
    QCOMPARE(TickedGameIds(t.Db(), feedback, kSnes).value_or(QList<qint64>()), QList<qint64>{ticked});
  }
};

QUILLON_TEST_CLASS(GameAddingTest)
#include "GameAddingTest.moc"
