#include "ui/MainWindow.h"

#include "catalogue/DataFolder.h"
#include "catalogue/Session.h"
#include "ui/StatusFeedback.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kWindowCaption = QStringLiteral("::) Quillon (::");

}  // namespace

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), m_session(session)
{
  setObjectName(QStringLiteral("FMain"));
  setWindowTitle(kWindowCaption);
  setMinimumSize(800, 575);
  resize(1100, 720);
  BuildStatusFrame();
  m_feedback = std::make_unique<StatusFeedback>(this, m_statusLabel, m_progressBar);
  BuildMenus();

  auto* placeholder = new QLabel(tr("The game list arrives with the next stage of the program."), this);
  placeholder->setAlignment(Qt::AlignCenter);
  setCentralWidget(placeholder);
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::AddAction(QMenu* menu, const QString& objectName, const QString& caption,
                               const QKeySequence& shortcut)
{
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  if (!shortcut.isEmpty())
    action->setShortcut(shortcut);
  // Commands come to life as their parts of the program are built.
  action->setEnabled(false);
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
  AddAction(exportMenu, QStringLiteral("ExportSiteURLs"), tr("Image &Site URLs"), QKeySequence(Qt::CTRL | Qt::Key_U));
  QMenu* importMenu = file->addMenu(tr("&Import"));
  AddAction(importMenu, QStringLiteral("ImportSiteURLs"), tr("&Image Site URLs"), QKeySequence(Qt::CTRL | Qt::Key_I));
  AddAction(importMenu, QStringLiteral("ImportMame"), tr("&Mame Game List"), QKeySequence(Qt::CTRL | Qt::Key_L));
  file->addSeparator();
  AddAction(file, QStringLiteral("SaveAsMy"), tr("Save as .&My"), QKeySequence(Qt::CTRL | Qt::Key_S));
  AddAction(file, QStringLiteral("exporth2menu"), tr("&Save to Meedio"));
  file->addSeparator();
  AddAction(file, QStringLiteral("Settings"), tr("S&ettings"), QKeySequence(Qt::CTRL | Qt::Key_E));
  file->addSeparator();
  QAction* exitAction = AddAction(file, QStringLiteral("ExitMenu"), tr("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X));
  exitAction->setEnabled(true);
  connect(exitAction, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->setObjectName(QStringLiteral("EditMenu"));
  AddAction(edit, QStringLiteral("AddGame"), tr("&Add Game"), QKeySequence(Qt::CTRL | Qt::Key_Insert));
  AddAction(edit, QStringLiteral("DeleteGame"), tr("&Delete Game"), QKeySequence(Qt::CTRL | Qt::Key_D));
  AddAction(edit, QStringLiteral("Del_Sel"), tr("Delete &Selected"), QKeySequence(Qt::CTRL | Qt::Key_T));
  AddAction(edit, QStringLiteral("DetailEditor"), tr("&Detail Editor"), QKeySequence(Qt::CTRL | Qt::Key_G));
  QAction* downloadSeparator = edit->addSeparator();
  downloadSeparator->setObjectName(QStringLiteral("DownloadSeparator"));
  downloadSeparator->setVisible(false);
  QMenu* download = edit->addMenu(tr("&Download"));
  download->menuAction()->setObjectName(QStringLiteral("DownloadMenu"));
  download->menuAction()->setVisible(false);
  QMenu* downloadImages = download->addMenu(tr("&Images"));
  AddAction(downloadImages, QStringLiteral("DownloadCurrent"), tr("&Current Game"));
  AddAction(downloadImages, QStringLiteral("DownloadSelected"), tr("&Selected Games"));
  AddAction(downloadImages, QStringLiteral("DownloadWithoutImages"), tr("Selected Games &w/o Images"));

  QMenu* scan = menuBar()->addMenu(tr("S&can"));
  scan->setObjectName(QStringLiteral("ScanMenu"));
  QMenu* images = scan->addMenu(tr("&Images"));
  images->menuAction()->setObjectName(QStringLiteral("ImageS"));
  images->menuAction()->setEnabled(false);
  AddAction(images, QStringLiteral("ImagesCurrent"), tr("&Current Game"));
  AddAction(images, QStringLiteral("ImagesSelected"), tr("&Selected Games"));
  AddAction(images, QStringLiteral("ImagesWithoutImages"), tr("Selected Games &w/o Images"));
  QMenu* roms = scan->addMenu(tr("&Roms"));
  roms->setObjectName(QStringLiteral("RomsMenu"));
  AddAction(roms, QStringLiteral("RomScanMenu"), tr("&Rom Scan"), QKeySequence(Qt::CTRL | Qt::Key_R));
  AddAction(roms, QStringLiteral("GoodRomScan"), tr("&Rom Scan w/GoodTools"), QKeySequence(Qt::CTRL | Qt::Key_W));

  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->setObjectName(QStringLiteral("ViewMenu"));
  AddAction(view, QStringLiteral("ViewAvailable"), tr("&Available"), QKeySequence(Qt::CTRL | Qt::Key_A));
  AddAction(view, QStringLiteral("ViewMissing"), tr("&Missing"), QKeySequence(Qt::CTRL | Qt::Key_M));
  view->addSeparator();
  QAction* clonesOnly =
      AddAction(view, QStringLiteral("ClonesOnly"), tr("Clones Only"), QKeySequence(Qt::CTRL | Qt::Key_O));
  clonesOnly->setCheckable(true);
  QAction* clones = AddAction(view, QStringLiteral("Clones"), tr("Include Clones"), QKeySequence(Qt::CTRL | Qt::Key_C));
  clones->setCheckable(true);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  help->setObjectName(QStringLiteral("HelpMenu"));
  QAction* helpAction = AddAction(help, QStringLiteral("HelpContents"), tr("&Help"), QKeySequence(Qt::Key_F1));
  helpAction->setEnabled(true);
  connect(helpAction, &QAction::triggered, this, &MainWindow::ShowHelp);
  help->addSeparator();
  QAction* about =
      AddAction(help, QStringLiteral("AboutMenu"), tr("A&bout Quillon"), QKeySequence(Qt::CTRL | Qt::Key_B));
  about->setEnabled(true);
  connect(about, &QAction::triggered, this, &MainWindow::ShowAbout);
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

void MainWindow::closeEvent(QCloseEvent* event)
{
  event->accept();
}

}  // namespace quillon::ui
