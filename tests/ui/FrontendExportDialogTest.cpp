// File > Export > ES-DE, Pegasus and RetroArch: the menu, the one dialog for the three formats run
// on real files from the main window, and the front-end names in the system options.
#include "DialogFixture.h"
#include "FrontendReaders.h"
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "catalogue/StructureUpgrade.h"
#include "ui/FrontendExportDialog.h"
#include "ui/SystemOptionsDialog.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

template <typename T>
T* Find(const QWidget& dialog, const char* name)
{
  T* found = dialog.findChild<T*>(QString::fromLatin1(name));
  if (!found)
    qWarning("no control %s", name);
  return found;
}

// SNES and the Genesis have tabs and one game each, on disk below `roms`.
SceneSetUp TwoSystems(const QString& roms)
{
  return [roms](TestScene& scene) {
    constexpr qint64 kGenesis = 2;
    TouchFile(roms + "/snes/Widget (USA).sfc");
    TouchFile(roms + "/gen/Sonic (USA).bin");
    scene.Exec("UPDATE System SET EnableTab = CASE WHEN SystemID IN (?, ?) THEN 1 ELSE 0 END", {kGenesis, kSnes});
    const qint64 snesRoms = InsertRomPath(scene.Db(), kSnes, roms + "/snes/");
    const qint64 genesisRoms = InsertRomPath(scene.Db(), kGenesis, roms + "/gen/");
    TestGame(kSnes, "Widget").File("Widget (USA).sfc").Folder(snesRoms).Selected().Genres({1}).Insert(scene.Db());
    TestGame(kGenesis, "Sonic").File("Sonic (USA).bin").Folder(genesisRoms).Selected().Genres({1}).Insert(scene.Db());
  };
}

QByteArray ReadFile(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Ticked(const QListWidget& list)
{
  QStringList names;
  for (int row = 0; row < list.count(); ++row) {
    if (list.item(row)->checkState() == Qt::Checked)
      names << list.item(row)->text();
  }
  return names;
}

}  // namespace

class FrontendExportDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void TheWindowExportsTwoSystems_data()
  {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("frontend");
    QTest::newRow("ES-DE") << "ExportEsde"
                           << "ES-DE..."
                           << "ES-DE";
    QTest::newRow("Pegasus") << "ExportPegasus"
                             << "Pegasus..."
                             << "Pegasus";
    QTest::newRow("RetroArch") << "ExportRetroArch"
                               << "RetroArch..."
                               << "RetroArch";
  }

  void TheWindowExportsTwoSystems()
  {
    QFETCH(QString, action);
    QFETCH(QString, caption);
    QFETCH(QString, frontend);
    QTemporaryDir roms;
    WindowFixture f(TwoSystems(roms.path()));
    f.ShowTab("SNES");
    QAction* command = f.window->Action(action);
    QVERIFY(command && command->isEnabled());
    QCOMPARE(command->text(), caption);

    const QString dest = roms.filePath("out");
    QStringList shownTicked;
    QStringList summaries;
    QList<QByteArray> outputs;
    const auto run = WhenModal<FrontendExportDialog>([&](FrontendExportDialog* dialog) {
      auto* systems = Find<QListWidget>(*dialog, "lstsystems");
      shownTicked = Ticked(*systems);
      for (int row = 0; row < systems->count(); ++row)
        systems->item(row)->setCheckState(Qt::Checked);
      if (auto* folder = dialog->findChild<QRadioButton*>("optfolder"))
        folder->setChecked(true);
      Find<QLineEdit>(*dialog, "txtdest")->setText(dest);
      for (int pass = 0; pass < 2; ++pass) {
        Find<QPushButton>(*dialog, "cmdexport")->click();
        summaries << Find<QPlainTextEdit>(*dialog, "txtsummary")->toPlainText();
        QByteArray content;
        for (const QString& file : dialog->Result().files)
          content += ReadFile(file);
        outputs << content;
      }
      Find<QPushButton>(*dialog, "cmdclose")->click();
    });
    command->trigger();
    QCOMPARE(shownTicked, QStringList{"SNES"});
    QCOMPARE(summaries.size(), 2);
    QVERIFY2(summaries[0].startsWith("2 games written to 2 files for " + frontend + "."), qPrintable(summaries[0]));
    QVERIFY2(summaries[1].contains("2 files were already up to date."), qPrintable(summaries[1]));
    QVERIFY(!outputs[0].isEmpty());
    QCOMPARE(outputs[1], outputs[0]);
    QVERIFY(f.StatusText().contains("2 game(s) exported to " + frontend + "."));
    if (frontend == "ES-DE") {
      const EsdeGamelist snes = ReadEsdeGamelist(dest + "/gamelists/snes/gamelist.xml", roms.filePath("snes"));
      QVERIFY2(snes.errors.isEmpty(), qPrintable(snes.errors.join('\n')));
      QCOMPARE(snes.games.first().fields.value("name"), QStringLiteral("Widget"));
    } else if (frontend == "Pegasus") {
      const PegasusMetadata genesis = ReadPegasusMetadata(dest + "/genesis/metadata.pegasus.txt");
      QVERIFY2(genesis.errors.isEmpty(), qPrintable(genesis.errors.join('\n')));
    } else {
      const RetroArchPlaylistFile snes =
          ReadRetroArchPlaylist(dest + "/playlists/Nintendo - Super Nintendo Entertainment System.lpl");
      QVERIFY2(snes.errors.isEmpty(), qPrintable(snes.errors.join('\n')));
    }
    // The window is usable again.
    QVERIFY(f.window->menuBar()->isEnabled());
  }

  void PegasusChoosesBetweenRomFoldersAndAFolder()
  {
    QTemporaryDir roms;
    WindowFixture f(TwoSystems(roms.path()));
    RecordingFeedback feedback;
    QList<bool> locks;
    FrontendExportDialog dialog(FrontendFormat::Pegasus,
                                {&f.Db(), &feedback, 2, [&locks](bool lock) { locks << lock; }});
    auto* romFolders = Find<QRadioButton>(dialog, "optromfolders");
    auto* dest = Find<QLineEdit>(dialog, "txtdest");
    QVERIFY(romFolders->isChecked());
    QVERIFY(!dest->isEnabled());
    QCOMPARE(Ticked(*Find<QListWidget>(dialog, "lstsystems")), QStringList{"Sega Genesis /32X"});

    Find<QRadioButton>(dialog, "optnone")->setChecked(true);
    dialog.Export();
    QVERIFY(dialog.Result().Succeeded());
    QCOMPARE(locks, QList<bool>({true, false}));
    QVERIFY(ReadPegasusMetadata(roms.filePath("gen/metadata.pegasus.txt")).errors.isEmpty());

    dialog.SetFolderChooser([&roms](QWidget*, const QString&, const QString&) { return roms.filePath("pegasus"); });
    Find<QToolButton>(dialog, "cmddest")->click();
    QVERIFY(Find<QRadioButton>(dialog, "optfolder")->isChecked());
    QVERIFY(dest->isEnabled());
    dialog.Export();
    QCOMPARE(dialog.Result().files, QStringList{roms.filePath("pegasus/genesis/metadata.pegasus.txt")});

    // Nothing ticked: nothing runs.
    Find<QListWidget>(dialog, "lstsystems")->item(0)->setCheckState(Qt::Unchecked);
    Find<QListWidget>(dialog, "lstsystems")->item(1)->setCheckState(Qt::Unchecked);
    dialog.Export();
    QCOMPARE(Find<QPlainTextEdit>(dialog, "txtsummary")->toPlainText(), QStringLiteral("Tick the systems to export."));
    QCOMPARE(locks.size(), 4);
  }

  void OptionsShowAndWriteTheFrontendNames()
  {
    WindowFixture f([](TestScene& scene) {
      scene.Exec("UPDATE System SET EnableTab = CASE WHEN SystemID IN (3, 29) THEN 1 ELSE 0 END");
    });
    SilentUpgradeDisplay display;
    RecordingFeedback upgrade;
    UpdateDb(f.Db(), upgrade, display);
    f.ShowTab("SNES");
    SystemOptionsDialog dialog(f.window->Context(), *f.window, f.window->CurrentSystemID(), f.window.get());
    dialog.SelectSystem(3);
    auto* esde = Find<QLineEdit>(dialog, "txtesdename");
    QCOMPARE(esde->text(), QString());
    QCOMPARE(esde->placeholderText(), QStringLiteral("snes"));
    QCOMPARE(Find<QLineEdit>(dialog, "txtsoftwarelists")->placeholderText(),
             QStringLiteral("snes;snes_bspack;snes_strom"));
    QTest::keyClicks(esde, "sfc");
    QCOMPARE(f.Value("SELECT EsdeName FROM System WHERE SystemID = 3").toString(), QStringLiteral("sfc"));
    esde->selectAll();
    QTest::keyClick(esde, Qt::Key_Backspace);
    QVERIFY(f.Value("SELECT EsdeName FROM System WHERE SystemID = 3").isNull());
    dialog.SelectSystem(29);
    QCOMPARE(esde->placeholderText(), QStringLiteral("none: set one to export"));
  }
};

QUILLON_TEST_CLASS(FrontendExportDialogTest)
#include "FrontendExportDialogTest.moc"
