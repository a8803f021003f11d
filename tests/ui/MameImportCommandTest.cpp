// The Mame command of the main window: its file dialog, and an import that refills the Arcade tab.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Session.h"
#include "ui/GameListModel.h"
#include "ui/MainWindow.h"
#include "ui/MameImportCommand.h"

#include <QAbstractProxyModel>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::test;

namespace {

// The names the dialog lists in `folder`, sorted.
QStringList ListedNames(QFileDialog& dialog, const QString& folder)
{
  QAbstractProxyModel* proxy = dialog.proxyModel();
  const auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
  const QModelIndex parent = proxy->mapFromSource(files->index(folder));
  QStringList names;
  for (int row = 0; row < proxy->rowCount(parent); ++row)
    names << proxy->index(row, 0, parent).data().toString();
  names.sort();
  return names;
}

// Variables for the stand-in Mame, set while it exists.
class EnvironmentForMame {
 public:
  explicit EnvironmentForMame(std::initializer_list<std::pair<const char*, QByteArray>> values)
  {
    for (const auto& [name, value] : values) {
      qputenv(name, value);
      m_names << name;
    }
  }
  ~EnvironmentForMame()
  {
    for (const char* name : m_names)
      qunsetenv(name);
  }

 private:
  QList<const char*> m_names;
};

}  // namespace

class MameImportCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void DialogOffersProgramsOnly()
  {
    QTemporaryDir dir;
    for (const char* name : {"mame", "mame.exe", "notes.txt", "sub/x"})
      QVERIFY(TouchFile(dir.filePath(QString::fromLatin1(name))));
    const std::unique_ptr<QFileDialog> dialog(ui::CreateMameDialog(nullptr));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Import from Mame"));
    QVERIFY(dialog->nameFilters().contains(QStringLiteral("Executable (*.exe)")));
    dialog->setDirectory(dir.path());
    QTRY_COMPARE(ListedNames(*dialog, dir.path()),
                 QStringList({QStringLiteral("mame"), QStringLiteral("mame.exe"), QStringLiteral("sub")}));
  }

  void ImportRefillsTheArcadeList()
  {
    TestCatalogue t;
    t.Close();
    Session session;
    SilentFeedback silent;
    QString message;
    QCOMPARE(session.Open(t.Folder(), DeliveredCatalogue(), silent, &message), OpenOutcome::Opened);
    {
      ui::MainWindow window(session);
      window.Start();
      QCOMPARE(window.findChild<QTabBar*>(QStringLiteral("tbsSys"))->tabText(0), QStringLiteral("Arcade"));
      window.FilterGenre(false, true);  // imported games are missing until a ROM scan finds them
      QCOMPARE(window.ListModel().rowCount(), 0);

      const MameImportSummary summary =
          ui::RunMameImport(window.Context(), window, &window, TestDataPath(QStringLiteral("mame/fake-mame.sh")));
      QVERIFY(summary.succeeded);
      QCOMPARE(window.ListModel().rowCount(), 14);  // clones hidden
      QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblstatus"))->text(), QStringLiteral("Status: Done."));
      QVERIFY(window.menuBar()->isEnabled());
    }
    session.Close(silent, false);
  }

  void CancelStopsAMameThatHangs()
  {
    const EnvironmentForMame hang({{"FAKE_MAME_HANG", "-listxml"}, {"FAKE_MAME_HANG_BYTES", "20000"}});
    TestCatalogue t;
    t.Close();
    Session session;
    SilentFeedback silent;
    QString message;
    QCOMPARE(session.Open(t.Folder(), DeliveredCatalogue(), silent, &message), OpenOutcome::Opened);
    {
      ui::MainWindow window(session);
      window.Start();
      // Cancel once the progress dialog has shown for half a second: by then Mame has printed what
      // it prints and hangs (the status line shows only a few of the games it reads, so it is no
      // sign to wait for).
      QTimer clicker;
      int shownTicks = 0;
      QObject::connect(&clicker, &QTimer::timeout, &window, [&window, &shownTicks] {
        auto* progress = window.findChild<QProgressDialog*>(QStringLiteral("MameProgress"));
        if (progress && progress->isVisible() && ++shownTicks == 5)
          progress->findChild<QPushButton*>()->click();
      });
      clicker.start(100);
      const MameImportSummary summary =
          ui::RunMameImport(window.Context(), window, &window, TestDataPath(QStringLiteral("mame/fake-mame.sh")));
      clicker.stop();
      QVERIFY(!summary.committed);
      QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblstatus"))->text(),
               QStringLiteral("Status: Error - 18-(MameImport)-The import was cancelled; Mame was stopped and the "
                              "catalogue is unchanged."));
      QVERIFY(!window.findChild<QProgressDialog*>(QStringLiteral("MameProgress")));
      QVERIFY(window.menuBar()->isEnabled());
    }
    session.Close(silent, false);
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE System = 1")).toInt(), 0);
  }
};

QUILLON_TEST_CLASS(MameImportCommandTest)
#include "MameImportCommandTest.moc"
