#include "ui/ExportDialogs.h"

#include "ui/SaveAsMyDialog.h"
#include "ui/SaveToMeedioDialog.h"

#include <QFileDialog>
#include <QFileInfo>

namespace quillon::ui {

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

void RunSaveAsMyCommand(ExportContext context, QWidget* parent)
{
  SaveAsMyDialog dialog(std::move(context), parent);
  dialog.exec();
}

void RunSaveToMeedioCommand(ExportContext context, QWidget* parent)
{
  SaveToMeedioDialog dialog(std::move(context), parent);
  dialog.exec();
}

}  // namespace quillon::ui
