// The Meedio export on a real catalogue into libraries written by our SQLite 2 engine: the rows
// of the engine's golden library, the transfer-file escapes, the emulator split, the template,
// and failures that must leave the library as it was.
#include "ExportScene.h"
#include "ScratchFileSystem.h"
#include "TestRegistry.h"
#include "sqlite2/Sqlite2TestSupport.h"

#include "catalogue/DataFolder.h"
#include "catalogue/SavedQueries.h"
#include "export/MeedioExport.h"
#include "export/sqlite2/Sqlite2Copy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kSysOne = 1;
constexpr qint64 kSysThree = 3;
const QString kGameColumns = QStringLiteral("GameID System RomPath FullName FileName");
const QString kGoldenOptions = QStringLiteral("IncC=1 IncG=1 IncM=1 IncO=1 IncR=1 IncS=1 IncY=1 ExUnk=1");

// The rows of a library's items table, one list of TSV fields per row (rowid first).
QList<QByteArrayList> ItemRows(const QString& library)
{
  QString error;
  const QByteArray tsv = TableAsTsv(ReadBytes(library), "items", &error);
  QList<QByteArrayList> rows;
  for (const QByteArray& line : tsv.split('\n')) {
    if (!line.isEmpty())
      rows << line.split('\t');
  }
  return rows;
}

}  // namespace

class MeedioExportTest : public QObject {
  Q_OBJECT

  std::unique_ptr<ExportScene> s;

  ExportResult Export(qint64 systemId, const QString& library, const QString& options)
  {
    return ExportToH2(s->Db().Db(), s->Feedback(), s->Db().Folder(),
                      H2ExportRequest{SystemScope::Current, systemId, ExportScene::Options(options), library});
  }

  // The two systems of the golden library, with Windows paths as a catalogue from there holds.
  void AddGoldenSystems()
  {
    const QString columns = QStringLiteral("System Emulator FullRomPath FullImagePath DefaultImagePath SysImg");
    s->SetSystem(kSysOne, columns,
                 {"Sys One", "C:\\Emu\\one.exe", 1, 1, "C:\\Images\\Sys One\\", "C:\\Images\\sys1.png"});
    s->SetSystem(kSysThree, columns, {"Sys Three", "D:\\emu3.exe", 1, 1, "D:\\Pics\\", "D:\\Pics\\sys3.png"});
    s->Db().Exec(QStringLiteral("INSERT INTO Genres (GenreID, GenreName) VALUES (100, 'Arcade'), (101, 'War')"));
    s->Db().Exec(
        QStringLiteral("INSERT INTO Manufacturer (ManufacturerID, Manufacturer) VALUES "
                       "(1001, 'Maker É'), (1002, 'Maker C'), (1003, 'Maker D'), (1004, 'Maker E')"));
  }

 private slots:
  void init() { s = std::make_unique<ExportScene>(); }

  // Two systems exported into the template library, the first twice, give the engine's rows for
  // the same games (text is UTF-8 here, Windows-1252 in the golden file).
  void TwoSystemsGiveTheEnginesLibrary()
  {
    AddGoldenSystems();
    const qint64 one = s->AddRomPath(kSysOne, QStringLiteral("C:\\ROMs\\Sys One\\"));
    const qint64 three = s->AddRomPath(kSysThree, QStringLiteral("D:\\Sys Three\\"));
    const QString columns =
        QStringLiteral("GameID System RomPath FullName FileName Image Country Year Manufacturer Rating Description");
    for (int id : {101, 102, 103})
      s->AddGame(kGameColumns, {id, kSysOne, one, "First run", QStringLiteral("%1.zip").arg(id)}, {2});
    s->AddGame(columns,
               {301, kSysThree, three, "Café Racer (Japan)", "cafe.bin", "cafe.jpg", 4, 29, 1001, QVariant(),
                "Tabs\there\tand\tthere"},
               {22, 30, 100, 11, 29});
    s->AddGame(
        columns,
        {302, kSysThree, three, "Pipes | and || bars", "pipes.bin", QVariant(), 2, 31, 1002, 3, "Backslash at end \\"},
        {25});
    const QByteArray golden = ReadBytes(GoldenPath("two-systems.rows.tsv"));
    const QString longOverview = QString::fromLatin1(
        *sqlite2::ParseCopyInput(ReadBytes(GoldenPath("h2export-1-second.tmp")), "|||", 18).at(0)[12]);
    s->AddGame(
        columns + " Selected",
        {104, kSysOne, one, "Delta Run (USA) (Rev 1)", "delta.zip", "delta.png", 2, 36, 1003, 2, longOverview, 0},
        {18});
    s->AddGame(columns + " Selected",
               {105, kSysOne, one, "Epsilon", "eps.zip", "eps.png", 3, 37, 1004, "",
                "Line one\nLine two\r\nLine three\rEnd", 0},
               {40, 101});
    const QString library = s->Out("two-systems.mlf");
    QVERIFY(Export(kSysOne, library, kGoldenOptions).Succeeded());
    QCOMPARE(ItemRows(library).size(), 3);
    QVERIFY(Export(kSysThree, library, kGoldenOptions).Succeeded());
    s->Db().Exec(QStringLiteral("UPDATE Games SET Selected = (GameID IN (104, 105)) WHERE System = 1"));
    const ExportResult again = Export(kSysOne, library, kGoldenOptions);
    QVERIFY(again.Succeeded());
    QCOMPARE(again.records, 2);
    QCOMPARE(s->Feedback().LastStatus(), "Status: 2 Rom(s) exported to " + library + ".");
    QVERIFY(s->Feedback().StatusLines().contains("Status: Exporting Sys One to H2..."));

    // The golden input gives one game of system 3 no system picture, which one export of a
    // system cannot do: every game of a system carries the system's picture.
    QByteArrayList expected = QString::fromLatin1(golden).toUtf8().split('\n');
    expected.removeAll(QByteArray());
    QByteArrayList pipes = expected[1].split('\t');
    QVERIFY(pipes[18].isEmpty());
    pipes[18] = "D:\\\\Pics\\\\sys3.png";
    expected[1] = pipes.join('\t');
    QString error;
    QCOMPARE(TableAsTsv(ReadBytes(library), "items", &error), expected.join('\n') + '\n');
    const QStringList problems = sqlite2::CheckLibraryFile(ReadBytes(library), true);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    // The library came from the template, made in the data folder; the transfer file is gone.
    QVERIFY(QFileInfo::exists(s->Db().Folder().LibraryFolder() + "quillon.mlf"));
    QVERIFY(!QFileInfo::exists(s->Db().Folder().TempFolder() + "h2export.tmp"));
  }

