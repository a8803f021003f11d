#include "ui/ImagePreviewDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quillon::ui {

class PreviewArea : public QWidget {
 public:
  explicit PreviewArea(const QString& path, QWidget* parent) : QWidget(parent)
  {
    QImageReader reader(path);
    reader.setAutoTransform(true);
    m_image = reader.read();
    setMinimumSize(200, 150);
  }
  const QImage& Image() const { return m_image; }

 protected:
  void paintEvent(QPaintEvent*) override
  {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_image.isNull())
      return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QSize size = m_image.size().scaled(this->size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size), m_image);
  }

 private:
  QImage m_image;
};

ImagePreviewDialog::ImagePreviewDialog(const QString& picturePath, QWidget* parent) : QDialog(parent)
{
  setObjectName(QStringLiteral("Image_Preview"));
  setWindowTitle(QStringLiteral("Image Preview"));
  auto* layout = new QVBoxLayout(this);
  m_area = new PreviewArea(picturePath, this);
  layout->addWidget(m_area, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // As large as the picture, within most of the screen.
  QSize wanted = m_area->Image().isNull() ? QSize(400, 300) : m_area->Image().size();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    wanted = wanted.boundedTo(screen->availableSize() * 0.85);
  resize(wanted.expandedTo(QSize(320, 240)) + QSize(24, 60));
}

bool ImagePreviewDialog::HasPicture() const
{
  return !m_area->Image().isNull();
}

}  // namespace quillon::ui
