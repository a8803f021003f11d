#pragma once
// Runs Mame with one list option and hands its standard output on while it prints, so a list of
// hundreds of megabytes never sits whole in memory or in a file.
#include "common/Processes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace quillon {

class Feedback;

struct StreamOutcome {
  bool started = false;
  bool stopped = false;    // the consumer asked to stop; the program was ended
  bool silent = false;     // it printed nothing for the silence limit; the program was ended
  bool cancelled = false;  // the user cancelled; the program was ended
  bool crashed = false;
  int exitCode = -1;
  QString error;  // why it could not start or did not end normally
};

// Starts the program in `workingFolder` (no shell; standard input empty, its error output
// discarded) and calls `consume` with each piece of output as it arrives; `consume` returns false
// to stop the program. Pending window events run after each piece and while it waits. The
// program is killed when the user cancels (Feedback::IsCancelled), or when it prints nothing for
// `silenceLimitMs` (0: no limit).
StreamOutcome StreamProgramOutput(const Invocation& invocation, const QString& workingFolder, Feedback& feedback,
                                  const std::function<bool(QByteArrayView)>& consume, int silenceLimitMs = 0);

// Cuts output into lines as it arrives: LF ends a line, a CR before it is dropped. Only the line
// being read is held, and a line longer than `longest` bytes stops it (no list has one).
class OutputLines {
 public:
  using LineSink = std::function<bool(QByteArrayView)>;

  explicit OutputLines(qsizetype longest) : m_longest(longest) {}

  // Hands each complete line of `piece` to `sink`; false when a line is too long or `sink`
  // returned false.
  bool Add(QByteArrayView piece, const LineSink& sink);
  // Hands on the last line when the output did not end with a line break.
  bool Finish(const LineSink& sink);
  bool FoundTooLongLine() const { return m_tooLong; }

 private:
  bool Emit(QByteArrayView line, const LineSink& sink);

  QByteArray m_partial;
  qsizetype m_longest;
  bool m_tooLong = false;
};

}  // namespace quillon
