#pragma once
// Starting the current game in its emulator (the emulator text split as common/EmulatorCommand.h
// says); the ROM path is handed on as one argument, never through a shell.
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class Feedback;

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
