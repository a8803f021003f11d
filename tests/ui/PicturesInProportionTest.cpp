// Pictures keep their proportions: letterboxed in the details' picture box, and the preview opens
// at the picture's own size, shrunk to the screen only when it is larger.
#include "TestRegistry.h"

#include "ui/ImagePreviewDialog.h"
#include "ui/PictureBox.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon::ui;

namespace {

// A picture of one colour, saved as PNG.
QString SavePicture(const QTemporaryDir& dir, const QSize& size)
{
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::red);
  const QString path = dir.filePath(QStringLiteral("%1x%2.png").arg(size.width()).arg(size.height()));
  return image.save(path) ? path : QString();
}

bool IsRed(const QImage& shot, const QPoint& at)
{
  const QColor colour = shot.pixelColor(at);
  return colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
}

}  // namespace

class PicturesInProportionTest : public QObject {
  Q_OBJECT

 private slots:
  void LetterboxedInThePictureBox_data()
  {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QRect>("drawn");
    // The box's 1-pixel frame is left free.
    QTest::newRow("wide picture, bands above and below")
        << QSize(200, 100) << QSize(402, 402) << QRect(1, 101, 400, 200);
    QTest::newRow("tall picture, bands left and right")
        << QSize(300, 600) << QSize(402, 202) << QRect(151, 1, 100, 200);
    QTest::newRow("small picture, enlarged to fit") << QSize(20, 30) << QSize(242, 482) << QRect(1, 61, 240, 360);
    QTest::newRow("same proportions, fills the box") << QSize(400, 300) << QSize(322, 242) << QRect(1, 1, 320, 240);
  }

  void LetterboxedInThePictureBox()
  {
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QFETCH(QRect, drawn);
    QTemporaryDir dir;
    PictureBox pictureBox;
    pictureBox.resize(box);
    QVERIFY(pictureBox.Load(SavePicture(dir, picture)));
    QCOMPARE(pictureBox.PictureRect(), drawn);
    // What is painted: the picture inside its place, the background in the bands beside it.
    const QImage shot = pictureBox.grab().toImage();
    QVERIFY(IsRed(shot, drawn.center()));
    QVERIFY(IsRed(shot, drawn.topLeft() + QPoint(1, 1)));
    QVERIFY(IsRed(shot, drawn.bottomRight() - QPoint(1, 1)));
    if (drawn.top() > 2)
      QVERIFY(!IsRed(shot, QPoint(drawn.center().x(), drawn.top() / 2)));
    if (drawn.left() > 2)
      QVERIFY(!IsRed(shot, QPoint(drawn.left() / 2, drawn.center().y())));
  }

  void PreviewOpensAtThePicturesSize_data()
  {
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<bool>("ownSize");  // else shrunk to the screen
    QTest::newRow("smaller than the screen") << QSize(640, 360) << QSize(200, 300) << true;
    QTest::newRow("larger than the screen") << QSize(6000, 3000) << QSize(200, 300) << false;
  }

  void PreviewOpensAtThePicturesSize()
  {
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QFETCH(bool, ownSize);
    QTemporaryDir dir;
    ImagePreviewDialog preview(SavePicture(dir, picture), box);
    QVERIFY(preview.HasPicture());
    const QSize shown = preview.findChild<QWidget*>(QStringLiteral("imgPreview"))->sizeHint();
    if (ownSize) {
      QCOMPARE(shown, picture);
      return;
    }
    const QSize screen = QGuiApplication::primaryScreen()->availableSize();
    QVERIFY(shown.width() <= screen.width() && shown.height() <= screen.height());
    QVERIFY(shown.width() >= screen.width() / 2);  // as large as the screen allows
    // In proportion, to within a pixel of rounding.
    QVERIFY(qAbs(shown.width() - 2 * shown.height()) <= 2);
  }
};

QUILLON_TEST_CLASS(PicturesInProportionTest)
#include "PicturesInProportionTest.moc"
