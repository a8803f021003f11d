#pragma once
// Image_Preview ("Image Preview"): the game's picture enlarged, kept in its proportions.
#include <QDialog>

namespace quillon::ui {

class ImagePreviewDialog : public QDialog {
  Q_OBJECT

 public:
  ImagePreviewDialog(const QString& picturePath, QWidget* parent = nullptr);
  bool HasPicture() const;

 private:
  class PreviewArea* m_area = nullptr;
};

}  // namespace quillon::ui
