#pragma once
// Image_Preview ("Image Preview"): the game's picture enlarged, kept in its proportions: at its own
// size, or as large as the picture box shows it when that is larger, and smaller only where the
// screen it opens on has no more room.
#include <QDialog>

namespace quillon::ui {

class ImagePreviewDialog : public QDialog {
  Q_OBJECT

 public:
  // `boxSize`: the size of the picture box the picture is enlarged from.
  ImagePreviewDialog(const QString& picturePath, const QSize& boxSize, QWidget* parent = nullptr);
  bool HasPicture() const;

 private:
  class PreviewArea* m_area = nullptr;
};

}  // namespace quillon::ui
