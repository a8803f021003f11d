#pragma once
// The box-art grid: the games of the list as covers with titles, over the same model and the same
// selection as `listgames`. It tells its cover loader which pictures are on screen, so that only
// those are made and kept.
#include <QListView>

namespace quillon::ui {

class CoverLoader;

class GameGridView : public QListView {
  Q_OBJECT

 public:
  GameGridView(CoverLoader& covers, QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;
  // The first and last row with a cell on screen; {0, -1} without one.
  std::pair<int, int> RowsOnScreen() const;

 protected:
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Later in the event loop: the loader keeps the covers of the rows on screen.
  void ScheduleCoversOnScreen();
  void KeepCoversOnScreen();

  CoverLoader& m_covers;
  bool m_scheduled = false;
};

}  // namespace quillon::ui
