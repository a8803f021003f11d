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
    setObjectName(QStringLiteral("imgPreview"));
    setMinimumSize(200, 150);
  }
  const QImage& Image() const { return m_image; }
  void SetWantedSize(const QSize& size)
  {
    m_wanted = size;
    updateGeometry();
  }
  QSize sizeHint() const override { return m_wanted; }

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
  QSize m_wanted{400, 300};
};

namespace {

constexpr QSize kFrameAllowance(16, 48);

// The size the picture is shown at: its own size, or larger so that it covers the box, and then
// smaller when that would not fit on the screen.
QSize PreviewSize(const QSize& picture, const QSize& box, const QSize& screen)
{
  QSize wanted = picture;
  if (!box.isEmpty())
    wanted = wanted.expandedTo(picture.scaled(box, Qt::KeepAspectRatioByExpanding));
  if (!screen.isEmpty() && (wanted.width() > screen.width() || wanted.height() > screen.height()))
    wanted.scale(screen, Qt::KeepAspectRatio);
  return wanted;
}

}  // namespace

ImagePreviewDialog::ImagePreviewDialog(const QString& picturePath, const QSize& boxSize, QWidget* parent)
    : QDialog(parent)
{
  setObjectName(QStringLiteral("Image_Preview"));
  setWindowTitle(QStringLiteral("Image Preview"));
  auto* layout = new QVBoxLayout(this);
  m_area = new PreviewArea(picturePath, this);
  layout->addWidget(m_area, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  if (!m_area->Image().isNull()) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    // The screen less the dialog's own controls and room for the window's frame.
    const QSize room = screen ? screen->availableSize() - (sizeHint() - m_area->sizeHint()) - kFrameAllowance : QSize();
    m_area->SetWantedSize(PreviewSize(m_area->Image().size(), boxSize, room).expandedTo(m_area->minimumSize()));
  }
  resize(sizeHint());
}

bool ImagePreviewDialog::HasPicture() const
{
  return !m_area->Image().isNull();
}

}  // namespace quillon::ui
