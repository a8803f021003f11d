// The game list pane on a context of its own, without a main window: what it lists, the rows it
// says it replaced and made current, and Check All asking the window to wait while it writes.
#include "DialogFixture.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/ChoiceLists.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"

#include <QCheckBox>
#include <QComboBox>
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
    QCOMPARE(pane.title(), QStringLiteral("Missing Games"));
    QVERIFY(pane.FilterGenre(false));
    QCOMPARE(Names(pane), QStringList{"Gone"});
    QCOMPARE(f.StatusText(), QStringLiteral("Status: Created list of 1 / 1 games."));
  }
};

QUILLON_TEST_CLASS(GameListPaneTest)
#include "GameListPaneTest.moc"
