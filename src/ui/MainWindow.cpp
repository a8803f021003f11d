#include "ui/MainWindow.h"

#include "browser/ChoiceLists.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Lookups.h"
#include "catalogue/ReservedKeys.h"
#include "catalogue/Session.h"
#include "settings/SystemOptions.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"
#include "ui/GameListView.h"
#include "ui/ImageBrowser.h"
#include "ui/StatusFeedback.h"
#include "ui/WindowSettings.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kWindowCaption = QStringLiteral("::) Quillon (::");

// Keys of what the window remembers.
const QString kGeometryKey = QStringLiteral("MainWindow/geometry");
const QString kStateKey = QStringLiteral("MainWindow/state");
const QString kSplitterKey = QStringLiteral("MainWindow/splitter");
const QString kSystemKey = QStringLiteral("MainWindow/system");
const QString kGameKey = QStringLiteral("MainWindow/game");
const QString kPicturesKey = QStringLiteral("MainWindow/pictures");
const QString kOnlySystemsWithGamesKey = QStringLiteral("MainWindow/onlySystemsWithGames");
const QString kColumnsKey = QStringLiteral("GameList/columns");

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), m_session(session)
{
  setObjectName(QStringLiteral("FMain"));
  setWindowTitle(kWindowCaption);
  setMinimumSize(820, 575);
  resize(1180, 760);
  BuildStatusFrame();
  m_feedback = std::make_unique<StatusFeedback>(this, m_statusLabel, m_progressBar);
  m_lookups = std::make_unique<quillon::Lookups>(m_session.Connection(), *m_feedback);
  BuildMenus();
  BuildCentralArea();
  BuildTabShortcuts();
}

MainWindow::~MainWindow()
{
  // The details panel saves an edit when its box loses the focus and asks this window (its host)
  // and the status line: the focus leaves now, while both exist, and the panes go before them.
  if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
    focused->clearFocus();
  delete m_details;
  m_details = nullptr;
  delete m_listPane;
  m_listPane = nullptr;
}

UiContext MainWindow::Context()
{
  return {m_session.Connection(), *m_feedback, *m_lookups, m_session.Folder()};
}

QAction* MainWindow::Action(const QString& objectName) const
{
  return findChild<QAction*>(objectName);
}

GameListModel& MainWindow::ListModel()
{
  return m_listPane->Model();
}

void MainWindow::BuildStatusFrame()
{
  auto* frame = new QFrame(this);
  frame->setObjectName(QStringLiteral("frmstatus"));
  auto* layout = new QHBoxLayout(frame);
  layout->setContentsMargins(6, 2, 6, 2);
  m_statusLabel = new QLabel(QStringLiteral("Status: OK"), frame);
  m_statusLabel->setObjectName(QStringLiteral("lblstatus"));
  m_statusLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  m_progressBar = new QProgressBar(frame);
  m_progressBar->setObjectName(QStringLiteral("ProgressBar"));
  m_progressBar->setRange(0, 1);
  m_progressBar->setValue(0);
  m_progressBar->setTextVisible(false);
  m_progressBar->setFixedWidth(220);
  layout->addWidget(m_statusLabel, 1);
  layout->addWidget(m_progressBar);
  statusBar()->addWidget(frame, 1);
  statusBar()->setSizeGripEnabled(true);
}

void MainWindow::BuildCentralArea()
{
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 0);
  layout->setSpacing(0);
  m_tabs = new QTabBar(central);
  m_tabs->setObjectName(QStringLiteral("tbsSys"));
  m_tabs->setExpanding(false);
  m_tabs->setUsesScrollButtons(true);
  m_tabs->setDrawBase(true);
  connect(m_tabs, &QTabBar::currentChanged, this, &MainWindow::OnTabChanged);
  connect(m_tabs, &QTabBar::tabBarClicked, this, &MainWindow::OnTabClicked);
  layout->addWidget(m_tabs);

  auto* page = new QFrame(central);
  page->setFrameShape(QFrame::StyledPanel);
  auto* pageLayout = new QVBoxLayout(page);
  pageLayout->setContentsMargins(6, 6, 6, 6);
  m_splitter = new QSplitter(Qt::Horizontal, page);
  m_splitter->setObjectName(QStringLiteral("mainSplitter"));
  m_splitter->setChildrenCollapsible(false);
  m_listPane = new GameListPane(Context(), this);
  ConnectListPane();
  m_splitter->addWidget(m_listPane);
  m_splitter->addWidget(BuildDetailsArea());
  m_splitter->setStretchFactor(0, 5);
  m_splitter->setStretchFactor(1, 6);
  // The list (or the grid of covers) gets about half the width at first.
  m_splitter->setSizes({520, 640});
  pageLayout->addWidget(m_splitter);
  layout->addWidget(page, 1);
  setCentralWidget(central);
}

