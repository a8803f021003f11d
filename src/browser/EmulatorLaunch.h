#pragma once
// Starting the current game in its emulator. The emulator text is a program path, optionally
// followed by options that begin with " -" or " /"; the ROM path is handed on as one argument,
// never through a shell.
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class Feedback;

struct EmulatorCommand {
  QString program;  // the emulator text without its options (a trailing blank kept)
  QString options;  // from the "-" or "/" on, or empty
};

// Splits the emulator text. Only the text after the last "." of its last path element is searched
// for " -" (then " /"), so a " -" inside a folder name before the program's extension is not an
// option; a last element without a dot (usual for Linux programs) is searched whole. When the text
// before an option marker names an existing file, that split is taken first, so options holding
// paths work too.
EmulatorCommand SplitEmulator(const QString& emulatorText);

struct LaunchPlan {
  QString program;
  QStringList arguments;  // the options split as a shell would, then the ROM path as one argument
  QString workingFolder;  // the program's folder
};

// What Play would start: the program, its arguments and its working folder. `romPath` is the
// game's full ROM path (or its number, for systems that start games by number).
LaunchPlan PlanLaunch(const QString& emulatorText, const QString& romPath);

// The ROM argument of a game: the absolute path of its ROM file, or the stored value as it is
// when it names no file (a game number); empty when the game has no ROM path.
QString RomArgument(Catalogue& catalogue, Feedback& feedback, qint64 gameId);

// Starts the plan without waiting: "Loading emulator..." then "Done.", or the error "Check emulator
// and/or rom path.". Returns true when the program started.
bool LaunchGame(const LaunchPlan& plan, Feedback& feedback);

}  // namespace quillon
