// What the main window opens and how it takes back what they changed: the scanner, the options,
// the detail editor, deletion, the image search, identification and the exports, web searches,
// help and about.
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Lookups.h"
#include "catalogue/Session.h"
#include "identify/ReferenceLists.h"
#include "identify/Verification.h"
#include "settings/SystemOptions.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"
#include "ui/ImageCommands.h"
#include "ui/MainWindow.h"
#include "ui/ScannerDialog.h"
#include "ui/StatusFeedback.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QTabBar>
#include <QUrl>

namespace quillon::ui {

namespace {

const QString kImageSearchHost = QStringLiteral("https://www.google.com");
const QString kWebSearchHost = QStringLiteral("https://www.bing.com");

// The search text of a web search: spaces become "+".
QString SearchTerms(const QString& text)
{
  return QString::fromUtf8(QUrl::toPercentEncoding(text.trimmed(), " ")).replace(QLatin1Char(' '), QLatin1Char('+'));
}

}  // namespace

void MainWindow::OfferFirstSetup()
{
  if (!AnyRomPath(m_session.Connection(), *m_feedback))
    OpenSystemOptions();
}

void MainWindow::OpenScanner(bool quick, bool autoScan, QWidget* over)
{
  ScannerDialog scanner(Context(), *this, m_settings.name, quick, autoScan, over ? over : this);
  // A scan started from the options has them open underneath: no Setup to open them again.
  if (!autoScan)
    scanner.SetSetupAction([this] { OpenSystemOptions(); });
  scanner.exec();
}

void MainWindow::OpenSystemOptions()
{
  SystemOptionsDialog dialog(Context(), *this, m_settings.systemId, this);
  dialog.exec();
}

void MainWindow::DeleteGames(bool ticked)
{
  QList<qint64> gameIds;
  if (ticked)
    gameIds = m_listPane->TickedGameIds();
  else if (m_currentGameId != 0)
    gameIds << m_currentGameId;
  DeleteGamesCommand(Context(), *this, m_settings.systemId, gameIds, this);
}

void MainWindow::OnWebSearch(const QString& which)
{
  const GameRow* game = m_listPane->CurrentGame();
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
  if (m_listPane->Model().rowCount() == 0)
    return;
  Catalogue& catalogue = m_session.Connection();
  ThumbnailSource thumbnails;
  if (HasIdentifiedGames(catalogue, m_settings.systemId))
    thumbnails.database = RetroArchDatabaseName(catalogue, m_settings.systemId);
  thumbnails.standardNameOf = [&catalogue](qint64 gameId) { return IdentifiedName(catalogue, gameId); };
  RunImageCommand(*this, catalogue, *m_feedback, m_session.Folder(), m_settings, command, this, thumbnails);
}

IdentifyContext MainWindow::IdentifyFor()
{
  return {m_session.Connection(),   *m_feedback, m_settings.systemId,
          m_settings.name,          this,        [this](bool lock) { LockControls(lock, QString()); },
          [this] { FilterGenre(); }};
}

ExportContext MainWindow::ExportContextNow()
{
  ExportContext context;
  context.catalogue = &m_session.Connection();
  context.feedback = m_feedback.get();
  context.folder = m_session.Folder();
  context.currentSystemId = m_settings.systemId;
  context.currentSystem = m_settings.name;
  context.genreFilter = m_listPane->GenreFilterText();
  context.firstListedGenre = m_listPane->FirstListedGenre();
  if (m_tabs->count() > 0)
    context.firstSystemTab = m_tabs->tabText(0);
  context.firstGenreByName = m_lookups->GetFirstGenre();
  context.lockControls = [this](bool lock) { LockControls(lock, QString()); };
  context.chooseFile = [this](const FileChoice& choice) { return ShowSaveDialog(this, choice); };
  return context;
}

void MainWindow::LookupSectionsChanged(const QSet<LookupKind>& sections)
{
  if (sections.contains(LookupKind::Genre)) {
    m_lookups->BuildGArray(m_settings.systemId);
    m_lookups->BuildGenArray();
    RefreshGenres();
  }
  if (sections.contains(LookupKind::Manufacturer) || sections.contains(LookupKind::Country))
    m_details->FillCombos();
  if (sections.contains(LookupKind::Manufacturer))
    m_lookups->BuildMArray();
  if (sections.contains(LookupKind::Country))
    m_lookups->BuildCArray();
  // Games may have other names, genres and colours now; the game chosen before stays chosen.
  const qint64 shownGame = m_currentGameId;
  FilterGenre();
  SelectListRow(m_listPane->Model().RowOfGame(shownGame));
}

void MainWindow::SystemOptionsClosed(const SystemOptionsChanges& changes)
{
  // Renamed or (dis)abled systems change the tabs, which the settings are looked up by.
  if (changes.romFoldersChanged || changes.tabsChanged)
    UpdateTabs();
  // After a first setup the window shows a system with ROM folders, the one set up last when it
  // has a tab.
  if (changes.romFoldersChanged && !m_settings.hasRomPath && !changes.systemWithFolders.isEmpty())
    ShowTabNamed(changes.systemWithFolders);
  RefreshSettings();
  m_details->ViewGameInfo(m_currentGameId);
  m_feedback->Yield();
}

}  // namespace quillon::ui
