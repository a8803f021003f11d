// The main window on a filled catalogue: tabs, list, filters, check marks and the details panel.
#include "DialogFixture.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "TestCatalogue.h"

#include "ui/ClickableLabel.h"
#include "ui/GameGridView.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"
#include "ui/GameListView.h"
#include "ui/MainWindow.h"
#include "ui/SystemOptionsDialog.h"
#include "ui/WindowSettings.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QSplitter>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// SNES games of every kind, and an empty Gameboy system.
void SnesGames(TestScene& scene)
{
  scene.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID IN (?, ?) THEN 1 ELSE 0 END"),
             {kSnes, kGameboy});
  scene.Exec(QStringLiteral("UPDATE System SET Emulator = '/usr/games/snes9x' WHERE SystemID = ?"), {kSnes});
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/roms/snes/"));
  // USA (2), Agetec (7), Fighter (13), Action (2); year 30 is 1989, 42 unknown.
  const auto game = [&](const char* name, qint64 year) {
    return TestGame(kSnes, QString::fromLatin1(name))
        .File(QString::fromLatin1(name).toLower() + QStringLiteral(".smc"))
        .Folder(roms)
        .Country(2)
        .Year(year)
        .Maker(7)
        .GenreCount(1);
  };
  game("Alpha", 30).Image(QStringLiteral("alpha.png")).Description(QStringLiteral("x")).Genres({13}).Insert(scene.Db());
  game("Beta", 42).Description(QStringLiteral("x")).Genres({13}).Insert(scene.Db());
  game("Gamma", 42).Genres({2}).Insert(scene.Db());
  game("Gone", 30).Missing().Description(QStringLiteral("x")).Genres({13}).Insert(scene.Db());
}

// The main window on SnesGames.
class Fixture : public WindowFixture {
 public:
  Fixture() : WindowFixture(SnesGames) {}

