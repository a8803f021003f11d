#pragma once
// FMain: the program's main window. It holds the current system and game with the system's
// settings, the system tabs, the game list pane, the details panel, the menus and the status
// frame, and it is the host the dialogs and panes it opens talk back to: each of them is built
// from a UiContext and a narrow host interface, never from the window itself.
#include "browser/GameList.h"
#include "catalogue/SystemSettings.h"
#include "images/ImageSearch.h"
#include "ui/DetailEditorDialog.h"
#include "ui/ExportDialogs.h"
#include "ui/GameCommands.h"
#include "ui/GameInfoPanel.h"
#include "ui/IdentifyCommands.h"
#include "ui/ImageSearchHost.h"
#include "ui/SystemOptionsDialog.h"
#include "ui/UiContext.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabBar;

namespace quillon {
class Lookups;
class Session;
}  // namespace quillon

namespace quillon::ui {

class GameListModel;
class GameListPane;
class StatusFeedback;
class WindowSettings;

class MainWindow : public QMainWindow,
                   public ImageSearchHost,
                   public GameInfoHost,
                   public GameCommandHost,
                   public DetailEditorHost,
                   public SystemOptionsHost {
  Q_OBJECT

 public:
  explicit MainWindow(Session& session, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up sequence: what the window remembers, tabs, the current system's settings, the
  // filter combos, the first list, and the game shown last.
  void Start();
  // Opens the options when no system has a ROM folder yet (the end of the start-up).
  void OfferFirstSetup();

  // What the windows this one opens are built from.
  UiContext Context();
  QAction* Action(const QString& objectName) const;

  // The state the commands read.
  qint64 CurrentSystemID() const { return m_settings.systemId; }
  qint64 CurrentGameID() const { return m_currentGameId; }
  const SystemSettings& CurrentSettings() const override { return m_settings; }
  GameListModel& ListModel();
  GameListPane& ListPane() { return *m_listPane; }
  // Makes a list row the current one and shows its game's details.
  void SelectListRow(int row);
  // Recolours the current row from the details shown (after an edit).
  void ColorCode();

  // Commands.
  // The scanner dialog; with `autoScan` it scans all systems at once. `over`: the window it opens
  // over, when not this one.
  void OpenScanner(bool quick, bool autoScan = false, QWidget* over = nullptr);
  // File > Settings and the scanner's Setup.
  void OpenSystemOptions();
  void StartImageSearch(ImageCommand command);
  void DeleteGames(bool ticked);
  // What the identification commands need: the catalogue, the status line, the current system,
  // the control lock and the list rebuild.
  IdentifyContext IdentifyFor();
  // What the .my and Meedio exports take: the current system, genre filter and tabs.
  ExportContext ExportContextNow();
  // Lists only the games with this identification result (GameMatch.Status), or all.
  void SetMatchFilter(std::optional<int> status);

  // Rebuilds the list with the current filters; `missing` chooses the Missing view.
  void FilterGenre(bool refreshOnly, bool missing);
  void FilterGenre();
  void UpdateTabs();
  // The tabs again; `keep` stays selected when it still has a tab, else the tab at the same place.
  void UpdateTabs(const QString& keep);
  // "Only Systems With Games": tabs only for the systems that have games (all while none has).
  void ShowOnlySystemsWithGames(bool only);
  // The tab `step` places away, round the ends; the tab at `index`.
  void StepTab(int step);
  void ShowTabAt(int index);
  // The system of a tab (its caption).
  QString TabSystem(int index) const;
  // Starts the game of a list row with its emulator, as the Play button does.
  void PlayRow(int row);
  void RefreshSettings() override;
  void RefreshGenres();

  // CommandHost.
  void LockControls(bool lock, const QString& section) override;
  void RefreshList() override { FilterGenre(); }
  int ListedGameCount() const override;

  // ImageSearchHost.
  int GameRowCount() const override;
  ImageSearchListRow GameRowAt(int row) const override;
  int SelectedGameRow() const override;
  void SelectGameRow(int row) override;
  void ShowGameDetails(qint64 gameId) override;
  void ShowPicture(const QString& path) override;
  void GamePictureStored(qint64 gameId, const QString& path) override;
  void ImageFolderStored(const QString& folder) override;

  // GameInfoHost.
  bool ListBusy() const override;
  bool OpenListsOnFocus() const override;

  // DetailEditorHost.
  void LookupSectionsChanged(const QSet<LookupKind>& sections) override;

  // SystemOptionsHost.
  void ScanAllSystems(QWidget* over) override { OpenScanner(true, true, over); }
  void SystemOptionsClosed(const SystemOptionsChanges& changes) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildMenus();
  void BuildTabShortcuts();
  void BuildStatusFrame();
  void BuildCentralArea();
  QWidget* BuildDetailsArea();
  void ConnectListPane();

  void CreateFilter();
  void FilterControl();
  void ShowEmptyDetails();
  void ShowGameAt(int row);
  void ShowTabNamed(const QString& name);
  QList<SystemTab> SystemsWithTabs() const;
  void ShowTabCount(int index, qint64 systemId);
  // The counts read again: the tabs follow when a system gained its first game or lost its last.
  void RefreshTabCounts();
  void RestoreWindow();
  void SaveWindow();
  void SetListCommandsEnabled(bool enabled);
  void OnListReplaced(int rows);
  void OnListFiltered(bool refreshOnly);

  void OnTabChanged(int index);
  void OnTabClicked(int index);
  void OnViewChosen(GameView view);
  void OnCloneMarkToggled(bool includeClones);
  void OnListContextMenu(const QPoint& globalPosition, int row);
  void OnWebSearch(const QString& which);
  void ShowHelp();
  void ShowAbout();

  Session& m_session;
  std::unique_ptr<StatusFeedback> m_feedback;
  std::unique_ptr<quillon::Lookups> m_lookups;

  SystemSettings m_settings;
  qint64 m_currentGameId = 0;
  std::unique_ptr<WindowSettings> m_remembered;
  // The systems with a tab when every system is shown, and their game counts.
  QList<SystemTab> m_enabledSystems;
  QHash<qint64, GameCounts> m_gameCounts;
  // "Only Systems With Games" as the user chose it; unset, it follows whether any system has games.
  std::optional<bool> m_onlySystemsWithGames;

  // Controls.
  QTabBar* m_tabs = nullptr;
  QSplitter* m_splitter = nullptr;
  GameListPane* m_listPane = nullptr;
  GameInfoPanel* m_details = nullptr;
  QList<QPushButton*> m_searchButtons;
  QLabel* m_statusLabel = nullptr;
  QProgressBar* m_progressBar = nullptr;
  QMenu* m_editMenu = nullptr;
};

}  // namespace quillon::ui
