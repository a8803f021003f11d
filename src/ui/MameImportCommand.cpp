#include "ui/MameImportCommand.h"

#include "ui/CommandHost.h"
#include "ui/ProgressFeedback.h"
#include "ui/StatusFeedback.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QProgressDialog>
#include <QSortFilterProxyModel>
#include <QStandardPaths>

#include <memory>

namespace quillon::ui {

namespace {

const QString kDialogTitle = QStringLiteral("Import from Mame");
const QString kExecutableFilter = QStringLiteral("Executable (*.exe)");
const QString kNoExtensionFilter = QStringLiteral("Program without extension (*)");
const QString kGamesFolder = QStringLiteral("/usr/games");
const QString kProgressLabel = QStringLiteral("Importing the game list from Mame...");

// Hides the files that are neither Windows programs nor without an extension; folders stay.
class ProgramFilter final : public QSortFilterProxyModel {
 public:
  using QSortFilterProxyModel::QSortFilterProxyModel;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override
  {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!files)
      return true;
    const QModelIndex index = files->index(sourceRow, 0, sourceParent);
    if (files->isDir(index))
      return true;
    const QString name = files->fileName(index);
    return name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive) || !name.contains(QLatin1Char('.'));
  }
};

QString StartFolder()
{
  const QString mame = QStandardPaths::findExecutable(QStringLiteral("mame"));
  return mame.isEmpty() ? kGamesFolder : QFileInfo(mame).absolutePath();
}

}  // namespace

QFileDialog* CreateMameDialog(QWidget* parent)
{
  auto* dialog = new QFileDialog(parent, kDialogTitle, StartFolder());
  dialog->setObjectName(QStringLiteral("MameDialog"));
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  // Our own dialog: the platform's ones take no filter model.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilters({kExecutableFilter, kNoExtensionFilter});
  dialog->selectNameFilter(kNoExtensionFilter);
  dialog->setProxyModel(new ProgramFilter(dialog));
  return dialog;
}

MameImportSummary RunMameImport(UiContext context, CommandHost& host, QWidget* parent, const QString& executable)
{
  host.LockControls(true, QString());
  MameImportSummary summary;
  {
    // A Mame that hangs or takes too long can be stopped here; nothing is imported then.
    QProgressDialog progress(kProgressLabel, QStringLiteral("Cancel"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("MameProgress"));
    progress.setWindowTitle(kDialogTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.show();
    ProgressFeedback feedback(context.feedback, progress, false);
    summary = MameImport(context.catalogue, context.lookups, context.folder, executable, feedback);
  }
  if (summary.committed)
    host.RefreshList();
  host.LockControls(false, QString());
  if (host.ListedGameCount() == 0)
    host.LockControls(true, QStringLiteral("GameInfo"));
  // The list rebuild writes its own status; the import's last word is shown again.
  context.feedback.SetStatus(summary.finalKind, summary.finalText);
  return summary;
}

void RunMameImportCommand(UiContext context, CommandHost& host, QWidget* parent)
{
  host.LockControls(true, QString());
  const std::unique_ptr<QFileDialog> dialog(CreateMameDialog(parent));
  const bool chosen = dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty();
  const QString executable = chosen ? dialog->selectedFiles().constFirst() : QString();
  if (executable.isEmpty()) {
    host.LockControls(false, QString());
    return;
  }
  RunMameImport(context, host, parent, executable);
}

}  // namespace quillon::ui