  QStringList Names() const { return ListedNames(); }
  template <typename T>
  T* Find(const char* name) const
  {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  // Closes the window the way the user does and opens a new one on the same catalogue.
  void Restart()
  {
    window->close();
    window = std::make_unique<MainWindow>(Opened());
    window->Start();
  }
  // The key of the game with this title.
  qint64 Game(const QString& name)
  {
    return Value(QStringLiteral("SELECT GameID FROM Games WHERE FullName = ?"), {name}).toLongLong();
  }
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Once a system has games, only the systems with games have tabs, each with its count; the
  // View menu shows them all again, and the keys move between them.
  void TabsOfTheSystemsWithGames()
  {
    Fixture f;
    QTabBar* tabs = f.Find<QTabBar>("tbsSys");
    QAction* only = f.window->Action(QStringLiteral("OnlySystemsWithGames"));
    QVERIFY(only->isChecked());
    QCOMPARE(tabs->count(), 1);
    QCOMPARE(tabs->tabText(0), QStringLiteral("SNES"));
    const auto count = [tabs](int index) {
      return qobject_cast<QLabel*>(tabs->tabButton(index, QTabBar::RightSide))->text();
    };
    QCOMPARE(count(0), QStringLiteral("3"));
    f.window->Action(QStringLiteral("ViewMissing"))->trigger();
    QCOMPARE(count(0), QStringLiteral("1"));
    f.window->Action(QStringLiteral("ViewAvailable"))->trigger();

    only->trigger();
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Gameboy"));
    QCOMPARE(count(0), QStringLiteral("0"));
    QCOMPARE(f.window->CurrentSettings().name, QStringLiteral("SNES"));  // the system shown stays
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    QWidget* list = f.Find<QWidget>("listgames");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(list, Qt::Key_PageUp, Qt::ControlModifier);  // round the end
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClick(f.window.get(), Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(f.window->CurrentSettings().name, QStringLiteral("Gameboy"));
    QTest::keyClick(f.window.get(), Qt::Key_9, Qt::ControlModifier);  // no ninth tab
    QCOMPARE(tabs->currentIndex(), 0);
  }

  void OpensOnTheFirstEnabledSystem()
  {
    Fixture f;
    f.window->Action(QStringLiteral("OnlySystemsWithGames"))->trigger();
    QTabBar* tabs = f.Find<QTabBar>("tbsSys");
    tabs->setCurrentIndex(0);
    QCOMPARE(tabs->tabText(0), QStringLiteral("Gameboy"));
    // An empty list: the commands that need games are off and the details panel is disabled.
    QCOMPARE(f.window->ListModel().rowCount(), 0);
    for (const char* name : {"DeleteGame", "Del_Sel", "ImageS", "SaveAsMy", "exporth2menu"})
      QVERIFY2(!f.window->Action(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(!f.Find<QWidget>("frmgameinfo")->isEnabled());

    f.ShowTab(QStringLiteral("SNES"));
    QCOMPARE(f.Names(), (QStringList{"Alpha", "Beta", "Gamma"}));
    QVERIFY(f.window->Action(QStringLiteral("DeleteGame"))->isEnabled());
    QVERIFY(f.Find<QWidget>("frmgameinfo")->isEnabled());
    QCOMPARE(f.Find<QLineEdit>("txtfullname")->text(), QStringLiteral("Alpha"));
  }

  void FiltersNarrowAndRestoreTheList()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    auto* year = f.Find<ClickableLabel>("Label4");
    emit year->clicked();
    QCOMPARE(f.Names(), (QStringList{"Beta", "Gamma"}));
    QVERIFY(year->font().bold());
    emit year->clicked();
    QCOMPARE(f.Names(), (QStringList{"Alpha", "Beta", "Gamma"}));
    QVERIFY(!year->font().bold());

    // Typed text that names no genre leaves the list; a genre narrows it.
    auto* genre = f.Find<QComboBox>("cmbgenre");
    genre->setEditText(QStringLiteral("No such genre"));
    QTest::keyClick(genre, Qt::Key_Return);
    QCOMPARE(f.Names(), (QStringList{"Alpha", "Beta", "Gamma"}));
    const int action = genre->findText(QStringLiteral("Action"));
    genre->setCurrentIndex(action);
    emit genre->activated(action);
    QCOMPARE(f.Names(), QStringList{"Gamma"});

    f.window->Action(QStringLiteral("ViewMissing"))->trigger();
    QCOMPARE(f.Find<QWidget>("frmgames")->property("title").toString(), QStringLiteral("Missing Games (0 of 1)"));
    genre->setCurrentIndex(0);
    emit genre->activated(0);
    QCOMPARE(f.Names(), QStringList{"Gone"});
  }

  void TypingIntoTheGenreFilterChoosesAGenre_data()
  {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("completed") << "act"
                               << "Action" << QStringList{"Gamma"};
    QTest::newRow("whole name") << "Fighter"
                                << "Fighter" << QStringList{"Alpha", "Beta"};
    QTest::newRow("after a genre") << "Action|fig"
                                   << "Fighter" << QStringList{"Alpha", "Beta"};
  }

  void TypingIntoTheGenreFilterChoosesAGenre()
  {
    QFETCH(QString, typed);
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* genre = f.Find<QComboBox>("cmbgenre");
    // Each text is typed after a click into the middle of the box, then Enter applies it.
    for (const QString& text : typed.split(QLatin1Char('|'))) {
      QLineEdit* edit = genre->lineEdit();
      QTest::mouseClick(edit, Qt::LeftButton, {}, edit->rect().center());
      QTest::keyClicks(genre, text);
      QTest::keyClick(genre, Qt::Key_Return);
    }
    QTEST(genre->currentText(), "shown");
    QTEST(f.Names(), "listed");
  }

  void CheckMarksAreWrittenAtOnce()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    GameListModel& model = f.window->ListModel();
    auto* checkAll = f.Find<QCheckBox>("cmdsall");
    // The box is ticked exactly when every row is, and its caption offers the opposite.
    const auto boxShows = [checkAll](bool ticked) {
      return checkAll->isChecked() == ticked && checkAll->text() == (ticked ? "Uncheck All" : "Check All");
    };
    QVERIFY(boxShows(false));
    model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole);
    QCOMPARE(f.Value(QStringLiteral("SELECT Selected FROM Games WHERE GameID = ?"), {f.Game("Beta")}).toInt(), 1);
    checkAll->click();
    QVERIFY(boxShows(true));
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Selected <> 0")).toInt(), 3);
    // Rebuilt with every row ticked, the box offers to untick them.
    f.window->FilterGenre();
    QVERIFY(boxShows(true));
    model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    QVERIFY(boxShows(false));
    model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
    QVERIFY(boxShows(true));
    checkAll->click();
    QVERIFY(boxShows(false));
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Selected <> 0")).toInt(), 0);

    // Clicking the tab already shown does not rebuild the list.
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QTabBar* tabs = f.Find<QTabBar>("tbsSys");
    emit tabs->tabBarClicked(tabs->currentIndex());
    QCOMPARE(resets.count(), 0);
  }

  // Size and place, splitters, columns, the view, the system and the game come back after a
  // restart, as do the options dialog's size and splitter.
  void RememberedAfterARestart()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->resize(760, 560);
    f.window->move(40, 30);
    auto* splitter = f.Find<QSplitter>("mainSplitter");
    splitter->setSizes({300, 400});
    const QList<int> split = splitter->sizes();
    QSize optionsSize;
    QList<int> optionsSplit;
    GameListPane& pane = f.window->ListPane();
    pane.SetColumnShown(GameListModel::kFileColumn, true);
    pane.SetColumnShown(GameListModel::kMakerColumn, false);
    pane.List().header()->resizeSection(GameListModel::kYearColumn, 77);
    pane.List().header()->setSortIndicator(GameListModel::kYearColumn, Qt::DescendingOrder);
    f.window->Action(QStringLiteral("ViewPictures"))->trigger();
    f.window->Action(QStringLiteral("OnlySystemsWithGames"))->trigger();
    f.ShowTab(QStringLiteral("SNES"));
    f.window->SelectListRow(f.window->ListModel().RowOfGame(f.Game(QStringLiteral("Gamma"))));
    {
      SystemOptionsDialog options(f.window->Context(), *f.window, kSnes, f.window.get());
      options.show();
      QVERIFY(QTest::qWaitForWindowExposed(&options));
      options.resize(options.size() + QSize(60, 40));
      optionsSize = options.size();
      auto* optionsSplitter = options.findChild<QSplitter*>(QStringLiteral("optionsSplitter"));
      const QList<int> sizes = optionsSplitter->sizes();
      optionsSplitter->setSizes({sizes[0] + 90, sizes[1] - 90});
      optionsSplit = optionsSplitter->sizes();
      options.reject();
    }
    const QRect geometry = f.window->geometry();

    f.Restart();
    QCOMPARE(f.window->geometry(), geometry);
    QCOMPARE(f.Find<QSplitter>("mainSplitter")->sizes(), split);
    GameListPane& again = f.window->ListPane();
    QVERIFY(again.ColumnShown(GameListModel::kFileColumn));
    QVERIFY(!again.ColumnShown(GameListModel::kMakerColumn));
    QVERIFY(!again.ColumnShown(GameListModel::kIdColumn));
    QCOMPARE(again.List().header()->sectionSize(GameListModel::kYearColumn), 77);
    QCOMPARE(again.Model().SortColumn(), int(GameListModel::kYearColumn));
    QCOMPARE(again.Model().SortOrder(), Qt::DescendingOrder);
    QVERIFY(again.PicturesShown());
    QVERIFY(f.window->Action(QStringLiteral("ViewPictures"))->isChecked());
    QCOMPARE(f.Find<QTabBar>("tbsSys")->count(), 2);
    QCOMPARE(f.window->CurrentSettings().name, QStringLiteral("SNES"));
    QCOMPARE(f.window->CurrentGameID(), f.Game(QStringLiteral("Gamma")));
    QCOMPARE(f.Find<QLineEdit>("txtfullname")->text(), QStringLiteral("Gamma"));
    SystemOptionsDialog options(f.window->Context(), *f.window, kSnes, f.window.get());
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    QCOMPARE(options.size(), optionsSize);
    QCOMPARE(options.findChild<QSplitter*>(QStringLiteral("optionsSplitter"))->sizes(), optionsSplit);
  }

