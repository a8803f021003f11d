// Splitting an emulator text into its program and its options.
#include "TestRegistry.h"

#include "common/EmulatorCommand.h"

#include <QTest>

using namespace quillon;

class EmulatorCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void SplitsOnlyAfterTheProgramsExtension_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("options");
    QTest::newRow("no options") << "/emus/snes9x.exe"
                                << "/emus/snes9x.exe"
                                << "";
    QTest::newRow("dash option") << "/emus/snes9x.exe -fullscreen"
                                 << "/emus/snes9x.exe "
                                 << "-fullscreen";
    QTest::newRow("slash option") << "C:\\emus\\zsnes.exe /f"
                                  << "C:\\emus\\zsnes.exe "
                                  << "/f";
    QTest::newRow("dash in a folder") << "/my -emus/snes9x.exe"
                                      << "/my -emus/snes9x.exe"
                                      << "";
    QTest::newRow("dash in a folder, then options") << "/my -emus/snes9x.exe -f -v"
                                                    << "/my -emus/snes9x.exe "
                                                    << "-f -v";
    QTest::newRow("program without extension") << "/usr/games/mame -window"
                                               << "/usr/games/mame "
                                               << "-window";
    QTest::newRow("dash beats slash") << "/e/emu.exe /a -b"
                                      << "/e/emu.exe /a "
                                      << "-b";
    QTest::newRow("option holding a path") << "/usr/games/mame -rompath /roms"
                                           << "/usr/games/mame "
                                           << "-rompath /roms";
  }

  void SplitsOnlyAfterTheProgramsExtension()
  {
    QFETCH(QString, text);
    QFETCH(QString, program);
    QFETCH(QString, options);
    const EmulatorCommand command = SplitEmulator(text);
    QCOMPARE(command.program, program);
    QCOMPARE(command.options, options);
  }
};

QUILLON_TEST_CLASS(EmulatorCommandTest)
#include "EmulatorCommandTest.moc"
