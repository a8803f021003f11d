#pragma once
// RomPic: shows a picture as large as the box allows in its own proportions (letterboxed), takes
// files dropped on it and reports a double click.
#include <QImage>
#include <QPixmap>
#include <QWidget>

class QMimeData;

namespace quillon::ui {

class PictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

  // Loads the picture; false (and an empty box) when the file is no picture.
  bool Load(const QString& path);
  void Clear();
  bool HasPicture() const { return !m_image.isNull(); }
  // Where the picture is drawn in the box.
  QRect PictureRect() const;

 signals:
  void doubleClicked();
  void filesDropped(const QStringList& paths);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QImage m_image;
  QPixmap m_scaled;  // the picture at the size it was last drawn
};

// The local files of a drop.
QStringList DroppedFiles(const QMimeData* data);

}  // namespace quillon::ui
