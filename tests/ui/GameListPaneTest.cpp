// The game list pane on a context of its own, without a main window: what it lists, the rows it
// says it replaced and made current, and Check All asking the window to wait while it writes.
#include "DialogFixture.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/ChoiceLists.h"
#include "browser/ReadableColours.h"
#include "ui/ClickableLabel.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"
#include "ui/GameListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// Three SNES games present (one a Fighter) and one missing.
void SnesGames(TestScene& scene)
{
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/roms/snes/"));
  for (const char* name : {"Gamma", "Alpha", "Beta"}) {
    TestGame(kSnes, QString::fromLatin1(name))
        .Folder(roms)
        .Genres({QByteArray(name) == "Beta" ? qint64(13) : qint64(2)})
        .Insert(scene.Db());
  }
  TestGame(kSnes, QStringLiteral("Gone")).Folder(roms).Missing().Genres({2}).Insert(scene.Db());
}

// Games whose names share words, of two genres, some of unknown year, one missing.
void SearchGames(TestScene& scene)
{
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/roms/snes/"));
  TestGame(kSnes, QStringLiteral("Super Alpha Strike")).Folder(roms).Year(30).Genres({2}).Insert(scene.Db());
  TestGame(kSnes, QStringLiteral("Alpha Racer")).Folder(roms).Genres({13}).Insert(scene.Db());
  TestGame(kSnes, QStringLiteral("Beta Strike")).Folder(roms).Genres({2}).Insert(scene.Db());
  TestGame(kSnes, QStringLiteral("Gone Alpha")).Folder(roms).Missing().Genres({2}).Insert(scene.Db());
}

// A pane on a system's games with the genres filled in, listed once.
void ListSnes(GameListPane& pane, ContextFixture& f)
{
  pane.SetSystem(kSnes);
  pane.SetGenres(GenresByName(f.Db(), f.Context().feedback).value_or(QList<GenreChoice>()));
  pane.ShowAllGenres();
  QVERIFY(pane.FilterGenre(false));
}

QStringList Names(const GameListPane& pane)
{
  QStringList names;
  for (int row = 0; row < pane.Model().rowCount(); ++row)
    names << pane.Model().RowAt(row)->fullName;
  return names;
}

}  // namespace

class GameListPaneTest : public QObject {
  Q_OBJECT

 private slots:
  void ListsTicksAndFiltersWithoutAWindow()
  {
    ContextFixture f(SnesGames);
    GameListPane pane(f.Context());
    QSignalSpy replaced(&pane, &GameListPane::listReplaced);
    QSignalSpy current(&pane, &GameListPane::currentRowChanged);
    QSignalSpy locks(&pane, &GameListPane::lockWanted);
    pane.SetSystem(kSnes);
    pane.SetGenres(GenresByName(f.Db(), f.Context().feedback).value_or(QList<GenreChoice>()));
    pane.ShowAllGenres();

    QVERIFY(pane.FilterGenre(false));
    QCOMPARE(Names(pane), (QStringList{"Alpha", "Beta", "Gamma"}));
    QCOMPARE(replaced.takeFirst().value(0).toInt(), 3);
    QCOMPARE(current.takeLast().value(0).toInt(), 0);
    QCOMPARE(f.StatusText(), QStringLiteral("Status: Created list of 3 / 3 games."));
    QVERIFY(pane.TickedGameIds().isEmpty());

    // Check All writes every mark with the window's controls held, and offers to untick.
    auto* checkAll = pane.findChild<QCheckBox*>(QStringLiteral("cmdsall"));
    checkAll->click();
    QCOMPARE(locks.size(), 2);
    QCOMPARE(locks[0].value(0).toBool(), true);
    QCOMPARE(locks[1].value(0).toBool(), false);
    QVERIFY(!pane.ListBusy());
    QCOMPARE(pane.TickedGameIds().size(), 3);
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM Games WHERE Selected <> 0")).toInt(), 3);
    QCOMPARE(checkAll->text(), QStringLiteral("Uncheck All"));

    // A genre narrows the list; typed text that names none leaves it as it is.
    auto* genre = pane.findChild<QComboBox*>(QStringLiteral("cmbgenre"));
    genre->setEditText(QStringLiteral("No such genre"));
    QVERIFY(!pane.FilterGenre(false));
    QCOMPARE(Names(pane), (QStringList{"Alpha", "Beta", "Gamma"}));
    genre->setCurrentIndex(genre->findText(QStringLiteral("Fighter")));
    QVERIFY(pane.FilterGenre(false));
    QCOMPARE(Names(pane), QStringList{"Beta"});

    pane.ShowAllGenres();
    pane.SetView(GameView::Missing);
    QVERIFY(pane.FilterGenre(false));
    QCOMPARE(pane.title(), QStringLiteral("Missing Games (1 of 1)"));
    QCOMPARE(Names(pane), QStringList{"Gone"});
    QCOMPARE(f.StatusText(), QStringLiteral("Status: Created list of 1 / 1 games."));
  }

