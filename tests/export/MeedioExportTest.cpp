// The Meedio export on a real catalogue into libraries written by our SQLite 2 engine: the rows
// of the engine's golden library, the transfer-file escapes, the emulator split, the template,
// and failures that must leave the library as it was.
#include "ExportScene.h"
#include "TestRegistry.h"
#include "sqlite2/Sqlite2TestSupport.h"

#include "catalogue/DataFolder.h"
#include "export/MeedioExport.h"
#include "export/SaveAsH2Query.h"
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

// A value of the golden TSV files as text.
QString TsvText(const QByteArray& field)
{
  QByteArray out;
  for (qsizetype i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out.append(field[i]);
      continue;
    }
    const char next = field[++i];
    out.append(next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next);
  }
  return QString::fromLatin1(out);
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
    s->SetSystem(kSysOne, {{"System", "Sys One"},
                           {"Emulator", "C:\\Emu\\one.exe"},
                           {"FullRomPath", 1},
                           {"FullImagePath", 1},
                           {"DefaultImagePath", "C:\\Images\\Sys One\\"},
                           {"SysImg", "C:\\Images\\sys1.png"}});
    s->SetSystem(kSysThree, {{"System", "Sys Three"},
                             {"Emulator", "D:\\emu3.exe"},
                             {"FullRomPath", 1},
                             {"FullImagePath", 1},
                             {"DefaultImagePath", "D:\\Pics\\"},
                             {"SysImg", "D:\\Pics\\sys3.png"}});
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
    for (int id : {101, 102, 103})
      s->AddGame({{"GameID", id},
                  {"System", kSysOne},
                  {"RomPath", one},
                  {"FullName", "First run"},
                  {"FileName", QStringLiteral("%1.zip").arg(id)}},
                 {2});
    s->AddGame({{"GameID", 301},
                {"System", kSysThree},
                {"RomPath", three},
                {"FullName", "Café Racer (Japan)"},
                {"FileName", "cafe.bin"},
                {"Image", "cafe.jpg"},
                {"Country", 4},
                {"Year", 29},
                {"Manufacturer", 1001},
                {"Rating", QVariant()},
                {"Description", "Tabs\there\tand\tthere"}},
               {22, 30, 100, 11, 29});
    s->AddGame({{"GameID", 302},
                {"System", kSysThree},
                {"RomPath", three},
                {"FullName", "Pipes | and || bars"},
                {"FileName", "pipes.bin"},
                {"Country", 2},
                {"Year", 31},
                {"Manufacturer", 1002},
                {"Rating", 3},
                {"Description", "Backslash at end \\"}},
               {25});
    const QByteArray golden = ReadBytes(GoldenPath("two-systems.rows.tsv"));
    const QString longOverview = TsvText(golden.split('\n')[2].split('\t')[13]);
    s->AddGame({{"GameID", 104},
                {"System", kSysOne},
                {"RomPath", one},
                {"FullName", "Delta Run (USA) (Rev 1)"},
                {"FileName", "delta.zip"},
                {"Image", "delta.png"},
                {"Country", 2},
                {"Year", 36},
                {"Manufacturer", 1003},
                {"Rating", 2},
                {"Description", longOverview},
                {"Selected", 0}},
               {18});
    s->AddGame({{"GameID", 105},
                {"System", kSysOne},
                {"RomPath", one},
                {"FullName", "Epsilon"},
                {"FileName", "eps.zip"},
                {"Image", "eps.png"},
                {"Country", 3},
                {"Year", 37},
                {"Manufacturer", 1004},
                {"Rating", ""},
                {"Description", "Line one\nLine two\r\nLine three\rEnd"},
                {"Selected", 0}},
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

  void CleanDataKeepsEveryValueWhole_data()
  {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("escapes") << "a\\b/c\r\nd\te" << QByteArray("a\\\\b\\/c\\r\\nd\\te");
    QTest::newRow("bars") << "x|||y||z|" << QByteArray("x\\|\\|\\|y\\|\\|z\\|");
    QTest::newRow("ends in a backslash") << "end \\" << QByteArray("end \\\\");
    QTest::newRow("quotes and text beyond Latin-1") << "It's \"Ōkami\"" << QString("It's \"Ōkami\"").toUtf8();
  }

  void CleanDataKeepsEveryValueWhole()
  {
    QFETCH(QString, value);
    QFETCH(QByteArray, field);
    QCOMPARE(CleanData(value), field);
    QCOMPARE(CleanData(QVariant()), QByteArray());
    // COPY gives the value back whole, and the fields after it stay in their columns.
    const QByteArray line = CleanData(value) + "|||next";
    const std::vector<sqlite2::Values> rows = sqlite2::ParseCopyInput(line + "\r\n", "|||", 2);
    QCOMPARE(rows.size(), size_t(1));
    QCOMPARE(QString::fromUtf8(*rows[0][0]), value);
    QCOMPARE(*rows[0][1], QByteArray("next"));
  }

  void EmulatorSplit_data()
  {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments");
    QTest::newRow("-f") << "C:\\Emu\\one.exe -f"
                        << "C:\\Emu\\one.exe "
                        << "-f ";
    QTest::newRow("no arguments") << "C:\\Emu\\one.exe"
                                  << "C:\\Emu\\one.exe "
                                  << "";
    QTest::newRow("slash option") << "C:\\Emu\\one.exe /x 1"
                                  << "C:\\Emu\\one.exe "
                                  << "/x 1 ";
    QTest::newRow("dash in a folder") << "C:\\My -Emus\\one.exe"
                                      << "C:\\My -Emus\\one.exe "
                                      << "";
    QTest::newRow("program without dot") << "/usr/games/mednafen -force 1"
                                         << "/usr/games/mednafen "
                                         << "-force 1 ";
    QTest::newRow("empty") << ""
                           << " "
                           << "";
  }

  void EmulatorSplit()
  {
    QFETCH(QString, command);
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    const H2Emulator split = SplitH2Emulator(command);
    QCOMPARE(split.program, program);
    QCOMPARE(split.arguments, arguments);
  }

  void LocationsGenresAndExclusions()
  {
    s->SetSystem(kSysThree, {{"Emulator", "/usr/bin/snes9x"}, {"FullRomPath", 1}, {"RemoveText", 1}});
    const qint64 roms = s->AddRomPath(kSysThree, QStringLiteral("/roms/it's here/"));
    s->AddGame({{"GameID", 1},
                {"System", kSysThree},
                {"RomPath", roms},
                {"FullName", "Seven (USA) [!]"},
                {"FileName", "seven.sfc"}},
               {2, 3, 1, 6, 7, 8, 9});
    s->AddGame({{"GameID", 2},
                {"System", kSysThree},
                {"RomPath", roms},
                {"FullName", "Own"},
                {"FileName", "own.sfc"},
                {"Emulator", "C:\\Emu\\one.exe -f"}},
               {19, 20});
    const QString library = s->Out("lib.mlf");
    QVERIFY(Export(kSysThree, library, "IncG=1 IncM=1 IncQ=1 ExUnk=1").Succeeded());
    const QList<QByteArrayList> rows = ItemRows(library);
    QCOMPARE(rows.size(), 2);
    // Quotes around the path of a program without arguments; the title cut with its last four.
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
    // Options off: their fields are empty; a NULL rating only with the rating option.
    QCOMPARE(rows[1][9], QByteArray());
    QCOMPARE(rows[1][12], QByteArray());
  }

  void TransferFileInAFolderWithAQuote()
  {
    s->SetSystem(kSysThree, {});
    const qint64 roms = s->AddRomPath(kSysThree, QStringLiteral("/roms/"));
    s->AddGame({{"GameID", 1}, {"System", kSysThree}, {"RomPath", roms}, {"FullName", "A"}, {"FileName", "a.sfc"}},
               {2});
    const DataFolder folder(s->Out("it's data"));
    QString error;
    QVERIFY(folder.EnsureFolders(&error));
    const QString library = s->Out("lib.mlf");
    const ExportResult result =
        ExportToH2(s->Db().Db(), s->Feedback(), folder,
                   H2ExportRequest{SystemScope::All, 0, ExportScene::Options("IncR=1"), library});
    QVERIFY2(result.Succeeded(), qPrintable(result.error));
    QCOMPARE(ItemRows(library).size(), 1);
    QCOMPARE(ItemRows(library)[0][12], QByteArray("\\N"));
    QVERIFY(QFileInfo::exists(folder.LibraryFolder() + "quillon.mlf"));
  }

  void AFailingStatementLeavesTheLibraryAsItWas()
  {
    s->SetSystem(kSysThree, {});
    const qint64 roms = s->AddRomPath(kSysThree, QStringLiteral("/roms/"));
    s->AddGame({{"GameID", 1}, {"System", kSysThree}, {"RomPath", roms}, {"FullName", "A"}, {"FileName", "a.sfc"}},
               {2});
    // A library without the items table: the insert fails after the delete was committed.
    const QString library = s->Out("other.db");
    QVERIFY(QFile::copy(GoldenPath("tiny-example.db"), library));
    QFile::setPermissions(library, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray before = ReadBytes(library);
    const ExportResult result = Export(kSysThree, library, "");
    QCOMPARE(result.outcome, ExportResult::Outcome::Failed);
    QCOMPARE(ReadBytes(library), before);
    QVERIFY(s->Feedback().ErrorLines().first().contains("-(ExportToH2)-"));
    QCOMPARE(s->Feedback().LastStatus(), QStringLiteral("Status: Error with saving to Meedio."));
    QVERIFY(!QFileInfo::exists(s->Db().Folder().TempFolder() + "h2export.tmp"));
    // A file that is not a library at all is refused before anything is sent.
    QVERIFY(TouchFile(library, QByteArray(2048, 'x')));
    QCOMPARE(Export(kSysThree, library, "").outcome, ExportResult::Outcome::Failed);
  }

  void ASystemWithoutGamesSendsNothing()
  {
    s->SetSystem(kSysThree, {});
    const QString library = s->Out("lib.mlf");
    const ExportResult result = Export(kSysThree, library, "");
    QVERIFY(result.Succeeded());
    QCOMPARE(result.records, 0);
    QCOMPARE(ItemRows(library).size(), 0);
  }

  void AddH2RedefinesTheView()
  {
    s->SetSystem(kSysThree, {});
    const qint64 roms = s->AddRomPath(kSysThree, QStringLiteral("/roms/"));
    s->AddGame({{"GameID", 1},
                {"System", kSysThree},
                {"RomPath", roms},
                {"FullName", "A"},
                {"FileName", "a.sfc"},
                {"Emulator", "emu -x"}},
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
