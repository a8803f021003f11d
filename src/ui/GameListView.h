#pragma once
// `listgames`: the check-box list of games. It keeps the game key column out of sight, tells
// when an arrow key is held down (details wait until it is released), opens the Edit menu on a
// right click and takes ROM files dropped on it.
#include <QTreeView>

namespace quillon::ui {

class GameListView : public QTreeView {
  Q_OBJECT

 public:
  explicit GameListView(QWidget* parent = nullptr);

 signals:
  // The current row changed and its details should be shown now.
  void currentGameChanged(int row);
  void deletePressed();
  void contextMenuWanted(const QPoint& globalPosition, int row);
  void filesDropped(const QStringList& paths);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool m_repeating = false;
};

}  // namespace quillon::ui