  // The search narrows whatever the filters list, typed before or after the filter is chosen.
  void SearchCombinesWithEachFilter_data()
  {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("caption");
    QTest::newRow("no filter") << ""
                               << "alpha" << QStringList{"Alpha Racer", "Super Alpha Strike"}
                               << "Available Games (2 of 3)";
    QTest::newRow("genre") << "genre"
                           << "alpha" << QStringList{"Super Alpha Strike"} << "Available Games (1 of 3)";
    QTest::newRow("missing year") << "legend"
                                  << "alpha" << QStringList{"Alpha Racer"} << "Available Games (1 of 3)";
    QTest::newRow("missing view") << "missing"
                                  << "alpha" << QStringList{"Gone Alpha"} << "Missing Games (1 of 1)";
    QTest::newRow("two words") << ""
                               << "strike  be" << QStringList{"Beta Strike"} << "Available Games (1 of 3)";
    QTest::newRow("genre, two words") << "genre"
                                      << "STRIKE sup" << QStringList{"Super Alpha Strike"}
                                      << "Available Games (1 of 3)";
    QTest::newRow("nothing found") << "legend"
                                   << "gamma" << QStringList{} << "Available Games (0 of 3)";
  }

  void SearchCombinesWithEachFilter()
  {
    QFETCH(QString, filter);
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    ContextFixture f(SearchGames);
    for (const bool typedFirst : {true, false}) {
      GameListPane pane(f.Context());
      ListSnes(pane, f);
      QSignalSpy searched(&pane, &GameListPane::searchApplied);
      auto* search = pane.findChild<QLineEdit*>(QStringLiteral("txtsearch"));
      if (typedFirst)
        search->setText(typed);
      if (filter == QStringLiteral("genre")) {
        auto* genre = pane.findChild<QComboBox*>(QStringLiteral("cmbgenre"));
        genre->setCurrentIndex(genre->findText(QStringLiteral("Action")));
        emit genre->activated(genre->currentIndex());
      } else if (filter == QStringLiteral("legend")) {
        emit pane.findChild<ClickableLabel*>(QStringLiteral("Label4"))->clicked();
      } else if (filter == QStringLiteral("missing")) {
        pane.SetView(GameView::Missing);
        QVERIFY(pane.FilterGenre(false));
      }
      if (!typedFirst)
        search->setText(typed);
      QCOMPARE(Names(pane), listed);
      QTEST(pane.title(), "caption");
      // The game shown is one the search found; the window hears how many show.
      QCOMPARE(pane.CurrentRow(), listed.isEmpty() ? -1 : 0);
      if (!typedFirst)
        QCOMPARE(searched.last().value(0).toInt(), int(listed.size()));
    }
  }

  // Ctrl+F goes to the search box; Esc empties it, and in an empty box goes back to the list.
  void FindKeys()
  {
    ContextFixture f(SearchGames);
    GameListPane pane(f.Context());
    ListSnes(pane, f);
    pane.show();
    QVERIFY(QTest::qWaitForWindowActive(&pane));
    auto* search = pane.findChild<QLineEdit*>(QStringLiteral("txtsearch"));
    auto* list = pane.findChild<GameListView*>(QStringLiteral("listgames"));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(search->hasFocus());
    QTest::keyClicks(search, QStringLiteral("beta"));
    QCOMPARE(Names(pane), QStringList{"Beta Strike"});
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(search->text().isEmpty());
    QCOMPARE(pane.Model().rowCount(), 3);
    QVERIFY(search->hasFocus());
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(list->hasFocus());
  }

  // The legend's colours on the palette in use: as they are on a light one, readable on a dark one.
  void ColoursFollowThePalette()
  {
    ContextFixture f(SearchGames);
    GameListPane pane(f.Context());
    ListSnes(pane, f);
    const QModelIndex racer = pane.Model().index(0, GameListModel::kNameColumn);  // lacks nearly everything
    QCOMPARE(pane.Model().ColourAt(0), kColourMultiple);
    QPalette dark = pane.palette();
    dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    pane.setPalette(dark);
    const QColor onDark = racer.data(Qt::ForegroundRole).value<QColor>();
    QVERIFY(ContrastRatio(onDark, QColor(0x23, 0x26, 0x29)) >= kReadableContrast);
    QPalette light = dark;
    light.setColor(QPalette::Base, Qt::white);
    pane.setPalette(light);
    QCOMPARE(racer.data(Qt::ForegroundRole).value<QColor>(), ColourFromLiteral(kColourMultiple));
  }
};

QUILLON_TEST_CLASS(GameListPaneTest)
#include "GameListPaneTest.moc"
