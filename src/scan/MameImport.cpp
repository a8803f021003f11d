#include "scan/MameImport.h"

#include "browser/Processes.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Lookups.h"
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
// The error number of a list that breaks off, when the program's exit code gives none.
constexpr int kBrokenListError = 1;

const QString kUsrGamesMame = QStringLiteral("/usr/games/mame");

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
// does not answer it as Mame does.
int CountListedMachines(const QString& program, const QString& workingFolder, Feedback& feedback)
{
  QByteArray head;
  bool headerSeen = false;
  qint64 lines = 0;
  const StreamOutcome outcome = StreamProgramOutput(ToolInvocation(program, {QStringLiteral("-listfull")}),
                                                    workingFolder, feedback, [&](QByteArrayView piece) {
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
  if (outcome.stopped || outcome.crashed || outcome.exitCode != 0 || lines < 1)
    return 0;
  return static_cast<int>(lines - 1);
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
XmlOutcome ImportXmlList(const QString& program, const QString& workingFolder, MameImportWriter& writer,
                         Feedback& feedback, QStringList& clones, SqlFailure& error)
{
  MameXmlReader reader;
  MachineCounter counter(feedback);
  const StreamOutcome outcome = StreamProgramOutput(ToolInvocation(program, {QStringLiteral("-listxml")}),
                                                    workingFolder, feedback, [&](QByteArrayView piece) {
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
  if (!reader.HasRoot())
    return XmlOutcome::NoList;
  if (reader.IsComplete())
    return XmlOutcome::Complete;
  error.number = outcome.exitCode > 0 ? outcome.exitCode : kBrokenListError;
  error.description = reader.HasFailed() ? reader.ErrorText()
                      : outcome.crashed  ? QStringLiteral("Mame ended abnormally before its list was complete.")
                                         : QStringLiteral("Mame's list ended before its last machine.");
  return XmlOutcome::Broken;
}

// The lines of a list file of an old build (Windows-1252, CR LF); empty when it cannot be read.
QStringList ReadListFile(const QString& path)
{
  QStringList lines;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return lines;
  while (!file.atEnd()) {
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
      line.chop(1);
    lines << FromWindows1252(line);
  }
  return lines;
}

void RunListCommand(const QString& program, const QString& workingFolder, const QString& option,
                    const QString& outputFile, Feedback& feedback)
{
  ExecCmd(ToolInvocation(program, {option, QStringLiteral("-sortdriver")}), workingFolder, feedback, outputFile);
}

// Builds before -listxml: the three lists in the temp folder, read line by line.
void ImportThreeLists(const QString& program, const QString& workingFolder, const DataFolder& folder,
                      MameImportWriter& writer, Feedback& feedback, QStringList& clones)
{
  const QString temp = folder.TempFolder();
  QDir().mkpath(temp);
  RunListCommand(program, workingFolder, QStringLiteral("-ll"), temp + kMameListFile, feedback);
  RunListCommand(program, workingFolder, QStringLiteral("-listgames"), temp + kMameYearFile, feedback);
  RunListCommand(program, workingFolder, QStringLiteral("-listclones"), temp + kMameClonesFile, feedback);

  // list.txt starts with a header; line k of year.txt belongs to line k + 1 of list.txt.
  const QStringList list = ReadListFile(temp + kMameListFile);
  const QStringList years = ReadListFile(temp + kMameYearFile);
  feedback.SetProgressMaximum(std::max<int>(0, int(list.size()) - 1));
  MachineCounter counter(feedback);
  for (qsizetype i = 1; i < list.size(); ++i) {
    const MameListLine line = SplitListLine(list[i]);
    if (line.driver.isEmpty())
      continue;
    const MameYearLine yearLine = SplitYearLine(years.value(i - 1));
    writer.WriteGame(line.driver, line.title, yearLine.year, yearLine.manufacturer);
    counter.Count();
  }
  counter.Finish();

  const QStringList cloneLines = ReadListFile(temp + kMameClonesFile);
  for (qsizetype i = 1; i < cloneLines.size(); ++i) {
    const QString driver = CloneNameOf(cloneLines[i]);
    if (!driver.isEmpty())
      clones << driver;
  }
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
                             const QString& executable, Feedback& feedback)
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
  const QString workingFolder = FolderOf(program);
  feedback.SetProgressMaximum(CountListedMachines(program, workingFolder, feedback));
  feedback.SetProgressValue(0);

  // The writer outlives the transaction: it refreshes the lookup caches once the rows are
  // committed or rolled back.
  MameImportWriter writer(catalogue, lookups, feedback);
  Transaction transaction(catalogue);
  SqlFailure failure{kBrokenListError, QStringLiteral("The catalogue could not begin a transaction.")};
  if (!transaction.IsActive() || !writer.Prepare(&failure)) {
    FinishWithError(summary, feedback, failure);
    return summary;
  }

  QStringList clones;
  summary.form = MameListForm::Xml;
  switch (ImportXmlList(program, workingFolder, writer, feedback, clones, failure)) {
    case XmlOutcome::Complete:
      break;
    case XmlOutcome::Broken:
      FinishWithError(summary, feedback, failure);
      return summary;
    case XmlOutcome::NoList:
      summary.form = MameListForm::ThreeLists;
      ImportThreeLists(program, workingFolder, folder, writer, feedback, clones);
      break;
  }
  if (writer.GamesSeen() == 0) {
    summary.form = MameListForm::None;
    Finish(summary, feedback, StatusKind::Error, kMameNoGamesError);
    return summary;
  }

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