  void CleanDataKeepsEveryValueWhole()
  {
    const QList<std::pair<QString, QByteArray>> cases = {
        {"a\\b/c\r\nd\te", "a\\\\b\\/c\\r\\nd\\te"},
        {"x|||y||z|", "x\\|\\|\\|y\\|\\|z\\|"},
        {"It's \"Ōkami\" \\", QString("It's \"Ōkami\" \\\\").toUtf8()}};
    for (const auto& [value, field] : cases) {
      QCOMPARE(CleanData(value), field);
      // COPY gives the value back whole, and the field after it stays in its column.
      const std::vector<sqlite2::Values> rows = sqlite2::ParseCopyInput(field + "|||next\r\n", "|||", 2);
      QCOMPARE(QString::fromUtf8(rows.at(0)[0].value_or("NULL")), value);
      QCOMPARE(rows.at(0)[1].value_or("NULL"), QByteArray("next"));
    }
    QCOMPARE(CleanData(QVariant()), QByteArray());
  }

  void LocationsGenresAndExclusions()
  {
    s->SetSystem(kSysThree, "Emulator FullRomPath RemoveText", {"/usr/bin/snes9x", 1, 1});
    const qint64 roms = s->AddRomPath(kSysThree, QStringLiteral("/roms/it's here/"));
    s->AddGame(kGameColumns, {1, kSysThree, roms, "Seven (USA) [!]", "seven.sfc"}, {2, 3, 1, 6, 7, 8, 9});
    s->AddGame(kGameColumns + " Emulator", {2, kSysThree, roms, "Own", "own.sfc", "C:\\Emu\\one.exe -f"}, {19, 20});
    const QString library = s->Out("lib.mlf");
    QVERIFY(Export(kSysThree, library, "IncG=1 IncM=1 IncQ=1 ExUnk=1").Succeeded());
    const QList<QByteArrayList> rows = ItemRows(library);
    QCOMPARE(rows.size(), 2);
    // Quotes around the path of a program without arguments (the program split as the launch splits
    // it, with a blank after); the title cut, with its last four.
    QCOMPARE(rows[0][1], QByteArray("Seven  [!]"));
    QCOMPARE(rows[0][2], QByteArray("\"/roms/it's here/seven.sfc\""));
    QCOMPARE(rows[0][16], QByteArray("/usr/bin/snes9x "));
    // Seven genres: the first five, "[Unknown]" written empty; an unknown maker empty too.
    QCOMPARE(rows[0].mid(4, 5), QByteArrayList({"Action", "Adventure", "", "Board Game", "Breakout"}));
    QCOMPARE(rows[0][10], QByteArray());
    // The game's own emulator with an argument: " -f  " before the quoted path.
    QCOMPARE(rows[1][2], QByteArray(" -f  \"/roms/it's here/own.sfc\""));
    QCOMPARE(rows[1][16], QByteArray("C:\\\\Emu\\\\one.exe "));
    QCOMPARE(rows[1].mid(4, 5), QByteArrayList({"Puzzle", "Puzzle/Tetris", "", "", ""}));
    // Options off leave their fields empty.
    QCOMPARE(rows[1][9] + rows[1][12] + rows[1][13], QByteArray());
  }

