#include "ui/IdentifyCommands.h"

#include "catalogue/Feedback.h"
#include "ui/IdentifyResultsDialog.h"
#include "ui/ProgressFeedback.h"
#include "ui/ReferenceListsDialog.h"

#include <memory>

namespace quillon::ui {

namespace {

// Locks the window's controls for the length of a command.
class ControlLock {
 public:
  explicit ControlLock(IdentifyContext& context) : m_context(context)
  {
    if (m_context.lockControls)
      m_context.lockControls(true);
  }
  ~ControlLock()
  {
    if (m_context.lockControls)
      m_context.lockControls(false);
  }
  ControlLock(const ControlLock&) = delete;
  ControlLock& operator=(const ControlLock&) = delete;

 private:
  IdentifyContext& m_context;
};

void RefreshList(IdentifyContext& context)
{
  if (context.refreshList)
    context.refreshList();
}

// A progress dialog for work over every file of a system: it appears once the work lasts, and
// its Cancel stops the work.
class CancellableWork {
 public:
  CancellableWork(IdentifyContext& context, const QString& title, const QString& label)
      : m_progress(label, QObject::tr("Cancel"), 0, 0, context.parent), m_feedback(context.feedback, m_progress, true)
  {
    m_progress.setObjectName(QStringLiteral("IdentifyProgress"));
    m_progress.setWindowTitle(title);
    m_progress.setWindowModality(Qt::WindowModal);
    m_progress.setAutoReset(false);
    m_progress.setAutoClose(false);
  }
  Feedback& Progress() { return m_feedback; }

 private:
  QProgressDialog m_progress;
  ProgressFeedback m_feedback;
};

int Renameable(const RenameSummary& plan)
{
  return static_cast<int>(std::count_if(plan.renames.begin(), plan.renames.end(),
                                        [](const PlannedRename& rename) { return rename.problem.isEmpty(); }));
}

}  // namespace

VerifySummary VerifyRoms(IdentifyContext& context)
{
  VerifySummary summary;
  {
    ControlLock lock(context);
    CancellableWork work(context, QObject::tr("Verify Roms"), QObject::tr("Verifying the ROM files..."));
    summary = VerifySystem(context.catalogue, work.Progress(), context.systemId);
  }
  if (!summary.ok) {
    context.feedback.SetStatus(StatusKind::Error, summary.error);
    return summary;
  }
  RefreshList(context);
  // The list rebuild writes its own status; the summary is the command's last word.
  context.feedback.SetStatus(StatusKind::Text, VerifySummaryText(summary));
  return summary;
}

RenameSummary RenameRoms(IdentifyContext& context, bool dryRun)
{
  RenameSummary summary;
  {
    ControlLock lock(context);
    CancellableWork work(context, QObject::tr("Rename to Standard Names"), QObject::tr("Renaming the ROM files..."));
    summary = RenameToStandardNames(context.catalogue, work.Progress(), context.systemId, dryRun);
  }
  if (!summary.ok) {
    context.feedback.SetStatus(StatusKind::Error, summary.error);
    return summary;
  }
  if (!dryRun) {
    RefreshList(context);
    context.feedback.SetStatus(StatusKind::Text,
                               summary.cancelled ? QObject::tr("Renamed %n file(s) before the renaming was cancelled.",
                                                               nullptr, summary.renamed)
                                                 : QObject::tr("Renamed %n file(s).", nullptr, summary.renamed));
  }
  return summary;
}

void RunVerifyCommand(IdentifyContext& context)
{
  const VerifySummary summary = VerifyRoms(context);
  if (!summary.ok) {
    // A cancelled run needs no message: the status line says so.
    if (!summary.cancelled)
      context.feedback.ShowMessage(QObject::tr("Verify Roms"), summary.error, MessageIcon::Warning);
    return;
  }
  const std::unique_ptr<IdentifyResultsDialog> dialog(CreateVerifyResults(summary, context.parent));
  dialog->exec();
}

void RunRenameCommand(IdentifyContext& context)
{
  if (!HasVerificationResults(context.catalogue, context.systemId)) {
    context.feedback.ShowMessage(
        QObject::tr("Rename to Standard Names"),
        QObject::tr("The ROM files of %1 were not verified yet: choose Verify Roms first.").arg(context.systemName),
        MessageIcon::Information);
    return;
  }
  const RenameSummary plan = RenameRoms(context, true);
  if (!plan.ok || plan.cancelled)
    return;
  const int count = Renameable(plan);
  if (count > 0) {
    const Question question{
        kRenameQuestionKey,
        QObject::tr("Rename to Standard Names"),
        QObject::tr("Rename %n file(s) to the standard names of the reference lists?", nullptr, count),
        QuestionButtons::YesNo,
        MessageIcon::Question,
        Answer::No};
    if (context.feedback.Ask(question) != Answer::Yes)
      return;
  }
  const RenameSummary summary = count > 0 ? RenameRoms(context, false) : plan;
  const std::unique_ptr<IdentifyResultsDialog> dialog(CreateRenameResults(summary, context.parent));
  dialog->exec();
}

void RunReferenceListsCommand(IdentifyContext& context)
{
  ReferenceListsDialog dialog(context.catalogue, context.feedback, context.systemId, context.systemName,
                              context.parent);
  dialog.exec();
  if (dialog.Changed())
    RefreshList(context);
}

}  // namespace quillon::ui
