#include "scan/MameImport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Lookups.h"
#include "common/FileWriting.h"
#include "common/Paths.h"
#include "common/Processes.h"
#include "scan/MameImportLegacy.h"
#include "scan/MameImportProcess.h"
#include "scan/MameImportXml.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

namespace {

constexpr int kMachinesPerYield = 10;
// -listfull prints one line per machine; a program printing far more is not Mame.
constexpr qint64 kMostListedMachines = 1000000;
// The lines of old builds' lists are a driver and a title; a far longer one is no list.
constexpr qsizetype kLongestListLine = 64 * 1024;

const QString kUsrGamesMame = QStringLiteral("/usr/games/mame");
const QString kUnchanged = QStringLiteral("the catalogue is unchanged.");

// The Mame program of one import, and how its runs are watched.
struct MameProgram {
  QString program;
  QString workingFolder;
  int silenceLimitMs = 0;
  Feedback& feedback;
};

StreamOutcome RunMame(const MameProgram& mame, const QStringList& arguments,
                      const std::function<bool(QByteArrayView)>& consume)
{
  return StreamProgramOutput(ToolInvocation(mame.program, arguments), mame.workingFolder, mame.feedback, consume,
                             mame.silenceLimitMs);
}

// Fills `failure` and returns true when the run was stopped because it fell silent or the user
// cancelled.
bool WasStopped(const StreamOutcome& outcome, const MameProgram& mame, const QString& option, SqlFailure& failure)
{
  if (outcome.cancelled) {
    failure = {kUserInterrupt, QStringLiteral("The import was cancelled; Mame was stopped and ") + kUnchanged};
    return true;
  }
  if (outcome.silent) {
    failure = {kGeneralError, QStringLiteral("Mame printed nothing for %1 s after %2 and was stopped; ")
                                      .arg(mame.silenceLimitMs / 1000)
                                      .arg(option) +
                                  kUnchanged};
    return true;
  }
  return false;
}

// Progress and yields over the machines read, shared by both list forms.
class MachineCounter {
 public:
  explicit MachineCounter(Feedback& feedback) : m_feedback(feedback) {}

  void Count()
  {
    if (++m_count % kMachinesPerYield != 0)
      return;
    m_feedback.SetProgressValue(m_count);
    m_feedback.Yield();
  }
  void Finish() { m_feedback.SetProgressValue(m_count); }

 private:
  Feedback& m_feedback;
  int m_count = 0;
};

void DeleteListFiles(const DataFolder& folder)
{
  for (const QString& name : {kMameListFile, kMameYearFile, kMameClonesFile})
    QFile::remove(folder.TempFolder() + name);
}

// The old builds' list files are deleted before the import and however it ends.
class ListFilesCleanup {
 public:
  explicit ListFilesCleanup(const DataFolder& folder) : m_folder(folder) { DeleteListFiles(m_folder); }
  ~ListFilesCleanup() { DeleteListFiles(m_folder); }
  ListFilesCleanup(const ListFilesCleanup&) = delete;
  ListFilesCleanup& operator=(const ListFilesCleanup&) = delete;