void MainWindow::ConnectListPane()
{
  connect(m_listPane, &GameListPane::currentRowChanged, this, &MainWindow::ShowGameAt);
  connect(m_listPane, &GameListPane::listReplaced, this, &MainWindow::OnListReplaced);
  connect(m_listPane, &GameListPane::listFiltered, this, [this](bool refreshOnly) {
    OnListFiltered(refreshOnly);
    // A rebuilt list may follow a scan, an import or a deletion: the counts follow.
    if (!refreshOnly && !m_listPane->Loading())
      RefreshTabCounts();
  });
  connect(m_listPane, &GameListPane::searchApplied, this, [this](int rows) {
    OnListReplaced(rows);
    OnListFiltered(false);
  });
  connect(m_listPane, &GameListPane::playWanted, this, &MainWindow::PlayRow);
  connect(m_listPane, &GameListPane::lockWanted, this, [this](bool lock) { LockControls(lock, QString()); });
  connect(m_listPane, &GameListPane::contextMenuWanted, this, &MainWindow::OnListContextMenu);
  connect(m_listPane, &GameListPane::deletePressed, this, [this] {
    if (Action(QStringLiteral("DeleteGame"))->isEnabled())
      DeleteGames(false);
  });
  connect(m_listPane, &GameListPane::filesDropped, this,
          [this](const QStringList& paths) { AddGameFiles(Context(), *this, m_settings.systemId, paths); });
  // The list follows the View menu's clone marks, however they change.
  for (const char* name : {"Clones", "ClonesOnly"}) {
    connect(Action(QString::fromLatin1(name)), &QAction::toggled, this, [this] {
      m_listPane->SetCloneMarks(
          {Action(QStringLiteral("Clones"))->isChecked(), Action(QStringLiteral("ClonesOnly"))->isChecked()});
    });
  }
}

QWidget* MainWindow::BuildDetailsArea()
{
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  m_details = new GameInfoPanel(Context(), *this, area);
  connect(m_details, &GameInfoPanel::edited, this, &MainWindow::ColorCode);
  connect(m_details, &GameInfoPanel::fullNameTyped, m_listPane, &GameListPane::RenameCurrentRow);
  layout->addWidget(m_details, 1);

  auto* searches = new QHBoxLayout;
  const std::pair<const char*, const char*> buttons[] = {{"GoogleImage", "Search the web for pictures of this game"},
                                                         {"GoogleRom", "Search the web for this ROM file"},
                                                         {"GoogleIt", "Search the web for this game"}};
  for (const auto& [name, tip] : buttons) {
    auto* button = new QPushButton(QStringLiteral("Google Search"), area);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tr(tip));
    const QString which = QString::fromLatin1(name);
    connect(button, &QPushButton::clicked, this, [this, which] { OnWebSearch(which); });
    searches->addWidget(button);
    m_searchButtons << button;
  }
  layout->addLayout(searches);
  return area;
}

void MainWindow::Start()
{
  m_remembered = std::make_unique<WindowSettings>(m_session.Folder());
  RestoreWindow();
  m_listPane->SetLoading(true);
  UpdateTabs(m_remembered->Value(kSystemKey).toString());
  RefreshSettings();
  CreateFilter();
  m_listPane->SetLoading(false);
  const int lastGame = m_listPane->Model().RowOfGame(m_remembered->Value(kGameKey).toLongLong());
  if (lastGame > 0)
    SelectListRow(lastGame);
}

void MainWindow::RestoreWindow()
{
  m_remembered->RestoreGeometry(this, kGeometryKey);
  restoreState(m_remembered->Value(kStateKey).toByteArray());
  m_splitter->restoreState(m_remembered->Value(kSplitterKey).toByteArray());
  m_listPane->RestoreColumnState(m_remembered->Value(kColumnsKey).toByteArray());
  const bool pictures = m_remembered->Value(kPicturesKey).toBool();
  Action(QStringLiteral("ViewPictures"))->setChecked(pictures);
  m_listPane->ShowPictures(pictures);
  if (m_remembered->Contains(kOnlySystemsWithGamesKey))
    m_onlySystemsWithGames = m_remembered->Value(kOnlySystemsWithGamesKey).toBool();
}

