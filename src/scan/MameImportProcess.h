#pragma once
// Runs Mame with one list option and hands its standard output on while it prints, so a list of
// hundreds of megabytes never sits whole in memory or in a file.
#include "browser/Processes.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillon {

class Feedback;

struct StreamOutcome {
  bool started = false;
  bool stopped = false;  // the consumer asked to stop; the program was ended
  bool crashed = false;
  int exitCode = -1;
  QString error;  // why it could not start or did not end normally
};

// Starts the program in `workingFolder` (no shell; standard input empty, its error output
// discarded) and calls `consume` with each piece of output as it arrives; `consume` returns false
// to stop the program. Pending window events run after each piece and while it waits.
StreamOutcome StreamProgramOutput(const Invocation& invocation, const QString& workingFolder, Feedback& feedback,
                                  const std::function<bool(QByteArrayView)>& consume);

}  // namespace quillon
