#pragma once
// Running outside programs (GoodTools, Mame, emulators).
#include <QString>
#include <QStringList>

#include <functional>

namespace quillon {

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

// Runs a program in `workingFolder` and waits for its end in 50 ms steps, calling `yield` (which
// lets pending window events run) after every tenth. A program that cannot be started returns at
// once. `outputFile`, when given, receives the program's standard output (no shell involved).
ExecResult ExecCmd(const Invocation& invocation, const QString& workingFolder, const std::function<void()>& yield,
                   const QString& outputFile = {});

}  // namespace quillon
