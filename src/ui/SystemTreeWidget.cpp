#include "ui/SystemTreeWidget.h"

#include <QDropEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QTreeWidgetItemIterator>

namespace quillon::ui {

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kIsSystemRole = Qt::UserRole + 1;

QIcon DotIcon(const QColor& fill, const QColor& outline)
{
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(outline, 1.5));
  painter.setBrush(fill);
  painter.drawEllipse(QRectF(3, 3, 10, 10));
  return QIcon(pixmap);
}

QIcon SystemIcon(bool enabled)
{
  static const QIcon kEnabled = DotIcon(QColor(0x3c, 0xb0, 0x43), QColor(0x1e, 0x6b, 0x23));
  static const QIcon kDisabled = DotIcon(Qt::transparent, QColor(0x90, 0x90, 0x90));
  return enabled ? kEnabled : kDisabled;
}

bool IsSystemNode(const QTreeWidgetItem* item)
{
  return item && item->data(0, kIsSystemRole).toBool();
}

qint64 NodeId(const QTreeWidgetItem* item)
{
  return item ? item->data(0, kIdRole).toLongLong() : 0;
}

}  // namespace

SystemTreeWidget::SystemTreeWidget(QWidget* parent) : QTreeWidget(parent)
{
  setObjectName(QStringLiteral("treSys"));
  setHeaderHidden(true);
  setToolTip(tr("Drag a system onto another group to move it there"));
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::InternalMove);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (!m_filling && IsSystemNode(item))
      emit systemChosen(NodeId(item));
  });
}

std::optional<qint64> SystemTreeWidget::Fill(const QList<SystemTypeNode>& types, qint64 selectId)
{
  const bool wasFilling = m_filling;
  m_filling = true;
  clear();
  const QIcon typeIcon = style()->standardIcon(QStyle::SP_DirIcon);
  QTreeWidgetItem* selected = nullptr;
  QTreeWidgetItem* first = nullptr;
  for (const SystemTypeNode& type : types) {
    auto* typeItem = new QTreeWidgetItem(this, {type.name});
    typeItem->setIcon(0, typeIcon);
    typeItem->setData(0, kIdRole, type.typeId);
    typeItem->setData(0, kIsSystemRole, false);
    typeItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);
    for (const SystemNode& system : type.systems) {
      auto* item = new QTreeWidgetItem(typeItem, {system.name});
      item->setIcon(0, SystemIcon(system.enabled));
      item->setData(0, kIdRole, system.systemId);
      item->setData(0, kIsSystemRole, true);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
      if (system.systemId == selectId)
        selected = item;
      if (!first)
        first = item;
    }
  }
  m_filling = wasFilling;
  FitToNames();
  // Without a current system the first one is shown, so there is always one to set up.
  if (!selected)
    selected = first;
  if (!selected)
    return std::nullopt;
  selected->parent()->setExpanded(true);
  setCurrentItem(selected);
  scrollToItem(selected);
  return NodeId(selected);
}

QTreeWidgetItem* SystemTreeWidget::NodeOfSystem(qint64 systemId) const
{
  for (int i = 0; i < topLevelItemCount(); ++i) {
    QTreeWidgetItem* type = topLevelItem(i);
    for (int j = 0; j < type->childCount(); ++j) {
      if (NodeId(type->child(j)) == systemId)
        return type->child(j);
    }
  }
  return nullptr;
}

void SystemTreeWidget::SelectSystem(qint64 systemId)
{
  if (QTreeWidgetItem* item = NodeOfSystem(systemId)) {
    item->parent()->setExpanded(true);
    setCurrentItem(item);
  }
}

void SystemTreeWidget::ShowRenamed(qint64 systemId, const QString& name)
{
  if (QTreeWidgetItem* item = NodeOfSystem(systemId)) {
    item->setText(0, name);
    FitToNames();
    setCurrentItem(item);
  }
}

void SystemTreeWidget::ShowEnabled(qint64 systemId, bool enabled)
{
  if (QTreeWidgetItem* item = NodeOfSystem(systemId))
    item->setIcon(0, SystemIcon(enabled));
}

void SystemTreeWidget::FitToNames()
{
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  int widest = 0;
  for (QTreeWidgetItemIterator it(this); *it; ++it) {
    int depth = rootIsDecorated() ? 1 : 0;
    for (const QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
      ++depth;
    widest = std::max(widest, indentation() * depth + itemDelegate()->sizeHint(option, indexFromItem(*it)).width());
  }
  setMinimumWidth(widest + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
}

void SystemTreeWidget::dragMoveEvent(QDragMoveEvent* event)
{
  QTreeWidget::dragMoveEvent(event);
  if (TypeNodeAt(event->position().toPoint()))
    event->accept();
  else
    event->ignore();
}

void SystemTreeWidget::dropEvent(QDropEvent* event)
{
  QTreeWidgetItem* type = TypeNodeAt(event->position().toPoint());
  QTreeWidgetItem* dragged = currentItem();
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (!type || !IsSystemNode(dragged) || dragged->parent() == type)
    return;
  const qint64 systemId = NodeId(dragged);
  const qint64 typeId = NodeId(type);
  // The tree is filled again once the drag has ended.
  QTimer::singleShot(0, this, [this, systemId, typeId] { emit systemMoved(systemId, typeId); });
}

QTreeWidgetItem* SystemTreeWidget::TypeNodeAt(const QPoint& position) const
{
  QTreeWidgetItem* item = itemAt(position);
  return IsSystemNode(item) ? item->parent() : item;
}

}  // namespace quillon::ui
