#pragma once
// Menus written as tables: each line an action (its object name, caption, shortcut, whether it is
// enabled at first, what it runs), a separator, or a submenu whose lines follow up to its End().
// A submenu at the top of a menu bar's table is one of the bar's menus.
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>

class QMenu;
class QMenuBar;

namespace quillon::ui {

struct MenuLine {
  enum class Kind { Action, Separator, Submenu, End };

  Kind kind = Kind::Action;
  QString caption;
  QString objectName;  // an action's, a separator's, or a submenu's menu action
  QString menuName;    // a submenu's menu
  QKeySequence shortcut;
  bool enabled = true;
  bool visible = true;
  bool checkable = false;
  bool checked = false;
  bool exclusive = false;  // checkable lines in a row that are exclusive form one group
  QIcon icon;
  std::function<void()> triggered;

  MenuLine Disabled() const;
  MenuLine Hidden() const;
  MenuLine Checkable(bool checked = false) const;
  MenuLine Exclusive(bool checked) const;
  MenuLine WithIcon(const QIcon& icon) const;
};

MenuLine Item(const QString& objectName, const QString& caption, const QKeySequence& shortcut,
              std::function<void()> triggered);
MenuLine Separator(const QString& objectName = {});
// `menuName` names the submenu's menu, `actionName` the action that opens it.
MenuLine Submenu(const QString& caption, const QString& menuName = {}, const QString& actionName = {});
MenuLine End();

void AddMenuLines(QMenu* menu, const QList<MenuLine>& lines);
void AddMenuLines(QMenuBar* bar, const QList<MenuLine>& lines);

}  // namespace quillon::ui