void MainWindow::SaveWindow()
{
  if (!m_remembered)
    return;
  m_remembered->SaveGeometry(this, kGeometryKey);
  m_remembered->SetValue(kStateKey, saveState());
  m_remembered->SetValue(kSplitterKey, m_splitter->saveState());
  m_remembered->SetValue(kColumnsKey, m_listPane->ColumnState());
  m_remembered->SetValue(kPicturesKey, m_listPane->PicturesShown());
  m_remembered->SetValue(kSystemKey, m_settings.name);
  m_remembered->SetValue(kGameKey, m_currentGameId);
  if (m_onlySystemsWithGames)
    m_remembered->SetValue(kOnlySystemsWithGamesKey, *m_onlySystemsWithGames);
}

void MainWindow::PlayRow(int row)
{
  if (row < 0 || m_listPane->ListBusy())
    return;
  if (m_listPane->Model().GameIdAt(row) != m_currentGameId)
    ShowGameAt(row);
  m_details->Play();
}

void MainWindow::RefreshSettings()
{
  const QString name = TabSystem(m_tabs->currentIndex());
  const std::optional<SystemSettings> settings = LoadSystemSettings(m_session.Connection(), *m_feedback, name);
  m_settings = settings.value_or(SystemSettings{});
  m_listPane->SetSystem(m_settings.systemId);
  Action(QStringLiteral("RomScanMenu"))->setEnabled(m_settings.hasRomPath);
  Action(QStringLiteral("GoodRomScan"))->setEnabled(m_settings.hasRomPath && !m_settings.imageFolder.isEmpty());
  Action(QStringLiteral("VerifyRoms"))->setEnabled(m_settings.hasRomPath);
  Action(QStringLiteral("RenameRoms"))->setEnabled(m_settings.hasRomPath);
  SetListCommandsEnabled(m_listPane->Model().rowCount() > 0);
  const bool arcade = m_settings.systemId == kArcadeSystemId;
  Action(QStringLiteral("Clones"))->setEnabled(arcade);
  Action(QStringLiteral("ClonesOnly"))->setEnabled(arcade);
}

void MainWindow::RefreshGenres()
{
  const QList<GenreChoice> genres = GenresByName(m_session.Connection(), *m_feedback).value_or(QList<GenreChoice>());
  m_listPane->SetGenres(genres);
  m_details->FillGenres(genres);
}

void MainWindow::CreateFilter()
{
  RefreshGenres();
  m_details->FillCombos();
  m_listPane->ShowAllGenres();
  FilterGenre();
}

void MainWindow::FilterGenre(bool refreshOnly, bool missing)
{
  m_listPane->SetView(missing ? GameView::Missing : GameView::Available);
  m_listPane->FilterGenre(refreshOnly);
}

void MainWindow::FilterGenre()
{
  FilterGenre(false, m_listPane->View() == GameView::Missing);
}

void MainWindow::OnListReplaced(int rows)
{
  SetListCommandsEnabled(rows > 0);
  if (rows == 0) {
    ShowEmptyDetails();
    return;
  }
  const bool missingView = m_listPane->View() == GameView::Missing;
  for (const char* name : {"exporth2menu", "DeleteGame", "Del_Sel", "SaveAsMy"})
    Action(QString::fromLatin1(name))->setEnabled(!missingView);
}

void MainWindow::OnListFiltered(bool refreshOnly)
{
  const bool empty = m_listPane->Model().rowCount() == 0;
  if (empty)
    ShowEmptyDetails();
  Action(QStringLiteral("DeleteGame"))->setEnabled(!empty);
  if (refreshOnly)
    FilterControl();
}

void MainWindow::SetListCommandsEnabled(bool enabled)
{
  for (const char* name : {"Del_Sel", "DeleteGame", "SaveAsMy", "exporth2menu"})
    Action(QString::fromLatin1(name))->setEnabled(enabled);
  Action(QStringLiteral("ImageS"))->setEnabled(enabled);
}

void MainWindow::FilterControl()
{
  m_details->FocusEditorFor(m_listPane->MissingFilter());
}

void MainWindow::ShowEmptyDetails()
{
  m_currentGameId = 0;
  m_details->ViewGameInfo(0);
}

void MainWindow::ShowGameAt(int row)
{
  if (m_listPane->ListBusy())
    return;
  m_currentGameId = m_listPane->Model().GameIdAt(row);
  m_details->ViewGameInfo(m_currentGameId);
  FilterControl();
  ColorCode();
}

void MainWindow::SelectListRow(int row)
{
  m_listPane->SelectRow(row);
}

