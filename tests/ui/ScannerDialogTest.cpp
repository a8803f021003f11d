// The scanner dialog: a scan started from it shows its progress and stays open with a summary of
// what it did until the user closes it.
#include "DialogFixture.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "ui/ScannerDialog.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// SNES has a ROM folder with three files and a game whose file is gone.
void SnesWithRoms(TestScene& scene)
{
  scene.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID IN (?, ?) THEN 1 ELSE 0 END"),
             {kSnes, kGameboy});
  scene.Exec(QStringLiteral("UPDATE System SET DefaultRomType = 'smc' WHERE SystemID = ?"), {kSnes});
  for (const char* name : {"Alpha (U).smc", "Beta (E).smc", "deep/Gamma (J).smc"})
    TouchFile(scene.Path(QStringLiteral("roms/snes/") + QString::fromUtf8(name)));
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, scene.Path(QStringLiteral("roms/snes/")));
  TestGame(kSnes, QStringLiteral("Gone")).File(QStringLiteral("gone.smc")).Folder(roms).Genres({1}).Insert(scene.Db());
}

}  // namespace

class ScannerDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ScanLeavesItsSummaryUntilClosed()
  {
    WindowFixture f(SnesWithRoms);
    f.ShowTab(QStringLiteral("SNES"));
    bool stayedOpen = false;
    bool closeEnabled = false;
    QString summary;
    QStringList lines;
    QList<int> progress;
    const auto scan = WhenModal<ScannerDialog>([&](ScannerDialog* scanner) {
      auto* bar = scanner->findChild<QProgressBar*>(QStringLiteral("prgScan"));
      QSignalSpy values(bar, &QProgressBar::valueChanged);
      scanner->findChild<QPushButton*>(QStringLiteral("cmdScanNow"))->click();
      for (const QList<QVariant>& value : values)
        progress << value.first().toInt();
      stayedOpen = scanner->isVisible();
      closeEnabled = scanner->findChild<QPushButton*>(QStringLiteral("cmdclose"))->isEnabled();
      summary = scanner->findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
      lines = scanner->ResultLines();
      scanner->findChild<QPushButton*>(QStringLiteral("cmdclose"))->click();
    });
    f.window->Action(QStringLiteral("RomScanMenu"))->trigger();

    QVERIFY(stayedOpen);
    QVERIFY(closeEnabled);
    QCOMPARE(summary, QStringLiteral("Done: 1 folder(s) scanned, 3 file(s) found.\n"
                                     "3 game(s) added, 0 updated, 1 missing, 0 error(s)."));
    QVERIFY(lines.contains(QStringLiteral("          Found - Gamma (J).smc")));
    QCOMPARE(lines.last(), QStringLiteral("Done."));
    // The dialog's bar follows the files of the folder and ends full.
    QVERIFY2(progress.indexOf(1) >= 0 && progress.indexOf(1) < progress.indexOf(2) &&
                 progress.indexOf(2) < progress.indexOf(3),
             qPrintable(QString::number(progress.size())));
    // The main list was rebuilt (full names keep the blank before their tags).
    QCOMPARE(f.ListedNames(), (QStringList{"Alpha ", "Beta ", "Gamma "}));
  }
};

QUILLON_TEST_CLASS(ScannerDialogTest)
#include "ScannerDialogTest.moc"
