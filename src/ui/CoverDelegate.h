#pragma once
// One cell of the box-art grid: the game's cover in proportion (or a placeholder while it loads or
// when the game has none), its check box, and its title in the list's colour for what it lacks.
#include <QStyledItemDelegate>

namespace quillon::ui {

class CoverLoader;

class CoverDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  CoverDelegate(CoverLoader& covers, QObject* parent = nullptr);

  // The size of every cell.
  static QSize CellSize(const QFontMetrics& metrics);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  // A click on the check box ticks the game, a double click there does nothing more.
  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

 private:
  static QRect CoverRect(const QRect& cell);
  static QRect CheckRect(const QRect& cell);
  void PaintCover(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
  void PaintTitle(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
  void PaintCheckBox(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

  CoverLoader& m_covers;
};

}  // namespace quillon::ui
