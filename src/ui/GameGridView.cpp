#include "ui/GameGridView.h"

#include "ui/CoverDelegate.h"
#include "ui/CoverLoader.h"
#include "ui/GameListModel.h"

#include <QEvent>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

namespace quillon::ui {

GameGridView::GameGridView(CoverLoader& covers, QWidget* parent) : QListView(parent), m_covers(covers)
{
  setObjectName(QStringLiteral("gridgames"));
  setViewMode(QListView::IconMode);
  setMovement(QListView::Static);
  setFlow(QListView::LeftToRight);
  setWrapping(true);
  setResizeMode(QListView::Adjust);
  setLayoutMode(QListView::SinglePass);
  setUniformItemSizes(true);
  setSpacing(0);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setItemDelegate(new CoverDelegate(covers, this));
  setGridSize(CoverDelegate::CellSize(fontMetrics()));
  verticalScrollBar()->setSingleStep(gridSize().height() / 4);
  connect(&m_covers, &CoverLoader::coverReady, viewport(), [this] { viewport()->update(); });
}

void GameGridView::setModel(QAbstractItemModel* model)
{
  QListView::setModel(model);
  connect(model, &QAbstractItemModel::modelReset, this, &GameGridView::ScheduleCoversOnScreen);
  connect(model, &QAbstractItemModel::layoutChanged, this, &GameGridView::ScheduleCoversOnScreen);
}

std::pair<int, int> GameGridView::RowsOnScreen() const
{
  const QSize cell = gridSize();
  const int rows = model() ? model()->rowCount() : 0;
  if (rows == 0 || cell.isEmpty())
    return {0, -1};
  const int columns = std::max(1, viewport()->width() / cell.width());
  const int top = verticalScrollBar()->value();
  const int firstLine = top / cell.height();
  const int lastLine = (top + viewport()->height() - 1) / cell.height();
  return {std::min(rows - 1, firstLine * columns), std::min(rows - 1, (lastLine + 1) * columns - 1)};
}

void GameGridView::scrollContentsBy(int dx, int dy)
{
  QListView::scrollContentsBy(dx, dy);
  ScheduleCoversOnScreen();
}

void GameGridView::resizeEvent(QResizeEvent* event)
{
  QListView::resizeEvent(event);
  ScheduleCoversOnScreen();
}

void GameGridView::changeEvent(QEvent* event)
{
  QListView::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    setGridSize(CoverDelegate::CellSize(fontMetrics()));
}

void GameGridView::ScheduleCoversOnScreen()
{
  if (m_scheduled)
    return;
  m_scheduled = true;
  QTimer::singleShot(0, this, [this] {
    m_scheduled = false;
    KeepCoversOnScreen();
  });
}

void GameGridView::KeepCoversOnScreen()
{
  const auto [first, last] = RowsOnScreen();
  QSet<QString> pictures;
  for (int row = first; row <= last; ++row)
    pictures.insert(model()->index(row, 0).data(GameListModel::kPictureRole).toString());
  m_covers.KeepOnly(pictures);
  // The covers on screen and about as many again, for scrolling back.
  m_covers.SetCapacity(2 * std::max(1, last - first + 1));
}

}  // namespace quillon::ui
