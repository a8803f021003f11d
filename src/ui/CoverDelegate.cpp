#include "ui/CoverDelegate.h"

#include "ui/CoverLoader.h"
#include "ui/GameListModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace quillon::ui {

namespace {

constexpr int kPadding = 6;
constexpr int kCoverWidth = 144;
constexpr int kCoverHeight = 168;
constexpr int kTitleLines = 2;
constexpr int kCheckSize = 18;

// Up to `lines` lines of `text` broken after words, the last one elided.
QStringList WrappedLines(const QString& text, const QFontMetrics& metrics, int width, int lines)
{
  QStringList result;
  QString rest = text.trimmed();
  while (result.size() < lines - 1 && metrics.horizontalAdvance(rest) > width) {
    // The longest start of `rest` that fits, cut at its last space when it has one.
    int cut = static_cast<int>(rest.size());
    while (cut > 1 && metrics.horizontalAdvance(rest.left(cut)) > width)
      --cut;
    const int space = static_cast<int>(rest.left(cut + 1).lastIndexOf(QLatin1Char(' ')));
    if (space > 0)
      cut = space;
    result << rest.left(cut).trimmed();
    rest = rest.mid(cut).trimmed();
  }
  if (!rest.isEmpty())
    result << metrics.elidedText(rest, Qt::ElideRight, width);
  return result;
}

}  // namespace

CoverDelegate::CoverDelegate(CoverLoader& covers, QObject* parent) : QStyledItemDelegate(parent), m_covers(covers) {}

QSize CoverDelegate::CellSize(const QFontMetrics& metrics)
{
  return {kCoverWidth + 2 * kPadding, kPadding + kCoverHeight + 4 + kTitleLines * metrics.lineSpacing() + kPadding};
}

QSize CoverDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
  return CellSize(option.fontMetrics);
}

QRect CoverDelegate::CoverRect(const QRect& cell)
{
  return {cell.left() + (cell.width() - kCoverWidth) / 2, cell.top() + kPadding, kCoverWidth, kCoverHeight};
}

QRect CoverDelegate::CheckRect(const QRect& cell)
{
  const QRect cover = CoverRect(cell);
  return {cover.left() + 4, cover.top() + 4, kCheckSize, kCheckSize};
}

void CoverDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  const bool selected = option.state & QStyle::State_Selected;
  if (selected) {
    QColor highlight = option.palette.color(QPalette::Highlight);
    highlight.setAlpha(90);
    QPainterPath cell;
    cell.addRoundedRect(QRectF(option.rect).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    painter->fillPath(cell, highlight);
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 1.5));
    painter->drawPath(cell);
  }
  PaintCover(painter, option, index);
  PaintCheckBox(painter, option, index);
  PaintTitle(painter, option, index);
  painter->restore();
}

void CoverDelegate::PaintCover(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
  const QRect box = CoverRect(option.rect);
  const QPixmap cover = m_covers.Cover(index.data(GameListModel::kPictureRole).toString());
  if (!cover.isNull()) {
    // In proportion, standing on the bottom of the box like a box on a shelf.
    const QSize size = cover.size().scaled(box.size(), Qt::KeepAspectRatio);
    const QRect target(box.left() + (box.width() - size.width()) / 2, box.bottom() + 1 - size.height(), size.width(),
                       size.height());
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(target, cover);
    return;
  }
  QPainterPath placeholder;
  placeholder.addRoundedRect(QRectF(box).adjusted(8.5, 8.5, -8.5, -0.5), 4, 4);
  painter->fillPath(placeholder, option.palette.color(QPalette::AlternateBase));
  painter->setPen(QPen(option.palette.color(QPalette::Mid), 1, Qt::DashLine));
  painter->drawPath(placeholder);
  // The first letter of the title stands in for the missing cover.
  QFont initial = option.font;
  initial.setPointSizeF(initial.pointSizeF() * 3);
  initial.setBold(true);
  painter->setFont(initial);
  painter->setPen(option.palette.color(QPalette::Disabled, QPalette::Text));
  const QString title = index.data(Qt::DisplayRole).toString().trimmed();
  painter->drawText(box, Qt::AlignCenter, title.left(1).toUpper());
}

void CoverDelegate::PaintCheckBox(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
  const QVariant state = index.data(Qt::CheckStateRole);
  if (!state.isValid())
    return;
  const QRect rect = CheckRect(option.rect);
  // A plate under the box keeps it visible on any cover.
  QPainterPath plate;
  plate.addRoundedRect(QRectF(rect).adjusted(-2, -2, 2, 2), 4, 4);
  QColor base = option.palette.color(QPalette::Base);
  base.setAlpha(220);
  painter->fillPath(plate, base);
  QStyleOptionViewItem check = option;
  check.rect = rect;
  check.state &= ~QStyle::State_HasFocus;
  check.state |= state.toInt() == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
  const QWidget* widget = option.widget;
  QStyle* style = widget ? widget->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);
}

void CoverDelegate::PaintTitle(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
  const QRect cover = CoverRect(option.rect);
  const QRect area(option.rect.left() + kPadding, cover.bottom() + 5, option.rect.width() - 2 * kPadding,
                   option.rect.bottom() - cover.bottom() - 5);
  QFont font = option.font;
  if (const QVariant styled = index.data(Qt::FontRole); styled.isValid())
    font.setBold(styled.value<QFont>().bold());
  painter->setFont(font);
  const QVariant colour = index.data(Qt::ForegroundRole);
  painter->setPen(colour.isValid() ? colour.value<QColor>() : option.palette.color(QPalette::Text));
  const QFontMetrics metrics(font);
  const QStringList lines = WrappedLines(index.data(Qt::DisplayRole).toString(), metrics, area.width(), kTitleLines);
  int top = area.top();
  for (const QString& line : lines) {
    painter->drawText(QRect(area.left(), top, area.width(), metrics.lineSpacing()), Qt::AlignHCenter | Qt::AlignTop,
                      line);
    top += metrics.lineSpacing();
  }
}

bool CoverDelegate::editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                                const QModelIndex& index)
{
  if (!(index.flags() & Qt::ItemIsUserCheckable))
    return false;
  const auto toggle = [&] {
    const bool checked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
  };
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton ||
          !CheckRect(option.rect).adjusted(-2, -2, 2, 2).contains(mouse->position().toPoint()))
        return false;
      if (event->type() == QEvent::MouseButtonRelease)
        toggle();
      return true;
    }
    case QEvent::KeyPress: {
      const int key = static_cast<QKeyEvent*>(event)->key();
      return (key == Qt::Key_Space || key == Qt::Key_Select) && toggle();
    }
    default:
      return false;
  }
}

}  // namespace quillon::ui
