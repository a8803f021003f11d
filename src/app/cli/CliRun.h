#pragma once
// What a command of quillon-cli works with: its arguments, the two output streams, the feedback
// that prints progress and statuses, and the catalogue, opened on first use.
#include "app/cli/CliFeedback.h"
#include "catalogue/Session.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace quillon::cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

class CliRun {
 public:
  CliRun(QStringList args, QString dataDirOption, QTextStream& out, QTextStream& err);
  ~CliRun();

  const QStringList& Args() const { return m_args; }
  // The two streams; a progress bar on the terminal is wiped first, so what follows starts a line.
  QTextStream& Out() { return EndProgress(m_out); }
  QTextStream& Err() { return EndProgress(m_err); }
  CliFeedback& Feedback() { return m_feedback; }

  // Opens the catalogue of the data folder (copying the delivered one into a new folder).
  // Prints why on stderr and returns nullptr when it cannot.
  Catalogue* OpenCatalogue();
  const DataFolder& Folder() const { return m_folder; }

  // Prints a usage error for the command and returns kUsage.
  int UsageError(const QString& message);

 private:
  QTextStream& EndProgress(QTextStream& stream)
  {
    m_feedback.ClearProgressLine();
    return stream;
  }

  QStringList m_args;
  QString m_dataDirOption;
  QTextStream& m_out;
  QTextStream& m_err;
  CliFeedback m_feedback;
  DataFolder m_folder;
  Session m_session;
};

struct CliCommand {
  QString name;
  QStringList synopsis;  // one usage line each, without the program name
  QString summary;
  std::function<int(CliRun&)> run;
};

// Every command of the tool, in the order the help lists them.
std::vector<CliCommand> AllCommands();

// Runs the tool on its arguments (without the program name); returns the exit status.
int RunCli(const QStringList& arguments, QTextStream& out, QTextStream& err);

}  // namespace quillon::cli
