#pragma once
// `listgames`: the check-box list of games, one row per game with the optional columns beside
// the name and the game key column out of sight.
#include <QTreeView>

namespace quillon::ui {

class GameListView : public QTreeView {
  Q_OBJECT

 public:
  explicit GameListView(QWidget* parent = nullptr);
};

}  // namespace quillon::ui
