#pragma once
// An emulator text as the systems and games store it: a program path, optionally followed by
// options that begin with " -" or " /". The launch, the Meedio library and the Pegasus collection
// all split it the same way.
#include <QString>

namespace quillon {

struct EmulatorCommand {
  QString program;  // the emulator text without its options (a trailing blank kept)
  QString options;  // from the "-" or "/" on, or empty
};

// The options of an emulator text: from the "-" of the first " -" (else the "/" of the first
// " /") found in the text after the last "." of its last path element, so a " -" inside a folder
// name before the program's extension is not an option; a last element without a dot (usual for
// Linux programs) is searched whole. Empty when there is none.
QString EmulatorOptions(const QString& emulatorText);

// Splits the emulator text at its options. When the text before an option marker names an
// existing file, that split is taken first, so options holding paths work too.
EmulatorCommand SplitEmulator(const QString& emulatorText);

}  // namespace quillon
