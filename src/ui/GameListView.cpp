#include "ui/GameListView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

namespace quillon::ui {

GameListView::GameListView(QWidget* parent) : QTreeView(parent)
{
  setObjectName(QStringLiteral("listgames"));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  header()->setSectionsClickable(true);
  header()->setStretchLastSection(false);
}

void GameListView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
  QTreeView::currentChanged(current, previous);
  if (!m_repeating && current.isValid())
    emit currentGameChanged(current.row());
}

void GameListView::keyPressEvent(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Delete) {
    emit deletePressed();
    return;
  }
  m_repeating = event->isAutoRepeat();
  QTreeView::keyPressEvent(event);
}

void GameListView::keyReleaseEvent(QKeyEvent* event)
{
  QTreeView::keyReleaseEvent(event);
  if (event->isAutoRepeat())
    return;
  if (m_repeating) {
    m_repeating = false;
    if (currentIndex().isValid())
      emit currentGameChanged(currentIndex().row());
  }
}

void GameListView::contextMenuEvent(QContextMenuEvent* event)
{
  const QModelIndex index = indexAt(viewport()->mapFromGlobal(event->globalPos()));
  if (index.isValid())
    setCurrentIndex(index.siblingAtColumn(0));
  emit contextMenuWanted(event->globalPos(), index.isValid() ? index.row() : -1);
}

void GameListView::dragEnterEvent(QDragEnterEvent* event)
{
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void GameListView::dragMoveEvent(QDragMoveEvent* event)
{
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void GameListView::dropEvent(QDropEvent* event)
{
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile())
      paths << url.toLocalFile();
  }
  if (!paths.isEmpty()) {
    event->acceptProposedAction();
    emit filesDropped(paths);
  }
}

}  // namespace quillon::ui
