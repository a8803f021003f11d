#pragma once
// The Edit menu's game commands: Add Game (a file dialog), ROM files dropped on the list, and
// Delete Game / Delete Selected (asking how first).
#include "ui/CommandHost.h"
#include "ui/UiContext.h"

#include <QList>
#include <QStringList>

class QWidget;

namespace quillon::ui {

// What adding games needs beyond a command's host.
class GameCommandHost : public CommandHost {
 public:
  // RefreshSettings: the system's settings read again (an added game may have brought a ROM folder).
  virtual void RefreshSettings() = 0;
};

// Add Game: the file dialog in the system's first ROM folder, offering its extensions; the files
// chosen are added as AddGameFiles adds them. A cancelled dialog adds nothing.
void AddGamesCommand(UiContext context, GameCommandHost& host, qint64 systemId, QWidget* parent);

// Adds existing ROM files as games of the system with the window's controls locked, then reads the
// system's settings and its list again.
void AddGameFiles(UiContext context, GameCommandHost& host, qint64 systemId, const QStringList& paths);

// Asks how the games go (delgame), deletes them, rebuilds the list and says how many went; a
// failure's report stays on the status line.
void DeleteGamesCommand(UiContext context, CommandHost& host, qint64 systemId, const QList<qint64>& gameIds,
                        QWidget* parent);

}  // namespace quillon::ui
