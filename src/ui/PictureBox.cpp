#include "ui/PictureBox.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace quillon::ui {

QStringList DroppedFiles(const QMimeData* data)
{
  QStringList paths;
  if (!data)
    return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile())
      paths << url.toLocalFile();
  }
  return paths;
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
  setObjectName(QStringLiteral("RomPic"));
  setAcceptDrops(true);
  setMinimumSize(160, 120);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  setToolTip(tr("Double-click to enlarge; drop a picture file here to give it to the game"));
}

bool PictureBox::Load(const QString& path)
{
  QImageReader reader(path);
  reader.setAutoTransform(true);
  m_image = reader.read();
  m_scaled = QPixmap();
  update();
  return !m_image.isNull();
}

void PictureBox::Clear()
{
  m_image = QImage();
  m_scaled = QPixmap();
  update();
}

QRect PictureBox::PictureRect() const
{
  if (m_image.isNull())
    return {};
  const QRect inside = rect().adjusted(1, 1, -1, -1);
  QRect target(QPoint(), m_image.size().scaled(inside.size(), Qt::KeepAspectRatio));
  target.moveCenter(inside.center());
  return target;
}

void PictureBox::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  if (m_image.isNull()) {
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter, tr("No picture"));
  } else {
    const QRect target = PictureRect();
    // Scaled once per size: repaints (a tool tip, a dialog over it) only copy it.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = target.size() * ratio;
    if (m_scaled.size() != pixels) {
      m_scaled = QPixmap::fromImage(m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
      m_scaled.setDevicePixelRatio(ratio);
    }
    painter.drawPixmap(target.topLeft(), m_scaled);
  }
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent*)
{
  emit doubleClicked();
}

void PictureBox::dragEnterEvent(QDragEnterEvent* event)
{
  if (!DroppedFiles(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void PictureBox::dropEvent(QDropEvent* event)
{
  const QStringList paths = DroppedFiles(event->mimeData());
  if (paths.isEmpty())
    return;
  event->acceptProposedAction();
  emit filesDropped(paths);
}

}  // namespace quillon::ui
