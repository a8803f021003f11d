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
  update();
  return !m_image.isNull();
}

void PictureBox::Clear()
{
  m_image = QImage();
  update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  if (m_image.isNull()) {
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter, tr("No picture"));
  } else {
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_image);
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
