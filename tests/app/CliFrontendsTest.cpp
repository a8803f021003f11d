// quillon-cli export-esde, export-pegasus and export-retroarch on a scanned catalogue of two
// systems: the outputs pass the strict readers, a second export changes nothing, and what cannot
// be done ends with a failure that says why.
#include "FrontendReaders.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Every file below `folder` with its content.
QMap<QString, QByteArray> Snapshot(const QString& folder)
{
  QMap<QString, QByteArray> files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
      files.insert(path, file.readAll());
  }
  return files;
}

class ScannedLibrary {
 public:
  ScannedLibrary()
  {
    for (const QString rom :
         {"snes/Super Widget (USA).sfc", "snes/Bolt & Nut (Europe) [!].smc", "gen/Sonic Thing (USA).bin"})
      TouchFile(m_roms.filePath(rom), "rom");
    Run({"system", "add-rompath", "SNES", m_roms.filePath("snes")});
    Run({"system", "add-rompath", "Sega Genesis /32X", m_roms.filePath("gen")});
    Run({"scan", "--all"});
  }

  CliOutput Run(const QStringList& args) { return RunCliOn(m_catalogue.Folder().Path(), args); }
  QString Rom(const QString& relative) const { return m_roms.filePath(relative); }
  QString Out(const QString& relative) const { return m_out.filePath(relative); }
  QStringList DataDir() const { return {"--data-dir", m_catalogue.Folder().Path()}; }

 private:
  TestCatalogue m_catalogue;
  QTemporaryDir m_roms;
  QTemporaryDir m_out;
};

}  // namespace

class CliFrontendsTest : public QObject {
  Q_OBJECT

 private slots:
  void ExportsTwoScannedSystemsAndASecondTimeChangesNothing()
  {
    ScannedLibrary library;
    // The real program, as a script would run it.
    const CliOutput esde =
        RunCliProgram(library.DataDir() + QStringList{"export-esde", "--all-systems", "--dest", library.Out("esde")});
    QCOMPARE(esde.status, 0);
    QVERIFY2(esde.out.startsWith("3 games written to 2 files for ES-DE.\n"), qPrintable(esde.out));
    const EsdeGamelist snes = ReadEsdeGamelist(library.Out("esde/gamelists/snes/gamelist.xml"), library.Rom("snes"));
    QVERIFY2(snes.errors.isEmpty(), qPrintable(snes.errors.join('\n')));
    QCOMPARE(snes.games.size(), 2);
    QVERIFY(ReadEsdeGamelist(library.Out("esde/gamelists/genesis/gamelist.xml"), library.Rom("gen")).errors.isEmpty());

    QCOMPARE(library.Run({"export-pegasus", "--all-systems"}).status, 0);
    const PegasusMetadata pegasus = ReadPegasusMetadata(library.Rom("snes/metadata.pegasus.txt"));
    QVERIFY2(pegasus.errors.isEmpty(), qPrintable(pegasus.errors.join('\n')));
    QCOMPARE(pegasus.Games().size(), 2);

    QCOMPARE(library
                 .Run({"export-retroarch", "--system", "SNES", "--system", "Sega Genesis /32X", "--dest",
                       library.Out("ra"), "--media", "none"})
                 .status,
             0);
    const RetroArchPlaylistFile ra = ReadRetroArchPlaylist(library.Out("ra/playlists/Sega - Mega Drive - Genesis.lpl"));
    QVERIFY2(ra.errors.isEmpty(), qPrintable(ra.errors.join('\n')));
    QCOMPARE(ra.items.size(), 1);

    const QMap<QString, QByteArray> before = Snapshot(library.Out(""));
    const CliOutput again = library.Run({"export-esde", "--all-systems", "--dest", library.Out("esde")});
    QCOMPARE(again.status, 0);
    QVERIFY(again.out.contains("2 files were already up to date."));
    QCOMPARE(library.Run({"export-retroarch", "--all-systems", "--dest", library.Out("ra"), "--media", "none"}).status,
             0);
    QCOMPARE(Snapshot(library.Out("")), before);
  }

  void NamesSetForASystemAreUsed()
  {
    ScannedLibrary library;
    QCOMPARE(library.Run({"system", "set", "SNES", "EsdeName=sfc"}).status, 0);
    QCOMPARE(library.Run({"export-esde", "--system", "SNES", "--dest", library.Out("esde")}).status, 0);
    QVERIFY(QFileInfo::exists(library.Out("esde/gamelists/sfc/gamelist.xml")));
    // Back to the shipped name.
    QCOMPARE(library.Run({"system", "set", "SNES", "EsdeName="}).status, 0);
    QCOMPARE(library.Run({"export-esde", "--system", "SNES", "--dest", library.Out("esde")}).status, 0);
    QVERIFY(QFileInfo::exists(library.Out("esde/gamelists/snes/gamelist.xml")));
  }

  void ACustomSystemWithoutNamesFailsAndSaysWhy()
  {
    ScannedLibrary library;
    TouchFile(library.Rom("homebrew/Demo.zip"), "rom");
    library.Run({"system", "rename", "Custom 1", "Homebrew"});
    library.Run({"system", "enable", "Homebrew"});
    library.Run({"system", "add-rompath", "Homebrew", library.Rom("homebrew")});
    library.Run({"scan", "--system", "Homebrew"});
    const CliOutput refused = library.Run({"export-retroarch", "--system", "Homebrew", "--dest", library.Out("ra")});
    QCOMPARE(refused.status, 1);
    QVERIFY2(refused.err.contains("Homebrew: it has no RetroArch name; give it one in its options (RetroArchName)"),
             qPrintable(refused.err));
    QVERIFY(!QFileInfo::exists(library.Out("ra/playlists")));
    QCOMPARE(library.Run({"system", "set", "Homebrew", "RetroArchName=Homebrew - Demos"}).status, 0);
    QCOMPARE(library.Run({"export-retroarch", "--system", "Homebrew", "--dest", library.Out("ra")}).status, 0);
    QVERIFY(ReadRetroArchPlaylist(library.Out("ra/playlists/Homebrew - Demos.lpl")).errors.isEmpty());
  }

  void UsageErrors()
  {
    ScannedLibrary library;
    const QList<QStringList> cases = {{"export-esde"},
                                      {"export-esde", "--system", "SNES", "--all-systems"},
                                      {"export-pegasus", "--all-systems", "--media", "move"},
                                      {"export-retroarch", "--all-systems", "out"},
                                      {"export-retroarch", "--all-systems", "--dest"},
                                      {"export-esde", "--all-systems", "--dest", "a", "--dest", "b"}};
    for (const QStringList& args : cases)
      QVERIFY2(library.Run(args).status == 2, qPrintable(args.join(' ')));
    QCOMPARE(library.Run({"export-esde", "--system", "No Such System"}).status, 1);
  }
};

QUILLON_TEST_CLASS(CliFrontendsTest)
#include "CliFrontendsTest.moc"
