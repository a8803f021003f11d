#pragma once
// What the image search window needs from the main window: the game list with its check marks,
// the details panel and picture box, and the control lock. Rows count from 0, as the list's do.
#include <QString>

namespace quillon::ui {

struct ImageSearchListRow {
  qint64 gameId = 0;
  QString text;  // the row's text, the game's full name
  bool checked = false;
};

class ImageSearchHost {
 public:
  virtual ~ImageSearchHost() = default;

  virtual int GameRowCount() const = 0;
  virtual ImageSearchListRow GameRowAt(int row) const = 0;
  // The list's selected row; -1 when none is.
  virtual int SelectedGameRow() const = 0;
  // Makes the row the list's selected row and scrolls it into view.
  virtual void SelectGameRow(int row) = 0;
  // Shows the game in the details panel.
  virtual void ShowGameDetails(qint64 gameId) = 0;
  // Paints a picture file into the picture box without storing it.
  virtual void ShowPicture(const QString& path) = 0;
  // The game's picture was written to the catalogue: show `path` (the file; empty when it is
  // missing) as the game's picture and refresh the row's colour.
  virtual void GamePictureStored(qint64 gameId, const QString& path) = 0;
  // The system had no picture folder; `folder` was made and stored as its folder.
  virtual void ImageFolderStored(const QString& folder) = 0;
  virtual void LockControls(bool lock, const QString& section) = 0;
};

}  // namespace quillon::ui
