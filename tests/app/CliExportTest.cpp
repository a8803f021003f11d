// quillon-cli export-my, export-meedio and options on a real catalogue and real files.
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput Run(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

QByteArray Read(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Two SNES games, one of them in two genres.
void AddGames(TestCatalogue& t)
{
  const qint64 roms = InsertRomPath(t.Db(), kSnes, QStringLiteral("/roms/"));
  TestGame(kSnes, QStringLiteral("Axelay"))
      .File(QStringLiteral("axelay.sfc"))
      .Folder(roms)
      .Selected()
      .Genres({25})
      .Insert(t.Db());
  TestGame(kSnes, QStringLiteral("Tetris Attack"))
      .File(QStringLiteral("ta.sfc"))
      .Folder(roms)
      .Selected()
      .Genres({19, 20})
      .Insert(t.Db());
}

}  // namespace

class CliExportTest : public QObject {
  Q_OBJECT

 private slots:
  void OptionsShowAndSet()
  {
    TestCatalogue t;
    const CliOutput shown = Run(t, {"options", "show"});
    QCOMPARE(shown.status, 0);
    QCOMPARE(shown.out, QStringLiteral("IncC\t1\nIncG\t1\nIncM\t1\nIncO\t1\nIncR\t1\nIncS\t1\nIncY\t1\nIncQ\t0\n"
                                       "ExUnk\t0\nAlpha\t1\nSFile\t0\n"));
    QCOMPARE(Run(t, {"options", "set", "incq=1", "IncC=0"}).status, 0);
    QCOMPARE(t.Value("SELECT IncQ || IncC FROM Inc").toString(), QStringLiteral("10"));
    // Nothing is stored when one assignment is wrong.
    QCOMPARE(Run(t, {"options", "set", "IncC=1", "IncX=1"}).status, 2);
    QCOMPARE(Run(t, {"options", "set", "IncC=yes"}).status, 2);
    QCOMPARE(t.Value("SELECT IncC FROM Inc").toInt(), 0);
  }

  void ExportMyOneFileAndOverwrite()
  {
    TestCatalogue t;
    AddGames(t);
    QTemporaryDir out;
    const QString file = out.filePath("snes.my");
    CliOutput run = Run(t, {"export-my", out.filePath("snes"), "--system", "snes", "--all-genres"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, file + "\n");
    QVERIFY(run.err.contains("2 Rom(s) written to " + file + "."));
    const QByteArray first = Read(file);
    QCOMPARE(first.count("title=Tetris Attack"), 1);
    QVERIFY(first.contains("Category=\"Genre\",\"Puzzle,Puzzle Tetris\""));

    // An existing file is kept unless --overwrite says otherwise.
    QVERIFY(TouchFile(file, "mine"));
    run = Run(t, {"export-my", file, "--system", "SNES", "--all-genres"});
    QCOMPARE(run.status, 1);
    QVERIFY(run.err.contains("add --overwrite"));
    QCOMPARE(Read(file), QByteArray("mine"));
    QCOMPARE(Run(t, {"export-my", file, "--system", "SNES", "--all-genres", "--overwrite"}).status, 0);
    QCOMPARE(Read(file), first);
  }

  void ExportMySeparateFilesIntoAFolder()
  {
    TestCatalogue t;
    AddGames(t);
    QTemporaryDir out;
    const CliOutput run =
        Run(t, {"export-my", out.path() + "/", "--system", "SNES", "--separate-files", "--auto-save"});
    QCOMPARE(run.status, 0);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files, QDir::Name),
             QStringList({"SNES_Puzzle.my", "SNES_Puzzle_Tetris.my", "SNES_Shooter.my"}));
    QCOMPARE(run.out.split('\n', Qt::SkipEmptyParts).size(), 3);
  }

  // A folder as OUTPUT gets the proposed file name in it, never a hidden ".my".
  void ExportMyIntoAFolder_data()
  {
    QTest::addColumn<QStringList>("choice");
    QTest::addColumn<bool>("slash");
    QTest::addColumn<QString>("file");
    QTest::newRow("one genre") << QStringList{"--genre", "Puzzle"} << true << "SNES_Puzzle.my";
    QTest::newRow("all genres") << QStringList{"--all-genres"} << false << "SNES.my";
  }

  void ExportMyIntoAFolder()
  {
    QFETCH(QStringList, choice);
    QFETCH(bool, slash);
    QFETCH(QString, file);
    TestCatalogue t;
    AddGames(t);
    QTemporaryDir out;
    const CliOutput run =
        Run(t, QStringList{"export-my", out.path() + (slash ? "/" : ""), "--system", "SNES"} + choice);
    QCOMPARE(run.status, 0);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), QStringList{file});
    QCOMPARE(run.out, out.filePath(file) + "\n");
    // A folder that is not there is refused before anything is written.
    const CliOutput missing = Run(t, QStringList{"export-my", out.filePath("none/"), "--system", "SNES"} + choice);
    QCOMPARE(missing.status, 1);
    QVERIFY2(missing.err.contains("no folder " + out.filePath("none/")), qPrintable(missing.err));
  }

  void ExportMeedio()
  {
    TestCatalogue t;
    AddGames(t);
    QTemporaryDir out;
    const QString library = out.filePath("games.mlf");
    const CliOutput run = Run(t, {"export-meedio", out.filePath("games"), "--all-systems"});
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, library + "\n");
    QVERIFY(run.err.contains("2 Rom(s) exported to " + library + "."));
    QVERIFY(QFile::exists(t.Folder().LibraryFolder() + "quillon.mlf"));
    // A library that cannot be read fails the command.
    QVERIFY(TouchFile(library, QByteArray(3000, 'x')));
    QCOMPARE(Run(t, {"export-meedio", library, "--system", "SNES"}).status, 1);
    // A folder is refused, not written as a hidden ".mlf" in it.
    for (const QString& folder : {out.path(), out.path() + "/"}) {
      const CliOutput refused = Run(t, {"export-meedio", folder, "--system", "SNES"});
      QCOMPARE(refused.status, 1);
      QVERIFY2(refused.err.contains("is a folder"), qPrintable(refused.err));
    }
    QVERIFY(!QFile::exists(out.filePath(".mlf")));
  }

  void UsageErrors()
  {
    TestCatalogue t;
    const QList<QStringList> cases = {{"export-my", "--system", "SNES", "--all-genres"},
                                      {"export-my", "x.my", "--all-genres"},
                                      {"export-my", "x.my", "--system", "SNES", "--all-systems", "--all-genres"},
                                      {"export-my", "x.my", "--system", "SNES"},
                                      {"export-my", "x.my", "--system", "SNES", "--all-genres", "--auto-save"},
                                      {"export-meedio", "x.mlf"},
                                      {"options"}};
    for (const QStringList& args : cases)
      QVERIFY2(Run(t, args).status == 2, qPrintable(args.join(' ')));
  }
};

QUILLON_TEST_CLASS(CliExportTest)
#include "CliExportTest.moc"