  // A place on a screen that is gone is moved onto the screen; a place on one that is there stays.
  void PlacedOnAScreenThatIsThere_data()
  {
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("placed");
    const QRect left(0, 0, 1920, 1050);
    QTest::newRow("on the screen") << QRect(100, 80, 1000, 700) << QRect(100, 80, 1000, 700);
    QTest::newRow("partly off, top edge reachable") << QRect(1700, 900, 1000, 700) << QRect(1700, 900, 1000, 700);
    QTest::newRow("on the second screen") << QRect(2200, 100, 800, 600) << QRect(2200, 100, 800, 600);
    QTest::newRow("on a screen that is gone") << QRect(4000, 100, 800, 600) << QRect(560, 225, 800, 600);
    QTest::newRow("above the screens") << QRect(100, -900, 800, 600) << QRect(560, 225, 800, 600);
    QTest::newRow("larger than the screen") << QRect(5000, 0, 2500, 1400) << left;
  }

  void PlacedOnAScreenThatIsThere()
  {
    QFETCH(QRect, stored);
    const QList<QRect> screens{QRect(0, 0, 1920, 1050), QRect(1920, 0, 1280, 1024)};
    QTEST(PlaceOnScreens(stored, screens), "placed");
  }

  // The grid shows the list's rows through the same filters, ticks and selection.
  void GridFollowsFiltersAndTicks()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->resize(1100, 700);
    f.window->Action(QStringLiteral("ViewPictures"))->trigger();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    auto* grid = f.Find<GameGridView>("gridgames");
    QVERIFY(grid->isVisible());
    QCOMPARE(grid->model()->rowCount(), 3);
    emit f.Find<ClickableLabel>("Label4")->clicked();  // games of unknown year
    QCOMPARE(grid->model()->rowCount(), 2);
    f.Find<QLineEdit>("txtsearch")->setText(QStringLiteral("gam"));
    QCOMPARE(grid->model()->rowCount(), 1);
    QCOMPARE(f.Find<QLineEdit>("txtfullname")->text(), QStringLiteral("Gamma"));

