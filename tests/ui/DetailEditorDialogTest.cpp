// The lookup-table editor: deletion with and without the question, the locked unknown entries, new
// and renamed rows, the batch update, and the main window following on close.
#include "DialogFixture.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "catalogue/Lookups.h"
#include "ui/DetailEditorDialog.h"
#include "ui/LookupGridModel.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

// SNES games: Alpha only Fighter (13); Beta Fighter and Puzzle (19); both by Acclaim (3) from USA (2).
void SnesGames(TestScene& scene)
{
  scene.Exec(QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID = ? THEN 1 ELSE 0 END"), {kSnes});
  const qint64 roms = InsertRomPath(scene.Db(), kSnes, QStringLiteral("/roms/snes/"));
  for (const auto& [name, genres] : {std::pair{"Alpha", QList<qint64>{13}}, std::pair{"Beta", QList<qint64>{13, 19}}}) {
    TestGame(kSnes, QString::fromLatin1(name))
        .File(QString::fromLatin1(name).left(1).toLower() + QStringLiteral(".smc"))
        .Folder(roms)
        .Country(2)
        .Maker(3)
        .GenreCount(int(genres.size()))
        .Genres(genres)
        .Insert(scene.Db());
  }
}

// Takes note of the sections the editor says it changed, when no window opened it.
class RecordingEditorHost final : public DetailEditorHost {
 public:
  void LookupSectionsChanged(const QSet<LookupKind>& sections) override { changed << sections; }

  QList<QSet<LookupKind>> changed;
};

struct Editor {
  // The editor as the main window opens it.
  explicit Editor(WindowFixture& f) : dialog(f.window->Context(), *f.window, f.window.get()) { Find(); }
  // The editor on its own.
  Editor(ContextFixture& f, DetailEditorHost& host) : dialog(f.Context(), host, nullptr) { Find(); }
  void Find()
  {
    dialog.show();
    grid = dialog.findChild<QTableView*>(QStringLiteral("gridgenres"));
    model = static_cast<LookupGridModel*>(grid->model());
    remove = dialog.findChild<QPushButton*>(QStringLiteral("cmddel"));
  }
  void ShowTab(int index) { dialog.findChild<QTabBar*>(QStringLiteral("tbsedit"))->setCurrentIndex(index); }
  void Select(const QString& name)
  {
    for (int row = 0; row < model->rowCount(); ++row) {
      if (model->index(row, model->NameColumn()).data().toString() == name)
        grid->setCurrentIndex(model->index(row, model->NameColumn()));
    }
  }
  QStringList Names() const
  {
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row)
      names << model->index(row, model->NameColumn()).data().toString();
    return names;
  }

  DetailEditorDialog dialog;
  QTableView* grid = nullptr;
  LookupGridModel* model = nullptr;
  QPushButton* remove = nullptr;
};

// Answers the next message box with `button`, remembering its text.
[[nodiscard]] std::unique_ptr<QTimer> AnswerBox(QMessageBox::StandardButton button, QString* text)
{
  return WhenModal<QMessageBox>([button, text](QMessageBox* box) {
    *text = box->text();
    box->button(button)->click();
  });
}

}  // namespace

class DetailEditorDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void DeletingAnUnusedMakerAsksNothing()
  {
    ContextFixture f(SnesGames);
    RecordingEditorHost host;
    Editor editor(f, host);
    editor.ShowTab(2);
    QCOMPARE(editor.model->Kind(), LookupKind::Manufacturer);
    editor.Select(QStringLiteral("Agetec"));
    QVERIFY(editor.remove->isEnabled());
    QString asked;
    const auto answer = AnswerBox(QMessageBox::No, &asked);
    editor.remove->click();
    QVERIFY(!editor.Names().contains(QStringLiteral("Agetec")));
    QVERIFY(asked.isEmpty());
    // The question box would have been answered by now; none came.
    QTest::qWait(50);
    QVERIFY(asked.isEmpty());
    // Closing tells the window which section changed, once.
    QVERIFY(host.changed.isEmpty());
    editor.dialog.reject();
    QCOMPARE(host.changed, QList<QSet<LookupKind>>{{LookupKind::Manufacturer}});
  }

  void DeletingAGenreKeepsTheGamesOtherGenres()
  {
    WindowFixture f(SnesGames);
    QVERIFY(f.window->findChild<QComboBox*>(QStringLiteral("cmbgenre"))->findText(QStringLiteral("Fighter")) > 0);
    {
      Editor editor(f);
      editor.ShowTab(1);
      editor.Select(QStringLiteral("Fighter"));
      QString asked;
      const auto answer = AnswerBox(QMessageBox::Yes, &asked);
      editor.remove->click();
      QVERIFY(asked.startsWith(QStringLiteral("This genre currently has games associated with it.")));
      QVERIFY(!editor.Names().contains(QStringLiteral("Fighter")));
      QVERIFY(editor.dialog.Changed(LookupKind::Genre));
      editor.dialog.reject();
    }
    QCOMPARE(f.Value(QStringLiteral("SELECT group_concat(SubGenres.GenreID) FROM SubGenres JOIN Games USING (GameID) "
                                    "WHERE FullName = 'Alpha'"))
                 .toInt(),
             1);
    QCOMPARE(f.Value(QStringLiteral("SELECT group_concat(SubGenres.GenreID) FROM SubGenres JOIN Games USING (GameID) "
                                    "WHERE FullName = 'Beta'"))
                 .toInt(),
             19);
    // Closing refreshed the main window's genre lists.
    QCOMPARE(f.window->findChild<QComboBox*>(QStringLiteral("cmbgenre"))->findText(QStringLiteral("Fighter")), -1);
  }

  void UnknownEntriesAreLocked()
  {
    ContextFixture f(SnesGames);
    RecordingEditorHost host;
    Editor editor(f, host);
    const char* messages[] = {"Status: Error - Sorry, this country cannot be edited.",
                              "Status: Error - Sorry, this genre cannot be edited.",
                              "Status: Error - Sorry, this manufacturer cannot be edited."};
    for (int tab = 0; tab < 3; ++tab) {
      editor.ShowTab(tab);
      editor.Select(QStringLiteral("USA"));
      editor.Select(QStringLiteral("Action"));
      editor.Select(QStringLiteral("Acclaim"));
      QVERIFY(editor.remove->isEnabled());
      editor.Select(QStringLiteral("[Unknown]"));
      QVERIFY(!editor.remove->isEnabled());
      QCOMPARE(f.StatusText(), QString::fromLatin1(messages[tab]));
      const QModelIndex name = editor.grid->currentIndex();
      QVERIFY(!(editor.model->flags(name) & Qt::ItemIsEditable));
      QVERIFY(!editor.model->setData(name, QStringLiteral("Known")));
    }
    QCOMPARE(f.Value(QStringLiteral("SELECT Manufacturer FROM Manufacturer WHERE ManufacturerID = 319")).toString(),
             QStringLiteral("[Unknown]"));
  }

  void NewAndRenamedRowsAreSavedOnlyWhenValid()
  {
    ContextFixture f(SnesGames);
    RecordingEditorHost host;
    Editor editor(f, host);
    editor.ShowTab(1);
    const int before = editor.model->rowCount();
    // A new row left empty is forgotten.
    editor.dialog.findChild<QPushButton*>(QStringLiteral("cmdNew"))->click();
    QCOMPARE(editor.model->rowCount(), before + 1);
    QVERIFY(!editor.remove->isEnabled());
    editor.Select(QStringLiteral("Action"));
    QCOMPARE(editor.model->rowCount(), before);
    QVERIFY(editor.remove->isEnabled());

    editor.dialog.findChild<QPushButton*>(QStringLiteral("cmdNew"))->click();
    const int blank = editor.model->rowCount() - 1;
    QVERIFY(
        editor.model->setData(editor.model->index(blank, editor.model->NameColumn()), QStringLiteral("Run and Gun")));
    QVERIFY(f.Value(QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = 'Run and Gun'")).isValid());
    QCOMPARE(editor.grid->currentIndex().data().toString(), QStringLiteral("Run and Gun"));
    QVERIFY(editor.dialog.findChild<QComboBox*>(QStringLiteral("cmbgenre2"))->findText(QStringLiteral("Run and Gun")) >=
            0);
    // Another genre's name is refused; the row keeps its own.
    QVERIFY(!editor.model->setData(editor.grid->currentIndex(), QStringLiteral("action")));
    QCOMPARE(editor.grid->currentIndex().data().toString(), QStringLiteral("Run and Gun"));
    QVERIFY(f.StatusText().contains(QStringLiteral("-(gridgenres_BeforeUpdate)-")));
  }

  void BatchUpdateToANewMakerAddsItFirst()
  {
    WindowFixture f(SnesGames);
    f.window->SelectListRow(1);
    const qint64 beta = f.Value(QStringLiteral("SELECT GameID FROM Games WHERE FullName = 'Beta'")).toLongLong();
    QCOMPARE(f.window->CurrentGameID(), beta);
    {
      Editor editor(f);
      editor.ShowTab(2);
      auto* from = editor.dialog.findChild<QComboBox*>(QStringLiteral("cmbgenre"));
      auto* to = editor.dialog.findChild<QComboBox*>(QStringLiteral("cmbgenre2"));
      from->setCurrentIndex(from->findText(QStringLiteral("Acclaim")));
      to->setEditText(QStringLiteral("Brand New Games"));
      QString said;
      const auto answer = AnswerBox(QMessageBox::Ok, &said);
      editor.dialog.findChild<QPushButton*>(QStringLiteral("cmdupdate"))->click();
      QCOMPARE(said, QStringLiteral("Done."));
      QVERIFY(editor.Names().contains(QStringLiteral("Brand New Games")));
      QVERIFY(editor.Names().contains(QStringLiteral("Acclaim")));
      editor.dialog.reject();
    }
    QCOMPARE(f.Value(QStringLiteral("SELECT count(*) FROM Games JOIN Manufacturer ON Games.Manufacturer = "
                                    "ManufacturerID WHERE Manufacturer.Manufacturer = 'Brand New Games'"))
                 .toInt(),
             2);
    // The main window's maker combo and cache know the new name.
    QVERIFY(f.window->findChild<QComboBox*>(QStringLiteral("cmbmanf"))->findText(QStringLiteral("Brand New Games")) >=
            0);
    QVERIFY(f.window->Context().lookups.FindManf(QStringLiteral("Brand New Games")).has_value());
    // The rebuilt list still shows the game that was chosen before.
    QCOMPARE(f.window->CurrentGameID(), beta);
    QCOMPARE(f.window->findChild<QLineEdit*>(QStringLiteral("txtfullname"))->text(), QStringLiteral("Beta"));
  }
};

QUILLON_TEST_CLASS(DetailEditorDialogTest)
#include "DetailEditorDialogTest.moc"
