#include "ui/GameViewEvents.h"

#include "ui/PictureBox.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace quillon::ui {

GameViewEvents::GameViewEvents(QAbstractItemView* view) : QObject(view), m_view(view)
{
  view->installEventFilter(this);
  view->viewport()->installEventFilter(this);
  view->setAcceptDrops(true);
  // A double click on a check box ticks and unticks; it starts nothing.
  connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid() && index.siblingAtColumn(0).data(Qt::CheckStateRole) == m_pressedMark)
      emit playWanted(index.row());
  });
}

bool GameViewEvents::eventFilter(QObject* watched, QEvent* event)
{
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (watched == m_view->viewport()) {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        m_pressedMark = m_view->indexAt(position).siblingAtColumn(0).data(Qt::CheckStateRole);
      }
      return false;
    case QEvent::KeyPress:
      return watched == m_view && OnKeyPress(static_cast<QKeyEvent*>(event));
    case QEvent::KeyRelease:
      if (watched == m_view)
        OnKeyRelease(static_cast<QKeyEvent*>(event));
      return false;
    case QEvent::ContextMenu:
      OnContextMenu(static_cast<QContextMenuEvent*>(event));
      return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!DroppedFiles(drag->mimeData()).isEmpty())
        drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList paths = DroppedFiles(drop->mimeData());
      if (!paths.isEmpty()) {
        drop->acceptProposedAction();
        emit filesDropped(paths);
      }
      return true;
    }
    default:
      return false;
  }
}

bool GameViewEvents::OnKeyPress(QKeyEvent* event)
{
  if (event->key() == Qt::Key_Delete) {
    emit deletePressed();
    return true;
  }
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
    if (m_view->currentIndex().isValid())
      emit playWanted(m_view->currentIndex().row());
    return true;
  }
  m_repeating = event->isAutoRepeat();
  return false;
}

void GameViewEvents::OnKeyRelease(QKeyEvent* event)
{
  if (event->isAutoRepeat() || !m_repeating)
    return;
  m_repeating = false;
  if (m_view->currentIndex().isValid())
    emit repeatEnded(m_view->currentIndex().row());
}

void GameViewEvents::OnContextMenu(QContextMenuEvent* event)
{
  const QModelIndex index = m_view->indexAt(m_view->viewport()->mapFromGlobal(event->globalPos()));
  if (index.isValid())
    m_view->setCurrentIndex(index.siblingAtColumn(0));
  emit contextMenuWanted(event->globalPos(), index.isValid() ? index.row() : -1);
}

}  // namespace quillon::ui