    // A click on a cover's check box ticks the game; a click elsewhere on it makes it current.
    f.Find<QLineEdit>("txtsearch")->clear();
    const QModelIndex gamma = grid->model()->index(1, 0);
    const QRect cell = grid->visualRect(gamma);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(cell.width() / 2, 60));
    QCOMPARE(f.Find<QLineEdit>("txtfullname")->text(), QStringLiteral("Gamma"));
    QCOMPARE(f.Find<QAbstractItemView>("listgames")->currentIndex().row(), 1);
    const qint64 gammaId = f.Game(QStringLiteral("Gamma"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.topLeft() + QPoint(cell.width() / 2 - 60, 18));
    QCOMPARE(f.Value(QStringLiteral("SELECT Selected FROM Games WHERE GameID = ?"), {gammaId}).toInt(), 1);
    QVERIFY(f.window->ListModel().RowAt(1)->selected);
  }

  // Enter and a double click start the game as the Play button does; so does the list's menu.
  void PlayFromTheList()
  {
    Fixture f;
    QTemporaryDir dir;
    const QString record = dir.filePath(QStringLiteral("played.txt"));
    const QString emulator = dir.filePath(QStringLiteral("fake-emu"));
    QVERIFY(TouchFile(emulator, "#!/bin/sh\necho \"$@\" >> '" + record.toUtf8() + "'\n"));
    QVERIFY(QFile::setPermissions(emulator, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    f.Exec(QStringLiteral("UPDATE System SET Emulator = ? WHERE SystemID = ?"), {emulator, kSnes});
    f.ShowTab(QStringLiteral("SNES"));
    f.window->RefreshSettings();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    auto* list = f.Find<QAbstractItemView>("listgames");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(QFileInfo(record).size() > 0);
    QFile played(record);
    QVERIFY(played.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(played.readAll()).trimmed(), QStringLiteral("/roms/snes/beta.smc"));
    played.close();
    const QRect gamma = list->visualRect(list->model()->index(2, 0));
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, gamma.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, gamma.center());
    QTRY_VERIFY(QFileInfo(record).size() > QStringLiteral("/roms/snes/beta.smc\n").size());
    QCOMPARE(f.window->CurrentGameID(), f.Game(QStringLiteral("Gamma")));
    // A double click on a check box only ticks and unticks.
    const qint64 playedSize = QFileInfo(record).size();
    const QPoint box(gamma.left() + list->style()->pixelMetric(QStyle::PM_IndicatorWidth) / 2 + 4, gamma.center().y());
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, box);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, box);
    QVERIFY(f.window->ListModel().RowAt(2)->selected);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, box);
    QTest::qWait(300);
    QCOMPARE(QFileInfo(record).size(), playedSize);
    // The list's menu offers Play while the game has an emulator.
    QVERIFY(f.window->Action(QStringLiteral("PlayGame"))->isVisible() == false);
    bool offered = false;
    QTimer::singleShot(200, [&f, &offered] {
      QAction* play = f.window->Action(QStringLiteral("PlayGame"));
      offered = play->isVisible() && play->isEnabled();
      if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, gamma.center(), list->viewport()->mapToGlobal(gamma.center()));
    QApplication::sendEvent(list->viewport(), &menu);
    QVERIFY(offered);
    QVERIFY(!f.window->Action(QStringLiteral("PlayGame"))->isVisible());
  }

  void PreviewShowsThePictureLargerThanItsBox()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->resize(f.window->minimumSize());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QTemporaryDir pictures;
    const QString path = pictures.filePath(QStringLiteral("alpha.png"));
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(path));
    f.Find<QLineEdit>("txtimage")->setText(path);
    const QSize box = f.Find<QWidget>("RomPic")->size();
    QSize drawn;
    const auto look = WhenModal<QDialog>([&drawn](QDialog* preview) {
      if (auto* area = preview->findChild<QWidget*>(QStringLiteral("imgPreview")))
        drawn = QSize(60, 40).scaled(area->size(), Qt::KeepAspectRatio);
      preview->reject();
    });
    f.Find<QToolButton>("Image4")->click();
    QVERIFY2(drawn.width() >= box.width() && drawn.height() >= box.height(),
             qPrintable(QStringLiteral("%1x%2 in a box of %3x%4")
                            .arg(drawn.width())
                            .arg(drawn.height())
                            .arg(box.width())
                            .arg(box.height())));
  }

  // "2 of 3" beside the arrows follows the picture shown.
  void PicturePlaceBesideTheArrows()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    QTemporaryDir pictures;
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (const char* name : {"alpha.png", "alpha_1.png", "alpha_2.png"})
      QVERIFY(picture.save(pictures.filePath(QString::fromLatin1(name))));
    f.Exec(QStringLiteral("UPDATE System SET DefaultImageType = 'png' WHERE SystemID = ?"), {kSnes});
    f.window->RefreshSettings();
    auto* place = f.Find<QLabel>("lblimagepos");
    f.Find<QLineEdit>("txtimage")->setText(pictures.filePath(QStringLiteral("alpha.png")));
    QCOMPARE(place->text(), QStringLiteral("1 of 3"));
    f.Find<QToolButton>("Image2")->click();
    QCOMPARE(place->text(), QStringLiteral("2 of 3"));
    f.Find<QToolButton>("Image2")->click();
    QCOMPARE(place->text(), QStringLiteral("3 of 3"));
    f.Find<QToolButton>("Image1")->click();
    QCOMPARE(place->text(), QStringLiteral("2 of 3"));
    f.Find<QLineEdit>("txtimage")->clear();
    QVERIFY(place->text().isEmpty());
  }

  void DetailsEditsReachTheCatalogue()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->SelectListRow(1);
    auto* emulator = f.Find<QLineEdit>("txtemu");
    // A game without its own emulator shows the system's; typing gives it its own.
    QCOMPARE(emulator->text(), QStringLiteral("/usr/games/snes9x"));
    QTest::keyClicks(emulator, QStringLiteral(" -f"));
    const qint64 beta = f.Game(QStringLiteral("Beta"));
    QCOMPARE(f.Value(QStringLiteral("SELECT Emulator FROM Games WHERE GameID = ?"), {beta}).toString(),
             QStringLiteral("/usr/games/snes9x -f"));
    QVERIFY(f.Value(QStringLiteral("SELECT Emulator FROM System WHERE SystemID = 3")).toString() ==
            QStringLiteral("/usr/games/snes9x"));

    // Ticking a genre writes the link; the row loses its genre colour when nothing else lacks.
    auto* genres = f.Find<QListWidget>("lstgenres");
    QListWidgetItem* action = genres->findItems(QStringLiteral("Action"), Qt::MatchExactly).first();
    action->setCheckState(Qt::Checked);
    QCOMPARE(f.Value(QStringLiteral("SELECT group_concat(GenreID) FROM SubGenres WHERE GameID = ?"), {beta}).toString(),
             QStringLiteral("13,2"));
    QCOMPARE(f.Value(QStringLiteral("SELECT Genre FROM Games WHERE GameID = ?"), {beta}).toInt(), 2);

    // A stored picture whose file is missing leaves the picture text empty.
    f.window->SelectListRow(0);
    QCOMPARE(f.Find<QLineEdit>("txtfullname")->text(), QStringLiteral("Alpha"));
    QVERIFY(f.Find<QLineEdit>("txtimage")->text().isEmpty());
    const qint64 alpha = f.Game(QStringLiteral("Alpha"));
    QCOMPARE(f.Value(QStringLiteral("SELECT Image FROM Games WHERE GameID = ?"), {alpha}).toString(),
             QStringLiteral("alpha.png"));

    // Emptying the full name stores Null when the box loses the focus.
    auto* fullName = f.Find<QLineEdit>("txtfullname");
    fullName->selectAll();
    QTest::keyClick(fullName, Qt::Key_Delete);
    emit fullName->editingFinished();
    QVERIFY(f.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {alpha}).isNull());
    QCOMPARE(f.Value(QStringLiteral("SELECT Edited FROM Games WHERE GameID = ?"), {alpha}).toInt(), 1);
  }

  // The details save when a box loses the focus: closing the window with an edit under way saves
  // it, while what the save reports to is still there.
  void AnEditUnderWayIsSavedWhenTheWindowCloses()
  {
    Fixture f;
    f.ShowTab(QStringLiteral("SNES"));
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->SelectListRow(0);
    auto* fullName = f.Find<QLineEdit>("txtfullname");
    fullName->setFocus();
    QTRY_VERIFY(fullName->hasFocus());
    QTest::keyClicks(fullName, QStringLiteral(" II"));
    const qint64 alpha = f.Game(QStringLiteral("Alpha"));
    f.window.reset();
    QCOMPARE(f.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {alpha}).toString(),
             QStringLiteral("Alpha II"));
  }
};

QUILLON_TEST_CLASS(MainWindowTest)
#include "MainWindowTest.moc"