 private:
  const DataFolder& m_folder;
};

QString FolderOf(const QString& program)
{
  return QFileInfo(program).absolutePath() + QLatin1Char('/');
}

// The number of machines -listfull names (a line each after its header); 0 when the program
// does not answer it as Mame does. False, with `failure` filled, when the run was stopped.
bool CountListedMachines(const MameProgram& mame, int* machines, SqlFailure& failure)
{
  const QString option = QStringLiteral("-listfull");
  QByteArray head;
  bool headerSeen = false;
  qint64 lines = 0;
  const StreamOutcome outcome = RunMame(mame, {option}, [&](QByteArrayView piece) {
    if (!headerSeen) {
      head.append(piece.data(), piece.size());
      if (head.size() < 5)
        return true;
      if (!head.startsWith("Name:"))
        return false;
      headerSeen = true;
    }
    lines += std::count(piece.begin(), piece.end(), '\n');
    return lines < kMostListedMachines;
  });
  if (WasStopped(outcome, mame, option, failure))
    return false;
  const bool answered = !outcome.stopped && !outcome.crashed && outcome.exitCode == 0 && lines >= 1;
  *machines = answered ? static_cast<int>(lines - 1) : 0;
  return true;
}

void WriteMachine(const MameMachine& machine, MameImportWriter& writer, QStringList& clones)
{
  if (!machine.IsGame() || machine.name.isEmpty()) {
    writer.CountSkipped();
    return;
  }
  writer.WriteGame(machine.name, machine.description, machine.year, machine.manufacturer);
  if (!machine.cloneOf.isEmpty())
    clones << machine.name;
}

enum class XmlOutcome { NoList, Complete, Broken };

// Today's Mame: -listxml, written row by row while Mame prints it.
XmlOutcome ImportXmlList(const MameProgram& mame, MameImportWriter& writer, QStringList& clones, SqlFailure& error)
{
  const QString option = QStringLiteral("-listxml");
  MameXmlReader reader;
  MachineCounter counter(mame.feedback);
  const StreamOutcome outcome = RunMame(mame, {option}, [&](QByteArrayView piece) {
    reader.AddData(piece);
    MameMachine machine;
    for (;;) {
      switch (reader.Next(machine)) {
        case MameXmlReader::Step::Machine:
          WriteMachine(machine, writer, clones);
          counter.Count();
          continue;
        case MameXmlReader::Step::NeedData:
        case MameXmlReader::Step::End:
          return true;
        case MameXmlReader::Step::Failed:
          return false;
      }
    }
  });
  counter.Finish();
  if (WasStopped(outcome, mame, option, error))
    return XmlOutcome::Broken;
  if (!reader.HasRoot())
    return XmlOutcome::NoList;
  if (reader.IsComplete())
    return XmlOutcome::Complete;
  error.number = outcome.exitCode > 0 ? outcome.exitCode : kGeneralError;
  error.description = reader.HasFailed() ? reader.ErrorText()
                      : outcome.crashed  ? QStringLiteral("Mame ended abnormally before its list was complete.")
                                         : QStringLiteral("Mame's list ended before its last machine.");
  return XmlOutcome::Broken;
}

// One list of an old build, read line by line (Windows-1252, CR LF) while Mame prints it. False,
// with `failure` filled, when the run was stopped, a line is longer than any list line, or the
// list names more machines than any Mame; `line` returns false to stop reading early.
bool ReadListLines(const MameProgram& mame, const QString& option, SqlFailure& failure,
                   const std::function<bool(const QString&)>& line)
{
  OutputLines lines(kLongestListLine);
  qint64 count = 0;
  bool tooMany = false;
  bool consumerDone = false;
  const OutputLines::LineSink sink = [&](QByteArrayView text) {
    if (++count > kMostListedMachines + 1) {
      tooMany = true;
      return false;
    }
    consumerDone = !line(FromWindows1252(text));
    return !consumerDone;
  };
  const StreamOutcome outcome = RunMame(mame, {option, QStringLiteral("-sortdriver")},
                                        [&](QByteArrayView piece) { return lines.Add(piece, sink); });
  if (WasStopped(outcome, mame, option, failure))
    return false;
  if (!outcome.stopped)
    lines.Finish(sink);
  if (lines.FoundTooLongLine() || tooMany) {
    failure = {
        kGeneralError,
        (tooMany ? QStringLiteral("Mame's %1 list names more than %2 machines; ").arg(option).arg(kMostListedMachines)
                 : QStringLiteral("Mame's %1 list holds a line longer than %2 KB; ")
                       .arg(option)
                       .arg(kLongestListLine / 1024)) +
            QStringLiteral("it is no game list, and ") + kUnchanged};
    return false;
  }
  return true;
}

// -ll of an old build into the temp folder's list.txt while Mame prints it (UTF-8, LF); the
// number of machines it names (its first line is a header). -1, with `failure` filled, when the
// run was stopped, the list is not one or the file cannot be written.
qint64 KeepListLines(const MameProgram& mame, const QString& listPath, SqlFailure& failure)
{
  QFile listFile(listPath);
  if (!listFile.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    failure = {kGeneralError, listPath + QStringLiteral(": ") + listFile.errorString()};
    return -1;
  }
  qint64 lines = 0;
  bool written = true;
  if (!ReadListLines(mame, QStringLiteral("-ll"), failure, [&](const QString& line) {
        const QByteArray bytes = line.toUtf8() + '\n';
        written = listFile.write(bytes) == bytes.size();
        ++lines;
        return written;
      }))
    return -1;
  // Flushed even after a failed write: a write that fell short leaves the system's reason then.
  const bool flushed = FlushAll(listFile);
  if (!written || !flushed) {
    failure = {kGeneralError, listPath + QStringLiteral(": ") + listFile.errorString()};
    return -1;
  }
  return std::max<qint64>(0, lines - 1);
}

// -listgames read line by line beside list.txt: line k belongs to line k + 1 of list.txt. Each
// pair is one game. False, with `failure` filled, when the run was stopped or the list is not one.
bool WriteGamesBesideList(const MameProgram& mame, const QString& listPath, MameImportWriter& writer,
                          SqlFailure& failure)
{
  QFile listFile(listPath);
  if (!listFile.open(QIODevice::ReadOnly)) {
    failure = {kGeneralError, listPath + QStringLiteral(": ") + listFile.errorString()};
    return false;
  }
  listFile.readLine();  // the header
  MachineCounter counter(mame.feedback);
  const auto writeNextGame = [&](const QString& yearText) {
    const MameListLine line = SplitListLine(QString::fromUtf8(listFile.readLine()).chopped(1));
    if (line.driver.isEmpty())
      return;
    const MameYearLine yearLine = SplitYearLine(yearText);
    writer.WriteGame(line.driver, line.title, yearLine.year, yearLine.manufacturer);
    counter.Count();
  };
  if (!ReadListLines(mame, QStringLiteral("-listgames"), failure, [&](const QString& yearText) {
        writeNextGame(yearText);
        return !listFile.atEnd();
      }))
    return false;
  while (!listFile.atEnd())
    writeNextGame(QString());
  counter.Finish();
  return true;
}

// -listclones: the clone drivers, after the header.
bool ReadCloneList(const MameProgram& mame, QStringList& clones, SqlFailure& failure)
{
  bool header = true;
  return ReadListLines(mame, QStringLiteral("-listclones"), failure, [&](const QString& line) {
    if (!std::exchange(header, false)) {
      const QString driver = CloneNameOf(line);
      if (!driver.isEmpty())
        clones << driver;
    }
    return true;
  });
}

// Builds before -listxml: -ll is kept in list.txt, -listgames is read beside it and -listclones
// last, each while Mame prints it, so only the line being read is held in memory. False, with
// `failure` filled, when a run was stopped or a list is not one.
bool ImportThreeLists(const MameProgram& mame, const DataFolder& folder, MameImportWriter& writer, QStringList& clones,
                      SqlFailure& failure)
{
  QDir().mkpath(folder.TempFolder());
  const QString listPath = folder.TempFolder() + kMameListFile;
  const qint64 machines = KeepListLines(mame, listPath, failure);
  if (machines < 0)
    return false;
  if (machines == 0)
    return true;  // no game at all: the caller reports it
  mame.feedback.SetProgressMaximum(int(machines));
  return WriteGamesBesideList(mame, listPath, writer, failure) && ReadCloneList(mame, clones, failure);
}

void Finish(MameImportSummary& summary, Feedback& feedback, StatusKind kind, const QString& text)
{
  summary.finalKind = kind;
  summary.finalText = text;
  feedback.SetStatus(kind, text);
}

void FinishWithError(MameImportSummary& summary, Feedback& feedback, const SqlFailure& failure)
{
  Finish(summary, feedback, StatusKind::Error,
         ErrorReportText(failure.number, kMameImportRoutine, failure.description));
}

}  // namespace

