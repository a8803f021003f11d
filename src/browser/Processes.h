#pragma once
// Running outside programs (GoodTools, Mame, emulators) and the path forms handed to them.
#include <QString>
#include <QStringList>

namespace quillon {

class Feedback;

// How a program file is started: Windows programs (".exe" files that are Windows executables)
// through wine when it is installed, anything else directly.
struct Invocation {
  QString program;
  QStringList arguments;
};
Invocation ToolInvocation(const QString& programFile, const QStringList& arguments);

struct ExecResult {
  bool started = false;
  int exitCode = -1;
  QString error;  // why it could not start or did not end normally
};

// Runs a program in `workingFolder` and waits for its end in 50 ms steps, letting pending window
// events run after every tenth. A program that cannot be started returns at once.
// `outputFile`, when given, receives the program's standard output (no shell involved).
ExecResult ExecCmd(const Invocation& invocation, const QString& workingFolder, Feedback& feedback,
                   const QString& outputFile = {});

// The absolute form of an existing path; empty for an empty or missing path. (There are no short
// 8.3 names here; callers that want a path safe to hand on get the absolute one.)
QString ShortName(const QString& path);

// The canonical form of an existing path (links resolved); empty when a component does not exist.
QString GetLongPathName(const QString& path);

}  // namespace quillon
