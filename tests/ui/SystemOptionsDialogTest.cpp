// The options dialog: what its controls write, the lists and their buttons, the refused close, and
// a new user's first setup from an empty catalogue to a listed game.
#include "DialogFixture.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "ui/NewSystemDialog.h"
#include "ui/ScannerDialog.h"
#include "ui/SystemOptionsDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// SNES and Gameboy have tabs; SNES has three games in two ROM folders.
void SnesAndGameboy(TestScene& scene)
{
  scene.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID IN (?, ?) THEN 1 ELSE 0 END"),
             {kSnes, kGameboy});
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/roms/snes/"));
  const qint64 more = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/more/snes/"));
  TestGame(kSnes, QStringLiteral("Alpha")).File(QStringLiteral("a.smc")).Folder(roms).Genres({1}).Insert(scene.Db());
  TestGame(kSnes, QStringLiteral("Beta")).File(QStringLiteral("b.smc")).Folder(roms).Genres({1}).Insert(scene.Db());
  TestGame(kSnes, QStringLiteral("Gamma")).File(QStringLiteral("c.smc")).Folder(more).Genres({1}).Insert(scene.Db());
}

// What the options tell the window, when no window opened them.
class RecordingOptionsHost final : public SystemOptionsHost {
 public:
  void ScanAllSystems(QWidget*) override { ++scans; }
  void SystemOptionsClosed(const SystemOptionsChanges& changes) override { closes << changes; }

  int scans = 0;
  QList<SystemOptionsChanges> closes;
};

// The options as the main window opens them.
std::unique_ptr<SystemOptionsDialog> OptionsOf(WindowFixture& f)
{
  return std::make_unique<SystemOptionsDialog>(f.window->Context(), *f.window, f.window->CurrentSystemID(),
                                               f.window.get());
}

template <typename T>
T* Find(const QWidget& dialog, const char* name)
{
  T* found = dialog.findChild<T*>(QString::fromLatin1(name));
  if (!found)
    qWarning("no control %s", name);
  return found;
}

QString NodeText(SystemOptionsDialog& dialog)
{
  QTreeWidgetItem* item = Find<QTreeWidget>(dialog, "treSys")->currentItem();
  return item ? item->text(0) : QString();
}

}  // namespace

class SystemOptionsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ClosingNeedsAnEnabledSystem()
  {
    WindowFixture f(SnesAndGameboy);
    f.ShowTab(QStringLiteral("SNES"));
    const std::unique_ptr<SystemOptionsDialog> options = OptionsOf(f);
    SystemOptionsDialog& dialog = *options;
    dialog.show();
    auto* enabled = Find<QCheckBox>(dialog, "chkenabled");
    for (qint64 system : {kSnes, kGameboy}) {
      dialog.SelectSystem(system);
      QVERIFY(enabled->isChecked());
      enabled->click();
    }
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM System WHERE EnableTab <> 0")).toInt(), 0);
    QString message;
    const auto answer = WhenModal<QMessageBox>([&message](QMessageBox* box) {
      message = box->text();
      box->button(QMessageBox::Ok)->click();
    });
    Find<QPushButton>(dialog, "cmdclose")->click();
    QCOMPARE(message, QStringLiteral("At least one system must be enabled."));
    QVERIFY(dialog.isVisible());

    enabled->click();
    Find<QPushButton>(dialog, "cmdclose")->click();
    QVERIFY(!dialog.isVisible());
    // The main window keeps only the tab of the system still enabled.
    QCOMPARE(f.window->findChild<QTabBar*>(QStringLiteral("tbsSys"))->count(), 1);
    QCOMPARE(f.window->CurrentSettings().name, QStringLiteral("Gameboy"));
  }

  void FieldsWriteAtOnceWhatTheUserChanges()
  {
    ContextFixture f(SnesAndGameboy);
    RecordingOptionsHost host;
    SystemOptionsDialog dialog(f.Context(), host, kGameboy, nullptr);
    dialog.show();
    dialog.SelectSystem(3);
    QCOMPARE(dialog.CurSys(), 3);
    // Filling the controls writes nothing.
    QCOMPARE(f.Value(QStringLiteral("SELECT TimeOut FROM System WHERE SystemID = 3")).toInt(), 10);
    auto* timeOut = Find<QLineEdit>(dialog, "txttimeout");
    QCOMPARE(timeOut->text(), QStringLiteral("10"));
    timeOut->clear();
    QTest::keyClicks(timeOut, QStringLiteral("0"));
    QCOMPARE(f.Value(QStringLiteral("SELECT TimeOut FROM System WHERE SystemID = 3")).toInt(), 1);
    emit timeOut->editingFinished();
    QCOMPARE(timeOut->text(), QStringLiteral("1"));

    auto* extensions = Find<QLineEdit>(dialog, "txtcustomext");
    extensions->clear();
    QTest::keyClicks(extensions, QStringLiteral("sfc"));
    QCOMPARE(f.Value(QStringLiteral("SELECT DefaultRomType FROM System WHERE SystemID = 3")).toString(),
             QStringLiteral("sfc"));
    Find<QCheckBox>(dialog, "chkdontrename")->click();
    QCOMPARE(f.Value(QStringLiteral("SELECT Rename FROM System WHERE SystemID = 3")).toInt(), 0);

    // The GoodTool frame belongs to systems with a GoodTools program.
    auto* goodTool = Find<QGroupBox>(dialog, "frmgoodtool");
    QVERIFY(goodTool->isEnabled());
    dialog.SelectSystem(1);
    QVERIFY(!goodTool->isEnabled());
    dialog.SelectSystem(29);
    auto* name = Find<QLineEdit>(dialog, "txtsystem");
    name->setText(QStringLiteral("Zinc"));
    emit name->editingFinished();
    QVERIFY(!goodTool->isEnabled());
    QCOMPARE(NodeText(dialog), QStringLiteral("Zinc"));
    QCOMPARE(f.Value(QStringLiteral("SELECT System FROM System WHERE SystemID = 29")).toString(),
             QStringLiteral("Zinc"));
    // A name another system has is refused and the box shows the stored one again.
    name->setText(QStringLiteral("snes"));
    emit name->editingFinished();
    QCOMPARE(name->text(), QStringLiteral("Zinc"));

    // Every system's name fits the tree, also after a rename to a longer one.
    auto* tree = Find<QTreeWidget>(dialog, "treSys");
    const auto namesFit = [tree] {
      tree->expandAll();
      tree->header()->setStretchLastSection(false);
      tree->resizeColumnToContents(0);
      const int needed = tree->columnWidth(0);
      tree->header()->setStretchLastSection(true);
      QCoreApplication::processEvents();
      return tree->viewport()->width() >= needed;
    };
    QVERIFY(namesFit());
    name->setText(QStringLiteral("Zinc Arcade Boards (Sony ZN-1 and ZN-2)"));
    emit name->editingFinished();
    QVERIFY(namesFit());

    // Dropping a system on another type moves it there.
    dialog.MoveSystem(29, 4);
    QCOMPARE(Find<QTreeWidget>(dialog, "treSys")->currentItem()->parent()->text(0), QStringLiteral("Arcade"));
    QCOMPARE(f.Value(QStringLiteral("SELECT SType FROM System WHERE SystemID = 29")).toInt(), 4);
  }

  void RemovingARomFolderTakesItsGamesOutOfTheList()
  {
    WindowFixture f(SnesAndGameboy);
    f.ShowTab(QStringLiteral("SNES"));
    QCOMPARE(f.ListedNames(), (QStringList{"Alpha", "Beta", "Gamma"}));
    const std::unique_ptr<SystemOptionsDialog> options = OptionsOf(f);
    SystemOptionsDialog& dialog = *options;
    dialog.show();
    QCOMPARE(dialog.CurSys(), kSnes);
    auto* folders = Find<QListWidget>(dialog, "lstrompaths");
    auto* remove = Find<QPushButton>(dialog, "cmdremrompath");
    QCOMPARE(folders->count(), 2);
    QVERIFY(!remove->isEnabled());
    folders->setCurrentRow(0);
    QVERIFY(remove->isEnabled());
    remove->click();
    QCOMPARE(folders->count(), 1);
    QVERIFY(dialog.UpdateList());
    Find<QPushButton>(dialog, "cmdclose")->click();
    QCOMPARE(f.ListedNames(), QStringList{"Gamma"});
  }

  // "New System..." asks name and type and selects the new system, its tab off until its first
  // folder; "Delete System" asks before it takes a system with games, and the window follows.
  void NewAndDeleteSystem()
  {
    WindowFixture f(SnesAndGameboy);
    f.ShowTab(QStringLiteral("SNES"));
    const std::unique_ptr<SystemOptionsDialog> options = OptionsOf(f);
    SystemOptionsDialog& dialog = *options;
    dialog.SetFolderChooser([&f](QWidget*, const QString&, const QString&) { return f.Path("roms/pippin"); });
    dialog.show();
    {
      const auto fill = WhenModal<NewSystemDialog>([](NewSystemDialog* ask) {
        Find<QLineEdit>(*ask, "txtnewsystem")->setText(QStringLiteral("Pippin"));
        auto* type = Find<QComboBox>(*ask, "cmbnewsystemtype");
        type->setCurrentIndex(type->findText(QStringLiteral("Consoles")));
        Find<QLineEdit>(*ask, "txtnewextensions")->setText(QStringLiteral("cue;m3u;chd"));
        Find<QPushButton>(*ask, "cmdnewsystemok")->click();
      });
      Find<QPushButton>(dialog, "cmdnewsystem")->click();
    }
    QCOMPARE(NodeText(dialog), QStringLiteral("Pippin"));
    const qint64 pippin = dialog.CurSys();
    QCOMPARE(f.Value("SELECT System || '|' || SType || '|' || DefaultRomType || '|' || EnableTab FROM System WHERE "
                     "SystemID = ?",
                     {pippin})
                 .toString(),
             QStringLiteral("Pippin|1|cue;m3u;chd|0"));
    QVERIFY(!Find<QCheckBox>(dialog, "chkenabled")->isChecked());
    // Its first ROM folder switches its tab on, and the dialog shows it.
    Find<QPushButton>(dialog, "cmdaddrompath")->click();
    QVERIFY(Find<QCheckBox>(dialog, "chkenabled")->isChecked());

    // Without games it goes at once.
    Find<QPushButton>(dialog, "cmddeletesystem")->click();
    QCOMPARE(f.Value("SELECT count(*) FROM System WHERE SystemID = ?", {pippin}).toInt(), 0);

    // SNES has games: No keeps it, Yes deletes it with its games.
    dialog.SelectSystem(kSnes);
    for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
      const auto reply = WhenModal<QMessageBox>([answer](QMessageBox* box) { box->button(answer)->click(); });
      Find<QPushButton>(dialog, "cmddeletesystem")->click();
    }
    QCOMPARE(f.Value("SELECT count(*) FROM Games WHERE System = ?", {kSnes}).toInt(), 0);
    QCOMPARE(f.Value("SELECT count(*) FROM System WHERE SystemID = ?", {kSnes}).toInt(), 0);
    Find<QPushButton>(dialog, "cmdclose")->click();
    const QTabBar* tabs = f.window->findChild<QTabBar*>(QStringLiteral("tbsSys"));
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Gameboy"));
  }

  void SiteListsAndTheirButtons()
  {
    ContextFixture f(SnesAndGameboy);
    RecordingOptionsHost host;
    SystemOptionsDialog dialog(f.Context(), host, kGameboy, nullptr);
    dialog.show();
    dialog.SelectSystem(3);
    auto* sites = Find<QListWidget>(dialog, "lstImgURL");
    auto* removeSite = Find<QPushButton>(dialog, "cmdremImgURL");
    auto* addIgnore = Find<QPushButton>(dialog, "cmdaddignore");
    auto* removeIgnore = Find<QPushButton>(dialog, "cmdremignore");
    QVERIFY(!removeSite->isEnabled() && !addIgnore->isEnabled() && !removeIgnore->isEnabled());

    QString title;
    std::unique_ptr<QTimer> watcher;
    const auto answer = [&title, &watcher](const QString& text) {
      watcher = WhenModal<QInputDialog>([&title, text](QInputDialog* box) {
        title = box->windowTitle() + QLatin1Char('|') + box->labelText();
        box->setTextValue(text);
        box->accept();
      });
    };
    answer(QStringLiteral("https://pics.example/?q="));
    Find<QPushButton>(dialog, "Command1")->click();
    QCOMPARE(title, QStringLiteral("Image Search URL|Enter URL:"));
    QCOMPARE(sites->count(), 1);
    QVERIFY(sites->currentItem()->isSelected());
    QVERIFY(removeSite->isEnabled() && addIgnore->isEnabled());

    answer(QStringLiteral("https://pics.example/bad.jpg"));
    addIgnore->click();
    QCOMPARE(title, QStringLiteral("Ignore Image URL|Enter URL:"));
    auto* ignore = Find<QListWidget>(dialog, "lstignore");
    QCOMPARE(ignore->count(), 1);
    // An empty answer adds nothing.
    answer(QString());
    addIgnore->click();
    QCOMPARE(ignore->count(), 1);
    ignore->setCurrentRow(0);
    QVERIFY(removeIgnore->isEnabled());

    sites->clearSelection();
    QVERIFY(!removeSite->isEnabled() && !addIgnore->isEnabled() && !removeIgnore->isEnabled());
    QCOMPARE(ignore->count(), 0);
    sites->setCurrentRow(0);
    removeSite->click();
    QCOMPARE(sites->count(), 0);
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM IgnoreList")).toInt(), 0);
  }

  void FirstSetupFromAnEmptyCatalogue()
  {
    WindowFixture f;
    QVERIFY(TouchFile(f.Path(QStringLiteral("roms/Super Game.sfc"))));
    QVERIFY(TouchFile(f.Path(QStringLiteral("roms/readme.txt"))));
    const std::unique_ptr<SystemOptionsDialog> options = OptionsOf(f);
    SystemOptionsDialog& dialog = *options;
    dialog.show();
    // The dialog opens where a new user has work to do, and says what it is.
    QCOMPARE(Find<QTabWidget>(dialog, "tbsSystems")->currentWidget()->objectName(), QStringLiteral("frmRoms"));
    QVERIFY(Find<QLabel>(dialog, "lblfirstuse")->isVisible());
    auto* scanNow = Find<QPushButton>(dialog, "cmdAutoScan");
    QVERIFY(!scanNow->isEnabled());
    QVERIFY(dialog.CurSys() != 0);

    dialog.SelectSystem(3);
    QString title;
    dialog.SetFolderChooser([&title, &f](QWidget*, const QString& caption, const QString&) {
      title = caption;
      return f.Path(QStringLiteral("roms"));
    });
    Find<QPushButton>(dialog, "cmdaddrompath")->click();
    QCOMPARE(title, QStringLiteral("Select Rom Folder"));
    QCOMPARE(Find<QListWidget>(dialog, "lstrompaths")->item(0)->text(), f.Path(QStringLiteral("roms/")));
    QVERIFY(!Find<QLabel>(dialog, "lblfirstuse")->isVisible());
    QVERIFY(scanNow->isEnabled());
    auto* extensions = Find<QLineEdit>(dialog, "txtcustomext");
    extensions->clear();
    QTest::keyClicks(extensions, QStringLiteral("sfc;smc"));

    // The scan runs at once in the scanner, in front of the options, and stays there with its
    // summary until it is closed.
    QWidget* scannerParent = nullptr;
    QString summary;
    const auto scan = WhenModal<ScannerDialog>(
        [&](ScannerDialog* scanner) {
          scannerParent = scanner->parentWidget();
          summary = scanner->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
          QVERIFY(!scanner->findChild<QPushButton*>(QStringLiteral("cmdSetup"))->isEnabled());
          scanner->findChild<QPushButton*>(QStringLiteral("cmdclose"))->click();
        },
        [](ScannerDialog* scanner) {
          return !scanner->IsScanning() && scanner->ResultLines().contains(QStringLiteral("Done."));
        });
    scanNow->click();
    QCOMPARE(scannerParent, &dialog);
    QCOMPARE(summary, QStringLiteral("Done: 1 folder(s) scanned, 1 file(s) found.\n"
                                     "1 game(s) added, 0 updated, 0 missing, 0 error(s)."));
    QVERIFY(dialog.isVisible());
    QCOMPARE(f.Value(QStringLiteral("SELECT FullName FROM Games WHERE System = 3")).toString(),
             QStringLiteral("Super Game"));
    Find<QPushButton>(dialog, "cmdclose")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(f.window->CurrentSettings().name, QStringLiteral("SNES"));
    QCOMPARE(f.ListedNames(), QStringList{"Super Game"});
  }
};

QUILLON_TEST_CLASS(SystemOptionsDialogTest)
#include "SystemOptionsDialogTest.moc"
