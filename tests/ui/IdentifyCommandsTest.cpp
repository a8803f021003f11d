// The window's identification commands on a folder of ROM files made by the test: the reference
// lists window, Verify Roms with its summary, the list's marks and filter, and Rename to Standard
// Names after its question.
#include "DialogFixture.h"
#include "RecordingFeedback.h"
#include "RomFiles.h"
#include "SilentUpgradeDisplay.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "catalogue/StructureUpgrade.h"
#include "identify/RomIndex.h"
#include "names/FileNameTags.h"
#include "ui/GameListModel.h"
#include "ui/IdentifyCommands.h"
#include "ui/IdentifyResultsDialog.h"
#include "ui/ReferenceListsDialog.h"

#include <QAction>
#include <QDir>
#include <QIcon>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

TestEntry Entry(const char* name, quint32 seed, const char* year, const char* maker)
{
  const QString title = QString::fromUtf8(name);
  return {title,
          title,
          QString::fromUtf8(year),
          QString::fromUtf8(maker),
          QString(),
          {{title + QStringLiteral(".sfc"), RandomRom(seed, 4096), QString(), QString()}}};
}

// SNES alone, with a ROM folder of four files (one named as the list names it) and their games.
void SnesWithRoms(TestScene& f)
{
  f.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID = ? THEN 1 ELSE 0 END"), {kSnes});
  const QString roms = f.Path(QStringLiteral("roms/"));
  const qint64 folder = InsertRomPath(f.Db(), kSnes, roms);
  const QList<QPair<QString, QByteArray>> files{{QStringLiteral("Alpha Quest (USA).sfc"), RandomRom(1, 4096)},
                                                {QStringLiteral("beta.sfc"), RandomRom(2, 4096)},
                                                {QStringLiteral("delta.smc"), CopierHeadered(RandomRom(3, 4096))},
                                                {QStringLiteral("homebrew.sfc"), RandomRom(9, 4096)}};
  for (const auto& [name, data] : files) {
    QVERIFY(WriteFile(roms + name, data));
    TestGame(kSnes, ScannedFullName(name)).File(name).Folder(folder).Selected().Genres({1}).Insert(f.Db());
  }
  TestList list{QStringLiteral("Test - Super Widget System"), QStringLiteral("20240101"), {}};
  list.entries << Entry("Alpha Quest (USA)", 1, "1991", "Acme") << Entry("Beta Racer (Europe)", 2, "1992", "Acme")
               << Entry("Delta Drive (Japan)", 3, "1993", "Bolt") << Entry("Omega (USA)", 4, "1994", "Acme");
  QVERIFY(WriteLogiqx(f.Path(QStringLiteral("widgets.dat")), list));
}

// What the start's upgrade window does before the main window reads a table.
void Upgrade(WindowFixture& f)
{
  RecordingFeedback feedback;
  SilentUpgradeDisplay display;
  UpdateDb(f.Db(), feedback, display);
}

// The list's rows as "name [result]".
QStringList MarkedRows(WindowFixture& f)
{
  QStringList rows;
  const GameListModel& model = f.window->ListModel();
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex index = model.index(row, GameListModel::kNameColumn);
    const bool marked = !index.data(Qt::DecorationRole).value<QIcon>().isNull();
    rows << index.data(Qt::DisplayRole).toString() +
                (marked
                     ? QStringLiteral(" [") + MatchStatusText(static_cast<MatchStatus>(model.RowAt(row)->matchStatus)) +
                           QLatin1Char(']')
                     : QString());
  }
  return rows;
}

}  // namespace

class IdentifyCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsVerifyFilterAndRename()
  {
    WindowFixture f(SnesWithRoms);
    Upgrade(f);
    f.ShowTab(QStringLiteral("SNES"));
    f.window->FilterGenre();
    QCOMPARE(f.window->ListModel().rowCount(), 4);

    // File > Import > Reference Lists: the window imports through its file chooser.
    QStringList shownLists;
    const auto listsWindow = WhenModal<ReferenceListsDialog>([&](ReferenceListsDialog* dialog) {
      dialog->SetFileChooser([&f] { return QStringList{f.Path(QStringLiteral("widgets.dat"))}; });
      dialog->findChild<QPushButton*>(QStringLiteral("cmdImport"))->click();
      QTreeWidgetItem* item = dialog->Lists().topLevelItem(0);
      shownLists << (item ? item->text(0) + ' ' + item->text(1) + ' ' + item->text(2) : QString());
      dialog->findChild<QPushButton*>(QStringLiteral("cmdclose"))->click();
    });
    f.window->Action(QStringLiteral("ImportDat"))->trigger();
    QCOMPARE(shownLists, QStringList{QStringLiteral("Test - Super Widget System 20240101 4")});

    // Scan > Roms > Verify Roms: progress on the status line, then the summary window.
    QString summary;
    int resultRows = 0;
    const auto results = WhenModal<IdentifyResultsDialog>([&](IdentifyResultsDialog* dialog) {
      summary = dialog->SummaryText();
      resultRows = dialog->Table().topLevelItemCount();
      dialog->reject();
    });
    QVERIFY(f.window->Action(QStringLiteral("VerifyRoms"))->isEnabled());
    f.window->Action(QStringLiteral("VerifyRoms"))->trigger();
    QCOMPARE(summary, QStringLiteral("Have 3 / missing from the list 1. verified 1, rename needed 2, bad dump 0, not "
                                     "in list 1, ambiguous 0."));
    QCOMPARE(resultRows, 4);
    QCOMPARE(f.StatusText(), QStringLiteral("Status: ") + summary);
    QVERIFY(f.window->menuBar()->isEnabled());
    // The list shows each game's result and what the lists filled in.
    QCOMPARE(MarkedRows(f),
             QStringList({QStringLiteral("Alpha Quest [verified]"), QStringLiteral("Beta Racer [rename needed]"),
                          QStringLiteral("Delta Drive [rename needed]"), QStringLiteral("homebrew [not in list]")}));
    const int beta = f.window->ListModel().RowOfGame(
        f.Value(QStringLiteral("SELECT GameID FROM Games WHERE FileName = 'beta.sfc'")).toLongLong());
    QVERIFY(f.window->ListModel()
                .index(beta, 0)
                .data(Qt::ToolTipRole)
                .toString()
                .endsWith(QStringLiteral("rename needed: Beta Racer (Europe)")));
    QCOMPARE(f.Value(QStringLiteral("SELECT Year.Year || ' ' || Manufacturer.Manufacturer FROM Games "
                                    "INNER JOIN Year ON Year.YearID = Games.Year INNER JOIN Manufacturer "
                                    "ON Manufacturer.ManufacturerID = Games.Manufacturer WHERE FileName = 'beta.sfc'"))
                 .toString(),
             QStringLiteral("1992 Acme"));

    // View > Verification filters the list by result.
    f.window->Action(QStringLiteral("VerifyFilterRenameNeeded"))->trigger();
    QCOMPARE(f.ListedNames(), QStringList({QStringLiteral("Beta Racer"), QStringLiteral("Delta Drive")}));
    f.window->Action(QStringLiteral("VerifyFilterAllGames"))->trigger();
    QCOMPARE(f.ListedNames().size(), 4);

    // Scan > Roms > Rename to Standard Names asks first, then renames and sums up.
    QString question;
    const auto answer = WhenModal<QMessageBox>([&](QMessageBox* box) {
      question = box->text();
      box->button(QMessageBox::Yes)->click();
    });
    QString renameSummary;
    const auto renameResults = WhenModal<IdentifyResultsDialog>([&](IdentifyResultsDialog* dialog) {
      renameSummary = dialog->SummaryText();
      dialog->reject();
    });
    f.window->Action(QStringLiteral("RenameRoms"))->trigger();
    QCOMPARE(question, QStringLiteral("Rename 2 file(s) to the standard names of the reference lists?"));
    QCOMPARE(renameSummary, QStringLiteral("Renamed 2 file(s)."));
    QCOMPARE(QDir(f.Path(QStringLiteral("roms"))).entryList(QDir::Files, QDir::Name),
             QStringList({QStringLiteral("Alpha Quest (USA).sfc"), QStringLiteral("Beta Racer (Europe).sfc"),
                          QStringLiteral("Delta Drive (Japan).smc"), QStringLiteral("homebrew.sfc")}));
    QCOMPARE(MarkedRows(f),
             QStringList({QStringLiteral("Alpha Quest [verified]"), QStringLiteral("Beta Racer [verified]"),
                          QStringLiteral("Delta Drive [verified]"), QStringLiteral("homebrew [not in list]")}));
  }

  void RenamingBeforeVerifyingSaysSo()
  {
    WindowFixture f(SnesWithRoms);
    Upgrade(f);
    f.ShowTab(QStringLiteral("SNES"));
    QString message;
    const auto box = WhenModal<QMessageBox>([&](QMessageBox* shown) {
      message = shown->text();
      shown->accept();
    });
    f.window->Action(QStringLiteral("RenameRoms"))->trigger();
    QVERIFY2(message.contains(QStringLiteral("not verified yet")), qPrintable(message));
    QVERIFY(QFile::exists(f.Path(QStringLiteral("roms/beta.sfc"))));
  }
};

QUILLON_TEST_CLASS(IdentifyCommandsTest)
#include "IdentifyCommandsTest.moc"
