#include "ui/GameListView.h"

#include <QHeaderView>

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
  setDropIndicatorShown(false);
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(true);
  header()->setStretchLastSection(false);
  header()->setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace quillon::ui