QString DefaultMameExecutable()
{
  const QString onPath = QStandardPaths::findExecutable(QStringLiteral("mame"));
  if (!onPath.isEmpty())
    return onPath;
  return QFileInfo(kUsrGamesMame).isExecutable() ? kUsrGamesMame : QString();
}

MameImportSummary MameImport(Catalogue& catalogue, Lookups& lookups, const DataFolder& folder,
                             const QString& executable, Feedback& feedback, const MameImportOptions& options)
{
  MameImportSummary summary;
  feedback.Yield();
  const ListFilesCleanup cleanup(folder);
  const QString program = ShortName(executable);
  feedback.SetStatus(StatusKind::Text, kMameExportingStatus);
  if (program.isEmpty() || !QFileInfo(program).isFile()) {
    Finish(summary, feedback, StatusKind::Error, kMameNoGamesError);
    return summary;
  }
  const MameProgram mame{program, FolderOf(program), std::max(0, options.silenceLimitSeconds) * 1000, feedback};
  SqlFailure failure{kGeneralError, QStringLiteral("The catalogue could not begin a transaction.")};
  int listed = 0;
  if (!CountListedMachines(mame, &listed, failure)) {
    FinishWithError(summary, feedback, failure);
    return summary;
  }
  feedback.SetProgressMaximum(listed);
  feedback.SetProgressValue(0);

  // The writer outlives the transaction: it refreshes the lookup caches once the rows are
  // committed or rolled back.
  MameImportWriter writer(catalogue, lookups, feedback);
  Transaction transaction(catalogue);
  if (!transaction.IsActive() || !writer.Prepare(&failure)) {
    FinishWithError(summary, feedback, failure);
    return summary;
  }

  QStringList clones;
  summary.form = MameListForm::Xml;
  switch (ImportXmlList(mame, writer, clones, failure)) {
    case XmlOutcome::Complete:
      break;
    case XmlOutcome::Broken:
      FinishWithError(summary, feedback, failure);
      return summary;
    case XmlOutcome::NoList:
      summary.form = MameListForm::ThreeLists;
      if (!ImportThreeLists(mame, folder, writer, clones, failure)) {
        FinishWithError(summary, feedback, failure);
        return summary;
      }
      break;
  }
  if (writer.GamesSeen() == 0) {
    summary.form = MameListForm::None;
    Finish(summary, feedback, StatusKind::Error, kMameNoGamesError);
    return summary;
  }
  writer.ShowCounts();

  feedback.Yield();
  feedback.SetStatus(StatusKind::Text, kMameClonesStatus);
  // A failing clone pass ends the import there; the games written before it are kept.
  SqlFailure cloneFailure;
  const bool clonesMarked = writer.MarkClones(clones, &cloneFailure);
  SqlFailure commitFailure;
  if (!transaction.Commit(&commitFailure)) {
    FinishWithError(summary, feedback, commitFailure);
    return summary;
  }
  summary.committed = true;
  summary.counts = writer.Counts();
  if (!clonesMarked) {
    FinishWithError(summary, feedback, cloneFailure);
    return summary;
  }
  if (summary.counts.failed > 0) {
    Finish(summary, feedback, StatusKind::Error,
           QStringLiteral("%1 machines could not be imported").arg(summary.counts.failed));
    return summary;
  }
  summary.succeeded = true;
  Finish(summary, feedback, StatusKind::Done, QString());
  return summary;
}

}  // namespace quillon
