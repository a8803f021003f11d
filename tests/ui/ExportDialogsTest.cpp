// The two export dialogs on the offscreen platform: their captions, the options bound to `Inc`
// (stored at once, put back by Cancel), and OK running the export with the chosen file.
#include "DialogFixture.h"
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "ui/ExportDialogs.h"
#include "ui/SaveAsMyDialog.h"
#include "ui/SaveToMeedioDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

namespace {

constexpr qint64 kSnes = 3;

template <typename Widget>
Widget* Find(QWidget& dialog, const char* name)
{
  return dialog.findChild<Widget*>(QString::fromLatin1(name));
}

}  // namespace

class ExportDialogsTest : public QObject {
  Q_OBJECT

  std::unique_ptr<TestCatalogue> t;
  std::unique_ptr<RecordingFeedback> feedback;
  QStringList chosen;
  QList<FileChoice> asked;
  QList<bool> locks;

  ExportContext Context(const QString& genreFilter)
  {
    return ExportContext{&t->Db(),
                         feedback.get(),
                         t->Folder(),
                         kSnes,
                         "SNES",
                         genreFilter,
                         "[Unknown]",
                         "Arcade",
                         "[Unknown]",
                         [this](bool lock) { locks << lock; },
                         [this](const FileChoice& choice) -> std::optional<QString> {
                           asked << choice;
                           return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen.takeFirst());
                         }};
  }

  int Inc(const char* column) { return t->Value(QStringLiteral("SELECT %1 FROM Inc").arg(column)).toInt(); }

 private slots:
  void init()
  {
    t = std::make_unique<TestCatalogue>();
    feedback = std::make_unique<RecordingFeedback>();
    chosen.clear();
    asked.clear();
    locks.clear();
    t->Exec(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/', 3)"));
    t->Exec(
        QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Selected, Available) "
                       "VALUES (1, 'Axelay', 'axelay.sfc', 3, 1, 1, 1)"));
    t->Exec(QStringLiteral("INSERT INTO SubGenres VALUES (1, 25)"));
  }

  void SaveAsMyOptionsAreStoredAtOnceAndCancelPutsThemBack()
  {
    SaveAsMyDialog dialog(Context(QStringLiteral("[-------------------ALL------------------]")));
    dialog.show();
    QVERIFY(Find<QRadioButton>(dialog, "optCurSys")->isChecked());
    QCOMPARE(Find<QRadioButton>(dialog, "optCurSys")->text(), QStringLiteral("Current System (SNES)"));
    QRadioButton* currentGenre = Find<QRadioButton>(dialog, "optCurGen");
    QCOMPARE(currentGenre->text(), QStringLiteral("Current Genre (All)"));
    QVERIFY(!currentGenre->isEnabled());
    QCheckBox* autoSave = Find<QCheckBox>(dialog, "chkautosave");
    QVERIFY(!autoSave->isEnabled());
    Find<QRadioButton>(dialog, "optallsepfile")->click();
    QVERIFY(autoSave->isEnabled());
    Find<QRadioButton>(dialog, "optAllGen")->click();
    QVERIFY(!autoSave->isEnabled());

    QCheckBox* country = Find<QCheckBox>(dialog, "chkcountry");
    QCheckBox* alpha = Find<QCheckBox>(dialog, "chkalpha");
    QVERIFY(country->isChecked());
    country->click();
    alpha->click();
    QCOMPARE(Inc("IncC"), 0);
    QCOMPARE(Inc("Alpha"), 0);
    QTest::mouseClick(Find<QPushButton>(dialog, "Command1"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Inc("IncC"), 1);
    QCOMPARE(Inc("Alpha"), 1);
  }

  void SaveAsMyOkExportsToTheChosenFile()
  {
    QTemporaryDir out;
    chosen << out.filePath(QStringLiteral("mine.my"));
    SaveAsMyDialog dialog(Context(QStringLiteral("Shooter")));
    dialog.show();
    QRadioButton* currentGenre = Find<QRadioButton>(dialog, "optCurGen");
    QCOMPARE(currentGenre->text(), QStringLiteral("Current Genre (Shooter)"));
    QVERIFY(currentGenre->isEnabled() && currentGenre->isChecked());
    Find<QCheckBox>(dialog, "chksys")->click();
    QTest::mouseClick(Find<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.Result().Succeeded());
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].proposedName, QStringLiteral("SNES_Shooter"));
    QCOMPARE(locks, QList<bool>({true, false}));
    QFile file(out.filePath(QStringLiteral("mine.my")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("[1]\r\ntitle=Axelay\r\nCategory=\"Genre\",\"Shooter\"\r\n"));
    // The System box was cleared for this export and stays so.
    QVERIFY(!content.contains("Category=\"System\""));
    QCOMPARE(Inc("IncS"), 0);
  }

  void MeedioDialogAsksForTheLibrary()
  {
    SaveToMeedioDialog dialog(Context(QString()));
    dialog.show();
    QCOMPARE(Find<QCheckBox>(dialog, "chkquotes")->text(), QStringLiteral("Add Quotes To Filename"));
    QVERIFY(!dialog.findChild<QCheckBox*>(QStringLiteral("chkalpha")));
    Find<QCheckBox>(dialog, "chkquotes")->click();
    QCOMPARE(Inc("IncQ"), 1);
    // A cancelled file dialog ends the command with its status; nothing is locked or written.
    QTest::mouseClick(Find<QPushButton>(dialog, "OKButton"), Qt::LeftButton);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].title, QStringLiteral("Export to Meedio"));
    QCOMPARE(asked[0].filter, QStringLiteral("Meedio Library (*.mlf)|*.mlf"));
    QCOMPARE(feedback->LastStatus(), QStringLiteral("Status: Save to Meedio cancelled by user."));
    QVERIFY(locks.isEmpty());

    QTemporaryDir out;
    chosen << out.filePath(QStringLiteral("games.mlf"));
    SaveToMeedioDialog again(Context(QString()));
    again.show();
    QTest::mouseClick(Find<QPushButton>(again, "OKButton"), Qt::LeftButton);
    QVERIFY2(again.Result().Succeeded(), qPrintable(again.Result().error));
    QCOMPARE(again.Result().records, 1);
    QCOMPARE(feedback->LastStatus(), "Status: 1 Rom(s) exported to " + out.filePath("games.mlf") + ".");
    QCOMPARE(locks, QList<bool>({true, false}));
  }

  void SaveDialogProposesOnlyFileNames_data()
  {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("shownName");
    QTest::addColumn<QString>("shownFolder");
    // A documents folder the user does not have must not become the file's name.
    QTest::newRow("missing folder") << "Documents"
                                    << ""
                                    << ""
                                    << ".";
    QTest::newRow("missing folder, proposed name") << "Documents"
                                                   << "SNES"
                                                   << "SNES.my"
                                                   << ".";
    QTest::newRow("existing folder") << "out"
                                     << ""
                                     << ""
                                     << "out";
  }

  void SaveDialogProposesOnlyFileNames()
  {
    QFETCH(QString, start);
    QFETCH(QString, proposed);
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("out")));
    QString name;
    QString folder;
    const auto look = WhenModal<QFileDialog>([&name, &folder](QFileDialog* dialog) {
      name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
      folder = dialog->directory().absolutePath();
      dialog->reject();
    });
    QWidget parent;
    const std::optional<QString> chosen =
        ShowSaveDialog(&parent, FileChoice{QStringLiteral("Export"), QStringLiteral("Files (*.my)|*.my"),
                                           QStringLiteral("my"), home.filePath(start), proposed});
    QVERIFY(!chosen);
    QTEST(name, "shownName");
    QFETCH(QString, shownFolder);
    QCOMPARE(folder, QDir::cleanPath(QDir(home.path()).absoluteFilePath(shownFolder)));
  }
};

QUILLON_TEST_CLASS(ExportDialogsTest)
#include "ExportDialogsTest.moc"
