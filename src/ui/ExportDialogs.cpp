#include "ui/ExportDialogs.h"

#include "catalogue/Lookups.h"
#include "ui/MainWindow.h"
#include "ui/SaveAsMyDialog.h"
#include "ui/SaveToMeedioDialog.h"
#include "ui/StatusFeedback.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QTabBar>

namespace quillon::ui {

ExportContext ExportContextOf(MainWindow& window)
{
  ExportContext context;
  context.catalogue = &window.Connection();
  context.feedback = &window.Feedback();
  context.folder = window.Folder();
  context.currentSystemId = window.CurrentSystemID();
  context.currentSystem = window.CurrentSettings().name;
  if (const auto* genres = window.findChild<QComboBox*>(QStringLiteral("cmbgenre"))) {
    context.genreFilter = genres->currentText();
    context.firstListedGenre = genres->count() > 1 ? genres->itemText(1) : QString();
  }
  if (const auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tbsSys")); tabs && tabs->count() > 0)
    context.firstSystemTab = tabs->tabText(0);
  context.firstGenreByName = window.Lookup().GetFirstGenre();
  context.lockControls = [&window](bool lock) { window.LockControls(lock, QString()); };
  context.chooseFile = [&window](const FileChoice& choice) { return ShowSaveDialog(&window, choice); };
  return context;
}

namespace {

// The folder itself when it exists, else its nearest existing parent.
QString ExistingFolder(const QString& folder)
{
  if (folder.isEmpty())
    return folder;
  QFileInfo info(folder);
  while (!info.isDir() && info.absolutePath() != info.absoluteFilePath())
    info.setFile(info.absolutePath());
  return info.absoluteFilePath();
}

}  // namespace

std::optional<QString> ShowSaveDialog(QWidget* parent, const FileChoice& choice)
{
  QFileDialog dialog(parent, choice.title, QString(), choice.filter.section(QLatin1Char('|'), 0, 0));
  // Given as the dialog's folder, a start folder that does not exist would be proposed as the
  // file's name.
  dialog.setDirectory(ExistingFolder(choice.initialFolder));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The export asks its own overwrite question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setDefaultSuffix(choice.defaultSuffix);
  if (!choice.proposedName.isEmpty())
    dialog.selectFile(WithDefaultSuffix(choice.proposedName, choice.defaultSuffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().first();
}

void RunSaveAsMyCommand(MainWindow& window)
{
  SaveAsMyDialog dialog(ExportContextOf(window), &window);
  dialog.exec();
}

void RunSaveToMeedioCommand(MainWindow& window)
{
  SaveToMeedioDialog dialog(ExportContextOf(window), &window);
  dialog.exec();
}

}  // namespace quillon::ui
