#pragma once
// What a command started from the main window needs of it: its controls locked while the command
// works, and the game list rebuilt afterwards.
#include <QString>

namespace quillon::ui {

class CommandHost {
 public:
  virtual ~CommandHost() = default;

  // Locks or unlocks the window's controls; the section "GameInfo" (or "GameInfoNotList") leaves the
  // list and the menus as they are.
  virtual void LockControls(bool lock, const QString& section) = 0;
  // FilterGenre: the list rebuilt with the current filters.
  virtual void RefreshList() = 0;
  // How many games the list shows.
  virtual int ListedGameCount() const = 0;
};

}  // namespace quillon::ui
