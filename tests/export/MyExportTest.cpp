// The .my export on a real catalogue: record lines, numbering, one file or one per genre, file
// names and choices, the value rules and failures.
#include "ExportScene.h"
#include "ScratchFileSystem.h"
#include "TestRegistry.h"
#include "sqlite2/Sqlite2TestSupport.h"

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
const QString kGameColumns = QStringLiteral("GameID System RomPath FullName FileName");

// The save dialog of a test: answers with the files given, in turn, and remembers what it was asked.
struct ScriptedDialog {
  QStringList answers;
  QList<FileChoice> asked;

  std::optional<QString> operator()(const FileChoice& choice)
  {
    asked << choice;
    return answers.isEmpty() ? std::nullopt : std::optional<QString>(answers.takeFirst());
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

  ExportResult Export(SystemScope systems, GenreScope genres, const QString& options, ScriptedDialog& dialog,
                      bool autoSave = false, const QString& currentGenre = {})
  {
    const MyExportRequest request{systems,   kSnes, genres, currentGenre, autoSave, ExportScene::Options(options),
                                  "proposed"};
    return ExportToMy(s->Db().Db(), s->Feedback(), request, [&dialog](const FileChoice& c) { return dialog(c); });
  }

  // SNES (full paths, titles cut at "(") with two games, Arcade (file names only) with one.
  void AddTwoSystems()
  {
    s->Db().Exec(QStringLiteral("INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES (5000, 'Maker Z')"));
    s->SetSystem(kSnes, "FullRomPath FullImagePath RemoveText DefaultImagePath", {1, 1, 1, "/pics/snes/"});
    s->SetSystem(kArcade, "FullRomPath FullImagePath DefaultImagePath", {0, 0, "/pics/arcade/"});
    const qint64 snes = s->AddRomPath(kSnes, QStringLiteral("/roms/snes/"));
    const qint64 arcade = s->AddRomPath(kArcade, QStringLiteral("/roms/arcade/"));
    s->AddGame(kGameColumns + " Country Year Manufacturer Image Description Rating",
               {10, kSnes, snes, "Zelda (USA)", "zelda.sfc", 2, 33, 5000, "zelda.png",
                "Line one\r\nchain=\"Game\",\"evil\"", 5},
               {kAction, kPuzzleTetris});
    s->AddGame(kGameColumns, {11, kSnes, snes, "3 Ninjas", "ninjas.sfc"}, {kAction});
    s->AddGame(kGameColumns + " Image", {12, kArcade, arcade, "Puzzle Bobble", "pbobble.zip", "sub/pbobble.png"},
               {kPuzzle});
  }

 private slots:
  void init()
  {
    s = std::make_unique<ExportScene>();
    AddTwoSystems();
  }

  void RecordLinesAsTheTableSays()
  {
    ScriptedDialog dialog{{s->Out("snes.my")}, {}};
    const ExportResult result = Export(SystemScope::Current, GenreScope::AllInOneFile,
                                       "IncC=1 IncG=1 IncM=1 IncO=1 IncR=1 IncS=1 IncY=1 Alpha=1", dialog);
    QVERIFY(result.Succeeded());
    QCOMPARE(result.records, 2);
    // A line break inside a value would start a line of its own: it becomes a space.
    QCOMPARE(ReadBytes(s->Out("snes.my")), Lines({"[1]",
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
    const FileChoice& asked = dialog.asked.value(0);
    QCOMPARE(QStringList({asked.title, asked.filter, asked.defaultSuffix, asked.proposedName}),
             QStringList({"Save As .My", "MyHTPC Metafile (*.my)|*.my", "my", "proposed"}));
    QVERIFY(s->Feedback().StatusLines().contains("Status: Creating my-file (" + s->Out("snes.my") + ")..."));
    QCOMPARE(s->Feedback().LastStatus(), "Status: 2 Rom(s) written to " + s->Out("snes.my") + ".");
  }

  void ExcludeUnknownLeavesOutItsLines()
  {
    ScriptedDialog dialog{{s->Out("a.my")}, {}};
    QVERIFY(Export(SystemScope::Current, GenreScope::AllInOneFile, "IncC=1 IncY=1 IncM=1 IncS=1 ExUnk=1", dialog)
                .Succeeded());
    const QByteArray file = ReadBytes(s->Out("a.my"));
    const qsizetype second = file.indexOf("[2]");
    QVERIFY(file.left(second).contains("Category=\"Country\",\"USA\""));
    // The unknown country, maker and year group of game 2 are left out, the rest is written.
    QCOMPARE(file.mid(second), Lines({"[2]", "title=3 Ninjas", "Category=\"System\",\"SNES\"",
                                      "chain=\"Game\",\"/roms/snes/ninjas.sfc\"", "images=\"\""}));
  }

  void AllSystemsInOneFileWriteEachGameOnceNumberedPerSystem()
  {
    // Names order without regard to case: "arcade" comes before "SNES". System 4 has no games.
    s->SetSystem(kArcade, "System", {"arcade"});
    s->SetSystem(kSnes, "RemoveText", {0});
    s->SetSystem(4);
    ScriptedDialog dialog{{s->Out("all.my")}, {}};
    const ExportResult result = Export(SystemScope::All, GenreScope::AllInOneFile, "IncG=1", dialog);
    QCOMPARE(result.records, 3);
    const QString file = QString::fromUtf8(ReadBytes(s->Out("all.my")));
    QCOMPARE(file.count(QStringLiteral("[1]\r\n")), 2);
    QCOMPARE(file.count(QStringLiteral("[2]\r\n")), 1);
    QVERIFY(!file.contains(QStringLiteral("[3]")));
    QCOMPARE(file.count(QStringLiteral("title=Zelda (USA)")), 1);
    QVERIFY(file.indexOf("title=Puzzle Bobble") < file.indexOf("title=Zelda (USA)"));
    QVERIFY(file.contains("Category=\"Genre\",\"Action,Puzzle Tetris\"\r\n"));
    // Arcade writes file names only: the ROM file and the picture without folders.
    QVERIFY(file.contains("chain=\"Game\",\"pbobble.zip\"\r\nimages=\"pbobble.png\"\r\n"));
  }

  void SeparateFilesWithAutoSaveAndNoFileForAnEmptyGenre()
  {
    // An older file of a genre that now has no games goes too, once its overwrite is agreed.
    QVERIFY(TouchFile(s->Out("SNES_Puzzle.my"), "old"));
    s->Feedback().Script(kOverwriteQuestionKey, Answer::Yes);
    ScriptedDialog dialog{{s->Out("first.my")}, {}};
    const ExportResult result = Export(SystemScope::Current, GenreScope::SeparateFiles, "IncG=1", dialog, true);
    QVERIFY(result.Succeeded());
    // The dialog is shown for the first file only; the others are named system_genre beside it.
    QCOMPARE(dialog.asked.size(), 1);
    QCOMPARE(result.files, QStringList({s->Out("SNES_Action.my"), s->Out("SNES_Puzzle_Tetris.my")}));
    QCOMPARE(result.records, 3);
    QCOMPARE(QDir(s->Out()).entryList(QDir::Files, QDir::Name),
             QStringList({"SNES_Action.my", "SNES_Puzzle_Tetris.my"}));
    QCOMPARE(s->Feedback().questions.size(), 1);
    QVERIFY(s->Feedback().StatusLines().contains("Status:   Removing " + s->Out("first.my")));
    QVERIFY(ReadBytes(s->Out("SNES_Puzzle_Tetris.my"))
                .startsWith("[1]\r\ntitle=Zelda \r\nCategory=\"Genre\",\"Puzzle Tetris\"\r\n"));
  }

  void RefusedOverwriteShowsTheDialogAgainAndCancelEnds()
  {
    QVERIFY(TouchFile(s->Out("SNES_Action.my"), "keep me"));
    s->Feedback().Script(kOverwriteQuestionKey, Answer::No);
    // Auto-save proposes SNES_Action.my beside the first file; No brings the dialog back, and its
    // cancel ends the export with the refused file untouched.
    ScriptedDialog dialog{{s->Out("first.my")}, {}};
    QCOMPARE(Export(SystemScope::Current, GenreScope::SeparateFiles, "", dialog, true).outcome,
             ExportResult::Outcome::Cancelled);
    QCOMPARE(dialog.asked.size(), 2);
    QCOMPARE(dialog.asked[1].proposedName, QStringLiteral("SNES_Action"));
    QCOMPARE(QDir::cleanPath(dialog.asked[1].initialFolder), QDir::cleanPath(s->Out()));
    QCOMPARE(s->Feedback().questions[0].text, s->Out("SNES_Action.my") + "\r\nOverwrite existing file?");
    QCOMPARE(ReadBytes(s->Out("SNES_Action.my")), QByteArray("keep me"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Save as .my cancelled by user."));
  }

  void CurrentGenreAndDropRoms()
  {
    s->SetSystem(kSnes, "DropRoms", {1});
    s->Db().Exec(QStringLiteral("UPDATE Games SET Image = '' WHERE GameID = 11"));
    ScriptedDialog dialog{{s->Out("g.my")}, {}};
    QCOMPARE(Export(SystemScope::All, GenreScope::Current, "IncG=1", dialog, false, "action").records, 1);
    // The record lists all of the game's genres, not only the one exported.
    QVERIFY(
        ReadBytes(s->Out("g.my")).startsWith("[1]\r\ntitle=Zelda \r\nCategory=\"Genre\",\"Action,Puzzle Tetris\"\r\n"));
  }

  void FailuresEndTheExportAndSaySo()
  {
    // A file that cannot be written is tried a few times, then reported.
    ScriptedDialog dialog{{s->Out("no/such/folder/x.my")}, {}};
    QCOMPARE(Export(SystemScope::Current, GenreScope::AllInOneFile, "", dialog).outcome, ExportResult::Outcome::Failed);
    QVERIFY(s->Feedback().ErrorLines().value(0).contains("-(ExportToMy)-"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Error with saving .my file."));
    // A genre the catalogue does not have is an error, not an empty file.
    ScriptedDialog again{{s->Out("h.my")}, {}};
    QCOMPARE(Export(SystemScope::All, GenreScope::Current, "", again, false, "No Such Genre").outcome,
             ExportResult::Outcome::Failed);
    QVERIFY(!QFileInfo::exists(s->Out("h.my")));
  }

  void AFullDiskSaysSoAndKeepsTheOldFile()
  {
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    // More than the disk has left, so the write falls short part of the way.
    for (int id = 100; id < 200; ++id)
      s->AddGame(
          kGameColumns + " Description",
          {id, kSnes, 1, QStringLiteral("Game %1").arg(id), QStringLiteral("g%1.sfc").arg(id), QString(300, 'o')},
          {kAction});
    const QString file = disk.Path() + QStringLiteral("/games.my");
    QVERIFY(TouchFile(file, "old"));
    QVERIFY(disk.Fill(8 * 1024));
    s->Feedback().Script(kOverwriteQuestionKey, Answer::Yes);
    ScriptedDialog dialog{{file}, {}};
    QCOMPARE(Export(SystemScope::Current, GenreScope::AllInOneFile, "IncO=1", dialog, false).outcome,
             ExportResult::Outcome::Failed);
    const QString error = s->Feedback().ErrorLines().value(0);
    QVERIFY2(error.contains(file + QStringLiteral(": No space left on device")), qPrintable(error));
    QCOMPARE(ReadBytes(file), QByteArray("old"));
  }

  void AlphaGroups()
  {
    const QList<std::pair<QString, QString>> cases = {
        {"007 Agent", "0-9"}, {"Echo", "A-E"}, {"frogger", "F-J"}, {"Outrun", "K-O"},   {"tetris", "P-T"},
        {"Ultima", "U-Z"},    {"zoo", "U-Z"},  {"Élite", "A-E"},   {"!Exclaim", "0-9"}, {"", "0-9"}};
    for (const auto& [title, group] : cases)
      QCOMPARE(AlphaGroup(title), group);
  }

  void PicturePaths()
  {
    QCOMPARE(ExportPicturePath("sub/x.png", "/p/sub/x.png", false), QStringLiteral("x.png"));
    QCOMPARE(ExportPicturePath("sub\\x.png", {}, false), QStringLiteral("x.png"));
    QCOMPARE(ExportPicturePath("x.png", "/p/x.png", true), QStringLiteral("/p/x.png"));
    // A stored absolute path is written unchanged.
    QCOMPARE(ExportPicturePath("/elsewhere/x.png", "/p//elsewhere/x.png", true), QStringLiteral("/elsewhere/x.png"));
    QCOMPARE(ExportPicturePath("C:\\pics\\x.png", "/p/C:\\pics\\x.png", true), QStringLiteral("C:\\pics\\x.png"));
    QCOMPARE(ExportPicturePath("", "/p/", true), QString());
    QCOMPARE(ExportPicturePath({}, {}, true), QString());
  }

  void ProposedNames()
  {
    MyNameInputs inputs{SystemScope::Current,
                        GenreScope::Current,
                        "Sega Genesis /32X",
                        "Shooter/Gun*",
                        "[Unknown]",
                        "Arcade",
                        "Action"};
    const QStringList expected = {"Sega Genesis _32X_Shooter_Gun_",
                                  "Sega Genesis _32X",
                                  "Sega Genesis _32X_[Unknown]",
                                  "Shooter_Gun_",
                                  "Arcade_Action",
                                  "Arcade_Action"};
    int i = 0;
    for (const SystemScope systems : {SystemScope::Current, SystemScope::All}) {
      for (const GenreScope genres : {GenreScope::Current, GenreScope::AllInOneFile, GenreScope::SeparateFiles}) {
        inputs.systems = systems;
        inputs.genres = genres;
        QCOMPARE(ProposedMyFileName(inputs), expected[i++]);
      }
    }
  }
};

QUILLON_TEST_CLASS(MyExportTest)
#include "MyExportTest.moc"
