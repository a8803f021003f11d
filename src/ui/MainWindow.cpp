#include "ui/MainWindow.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Lookups.h"
#include "catalogue/ReservedKeys.h"
#include "catalogue/Session.h"
#include "common/Paths.h"
#include "identify/ReferenceLists.h"
#include "scan/GameDeletion.h"
#include "scan/GameMatching.h"
#include "ui/ClickableLabel.h"
#include "ui/CompletingComboBox.h"
#include "ui/DeleteGameDialog.h"
#include "ui/DetailEditorDialog.h"
#include "ui/ExportDialogs.h"
#include "ui/FrontendExportDialog.h"
#include "ui/GameInfoPanel.h"
#include "ui/GameListModel.h"
#include "ui/GameListView.h"
#include "ui/ImageBrowser.h"
#include "ui/ImageCommands.h"
#include "ui/MameImportCommand.h"
#include "ui/MatchStatusMarks.h"
#include "ui/ScannerDialog.h"
#include "ui/SiteListDialogs.h"
#include "ui/StatusFeedback.h"
#include "ui/SystemOptionsDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kWindowCaption = QStringLiteral("::) Quillon (::");
const QString kAllGenres = QStringLiteral("[-------------------ALL------------------]");
const QString kAvailableCaption = QStringLiteral("Available Games");
const QString kMissingCaption = QStringLiteral("Missing Games");
const QString kCheckAll = QStringLiteral("Check All");
const QString kUncheckAll = QStringLiteral("Uncheck All");
const QString kImageSearchHost = QStringLiteral("https://www.google.com");
const QString kWebSearchHost = QStringLiteral("https://www.bing.com");

// The legend: label name, caption, filter name and colour literal.
struct LegendEntry {
  const char* objectName;
  const char* caption;
  const char* filter;
  const QString* colour;
};
const LegendEntry kLegend[] = {
    {"Label6", "Overview", "Overview", &kColourOverview},
    {"Label2", "Image", "Image", &kColourImage},
    {"Label1", "Country", "Country", &kColourCountry},
    {"Label3", "Manf", "Manf", &kColourManufacturer},
    {"Label4", "Year", "Year", &kColourYear},
    {"Label7", "Genre", "Genre", &kColourGenre},
    {"Label5", "Multiple", "", &kColourMultiple},
};

QFrame* Swatch(const QString& literal, QWidget* parent)
{
  auto* swatch = new QFrame(parent);
  swatch->setFixedSize(14, 14);
  swatch->setFrameShape(QFrame::Box);
  swatch->setStyleSheet(
      QStringLiteral("background-color: %1; border: 1px solid #555;").arg(ColourFromLiteral(literal).name()));
  return swatch;
}

// The search text of a web search: spaces become "+".
QString SearchTerms(const QString& text)
{
  return QString::fromUtf8(QUrl::toPercentEncoding(text.trimmed(), " ")).replace(QLatin1Char(' '), QLatin1Char('+'));
}

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
}

MainWindow::~MainWindow() = default;

Catalogue& MainWindow::Connection()
{
  return m_session.Connection();
}

const DataFolder& MainWindow::Folder() const
{
  return m_session.Folder();
}

QAction* MainWindow::AddAction(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut, bool enabled)
{
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  if (!shortcut.isEmpty())
    action->setShortcut(shortcut);
  action->setEnabled(enabled);
  return action;
}

QAction* MainWindow::Action(const QString& objectName) const
{
  return findChild<QAction*>(objectName);
}

