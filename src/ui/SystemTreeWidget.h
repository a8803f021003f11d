#pragma once
// treSys: the systems grouped by system type, each with a dot that tells whether it has a tab. A
// system dragged onto a type node (or onto a system of that type) is to move there; the tree says
// so once the drag has ended, and is filled again by its owner.
#include "settings/SystemOptions.h"

#include <QTreeWidget>

#include <optional>

namespace quillon::ui {

class SystemTreeWidget : public QTreeWidget {
  Q_OBJECT

 public:
  explicit SystemTreeWidget(QWidget* parent = nullptr);

  // Fills the tree and makes the node of `selectId` current (the first system without one); the
  // key of the system made current, or nullopt for an empty tree.
  std::optional<qint64> Fill(const QList<SystemTypeNode>& types, qint64 selectId);
  // Makes a system's node current, opening its group.
  void SelectSystem(qint64 systemId);
  void ShowRenamed(qint64 systemId, const QString& name);
  void ShowEnabled(qint64 systemId, bool enabled);

 signals:
  // The user made a system's node current.
  void systemChosen(qint64 systemId);
  void systemMoved(qint64 systemId, qint64 typeId);

 protected:
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QTreeWidgetItem* NodeOfSystem(qint64 systemId) const;
  QTreeWidgetItem* TypeNodeAt(const QPoint& position) const;
  // Wide enough to show every caption whole, in open and closed groups alike.
  void FitToNames();

  bool m_filling = false;
};

}  // namespace quillon::ui
