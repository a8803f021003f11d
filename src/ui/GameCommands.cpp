#include "ui/GameCommands.h"

#include "catalogue/Lookups.h"
#include "common/Paths.h"
#include "scan/GameAdding.h"
#include "scan/GameDeletion.h"
#include "scan/GameMatching.h"
#include "ui/DeleteGameDialog.h"
#include "ui/StatusFeedback.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon::ui {

namespace {

// "Rom (*.smc *.sfc);;All Files (*)" for the system's extensions.
QString RomFilter(const QString& romTypes)
{
  QStringList patterns;
  for (const QString& extension : ExtensionList(romTypes)) {
    if (!extension.isEmpty())
      patterns << QStringLiteral("*.") + extension;
  }
  return QStringLiteral("Rom (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;All Files (*)");
}

}  // namespace

void AddGamesCommand(UiContext context, GameCommandHost& host, qint64 systemId, QWidget* parent)
{
  const AddGameStart start = AddGameStartOf(context.catalogue, context.feedback, systemId).value_or(AddGameStart{});
  const QString folder =
      start.romFolder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : start.romFolder;
  AddGameFiles(context, host, systemId,
               QFileDialog::getOpenFileNames(parent, QStringLiteral("Select Rom"), folder, RomFilter(start.romTypes)));
}

void AddGameFiles(UiContext context, GameCommandHost& host, qint64 systemId, const QStringList& paths)
{
  if (paths.isEmpty() || systemId == 0)
    return;
  const bool rename = SystemRenamesRoms(context.catalogue, context.feedback, systemId, QStringLiteral("AddGame"));
  context.lookups.EnsureManufacturers();
  host.LockControls(true, QString());
  for (const QString& path : paths) {
    const QString longPath = GetLongPathName(path);
    if (longPath.isEmpty() || !QFileInfo(longPath).isFile())
      continue;
    NewGameRequest request;
    request.path = longPath;
    request.systemId = systemId;
    request.rename = rename;
    NewGame(context.catalogue, context.lookups, context.feedback, context.folder, request);
  }
  host.LockControls(false, QString());
  host.RefreshSettings();
  host.RefreshList();
}

void DeleteGamesCommand(UiContext context, CommandHost& host, qint64 systemId, const QList<qint64>& gameIds,
                        QWidget* parent)
{
  if (gameIds.isEmpty())
    return;
  DeleteGameDialog dialog(static_cast<int>(gameIds.size()), parent);
  if (dialog.exec() != QDialog::Accepted)
    return;
  const DeletionResult result = DeleteGames(context.catalogue, context.feedback, systemId, gameIds, dialog.Mode());
  host.RefreshList();
  if (result.ok)
    context.feedback.SetStatus(
        StatusKind::Text, QCoreApplication::translate("GameCommands", "%n game(s) deleted.", nullptr, result.games));
  else if (!result.error.isEmpty())
    context.feedback.SetStatus(StatusKind::Error, result.error);  // the list rebuild wrote over it
}

}  // namespace quillon::ui
