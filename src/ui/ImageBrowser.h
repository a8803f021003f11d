#pragma once
// frmBrowser: the image search window. It shows the matches of the game being searched in the
// grid `imggrid` and lets the user pick one (`cmdsel`, a double click), open one in the web
// browser (`cmdview`), skip the game (`cmdSkip`) or stop the search (`cmdclose`). The search itself
// is the core's ImageSearch; this window is its view and drives the main window through
// ImageSearchHost.
#include "images/ImageSearch.h"

#include <QWidget>

#include <functional>
#include <memory>

class QLabel;
class QPushButton;
class QTableWidget;
class QUrl;

namespace quillon::ui {

class ImageSearchHost;

class ImageBrowser final : public QWidget, public ImageSearchView {
  Q_OBJECT

 public:
  ImageBrowser(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
               const SystemSettings& settings, QWidget* parent = nullptr);
  ~ImageBrowser() override;

  ImageSearch& Search() { return *m_search; }
  // Shows the window and runs the batch; the window closes when the batch ends.
  BatchOutcome Run(ImageCommand command, bool resumeBatch);

  // ImageSearchView.
  int ListCount() override;
  ListedGame ListedGameAt(int position) override;
  int SelectedPosition() override;
  void SelectPosition(int position) override;
  void ShowGame(qint64 gameId) override;
  void LockControls(bool lock) override;
  void ShowCaption(const QString& caption) override;
  void ShowGrid(const MatchGrid& grid, int selectedRow) override;
  void SetGridEnabled(bool enabled) override;
  void SetSelectEnabled(bool enabled) override;
  void SetSkipEnabled(bool enabled) override;
  void ShowPicture(const QString& path) override;
  void PictureStored(qint64 gameId, const QString& path) override;
  void ImageFolderStored(const QString& folder) override;
  bool CanChoose() override { return true; }
  bool IsShown() override { return isVisible(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QPushButton* AddButton(const QString& objectName, const QString& caption);
  void OnGridClicked(int row);
  void OnGridDoubleClicked(int row);
  void OnView();
  void OnClose();

  ImageSearchHost& m_host;
  std::unique_ptr<ImageSearch> m_search;
  std::function<void(const QUrl&)> m_openAddress;
  bool m_batchEnded = false;

  QTableWidget* m_grid = nullptr;
  QPushButton* m_selectButton = nullptr;
  QPushButton* m_viewButton = nullptr;
  QPushButton* m_skipButton = nullptr;
  QPushButton* m_closeButton = nullptr;
};

}  // namespace quillon::ui