  void TransferFileInAFolderWithAQuoteAndASystemWithoutGames()
  {
    s->SetSystem(kSysThree);
    s->SetSystem(kSysOne);
    s->AddGame(kGameColumns, {1, kSysThree, s->AddRomPath(kSysThree, "/roms/"), "A", "a.sfc"}, {2});
    const DataFolder folder(s->Out("it's data"));
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    const QString library = s->Out("lib.mlf");
    const ExportResult result =
        ExportToH2(s->Db().Db(), s->Feedback(), folder,
                   H2ExportRequest{SystemScope::All, 0, ExportScene::Options("IncR=1"), library});
    QVERIFY2(result.Succeeded(), qPrintable(result.error));
    QCOMPARE(result.records, 1);
    QCOMPARE(ItemRows(library).size(), 1);
    // A game without rating: NULL in the library.
    QCOMPARE(ItemRows(library)[0][12], QByteArray("\\N"));
    QVERIFY(QFileInfo::exists(folder.LibraryFolder() + "quillon.mlf"));
  }

  void AFailingStatementLeavesTheLibraryAsItWas()
  {
    s->SetSystem(kSysThree);
    s->AddGame(kGameColumns, {1, kSysThree, s->AddRomPath(kSysThree, "/roms/"), "A", "a.sfc"}, {2});
    // A library without the items table: the insert fails after the delete was committed.
    const QString library = s->Out("other.db");
    QVERIFY(CopyGolden("tiny-example.db", library));
    const QByteArray before = ReadBytes(library);
    QCOMPARE(Export(kSysThree, library, "").outcome, ExportResult::Outcome::Failed);
    QCOMPARE(ReadBytes(library), before);
    QVERIFY(s->Feedback().ErrorLines().value(0).contains("-(ExportToH2)-"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Error with saving to Meedio."));
    QVERIFY(!QFileInfo::exists(s->Db().Folder().TempFolder() + "h2export.tmp"));
  }

  void AFullDiskSaysSoAndLeavesNoHalfFile_data()
  {
    QTest::addColumn<bool>("dataFolderFull");  // the transfer file's; else the new library's folder
    QTest::addColumn<int>("freeBytes");
    QTest::newRow("new library on a full disk") << false << 0;
    QTest::newRow("transfer file on a full disk") << true << 8 * 1024;
  }

  void AFullDiskSaysSoAndLeavesNoHalfFile()
  {
    QFETCH(bool, dataFolderFull);
    QFETCH(int, freeBytes);
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    s->SetSystem(kSysThree);
    const qint64 roms = s->AddRomPath(kSysThree, "/roms/");
    // More than the disk has left, so a write falls short part of the way.
    for (int id = 1; id <= 100; ++id)
      s->AddGame(kGameColumns + " Description",
                 {id, kSysThree, roms, QStringLiteral("Game %1").arg(id), QStringLiteral("g%1.sfc").arg(id),
                  QString(300, 'o')},
                 {2});
    const DataFolder folder(dataFolderFull ? disk.Path() : s->Db().Folder().Path());
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    QString library = disk.Path() + QStringLiteral("/new.mlf");
    if (dataFolderFull) {
      library = s->Out("lib.mlf");
      QVERIFY(CopyGolden("empty-library.mlf", library));
    }
    const QByteArray before = ReadBytes(library);
    QVERIFY(disk.Fill(freeBytes));
    const ExportResult result =
        ExportToH2(s->Db().Db(), s->Feedback(), folder,
                   H2ExportRequest{SystemScope::Current, kSysThree, ExportScene::Options("IncO=1"), library});
    QCOMPARE(result.outcome, ExportResult::Outcome::Failed);
    const QString reported = s->Feedback().ErrorLines().value(0);
    QVERIFY2(reported.contains(QStringLiteral("No space left on device")), qPrintable(reported));
    QCOMPARE(ReadBytes(library), before);
    QVERIFY(!QFileInfo::exists(folder.TempFolder() + "h2export.tmp"));
  }

  void AddH2RedefinesTheView()
  {
    s->SetSystem(kSysThree);
    s->AddGame(kGameColumns + " Emulator", {1, kSysThree, s->AddRomPath(kSysThree, "/roms/"), "A", "a.sfc", "emu -x"},
               {7, 2});
    const QStringList columns = s->Db().Db().ColumnsOf("SaveAsH2");
    s->Db().Exec(QStringLiteral("DROP VIEW SaveAsH2"));
    QVERIFY(AddH2(s->Db().Db(), s->Feedback()));
    QVERIFY(AddH2(s->Db().Db(), s->Feedback()));
    QCOMPARE(s->Db().Db().ColumnsOf("SaveAsH2"), columns);
    QCOMPARE(s->Db().Value("SELECT FirstOfGenreID || ' ' || Emu FROM SaveAsH2").toString(), QStringLiteral("7 emu -x"));
    QVERIFY(!s->Feedback().HasError());
  }
};

QUILLON_TEST_CLASS(MeedioExportTest)
#include "MeedioExportTest.moc"