void MainWindow::BuildMenus()
{
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->setObjectName(QStringLiteral("FileMenu"));
  QMenu* exportMenu = file->addMenu(tr("&Export"));
  connect(AddAction(exportMenu, QStringLiteral("ExportSiteURLs"), tr("Image &Site URLs"),
                    QKeySequence(Qt::CTRL | Qt::Key_U), true),
          &QAction::triggered, this,
          [this] { ExportSiteListCommand(*this, Connection(), *m_feedback, Folder(), this); });
  exportMenu->addSeparator();
  for (const FrontendFormat format : {FrontendFormat::Esde, FrontendFormat::Pegasus, FrontendFormat::RetroArch}) {
    connect(AddAction(exportMenu, FrontendActionName(format), FrontendActionCaption(format), {}, true),
            &QAction::triggered, this, [this, format] {
              RunFrontendExport(format,
                                {&Connection(), m_feedback.get(), CurrentSystemID(),
                                 [this](bool lock) { LockControls(lock, QString()); }},
                                this);
            });
  }
  QMenu* importMenu = file->addMenu(tr("&Import"));
  connect(AddAction(importMenu, QStringLiteral("ImportSiteURLs"), tr("&Image Site URLs"),
                    QKeySequence(Qt::CTRL | Qt::Key_I), true),
          &QAction::triggered, this,
          [this] { ImportSiteListCommand(*this, Connection(), *m_feedback, Folder(), this); });
  connect(AddAction(importMenu, QStringLiteral("ImportMame"), tr("&Mame Game List"), QKeySequence(Qt::CTRL | Qt::Key_L),
                    true),
          &QAction::triggered, this, [this] { RunMameImportCommand(*this); });
  connect(AddAction(importMenu, QStringLiteral("ImportDat"), tr("&Reference Lists (DAT)..."), {}, true),
          &QAction::triggered, this, [this] {
            IdentifyContext context = IdentifyFor();
            RunReferenceListsCommand(context);
          });
  file->addSeparator();
  connect(AddAction(file, QStringLiteral("SaveAsMy"), tr("Save as .&My"), QKeySequence(Qt::CTRL | Qt::Key_S)),
          &QAction::triggered, this, [this] { RunSaveAsMyCommand(*this); });
  connect(AddAction(file, QStringLiteral("exporth2menu"), tr("&Save to Meedio")), &QAction::triggered, this,
          [this] { RunSaveToMeedioCommand(*this); });
  file->addSeparator();
  connect(AddAction(file, QStringLiteral("Settings"), tr("S&ettings"), QKeySequence(Qt::CTRL | Qt::Key_E), true),
          &QAction::triggered, this, [this] { RunSystemOptions(*this); });
  file->addSeparator();
  QAction* exitAction =
      AddAction(file, QStringLiteral("ExitMenu"), tr("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X), true);
  connect(exitAction, &QAction::triggered, this, &QWidget::close);

  m_editMenu = menuBar()->addMenu(tr("&Edit"));
  m_editMenu->setObjectName(QStringLiteral("EditMenu"));
  connect(
      AddAction(m_editMenu, QStringLiteral("AddGame"), tr("&Add Game"), QKeySequence(Qt::CTRL | Qt::Key_Insert), true),
      &QAction::triggered, this, &MainWindow::AddGames);
  connect(AddAction(m_editMenu, QStringLiteral("DeleteGame"), tr("&Delete Game"), QKeySequence(Qt::CTRL | Qt::Key_D)),
          &QAction::triggered, this, [this] { DeleteGames(false); });
  connect(AddAction(m_editMenu, QStringLiteral("Del_Sel"), tr("Delete &Selected"), QKeySequence(Qt::CTRL | Qt::Key_T)),
          &QAction::triggered, this, [this] { DeleteGames(true); });
  connect(AddAction(m_editMenu, QStringLiteral("DetailEditor"), tr("&Detail Editor"),
                    QKeySequence(Qt::CTRL | Qt::Key_G), true),
          &QAction::triggered, this, [this] { RunDetailEditor(*this); });
  QAction* downloadSeparator = m_editMenu->addSeparator();
  downloadSeparator->setObjectName(QStringLiteral("DownloadSeparator"));
  downloadSeparator->setVisible(false);
  QMenu* download = m_editMenu->addMenu(tr("&Download"));
  download->menuAction()->setObjectName(QStringLiteral("DownloadMenu"));
  download->menuAction()->setVisible(false);
  QMenu* downloadImages = download->addMenu(tr("&Images"));
  const std::pair<const char*, ImageCommand> downloads[] = {
      {"DownloadCurrent", ImageCommand::CurrentGame},
      {"DownloadSelected", ImageCommand::SelectedGames},
      {"DownloadWithoutImages", ImageCommand::SelectedGamesWithoutImages}};
  const QString downloadCaptions[] = {tr("&Current Game"), tr("&Selected Games"), tr("Selected Games &w/o Images")};
  for (int i = 0; i < 3; ++i) {
    const ImageCommand command = downloads[i].second;
    connect(AddAction(downloadImages, QString::fromLatin1(downloads[i].first), downloadCaptions[i], {}, true),
            &QAction::triggered, this, [this, command] { StartImageSearch(command); });
  }

  QMenu* scan = menuBar()->addMenu(tr("S&can"));
  scan->setObjectName(QStringLiteral("ScanMenu"));
  QMenu* images = scan->addMenu(tr("&Images"));
  images->menuAction()->setObjectName(QStringLiteral("ImageS"));
  images->menuAction()->setEnabled(false);
  const std::pair<const char*, ImageCommand> searches[] = {
      {"ImagesCurrent", ImageCommand::CurrentGame},
      {"ImagesSelected", ImageCommand::SelectedGames},
      {"ImagesWithoutImages", ImageCommand::SelectedGamesWithoutImages}};
  for (int i = 0; i < 3; ++i) {
    const ImageCommand command = searches[i].second;
    connect(AddAction(images, QString::fromLatin1(searches[i].first), downloadCaptions[i], {}, true),
            &QAction::triggered, this, [this, command] { StartImageSearch(command); });
  }
  QMenu* roms = scan->addMenu(tr("&Roms"));
  roms->setObjectName(QStringLiteral("RomsMenu"));
  connect(AddAction(roms, QStringLiteral("RomScanMenu"), tr("&Rom Scan"), QKeySequence(Qt::CTRL | Qt::Key_R)),
          &QAction::triggered, this, [this] { OpenScanner(true); });
  connect(
      AddAction(roms, QStringLiteral("GoodRomScan"), tr("&Rom Scan w/GoodTools"), QKeySequence(Qt::CTRL | Qt::Key_W)),
      &QAction::triggered, this, [this] { OpenScanner(false); });
  roms->addSeparator();
  connect(AddAction(roms, QStringLiteral("VerifyRoms"), tr("&Verify Roms")), &QAction::triggered, this, [this] {
    IdentifyContext context = IdentifyFor();
    RunVerifyCommand(context);
  });
  connect(AddAction(roms, QStringLiteral("RenameRoms"), tr("Re&name to Standard Names")), &QAction::triggered, this,
          [this] {
            IdentifyContext context = IdentifyFor();
            RunRenameCommand(context);
          });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  QAction* available =
      AddAction(view, QStringLiteral("ViewAvailable"), tr("&Available"), QKeySequence(Qt::CTRL | Qt::Key_A), true);
  connect(available, &QAction::triggered, this, [this] { OnViewChosen(GameView::Available); });
  QAction* missing =
      AddAction(view, QStringLiteral("ViewMissing"), tr("&Missing"), QKeySequence(Qt::CTRL | Qt::Key_M), true);
  connect(missing, &QAction::triggered, this, [this] { OnViewChosen(GameView::Missing); });
  view->addSeparator();
  QAction* clonesOnly =
      AddAction(view, QStringLiteral("ClonesOnly"), tr("Clones Only"), QKeySequence(Qt::CTRL | Qt::Key_O));
  clonesOnly->setCheckable(true);
  connect(clonesOnly, &QAction::triggered, this, [this] { OnCloneMarkToggled(false); });
  QAction* clones = AddAction(view, QStringLiteral("Clones"), tr("Include Clones"), QKeySequence(Qt::CTRL | Qt::Key_C));
  clones->setCheckable(true);
  connect(clones, &QAction::triggered, this, [this] { OnCloneMarkToggled(true); });
  view->addSeparator();
  BuildMatchFilterMenu(view);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* helpAction = AddAction(help, QStringLiteral("HelpContents"), tr("&Help"), QKeySequence(Qt::Key_F1), true);
  connect(helpAction, &QAction::triggered, this, &MainWindow::ShowHelp);
  help->addSeparator();
  QAction* about =
      AddAction(help, QStringLiteral("AboutMenu"), tr("A&bout Quillon"), QKeySequence(Qt::CTRL | Qt::Key_B), true);
  connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
}

void MainWindow::BuildMatchFilterMenu(QMenu* view)
{
  QMenu* menu = view->addMenu(tr("&Verification"));
  menu->menuAction()->setObjectName(QStringLiteral("VerifyFilterMenu"));
  auto* group = new QActionGroup(menu);
  const std::pair<const char*, std::optional<MatchStatus>> choices[] = {{"All Games", std::nullopt},
                                                                        {"Verified", MatchStatus::Verified},
                                                                        {"Rename Needed", MatchStatus::Rename},
                                                                        {"Bad Dumps", MatchStatus::BadDump},
                                                                        {"Not in List", MatchStatus::NotInList},
                                                                        {"Ambiguous", MatchStatus::Ambiguous},
                                                                        {"Not Verified", MatchStatus::Unchecked}};
  for (const auto& [caption, status] : choices) {
    const QString name = QStringLiteral("VerifyFilter") + QString::fromLatin1(caption).remove(QLatin1Char(' '));
    QAction* action = AddAction(menu, name, tr(caption), {}, true);
    action->setCheckable(true);
    action->setChecked(!status);
    if (status)
      action->setIcon(MatchStatusIcon(static_cast<int>(*status)));
    group->addAction(action);
    const std::optional<int> filter = status ? std::optional<int>(static_cast<int>(*status)) : std::nullopt;
    connect(action, &QAction::triggered, this, [this, filter] { SetMatchFilter(filter); });
  }
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
  m_splitter->addWidget(BuildGameFrame());
  m_splitter->addWidget(BuildDetailsArea());
  m_splitter->setStretchFactor(0, 5);
  m_splitter->setStretchFactor(1, 6);
  pageLayout->addWidget(m_splitter);
  layout->addWidget(page, 1);
  setCentralWidget(central);
}

QWidget* MainWindow::BuildGameFrame()
{
  m_gamesFrame = new QGroupBox(kAvailableCaption, this);
  m_gamesFrame->setObjectName(QStringLiteral("frmgames"));
  auto* layout = new QVBoxLayout(m_gamesFrame);

  auto* filterRow = new QHBoxLayout;
  m_genreCombo = new CompletingComboBox(m_gamesFrame);
  m_genreCombo->setObjectName(QStringLiteral("cmbgenre"));
  m_genreCombo->setEditable(true);
  m_genreCombo->setInsertPolicy(QComboBox::NoInsert);
  m_genreCombo->setMaxVisibleItems(20);
  m_genreCombo->SetTypingReplacesText(true);
  m_genreCombo->setToolTip(tr("Show only the games of one genre"));
  connect(m_genreCombo, qOverload<int>(&QComboBox::activated), this, [this](int) { OnGenreActivated(); });
  connect(m_genreCombo, &CompletingComboBox::entered, this, &MainWindow::OnGenreEntered);
  m_checkAll = new QCheckBox(kCheckAll, m_gamesFrame);
  m_checkAll->setObjectName(QStringLiteral("cmdsall"));
  connect(m_checkAll, &QCheckBox::clicked, this, &MainWindow::OnCheckAllClicked);
  filterRow->addWidget(m_genreCombo, 1);
  filterRow->addWidget(m_checkAll);
  layout->addLayout(filterRow);

  m_list = new GameListView(m_gamesFrame);
  m_model = new GameListModel(this);
  m_list->setModel(m_model);
  m_list->setColumnHidden(GameListModel::kIdColumn, true);
  m_list->header()->setSectionResizeMode(GameListModel::kNameColumn, QHeaderView::Stretch);
  m_list->header()->setSortIndicatorShown(true);
  m_list->header()->setSortIndicator(GameListModel::kNameColumn, Qt::AscendingOrder);
  connect(m_list->header(), &QHeaderView::sectionClicked, this, [this](int) {
    const Qt::SortOrder order =
        m_list->header()->sortIndicatorOrder() == Qt::AscendingOrder ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_model->sort(GameListModel::kNameColumn, order);
    m_list->scrollTo(m_list->currentIndex());
  });
  m_model->SetCheckHandler([this](qint64 gameId, bool selected) {
    if (m_listBusy)
      return true;
    const bool written = SetSelected(Connection(), *m_feedback, gameId, selected);
    // The model counts the new mark once this returns.
    if (written)
      ShowCheckAllState(m_model->CheckedCount() + (selected ? 1 : -1) == m_model->rowCount());
    return written;
  });
  connect(m_list, &GameListView::currentGameChanged, this, &MainWindow::ShowGameAt);
  connect(m_list, &GameListView::contextMenuWanted, this, &MainWindow::OnListContextMenu);
  connect(m_list, &GameListView::deletePressed, this, [this] {
    if (Action(QStringLiteral("DeleteGame"))->isEnabled())
      DeleteGames(false);
  });
  connect(m_list, &GameListView::filesDropped, this, &MainWindow::AddGameFiles);
  layout->addWidget(m_list, 1);
  layout->addWidget(BuildLegend());
  return m_gamesFrame;
}

QWidget* MainWindow::BuildLegend()
{
  auto* legend = new QWidget(m_gamesFrame);
  legend->setObjectName(QStringLiteral("legend"));
  auto* grid = new QGridLayout(legend);
  grid->setContentsMargins(0, 4, 0, 0);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  int index = 0;
  for (const LegendEntry& entry : kLegend) {
    auto* label = new ClickableLabel(QString::fromLatin1(entry.caption), legend);
    label->setObjectName(QString::fromLatin1(entry.objectName));
    const QString filter = QString::fromLatin1(entry.filter);
    if (!filter.isEmpty()) {
      label->setCursor(Qt::PointingHandCursor);
      label->setToolTip(tr("List only the games without %1; click again for all games").arg(label->text().toLower()));
      connect(label, &ClickableLabel::clicked, this, [this, filter, label] { OnLegendClicked(filter, label); });
      m_legendLabels << label;
    }
    const int row = index / 4;
    const int column = (index % 4) * 2;
    grid->addWidget(Swatch(*entry.colour, legend), row, column);
    grid->addWidget(label, row, column + 1);
    ++index;
  }
  grid->setColumnStretch(7, 1);
  return legend;
}

QWidget* MainWindow::BuildDetailsArea()
{
  auto* area = new QWidget(this);
  auto* layout = new QVBoxLayout(area);
  layout->setContentsMargins(0, 0, 0, 0);
  m_details = new GameInfoPanel(*this, area);
  connect(m_details, &GameInfoPanel::edited, this, &MainWindow::ColorCode);
  connect(m_details, &GameInfoPanel::fullNameTyped, this, [this](const QString& name) {
    const int row = m_list->currentIndex().row();
    m_model->SetRowName(row, name);
    m_list->scrollTo(m_list->currentIndex());
  });
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
  m_loading = true;
  UpdateTabs();
  RefreshSettings();
  CreateFilter();
  m_loading = false;
}

void MainWindow::UpdateTabs()
{
  const int remembered = m_tabs->currentIndex();
  const bool wasLoading = m_loading;
  m_loading = true;
  while (m_tabs->count() > 0)
    m_tabs->removeTab(0);
  const QList<SystemTab> systems = EnabledSystems(Connection(), *m_feedback);
  for (const SystemTab& system : systems)
    m_tabs->addTab(system.name);
  m_tabs->setCurrentIndex(remembered >= 0 && remembered < m_tabs->count() ? remembered : 0);
  m_loading = wasLoading;
  if (!m_loading)
    OnTabChanged(m_tabs->currentIndex());
}

void MainWindow::RefreshSettings()
{
  const QString name = m_tabs->currentIndex() >= 0 ? m_tabs->tabText(m_tabs->currentIndex()) : QString();
  const std::optional<SystemSettings> settings = LoadSystemSettings(Connection(), *m_feedback, name);
  m_settings = settings.value_or(SystemSettings{});
  Action(QStringLiteral("RomScanMenu"))->setEnabled(m_settings.hasRomPath);
  Action(QStringLiteral("GoodRomScan"))->setEnabled(m_settings.hasRomPath && !m_settings.imageFolder.isEmpty());
  Action(QStringLiteral("VerifyRoms"))->setEnabled(m_settings.hasRomPath);
  Action(QStringLiteral("RenameRoms"))->setEnabled(m_settings.hasRomPath);
  SetListCommandsEnabled(m_model->rowCount() > 0);
  const bool arcade = m_settings.systemId == kArcadeSystemId;
  Action(QStringLiteral("Clones"))->setEnabled(arcade);
  Action(QStringLiteral("ClonesOnly"))->setEnabled(arcade);
}

void MainWindow::RefreshGenres()
{
  const QString typed = m_genreCombo->currentText();
  m_genreCombo->blockSignals(true);
  m_genreCombo->clear();
  m_genreCombo->addItem(kAllGenres);
  const std::optional<Rows> rows =
      Connection().Select(*m_feedback, QStringLiteral("RefreshGenres"),
                          QStringLiteral("SELECT GenreName, GenreID FROM Genres ORDER BY GenreName"));
  QList<std::pair<qint64, QString>> genres;
  if (rows) {
    for (const QVariantList& row : rows->All()) {
      m_genreCombo->addItem(row[0].toString(), row[1]);
      genres.append({row[1].toLongLong(), row[0].toString()});
    }
  }
  m_details->FillGenres(genres);
  const int keep = m_genreCombo->findText(typed, Qt::MatchExactly);
  m_genreCombo->setCurrentIndex(keep >= 0 ? keep : 0);
  m_genreCombo->blockSignals(false);
}

void MainWindow::CreateFilter()
{
  RefreshGenres();
  m_details->FillCombos();
  m_genreCombo->setCurrentIndex(0);
  FilterGenre(false, m_view == GameView::Missing);
}

void MainWindow::FilterGenre(bool refreshOnly, bool missing)
{
  m_view = missing ? GameView::Missing : GameView::Available;
  m_gamesFrame->setTitle(missing ? kMissingCaption : kAvailableCaption);
  ListFilters filters;
  filters.systemId = m_settings.systemId;
  filters.view = m_view;
  filters.clones = {Action(QStringLiteral("Clones"))->isChecked(), Action(QStringLiteral("ClonesOnly"))->isChecked()};
  filters.missingFilter = m_missingFilter;
  filters.matchStatus = m_matchFilter;
  m_feedback->Yield();
  // Typed text that names no genre leaves the list as it is.
  const int index = m_genreCombo->findText(m_genreCombo->currentText(), Qt::MatchExactly);
  if (index < 0 && !m_listBusy)
    return;
  if (index >= 1)
    filters.genreId = m_genreCombo->itemData(index).toLongLong();
  std::optional<std::vector<GameRow>> rows = GameListQuery(Connection(), *m_feedback, filters);
  if (!rows)
    return;
  if (!refreshOnly)
    CreateList(std::move(*rows));
  const bool empty = m_model->rowCount() == 0;
  if (empty)
    ShowEmptyDetails();
  Action(QStringLiteral("DeleteGame"))->setEnabled(!empty);
  if (refreshOnly)
    FilterControl();
  m_feedback->Yield();
}

void MainWindow::CreateList(std::vector<GameRow> rows)
{
  m_listBusy = true;
  const int count = static_cast<int>(rows.size());
  if (count > 0)
    m_feedback->SetStatus(StatusKind::Text, QStringLiteral("Creating list..."));
  m_model->SetRows(std::move(rows));
  m_list->header()->setSortIndicator(GameListModel::kNameColumn, Qt::AscendingOrder);
  m_model->sort(GameListModel::kNameColumn, Qt::AscendingOrder);
  const bool missingView = m_view == GameView::Missing;
  if (count == 0) {
    SetListCommandsEnabled(false);
    ShowCheckAllState(false);
    m_listBusy = false;
    ShowEmptyDetails();
  } else {
    SetListCommandsEnabled(true);
    for (const char* name : {"exporth2menu", "DeleteGame", "Del_Sel", "SaveAsMy"})
      Action(QString::fromLatin1(name))->setEnabled(!missingView);
    ShowCheckAllState(m_model->AllChecked());
    m_listBusy = false;
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
    m_list->scrollToTop();
  }
  m_feedback->SetStatus(StatusKind::Text,
                        ListCountText(count, ViewCount(Connection(), *m_feedback, m_settings.systemId, m_view)));
}

void MainWindow::ShowCheckAllState(bool allTicked)
{
  m_checkAll->setChecked(allTicked);
  m_checkAll->setText(allTicked ? kUncheckAll : kCheckAll);
}

void MainWindow::SetListCommandsEnabled(bool enabled)
{
  for (const char* name : {"Del_Sel", "DeleteGame", "SaveAsMy", "exporth2menu"})
    Action(QString::fromLatin1(name))->setEnabled(enabled);
  Action(QStringLiteral("ImageS"))->setEnabled(enabled);
}

void MainWindow::ClearFilter()
{
  for (ClickableLabel* label : m_legendLabels) {
    QFont font = label->font();
    font.setBold(false);
    label->setFont(font);
  }
}

void MainWindow::FilterControl()
{
  m_details->FocusEditorFor(m_missingFilter);
}

void MainWindow::ShowEmptyDetails()
{
  m_currentGameId = 0;
  m_details->ViewGameInfo(0);
}

void MainWindow::ShowGameAt(int row)
{
  if (m_listBusy)
    return;
  m_currentGameId = m_model->GameIdAt(row);
  m_details->ViewGameInfo(m_currentGameId);
  FilterControl();
  ColorCode();
}

void MainWindow::SelectListRow(int row)
{
  if (row < 0 || row >= m_model->rowCount())
    return;
  const QModelIndex index = m_model->index(row, GameListModel::kNameColumn);
  if (m_list->currentIndex() == index)
    ShowGameAt(row);
  else
    m_list->setCurrentIndex(index);
  m_list->scrollTo(index);
}

void MainWindow::ColorCode()
{
  const int row = m_list->currentIndex().row();
  if (row < 0 || m_model->rowCount() == 0 || m_currentGameId == 0)
    return;
  m_model->SetRowColour(row, ListColour(m_details->ShownMissingData()));
}

void MainWindow::OpenScanner(bool quick, bool autoScan, QWidget* over)
{
  ScannerDialog scanner(*this, quick, autoScan, over);
  // A scan started from the options has them open underneath: no Setup to open them again.
  if (!autoScan)
    scanner.SetSetupAction([this] { RunSystemOptions(*this); });
  scanner.exec();
}

void MainWindow::AddGames()
{
  const std::optional<Rows> rows = Connection().Select(
      *m_feedback, QStringLiteral("AddGame"),
      QStringLiteral("SELECT RomPath.RomPath, System.DefaultRomType FROM System LEFT JOIN RomPath "
                     "ON System.SystemID = RomPath.System WHERE System.SystemID = ? ORDER BY RomPath.PathID LIMIT 1"),
      {m_settings.systemId});
  QString start = rows && !rows->IsEmpty() ? rows->Value(0, 0).toString() : QString();
  if (start.isEmpty())
    start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  QStringList patterns;
  for (const QString& extension : ExtensionList(rows && !rows->IsEmpty() ? rows->Value(0, 1).toString() : QString())) {
    if (!extension.isEmpty())
      patterns << QStringLiteral("*.") + extension;
  }
  const QString filter = QStringLiteral("Rom (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;All Files (*)");
  AddGameFiles(QFileDialog::getOpenFileNames(this, QStringLiteral("Select Rom"), start, filter));
}

void MainWindow::AddGameFiles(const QStringList& paths)
{
  if (paths.isEmpty() || m_settings.systemId == 0)
    return;
  const std::optional<QVariant> rename =
      Connection().SelectValue(*m_feedback, QStringLiteral("AddGame"),
                               QStringLiteral("SELECT Rename FROM System WHERE SystemID = ?"), {m_settings.systemId});
  m_lookups->EnsureManufacturers();
  LockControls(true, QString());
  for (const QString& path : paths) {
    const QString longPath = GetLongPathName(path);
    if (longPath.isEmpty() || !QFileInfo(longPath).isFile())
      continue;
    NewGameRequest request;
    request.path = longPath;
    request.systemId = m_settings.systemId;
    request.rename = rename && IsTrue(*rename);
    NewGame(Connection(), *m_lookups, *m_feedback, Folder(), request);
  }
  LockControls(false, QString());
  RefreshSettings();
  FilterGenre();
}

void MainWindow::DeleteGames(bool ticked)
{
  QList<qint64> gameIds;
  if (ticked) {
    for (int row = 0; row < m_model->rowCount(); ++row) {
      if (m_model->RowAt(row)->selected)
        gameIds << m_model->GameIdAt(row);
    }
  } else if (m_currentGameId != 0) {
    gameIds << m_currentGameId;
  }
  if (gameIds.isEmpty())
    return;
  DeleteGameDialog dialog(static_cast<int>(gameIds.size()), this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  const DeletionResult result =
      ::quillon::DeleteGames(Connection(), *m_feedback, m_settings.systemId, gameIds, dialog.Mode());
  FilterGenre();
  if (result.ok)
    m_feedback->SetStatus(StatusKind::Text, tr("%n game(s) deleted.", nullptr, result.games));
  else if (!result.error.isEmpty())
    m_feedback->SetStatus(StatusKind::Error, result.error);  // the list rebuild wrote over it
}

void MainWindow::LockControls(bool lock, const QString& section)
{
  m_details->SetLocked(lock);
  for (QPushButton* button : m_searchButtons)
    button->setEnabled(!lock);
  if (section == QStringLiteral("GameInfo") || section == QStringLiteral("GameInfoNotList"))
    return;
  m_tabs->setEnabled(!lock);
  m_genreCombo->setEnabled(!lock);
  m_list->setEnabled(!lock);
  m_checkAll->setEnabled(!lock);
  menuBar()->setEnabled(!lock);
}

void MainWindow::OnTabChanged(int index)
{
  if (m_loading || index < 0)
    return;
  m_currentGameId = 0;
  RefreshSettings();
  FilterGenre(false, m_view == GameView::Missing);
}

void MainWindow::OnTabClicked(int index)
{
  // The tab already shown: only the editor of the active missing-data filter gets the focus.
  if (m_loading || index != m_tabs->currentIndex())
    return;
  m_feedback->SetStatus(StatusKind::Text, QString());
  FilterControl();
}

void MainWindow::OnLegendClicked(const QString& filter, ClickableLabel* label)
{
  if (m_loading || m_listBusy)
    return;
  ClearFilter();
  if (m_missingFilter == filter) {
    m_missingFilter.clear();
  } else {
    m_missingFilter = filter;
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
  }
  FilterGenre(false, m_view == GameView::Missing);
}

void MainWindow::OnGenreActivated()
{
  if (m_loading || m_listBusy)
    return;
  FilterGenre(false, m_view == GameView::Missing);
}

void MainWindow::OnGenreEntered()
{
  // Completion keeps the letter case the user typed; the genre is the item of that name.
  const int index = m_genreCombo->findText(m_genreCombo->currentText(), Qt::MatchFixedString);
  if (index >= 0) {
    m_genreCombo->setCurrentIndex(index);
    m_genreCombo->setEditText(m_genreCombo->itemText(index));
  }
  OnGenreActivated();
}

void MainWindow::OnCheckAllClicked()
{
  const bool mark = m_checkAll->text() == kCheckAll;
  LockControls(true, QString());
  m_feedback->SetStatus(StatusKind::Text, QStringLiteral("Please wait, updating list..."));
  m_listBusy = true;
  const CloneMarks clones{Action(QStringLiteral("Clones"))->isChecked(),
                          Action(QStringLiteral("ClonesOnly"))->isChecked()};
  const bool written = CheckAll(Connection(), *m_feedback, m_settings.systemId, mark, m_view, clones);
  if (written)
    m_model->SetAllChecked(mark);
  ShowCheckAllState(written ? mark : !mark);
  if (m_model->rowCount() > 0)
    m_list->setCurrentIndex(m_model->index(0, GameListModel::kNameColumn));
  m_listBusy = false;
  LockControls(false, QString());
  m_feedback->SetStatus(StatusKind::Ok, {});
}

void MainWindow::OnViewChosen(GameView view)
{
  if (m_listBusy)
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
  if (!m_listBusy && !m_loading)
    FilterGenre(false, m_view == GameView::Missing);
}

void MainWindow::OnListContextMenu(const QPoint& globalPosition, int row)
{
  if (row < 0)
    return;
  ShowGameAt(row);
  QAction* separator = Action(QStringLiteral("DownloadSeparator"));
  QAction* download = Action(QStringLiteral("DownloadMenu"));
  separator->setVisible(true);
  download->setVisible(true);
  m_editMenu->exec(globalPosition);
  separator->setVisible(false);
  download->setVisible(false);
}

void MainWindow::OnWebSearch(const QString& which)
{
  const GameRow* game = m_model->RowAt(m_list->currentIndex().row());
  if (!game)
    return;
  const QString system = m_settings.name.trimmed();
  QString address;
  const QString fullName = m_details->FullName().isEmpty() ? game->fullName : m_details->FullName();
  if (which == QStringLiteral("GoogleImage"))
    address = kImageSearchHost + QStringLiteral("/images?q=") + SearchTerms(system) + QStringLiteral("+%22") +
              SearchTerms(fullName) + QStringLiteral("%22");
  else if (which == QStringLiteral("GoogleRom"))
    address = kWebSearchHost + QStringLiteral("/search?q=") + SearchTerms(m_details->FileName()) + QLatin1Char('+') +
              SearchTerms(system);
  else
    address =
        kWebSearchHost + QStringLiteral("/search?q=") + SearchTerms(fullName) + QLatin1Char('+') + SearchTerms(system);
  QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}

void MainWindow::ShowHelp()
{
  const QString page = DeliveredDataFolder(QApplication::applicationDirPath()) + QStringLiteral("help/index.html");
  if (!QFileInfo::exists(page) || !QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
    m_feedback->SetStatus(StatusKind::Error, tr("The help pages could not be opened (%1).").arg(page));
}

void MainWindow::ShowAbout()
{
  QMessageBox::about(this, tr("About Quillon"),
                     tr("<h3>Quillon %1</h3>"
                        "<p>A manager for a personal library of video-game ROM files: it keeps a catalogue of "
                        "games per system, scans ROM folders, launches emulators, finds box art and exports to "
                        "home-theatre front ends.</p>"
                        "<p>Catalogue: %2</p>")
                         .arg(QStringLiteral(QUILLON_VERSION), m_session.Folder().CatalogueFile().toHtmlEscaped()));
}

void MainWindow::StartImageSearch(ImageCommand command)
{
  if (m_model->rowCount() == 0)
    return;
  ThumbnailSource thumbnails;
  if (HasIdentifiedGames(Connection(), m_settings.systemId))
    thumbnails.database = RetroArchDatabaseName(Connection(), m_settings.systemId);
  thumbnails.standardNameOf = [this](qint64 gameId) { return IdentifiedName(Connection(), gameId); };
  RunImageCommand(*this, Connection(), *m_feedback, Folder(), m_settings, command, this, thumbnails);
}

IdentifyContext MainWindow::IdentifyFor()
{
  return {Connection(),
          *m_feedback,
          m_settings.systemId,
          m_settings.name,
          this,
          [this](bool lock) { LockControls(lock, QString()); },
          [this] { FilterGenre(); }};
}

void MainWindow::SetMatchFilter(std::optional<int> status)
{
  m_matchFilter = status;
  if (!m_listBusy && !m_loading)
    FilterGenre();
}

int MainWindow::GameRowCount() const
{
  return m_model->rowCount();
}

ImageSearchListRow MainWindow::GameRowAt(int row) const
{
  const GameRow* game = m_model->RowAt(row);
  if (!game)
    return {};
  return {game->gameId, game->fullName, game->selected};
}

int MainWindow::SelectedGameRow() const
{
  return m_list->currentIndex().isValid() ? m_list->currentIndex().row() : -1;
}

void MainWindow::SelectGameRow(int row)
{
  SelectListRow(row);
}

void MainWindow::ShowGameDetails(qint64 gameId)
{
  const int row = m_model->RowOfGame(gameId);
  if (row >= 0 && row != m_list->currentIndex().row())
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
  SetImageFolder(folder);
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
  if (auto* browser = findChild<ImageBrowser*>(QStringLiteral("frmBrowser")); browser && browser->isVisible())
    browser->close();
  m_lookups->EmptyCaches();
  event->accept();
}

}  // namespace quillon::ui
