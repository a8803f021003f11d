// Adding ROM files as games without a main window: what the host is asked, and what is added.
#include "DialogFixture.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "ui/GameCommands.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// Takes note of what a game command asks of the window.
class RecordingHost final : public GameCommandHost {
 public:
  void LockControls(bool lock, const QString& section) override
  {
    calls << (QString::fromLatin1(lock ? "lock " : "unlock ") + section).trimmed();
  }
  void RefreshList() override { calls << QStringLiteral("list"); }
  int ListedGameCount() const override { return 0; }
  void RefreshSettings() override { calls << QStringLiteral("settings"); }

  QStringList calls;
};

}  // namespace

class GameCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void AddedFilesBecomeGamesWithTheWindowLocked()
  {
    ContextFixture f([](TestScene& scene) {
      InsertRomPath(scene.Db(), kSnes, scene.Path(QStringLiteral("roms/")));
      scene.Exec(QStringLiteral("UPDATE System SET Rename = 0 WHERE SystemID = ?"), {kSnes});
    });
    QVERIFY(TouchFile(f.Path(QStringLiteral("roms/Alpha (U).smc"))));
    QVERIFY(TouchFile(f.Path(QStringLiteral("roms/Beta (E).smc"))));
    RecordingHost host;
    AddGameFiles(f.Context(), host, kSnes,
                 {f.Path(QStringLiteral("roms/Alpha (U).smc")), f.Path(QStringLiteral("roms/no such file.smc")),
                  f.Path(QStringLiteral("roms/Beta (E).smc"))});
    QCOMPARE(host.calls, (QStringList{"lock", "unlock", "settings", "list"}));
    QCOMPARE(f.Value(QStringLiteral("SELECT group_concat(FileName, '|') FROM (SELECT FileName FROM Games WHERE "
                                    "System = ? ORDER BY FileName)"),
                     {kSnes})
                 .toString(),
             QStringLiteral("Alpha (U).smc|Beta (E).smc"));

    // Nothing to add, or no system: the window is not disturbed.
    host.calls.clear();
    AddGameFiles(f.Context(), host, kSnes, {});
    AddGameFiles(f.Context(), host, 0, {f.Path(QStringLiteral("roms/Alpha (U).smc"))});
    QVERIFY(host.calls.isEmpty());
  }
};

QUILLON_TEST_CLASS(GameCommandsTest)
#include "GameCommandsTest.moc"
