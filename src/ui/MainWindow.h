#pragma once
// FMain: the program's main window. It holds the state the other windows read (the current
// system and game, its settings, the filters and the busy flags), the system tabs, the game list
// with its filters and legend, the details panel, the menus and the status frame.
#include "browser/GameList.h"
#include "catalogue/SystemSettings.h"
#include "images/ImageSearch.h"
#include "ui/IdentifyCommands.h"
#include "ui/ImageSearchHost.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabBar;

namespace quillon {
class Catalogue;
class DataFolder;
class Lookups;
class Session;
}  // namespace quillon

namespace quillon::ui {

class ClickableLabel;
class CompletingComboBox;
class GameInfoPanel;
class GameListModel;
class GameListView;
class StatusFeedback;

class MainWindow : public QMainWindow, public ImageSearchHost {
  Q_OBJECT

 public:
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up sequence: tabs, the current system's settings, the filter combos, the first list.
  void Start();

  StatusFeedback& Feedback() { return *m_feedback; }
  Catalogue& Connection();
  const DataFolder& Folder() const;
  // The lookup caches of this window (years, makers, countries, genres, genre links).
  quillon::Lookups& Lookup() { return *m_lookups; }
  QAction* Action(const QString& objectName) const;

  // Shared state that the other windows read.
  qint64 CurrentSystemID() const { return m_settings.systemId; }
  qint64 CurrentGameID() const { return m_currentGameId; }
  const SystemSettings& CurrentSettings() const { return m_settings; }
  QString MissingFilter() const { return m_missingFilter; }
  bool ListBusy() const { return m_listBusy; }
  bool Loading() const { return m_loading; }
  GameListModel& ListModel() { return *m_model; }
  GameListView& ListView() { return *m_list; }
  GameInfoPanel& Details() { return *m_details; }
  // Holds the system's picture folder once it was set while the window runs.
  void SetImageFolder(const QString& folder) { m_settings.imageFolder = folder; }
  // Makes a list row the current one and shows its game's details.
  void SelectListRow(int row);
  // Recolours the current row from the details shown (after an edit).
  void ColorCode();

  // Commands.
  // The scanner dialog; with `autoScan` it scans all systems at once. `over`: the window it opens
  // over, when not this one.
  void OpenScanner(bool quick, bool autoScan = false, QWidget* over = nullptr);
  void AddGames();
  void AddGameFiles(const QStringList& paths);
  void StartImageSearch(ImageCommand command);
  void DeleteGames(bool ticked);
  // What the identification commands need: the catalogue, the status line, the current system,
  // the control lock and the list rebuild.
  IdentifyContext IdentifyFor();
  // Lists only the games with this identification result (GameMatch.Status), or all.
  void SetMatchFilter(std::optional<int> status);

  // Rebuilds the list with the current filters; `missing` chooses the Missing view.
  void FilterGenre(bool refreshOnly, bool missing);
  void FilterGenre() { FilterGenre(false, m_view == GameView::Missing); }
  void UpdateTabs();
  void RefreshSettings();
  void RefreshGenres();
  void LockControls(bool lock, const QString& section) override;

  // What the image search drives.
  int GameRowCount() const override;
  ImageSearchListRow GameRowAt(int row) const override;
  int SelectedGameRow() const override;
  void SelectGameRow(int row) override;
  void ShowGameDetails(qint64 gameId) override;
  void ShowPicture(const QString& path) override;
  void GamePictureStored(qint64 gameId, const QString& path) override;
  void ImageFolderStored(const QString& folder) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenus();
  void BuildStatusFrame();
  void BuildCentralArea();
  QWidget* BuildGameFrame();
  QWidget* BuildLegend();
  QWidget* BuildDetailsArea();
  QAction* AddAction(QMenu* menu, const QString& objectName, const QString& caption, const QKeySequence& shortcut = {},
                     bool enabled = false);
  void BuildMatchFilterMenu(QMenu* view);

  void CreateFilter();
  void CreateList(std::vector<GameRow> rows);
  void ClearFilter();
  void FilterControl();
  void ShowEmptyDetails();
  void ShowGameAt(int row);
  void SetListCommandsEnabled(bool enabled);
  // cmdsall: ticked, and captioned "Uncheck All", exactly when every row is ticked.
  void ShowCheckAllState(bool allTicked);

  void OnTabChanged(int index);
  void OnTabClicked(int index);
  void OnLegendClicked(const QString& filter, ClickableLabel* label);
  void OnGenreActivated();
  void OnGenreEntered();
  void OnCheckAllClicked();
  void OnViewChosen(GameView view);
  void OnCloneMarkToggled(bool includeClones);
  void OnListContextMenu(const QPoint& globalPosition, int row);
  void OnWebSearch(const QString& which);
  void ShowHelp();
  void ShowAbout();

  Session& m_session;
  std::unique_ptr<StatusFeedback> m_feedback;
  std::unique_ptr<quillon::Lookups> m_lookups;

  // Shared state.
  SystemSettings m_settings;
  qint64 m_currentGameId = 0;
  QString m_missingFilter;
  std::optional<int> m_matchFilter;
  bool m_listBusy = false;
  bool m_loading = false;
  GameView m_view = GameView::Available;

  // Controls.
  QTabBar* m_tabs = nullptr;
  QSplitter* m_splitter = nullptr;
  QGroupBox* m_gamesFrame = nullptr;
  CompletingComboBox* m_genreCombo = nullptr;
  QCheckBox* m_checkAll = nullptr;
  GameListView* m_list = nullptr;
  GameListModel* m_model = nullptr;
  QList<ClickableLabel*> m_legendLabels;
  GameInfoPanel* m_details = nullptr;
  QList<QPushButton*> m_searchButtons;
  QLabel* m_statusLabel = nullptr;
  QProgressBar* m_progressBar = nullptr;
  QMenu* m_editMenu = nullptr;
};

}  // namespace quillon::ui
