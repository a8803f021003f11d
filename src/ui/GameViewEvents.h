#pragma once
// What the list and the box-art grid of games do alike with the keyboard and the mouse: a held
// arrow key (details wait until it is released), Delete, Enter and a double click (play), the
// right click that opens the Edit menu, and ROM files dropped on them.
#include <QObject>
#include <QVariant>

class QAbstractItemView;
class QContextMenuEvent;
class QKeyEvent;
class QPoint;

namespace quillon::ui {

class GameViewEvents : public QObject {
  Q_OBJECT

 public:
  // Watches `view` and its viewport; lives as long as the view.
  explicit GameViewEvents(QAbstractItemView* view);

  // True while a navigation key repeats.
  bool IsKeyRepeating() const { return m_repeating; }

 signals:
  // A held key was released on this row: its details can be shown now.
  void repeatEnded(int row);
  void deletePressed();
  void playWanted(int row);
  void contextMenuWanted(const QPoint& globalPosition, int row);
  void filesDropped(const QStringList& paths);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool OnKeyPress(QKeyEvent* event);
  void OnKeyRelease(QKeyEvent* event);
  void OnContextMenu(QContextMenuEvent* event);

  QAbstractItemView* m_view;
  bool m_repeating = false;
  // The check mark of the row under the last press: a double click that changed it was on the box.
  QVariant m_pressedMark;
};

}  // namespace quillon::ui