void MainWindow::ColorCode()
{
  const int row = m_listPane->CurrentRow();
  if (row < 0 || m_listPane->Model().rowCount() == 0 || m_currentGameId == 0)
    return;
  m_listPane->Model().SetRowColour(row, ListColour(m_details->ShownMissingData()));
}

void MainWindow::LockControls(bool lock, const QString& section)
{
  m_details->SetLocked(lock);
  for (QPushButton* button : m_searchButtons)
    button->setEnabled(!lock);
  if (section == QStringLiteral("GameInfo") || section == QStringLiteral("GameInfoNotList"))
    return;
  m_tabs->setEnabled(!lock);
  m_listPane->SetLocked(lock);
  menuBar()->setEnabled(!lock);
}

int MainWindow::ListedGameCount() const
{
  return m_listPane->Model().rowCount();
}

void MainWindow::OnViewChosen(GameView view)
{
  if (m_listPane->ListBusy())
    return;
  FilterGenre(false, view == GameView::Missing);
}

void MainWindow::OnCloneMarkToggled(bool includeClones)
{
  QAction* clones = Action(QStringLiteral("Clones"));
  QAction* clonesOnly = Action(QStringLiteral("ClonesOnly"));
  // The two marks exclude each other; triggering a marked item clears it.
  if (includeClones && clones->isChecked())
    clonesOnly->setChecked(false);
  if (!includeClones && clonesOnly->isChecked())
    clones->setChecked(false);
  if (!m_listPane->ListBusy() && !m_listPane->Loading())
    FilterGenre();
}

void MainWindow::SetMatchFilter(std::optional<int> status)
{
  m_listPane->SetMatchStatus(status);
  if (!m_listPane->ListBusy() && !m_listPane->Loading())
    FilterGenre();
}

void MainWindow::OnListContextMenu(const QPoint& globalPosition, int row)
{
  if (row < 0)
    return;
  ShowGameAt(row);
  // The list's own lines of the Edit menu: Play first, Download last.
  const QList<QAction*> listLines{Action(QStringLiteral("PlayGame")), Action(QStringLiteral("PlaySeparator")),
                                  Action(QStringLiteral("DownloadSeparator")), Action(QStringLiteral("DownloadMenu"))};
  Action(QStringLiteral("PlayGame"))->setEnabled(m_details->CanPlay());
  for (QAction* line : listLines)
    line->setVisible(true);
  m_editMenu->exec(globalPosition);
  for (QAction* line : listLines)
    line->setVisible(false);
}

int MainWindow::GameRowCount() const
{
  return m_listPane->Model().rowCount();
}

ImageSearchListRow MainWindow::GameRowAt(int row) const
{
  const GameRow* game = m_listPane->Model().RowAt(row);
  if (!game)
    return {};
  return {game->gameId, game->fullName, game->selected};
}

int MainWindow::SelectedGameRow() const
{
  return m_listPane->CurrentRow();
}

void MainWindow::SelectGameRow(int row)
{
  SelectListRow(row);
}

void MainWindow::ShowGameDetails(qint64 gameId)
{
  const int row = m_listPane->Model().RowOfGame(gameId);
  if (row >= 0 && row != m_listPane->CurrentRow())
    SelectListRow(row);
  else if (gameId != m_currentGameId || row < 0)
    ShowGameAt(row);
}

void MainWindow::ShowPicture(const QString& path)
{
  m_details->PaintPicture(path);
}

void MainWindow::GamePictureStored(qint64 gameId, const QString& path)
{
  if (gameId != m_currentGameId)
    return;
  if (path.isEmpty())
    m_details->ViewGameInfo(gameId);
  else
    m_details->UpdateImage(path);
  ColorCode();
}

void MainWindow::ImageFolderStored(const QString& folder)
{
  m_settings.imageFolder = folder;
}

bool MainWindow::ListBusy() const
{
  return m_listPane->ListBusy();
}

bool MainWindow::OpenListsOnFocus() const
{
  return m_listPane->MissingFilter().isEmpty() && !m_listPane->Loading();
}

void MainWindow::changeEvent(QEvent* event)
{
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !isActiveWindow())
    return;
  // The image search window stays in front of the main window while it works.
  if (auto* browser = findChild<ImageBrowser*>(QStringLiteral("frmBrowser")); browser && browser->isVisible())
    browser->raise();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
  SaveWindow();
  if (auto* browser = findChild<ImageBrowser*>(QStringLiteral("frmBrowser")); browser && browser->isVisible())
    browser->close();
  m_lookups->EmptyCaches();
  event->accept();
}

}  // namespace quillon::ui
