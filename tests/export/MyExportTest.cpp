// The .my export on a real catalogue: record lines, numbering, one file or one per genre, file
// names and choices, the value rules and failures.
#include "ExportScene.h"
#include "TestRegistry.h"

#include "export/MyExport.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kArcade = 1;
constexpr qint64 kSnes = 3;
constexpr qint64 kAction = 2;
constexpr qint64 kPuzzle = 19;
constexpr qint64 kPuzzleTetris = 20;
constexpr qint64 kUnknown = 1;
const QString kAllOptions = QStringLiteral("IncC=1 IncG=1 IncM=1 IncO=1 IncR=1 IncS=1 IncY=1 Alpha=1");

// The save dialog of a test: answers with the files given, in turn, and remembers what it was asked.
struct ScriptedDialog {
  QStringList answers;
  QList<FileChoice> asked;

  std::optional<QString> operator()(const FileChoice& choice)
  {
    asked << choice;
    if (answers.isEmpty())
      return std::nullopt;
    return answers.takeFirst();
  }
};

QByteArray Lines(const QStringList& lines)
{
  return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

}  // namespace

class MyExportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ExportScene> s;

  ExportResult Export(MyExportRequest request, ScriptedDialog& dialog)
  {
    return ExportToMy(s->Db().Db(), s->Feedback(), request,
                      [&dialog](const FileChoice& choice) { return dialog(choice); });
  }

  // SNES with two games, Arcade with one; genres Action and Puzzle/Tetris.
  void AddTwoSystems()
  {
    s->Db().Exec(QStringLiteral("INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (5000, 'Maker Z')"));
    s->SetSystem(kSnes,
                 {{"FullRomPath", 1}, {"FullImagePath", 1}, {"RemoveText", 1}, {"DefaultImagePath", "/pics/snes/"}});
    s->SetSystem(kArcade, {{"FullRomPath", 0}, {"FullImagePath", 0}, {"DefaultImagePath", "/pics/arcade/"}});
    const qint64 snesRoms = s->AddRomPath(kSnes, QStringLiteral("/roms/snes/"));
    const qint64 arcadeRoms = s->AddRomPath(kArcade, QStringLiteral("/roms/arcade/"));
    s->AddGame({{"GameID", 10},
                {"System", kSnes},
                {"RomPath", snesRoms},
                {"FullName", "Zelda (USA)"},
                {"FileName", "zelda.sfc"},
                {"Country", 2},
                {"Year", 33},
                {"Manufacturer", 5000},
                {"Image", "zelda.png"},
                {"Description", "Line one\r\nchain=\"Game\",\"evil\""},
                {"Rating", 5}},
               {kAction, kPuzzleTetris});
    s->AddGame({{"GameID", 11},
                {"System", kSnes},
                {"RomPath", snesRoms},
                {"FullName", "3 Ninjas"},
                {"FileName", "ninjas.sfc"}},
               {kAction});
    s->AddGame({{"GameID", 12},
                {"System", kArcade},
                {"RomPath", arcadeRoms},
                {"FullName", "Puzzle Bobble"},
                {"FileName", "pbobble.zip"},
                {"Image", "sub/pbobble.png"}},
               {kPuzzle});
  }

 private slots:
  void init() { s = std::make_unique<ExportScene>(); }

  void RecordLinesAsTheTableSays()
  {
    AddTwoSystems();
    ScriptedDialog dialog{{s->Out("snes.my")}, {}};
    MyExportRequest request{
        SystemScope::Current,  kSnes, GenreScope::AllInOneFile, {}, false, ExportScene::Options(kAllOptions),
        QStringLiteral("SNES")};
    const ExportResult result = Export(request, dialog);
    QVERIFY(result.Succeeded());
    QCOMPARE(result.records, 2);
    // A line break inside a value would start a line of its own: it becomes a space.
    QCOMPARE(FileBytes(s->Out("snes.my")), Lines({"[1]",
                                                  "title=Zelda ",
                                                  "Category=\"System\",\"SNES\"",
                                                  "Category=\"Genre\",\"Action,Puzzle Tetris\"",
                                                  "Category=\"Country\",\"USA\"",
                                                  "Category=\"Alpha\",\"U-Z\"",
                                                  "Category=\"Company\",\"Maker Z\"",
                                                  "Category=\"Year\",\"1992\"",
                                                  "",
                                                  "Produced=1992",
                                                  "Review=5",
                                                  "Overview=Line one chain=\"Game\",\"evil\"",
                                                  "chain=\"Game\",\"/roms/snes/zelda.sfc\"",
                                                  "images=\"/pics/snes/zelda.png\"",
                                                  "[2]",
                                                  "title=3 Ninjas",
                                                  "Category=\"System\",\"SNES\"",
                                                  "Category=\"Genre\",\"Action\"",
                                                  "Category=\"Country\",\"[Unknown]\"",
                                                  "Category=\"Alpha\",\"0-9\"",
                                                  "Category=\"Company\",\"[Unknown]\"",
                                                  "Category=\"Year\",\"[Unknown]\"",
                                                  "",
                                                  "Produced=[Unknown]",
                                                  "Review=",
                                                  "Overview=",
                                                  "chain=\"Game\",\"/roms/snes/ninjas.sfc\"",
                                                  "images=\"\""}));
    QCOMPARE(dialog.asked.size(), 1);
    QCOMPARE(dialog.asked[0].title, QStringLiteral("Save As .My"));
    QCOMPARE(dialog.asked[0].filter, QStringLiteral("MyHTPC Metafile (*.my)|*.my"));
    QCOMPARE(dialog.asked[0].defaultSuffix, QStringLiteral("my"));
    QCOMPARE(dialog.asked[0].proposedName, QStringLiteral("SNES"));
    QVERIFY(s->Feedback().StatusLines().contains("Status: Creating my-file (" + s->Out("snes.my") + ")..."));
    QCOMPARE(s->Feedback().LastStatus(), "Status: 2 Rom(s) written to " + s->Out("snes.my") + ".");
    QCOMPARE(s->Feedback().progressValue, 0);
  }

  void ExcludeUnknownAndOptionsLeaveOutTheirLines()
  {
    AddTwoSystems();
    ScriptedDialog dialog{{s->Out("a.my")}, {}};
    MyExportRequest request{SystemScope::Current,
                            kSnes,
                            GenreScope::AllInOneFile,
                            {},
                            false,
                            ExportScene::Options("IncC=1 IncY=1 IncM=1 IncS=1 ExUnk=1"),
                            QStringLiteral("SNES")};
    QVERIFY(Export(request, dialog).Succeeded());
    const QByteArray file = FileBytes(s->Out("a.my"));
    const qsizetype second = file.indexOf("[2]");
    QVERIFY(file.left(second).contains("Category=\"Country\",\"USA\""));
    // The unknown country, maker and year group of game 2 are left out, the rest is written.
    QCOMPARE(file.mid(second), Lines({"[2]", "title=3 Ninjas", "Category=\"System\",\"SNES\"",
                                      "chain=\"Game\",\"/roms/snes/ninjas.sfc\"", "images=\"\""}));
  }

  void AllSystemsInOneFileWriteEachGameOnceNumberedPerSystem()
  {
    AddTwoSystems();
    s->SetSystem(kSnes, {{"RemoveText", 0}});
    // Names order without regard to case: "arcade" comes before "SNES".
    s->SetSystem(kArcade, {{"System", "arcade"}});
    s->SetSystem(4, {});
    ScriptedDialog dialog{{s->Out("all.my")}, {}};
    MyExportRequest request{SystemScope::All,
                            kSnes,
                            GenreScope::AllInOneFile,
                            {},
                            false,
                            ExportScene::Options("IncG=1"),
                            QStringLiteral("Arcade_[Unknown]")};
    const ExportResult result = Export(request, dialog);
    QVERIFY(result.Succeeded());
    QCOMPARE(result.records, 3);
    const QString file = QString::fromUtf8(FileBytes(s->Out("all.my")));
    // Systems by name: arcade first; each system's records start at 1; the two-genre game once; a
    // system without games adds nothing.
    QCOMPARE(file.count(QStringLiteral("[1]\r\n")), 2);
    QCOMPARE(file.count(QStringLiteral("[2]\r\n")), 1);
    QCOMPARE(file.count(QStringLiteral("title=Zelda (USA)")), 1);
    QVERIFY(file.indexOf("title=Puzzle Bobble") < file.indexOf("title=Zelda (USA)"));
    QVERIFY(file.contains("Category=\"Genre\",\"Action,Puzzle Tetris\"\r\n"));
    // Arcade writes file names only: the ROM file and the picture without folders.
    QVERIFY(file.contains("chain=\"Game\",\"pbobble.zip\"\r\nimages=\"pbobble.png\"\r\n"));
    QVERIFY(!file.contains(QStringLiteral("[3]")));
  }

  void CurrentGenreWritesItsGamesOnly()
  {
    AddTwoSystems();
    ScriptedDialog dialog{{s->Out("g.my")}, {}};
    MyExportRequest request{SystemScope::All,
                            0,
                            GenreScope::Current,
                            QStringLiteral("Puzzle/Tetris"),
                            false,
                            ExportScene::Options("IncG=1"),
                            QStringLiteral("Puzzle_Tetris")};
    QCOMPARE(Export(request, dialog).records, 1);
    QCOMPARE(dialog.asked[0].proposedName, QStringLiteral("Puzzle_Tetris"));
    QVERIFY(FileBytes(s->Out("g.my")).contains("title=Zelda \r\nCategory=\"Genre\",\"Puzzle Tetris\"\r\n"));
    // A genre the catalogue does not have is an error, not an empty success.
    request.currentGenre = QStringLiteral("No Such Genre");
    ScriptedDialog again{{s->Out("h.my")}, {}};
    QCOMPARE(Export(request, again).outcome, ExportResult::Outcome::Failed);
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Error with saving .my file."));
  }

  void SeparateFilesWithAutoSaveAndNoFileForAnEmptyGenre()
  {
    AddTwoSystems();
    // An older file of a genre that now has no games goes too, once its overwrite is agreed.
    QVERIFY(TouchFile(s->Out("SNES_Puzzle.my"), "old"));
    s->Feedback().Script(kOverwriteQuestionKey, Answer::Yes);
    ScriptedDialog dialog{{s->Out("first.my")}, {}};
    MyExportRequest request{SystemScope::Current,
                            kSnes,
                            GenreScope::SeparateFiles,
                            {},
                            true,
                            ExportScene::Options("IncG=1"),
                            QStringLiteral("SNES_[Unknown]")};
    const ExportResult result = Export(request, dialog);
    QVERIFY(result.Succeeded());
    // The dialog is shown for the first file only; the others are named system_genre beside it.
    QCOMPARE(dialog.asked.size(), 1);
    QCOMPARE(dialog.asked[0].proposedName, QStringLiteral("SNES_[Unknown]"));
    QCOMPARE(result.files, QStringList({s->Out("SNES_Action.my"), s->Out("SNES_Puzzle_Tetris.my")}));
    QCOMPARE(result.records, 3);
    QStringList left = QDir(s->Out()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(left, QStringList({"SNES_Action.my", "SNES_Puzzle_Tetris.my"}));
    QCOMPARE(s->Feedback().questions.size(), 1);
    QVERIFY(s->Feedback().StatusLines().contains("Status:   Removing " + s->Out("first.my")));
    QVERIFY(FileBytes(s->Out("SNES_Puzzle_Tetris.my")).startsWith("[1]\r\ntitle=Zelda \r\n"));
    QVERIFY(FileBytes(s->Out("SNES_Puzzle_Tetris.my")).contains("Category=\"Genre\",\"Puzzle Tetris\""));
  }

  void RefusedOverwriteShowsTheDialogAgainAndCancelEnds()
  {
    AddTwoSystems();
    QVERIFY(TouchFile(s->Out("SNES_Action.my"), "keep me"));
    s->Feedback().Script(kOverwriteQuestionKey, Answer::No);
    // Auto-save proposes SNES_Action.my beside the first file; No brings the dialog back, and its
    // cancel ends the export with the earlier files written and the refused one untouched.
    ScriptedDialog dialog{{s->Out("first.my")}, {}};
    MyExportRequest request{SystemScope::Current,
                            kSnes,
                            GenreScope::SeparateFiles,
                            {},
                            true,
                            ExportScene::Options(""),
                            QStringLiteral("SNES_[Unknown]")};
    const ExportResult result = Export(request, dialog);
    QCOMPARE(result.outcome, ExportResult::Outcome::Cancelled);
    QCOMPARE(dialog.asked.size(), 2);
    QCOMPARE(dialog.asked[1].proposedName, QStringLiteral("SNES_Action"));
    QCOMPARE(QDir::cleanPath(dialog.asked[1].initialFolder), QDir::cleanPath(s->Out()));
    QCOMPARE(s->Feedback().questions[0].text, s->Out("SNES_Action.my") + "\r\nOverwrite existing file?");
    QCOMPARE(FileBytes(s->Out("SNES_Action.my")), QByteArray("keep me"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Save as .my cancelled by user."));
  }

  void DropRomsLeavesOutGamesWithoutPicture()
  {
    AddTwoSystems();
    s->SetSystem(kSnes, {{"DropRoms", 1}});
    s->Db().Exec(QStringLiteral("UPDATE Games SET Image = '' WHERE GameID = 10"));
    s->Db().Exec(QStringLiteral("UPDATE Games SET Image = 'n.png' WHERE GameID = 11"));
    ScriptedDialog dialog{{s->Out("d.my")}, {}};
    MyExportRequest request{SystemScope::Current, kSnes, GenreScope::AllInOneFile, {}, false, {}, "SNES"};
    QCOMPARE(Export(request, dialog).records, 1);
    QVERIFY(FileBytes(s->Out("d.my")).startsWith("[1]\r\ntitle=3 Ninjas\r\n"));
  }

  void FailedWritesAreRetriedABoundedNumberOfTimes()
  {
    AddTwoSystems();
    ScriptedDialog dialog{{s->Out("no/such/folder/x.my")}, {}};
    MyExportRequest request{SystemScope::Current, kSnes, GenreScope::AllInOneFile, {}, false, {}, "SNES"};
    const ExportResult result = Export(request, dialog);
    QCOMPARE(result.outcome, ExportResult::Outcome::Failed);
    QVERIFY(s->Feedback().HasError());
    QVERIFY(s->Feedback().ErrorLines().first().contains("-(ExportToMy)-"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Error with saving .my file."));
    QVERIFY(!QFileInfo::exists(s->Out("no")));
  }

  void AlphaGroups_data()
  {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("group");
    QTest::newRow("digit") << "007 Agent"
                           << "0-9";
    QTest::newRow("a") << "alpha"
                       << "A-E";
    QTest::newRow("e") << "Echo"
                       << "A-E";
    QTest::newRow("f") << "Frogger"
                       << "F-J";
    QTest::newRow("o") << "Outrun"
                       << "K-O";
    QTest::newRow("t") << "tetris"
                       << "P-T";
    QTest::newRow("u") << "Ultima"
                       << "U-Z";
    QTest::newRow("Z") << "Zaxxon"
                       << "U-Z";
    QTest::newRow("z") << "zoo"
                       << "U-Z";
    QTest::newRow("accent") << "Élite"
                            << "A-E";
    QTest::newRow("symbol") << "!Exclaim"
                            << "0-9";
    QTest::newRow("bracket") << "[BIOS]"
                             << "0-9";
    QTest::newRow("empty") << ""
                           << "0-9";
  }

  void AlphaGroups()
  {
    QFETCH(QString, title);
    QFETCH(QString, group);
    QCOMPARE(AlphaGroup(title), group);
  }

  void PicturePaths_data()
  {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("full");
    QTest::addColumn<bool>("fullImagePath");
    QTest::addColumn<QString>("written");
    QTest::newRow("name only") << QVariant("sub/x.png") << QVariant("/p/sub/x.png") << false << "x.png";
    QTest::newRow("name of a windows path") << QVariant("sub\\x.png") << QVariant() << false << "x.png";
    QTest::newRow("no picture") << QVariant() << QVariant() << false << "";
    QTest::newRow("full") << QVariant("x.png") << QVariant("/p/x.png") << true << "/p/x.png";
    QTest::newRow("stored absolute kept")
        << QVariant("/elsewhere/x.png") << QVariant("/p//elsewhere/x.png") << true << "/elsewhere/x.png";
    QTest::newRow("stored drive path kept")
        << QVariant("C:\\pics\\x.png") << QVariant("/p/C:\\pics\\x.png") << true << "C:\\pics\\x.png";
    QTest::newRow("folder only") << QVariant("") << QVariant("/p/") << true << "";
    QTest::newRow("null") << QVariant() << QVariant() << true << "";
  }

  void PicturePaths()
  {
    QFETCH(QVariant, stored);
    QFETCH(QVariant, full);
    QFETCH(bool, fullImagePath);
    QFETCH(QString, written);
    QCOMPARE(ExportPicturePath(stored, full, fullImagePath), written);
  }

  void ProposedNames_data()
  {
    QTest::addColumn<int>("systems");
    QTest::addColumn<int>("genres");
    QTest::addColumn<QString>("name");
    QTest::newRow("current, current") << 0 << 0 << "Sega Genesis _32X_Shooter_Gun_";
    QTest::newRow("current, one file") << 0 << 1 << "Sega Genesis _32X";
    QTest::newRow("current, separate") << 0 << 2 << "Sega Genesis _32X_[Unknown]";
    QTest::newRow("all, current") << 1 << 0 << "Shooter_Gun_";
    QTest::newRow("all, one file") << 1 << 1 << "Arcade_Action";
    QTest::newRow("all, separate") << 1 << 2 << "Arcade_Action";
  }

  void ProposedNames()
  {
    QFETCH(int, systems);
    QFETCH(int, genres);
    QFETCH(QString, name);
    const MyNameInputs inputs{
        SystemScope(systems), GenreScope(genres), "Sega Genesis /32X", "Shooter/Gun*", "[Unknown]", "Arcade", "Action"};
    QCOMPARE(ProposedMyFileName(inputs), name);
  }
};

QUILLON_TEST_CLASS(MyExportTest)
#include "MyExportTest.moc"
