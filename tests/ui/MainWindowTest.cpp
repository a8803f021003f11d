// The main window on a filled catalogue: tabs, list, filters, check marks and the details panel.
#include "DialogFixture.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "ui/ClickableLabel.h"
#include "ui/GameListModel.h"
#include "ui/GameListView.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
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
  void OpensOnTheFirstEnabledSystem()
  {
    Fixture f;
    QTabBar* tabs = f.Find<QTabBar>("tbsSys");
    QCOMPARE(tabs->count(), 2);
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
    QCOMPARE(f.Find<QWidget>("frmgames")->property("title").toString(), QStringLiteral("Missing Games"));
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
