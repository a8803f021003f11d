#include "ui/MenuTable.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace quillon::ui {

namespace {

// Adds lines from `next` up to the End() of the menu being filled; returns the line after it.
qsizetype FillMenu(QMenu* menu, const QList<MenuLine>& lines, qsizetype next)
{
  QActionGroup* group = nullptr;
  for (; next < lines.size(); ++next) {
    const MenuLine& line = lines[next];
    if (!line.exclusive)
      group = nullptr;
    switch (line.kind) {
      case MenuLine::Kind::End:
        return next + 1;
      case MenuLine::Kind::Separator: {
        QAction* separator = menu->addSeparator();
        separator->setObjectName(line.objectName);
        separator->setVisible(line.visible);
        break;
      }
      case MenuLine::Kind::Submenu: {
        QMenu* submenu = menu->addMenu(line.caption);
        submenu->setObjectName(line.menuName);
        submenu->menuAction()->setObjectName(line.objectName);
        submenu->menuAction()->setEnabled(line.enabled);
        submenu->menuAction()->setVisible(line.visible);
        next = FillMenu(submenu, lines, next + 1) - 1;
        break;
      }
      case MenuLine::Kind::Action: {
        QAction* action = menu->addAction(line.caption);
        action->setObjectName(line.objectName);
        if (!line.shortcut.isEmpty())
          action->setShortcut(line.shortcut);
        action->setEnabled(line.enabled);
        action->setVisible(line.visible);
        action->setCheckable(line.checkable);
        action->setChecked(line.checked);
        if (!line.icon.isNull())
          action->setIcon(line.icon);
        if (line.exclusive) {
          if (!group)
            group = new QActionGroup(menu);
          group->addAction(action);
        }
        if (line.triggered)
          QObject::connect(action, &QAction::triggered, menu, [run = line.triggered] { run(); });
        break;
      }
    }
  }
  return next;
}

}  // namespace

MenuLine MenuLine::Disabled() const
{
  MenuLine line = *this;
  line.enabled = false;
  return line;
}

MenuLine MenuLine::Hidden() const
{
  MenuLine line = *this;
  line.visible = false;
  return line;
}

MenuLine MenuLine::Checkable(bool checked) const
{
  MenuLine line = *this;
  line.checkable = true;
  line.checked = checked;
  return line;
}

MenuLine MenuLine::Exclusive(bool checked) const
{
  MenuLine line = Checkable(checked);
  line.exclusive = true;
  return line;
}

MenuLine MenuLine::WithIcon(const QIcon& icon) const
{
  MenuLine line = *this;
  line.icon = icon;
  return line;
}

MenuLine Item(const QString& objectName, const QString& caption, const QKeySequence& shortcut,
              std::function<void()> triggered)
{
  MenuLine line;
  line.objectName = objectName;
  line.caption = caption;
  line.shortcut = shortcut;
  line.triggered = std::move(triggered);
  return line;
}

MenuLine Separator(const QString& objectName)
{
  MenuLine line;
  line.kind = MenuLine::Kind::Separator;
  line.objectName = objectName;
  return line;
}

MenuLine Submenu(const QString& caption, const QString& menuName, const QString& actionName)
{
  MenuLine line;
  line.kind = MenuLine::Kind::Submenu;
  line.caption = caption;
  line.menuName = menuName;
  line.objectName = actionName;
  return line;
}

MenuLine End()
{
  MenuLine line;
  line.kind = MenuLine::Kind::End;
  return line;
}

void AddMenuLines(QMenu* menu, const QList<MenuLine>& lines)
{
  FillMenu(menu, lines, 0);
}

void AddMenuLines(QMenuBar* bar, const QList<MenuLine>& lines)
{
  for (qsizetype next = 0; next < lines.size();) {
    const MenuLine& line = lines[next];
    if (line.kind != MenuLine::Kind::Submenu) {
      ++next;
      continue;
    }
    QMenu* menu = bar->addMenu(line.caption);
    menu->setObjectName(line.menuName);
    next = FillMenu(menu, lines, next + 1);
  }
}

}  // namespace quillon::ui
