#include "images/ImageSearch.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>

namespace quillon {

namespace {

// A result page is navigated at most this often before its site is given up.
constexpr int kResultNavigations = 3;
// The part of an address the "Opening" status shows.
constexpr int kOpeningLength = 75;
// Pictures of a page are measured for at most half the page's time-out (at least this long), so
// a page with slow pictures still completes before it would be retried.
constexpr int kLeastMeasuringMs = 500;

int WholeSeconds(const QElapsedTimer& timer)
{
  return static_cast<int>(timer.elapsed() / 1000);
}

}  // namespace

QString GameResultText(GameResult result)
{
  switch (result) {
    case GameResult::Pictures:
      return QStringLiteral("downloaded");
    case GameResult::NoPictures:
      return QStringLiteral("no pictures taken");
    case GameResult::DefaultImage:
      return QStringLiteral("default image");
    case GameResult::NoMatch:
      return QStringLiteral("no match");
    case GameResult::NoResults:
      return QStringLiteral("no results");
    case GameResult::PassedOver:
      return QStringLiteral("below threshold");
    case GameResult::Skipped:
      return QStringLiteral("skipped");
  }
  return {};
}

bool AskResumeBatch(Catalogue& catalogue, Feedback& feedback, qint64 systemId, ImageCommand command)
{
  if (command == ImageCommand::CurrentGame)
    return false;
  Lookups lookups(catalogue, feedback);
  const QString stored = lookups.GetResumePosition(systemId, QStringLiteral("I"));
  if (stored.isEmpty() || stored.toLongLong() == 0)
    return false;
  const Question question{kResumeQuestionKey,     kResumeQuestionTitle,  kResumeQuestionText,
                          QuestionButtons::YesNo, MessageIcon::Question, Answer::No};
  return feedback.Ask(question) == Answer::Yes;
}

ImageSearch::ImageSearch(Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
                         SystemSettings settings, ImageSearchView& view, QObject* parent)
    : QObject(parent),
      m_catalogue(catalogue),
      m_feedback(feedback),
      m_dataFolder(dataFolder),
      m_settings(std::move(settings)),
      m_view(view)
{
  connect(&m_resultLoader, &PageLoader::NavigationStarted, this, [this](const QString& address) {
    m_feedback.SetStatus(StatusKind::Text,
                         QStringLiteral("Opening ") + address.left(kOpeningLength) + QStringLiteral("..."));
  });
  connect(&m_resultLoader, &PageLoader::DocumentComplete, this, [this] {
    m_resultComplete = true;
    Wake();
  });
  // A result page that fails is not reported: its wait times out and navigates again.
  connect(&m_resultLoader, &PageLoader::NavigationFailed, this, [this] { Wake(); });
  connect(&m_matchLoader, &PageLoader::DownloadBegun, this, [this] {
    if (!IsBlankAddress(m_matchLoader.Address()))
      m_feedback.SetStatus(StatusKind::Text, kDownloadingText);
  });
  connect(&m_matchLoader, &PageLoader::DocumentComplete, this, [this] {
    m_matchComplete = true;
    Wake();
  });
  connect(&m_matchLoader, &PageLoader::NavigationFailed, this, [this] {
    m_matchFailed = true;
    Wake();
  });
}

ImageSearch::~ImageSearch() = default;

BatchOutcome ImageSearch::Run(ImageCommand command, bool resumeBatch)
{
  return AutoImageDL(command != ImageCommand::CurrentGame, command == ImageCommand::SelectedGamesWithoutImages,
                     resumeBatch);
}

BatchOutcome ImageSearch::AutoImageDL(bool selectedOnly, bool withoutImageOnly, bool resumeBatch)
{
  BatchOutcome outcome;
  if (m_running)
    return outcome;
  m_running = true;
  const auto notRunning = qScopeGuard([this] { m_running = false; });
  m_closing = false;
  if (!ReadBatchSettings())
    return outcome;
  std::optional<std::vector<Site>> sites = ReadSites();
  if (!sites)
    return outcome;
  if (sites->empty() && !m_thumbnails.IsUsable()) {
    m_feedback.SetStatus(StatusKind::Error, kCheckImageSettingsText);
    return outcome;
  }
  if (!PictureFolderExists())
    return outcome;
  outcome.started = true;
  m_sites = std::move(*sites);

  WebLimits pageLimits = m_limits.web;
  const int timeOutMs = std::max(m_timeOut, m_settings.timeOut) * 1000;
  pageLimits.pageTimeoutMs = std::max(pageLimits.pageTimeoutMs, timeOutMs);
  pageLimits.pictureTimeoutMs = std::min(pageLimits.pictureTimeoutMs, std::max(kLeastMeasuringMs, timeOutMs / 2));
  m_resultLoader.SetLimits(pageLimits);
  m_matchLoader.SetLimits(pageLimits);

  const int last = m_view.ListCount();
  int first = 1;
  if (resumeBatch) {
    Lookups lookups(m_catalogue, m_feedback);
    first = std::max(1, lookups.GetResumePosition(m_settings.systemId, QStringLiteral("I")).toInt());
  }
  for (int position = first; position <= last; ++position) {
    if (m_closing)
      break;
    if (!selectedOnly) {
      m_view.SetSkipEnabled(false);
      position = m_view.SelectedPosition();
      if (position < 1)
        break;
    }
    const ListedGame listed = m_view.ListedGameAt(position);
    // Unticked rows are passed over before they are selected: a long list is not walked row by row.
    if (selectedOnly && !listed.checked)
      continue;
    m_view.LockControls(false);
    if (selectedOnly)
      m_view.SelectPosition(position);
    m_view.LockControls(true);
    m_view.ShowGame(listed.gameId);
    std::optional<Game> game = ReadGame(listed);
    if (game && !(withoutImageOnly && !game->imagePath.isEmpty())) {
      GameOutcome gameOutcome;
      gameOutcome.gameId = game->gameId;
      gameOutcome.fullName = game->fullName;
      RunGame(*game, gameOutcome);
      outcome.games.push_back(gameOutcome);
      if (m_closing)
        break;
    }
    if (!selectedOnly)
      position = last;
    m_grid.Clear();
    m_selectedRow = 0;
    m_view.ShowGrid(m_grid, m_selectedRow);
    m_gameDone = false;
  }
  if (m_closing) {
    outcome.closed = true;
    return outcome;
  }
  m_view.LockControls(false);
  m_feedback.SetStatus(StatusKind::Ok);
  return outcome;
}

bool ImageSearch::PictureFolderExists()
{
  // A system without a picture folder gets the data folder's one when a picture is stored.
  const QString folder = m_settings.imageFolder;
  if (folder.isEmpty() || QFileInfo(folder).isDir())
    return true;
  ReportError(m_feedback, kPathNotFound, kImageSearchRoutine, QStringLiteral("Path not found: ") + folder);
  return false;
}

bool ImageSearch::ReadBatchSettings()
{
  const std::optional<Rows> rows = m_catalogue.Select(
      m_feedback, kImageSearchRoutine, QStringLiteral("SELECT IgnoreMultiples, TimeOut FROM System WHERE SystemID = ?"),
      {m_settings.systemId});
  if (!rows)
    return false;
  m_ignoreMultiples = !rows->IsEmpty() && IsTrue(rows->Value(0, 0));
  m_timeOut = rows->IsEmpty() ? 0 : rows->Value(0, 1).toInt();
  return true;
}

std::optional<std::vector<ImageSearch::Site>> ImageSearch::ReadSites()
{
  const std::optional<Rows> rows = m_catalogue.Select(
      m_feedback, kImageSearchRoutine, QStringLiteral("SELECT ID, URL FROM ImageURL WHERE SystemID = ? ORDER BY ID"),
      {m_settings.systemId});
  if (!rows)
    return std::nullopt;
  std::vector<Site> sites;
  for (const QVariantList& row : rows->All())
    sites.push_back({row[0].toLongLong(), row[1].isNull() ? QString() : row[1].toString()});
  return sites;
}

std::optional<ImageSearch::Game> ImageSearch::ReadGame(const ListedGame& listed)
{
  const std::optional<GameDetails> details =
      LoadGameDetails(m_catalogue, m_feedback, listed.gameId, m_settings.imageFolder);
  if (!details)
    return std::nullopt;
  return Game{details->gameId, listed.listText, details->fullName, details->fileName, details->imageText};
}

void ImageSearch::RunGame(Game& game, GameOutcome& outcome)
{
  m_gameDone = false;
  m_skipRequested = false;
  m_selectRequested = -1;
  m_view.ShowCaption(game.fullName.trimmed() + kImagesCaptionSuffix);
  if (TakeThumbnail(game, outcome) || m_closing)
    return;
  for (const Site& site : m_sites) {
    m_pageDone = false;
    SearchSite(site, game);
    if (m_closing || m_gameDone)
      break;
  }
  if (m_closing)
    return;
  if (!m_skipRequested)
    Decide(game, outcome);
  if (m_skipRequested && !m_closing) {
    // Skip: the game gets the default picture when it has none.
    outcome.result = GameResult::Skipped;
    if (game.imagePath.isEmpty()) {
      Lookups lookups(m_catalogue, m_feedback);
      const QString defaultImage = lookups.GetDefaultImage(m_settings.systemId);
      if (!defaultImage.isEmpty())
        StorePicture(game, defaultImage, outcome);
    }
  }
}

bool ImageSearch::TakeThumbnail(Game& game, GameOutcome& outcome)
{
  if (!m_thumbnails.IsUsable())
    return false;
  const QString name = m_thumbnails.standardNameOf(game.gameId);
  const QString extension = QStringLiteral("png");
  // The server has PNG pictures only; a system that takes none gets none from it.
  if (name.isEmpty() || !m_settings.defaultImageType.split(QLatin1Char(';')).contains(extension, Qt::CaseInsensitive))
    return false;
  const QString address = BoxArtAddress(m_thumbnails.server, m_thumbnails.database, name);
  m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Downloading images from ") + address);
  const QString base = PictureBase(ImageFolder(), game.uniqueName);
  const QString file = PictureFile(base, 0, PictureBaseExists(base), extension);
  if (!DownloadPicture(address, file))
    return false;
  ++outcome.downloads;
  outcome.pictures << file;
  m_view.ShowPicture(file);
  if (game.imagePath.isEmpty())
    StorePicture(game, file, outcome);
  outcome.result = GameResult::Pictures;
  m_gameDone = true;
  return true;
}

void ImageSearch::SearchSite(const Site& site, const Game& game)
{
  if (IsBlankAddress(site.address))
    return;
  const QString address = SearchAddress(site.address, game.listText, m_settings.appendFullName);
  const bool shown =
      !m_resultLoader.IsBusy() && m_resultLoader.Address() == address && !m_resultLoader.Document().address.isEmpty();
  if (shown) {
    ProcessResultPage(m_resultLoader.Document(), site.id, game);
    return;
  }
  NavigateResults(address);
  WaitForResultPage(address, site.id, game);
}

void ImageSearch::NavigateResults(const QString& address)
{
  m_resultComplete = false;
  m_resultLoader.Navigate(address);
}

void ImageSearch::WaitForResultPage(const QString& address, qint64 siteId, const Game& game)
{
  QElapsedTimer started;
  started.start();
  int navigations = 1;
  while (!m_pageDone && !m_closing) {
    if (m_resultComplete) {
      m_resultComplete = false;
      ProcessResultPage(m_resultLoader.Document(), siteId, game);
      continue;
    }
    if (m_skipRequested) {
      m_resultLoader.Stop();
      m_gameDone = m_pageDone = true;
      break;
    }
    if (WholeSeconds(started) >= m_timeOut) {
      if (navigations == kResultNavigations) {
        m_resultLoader.Stop();
        m_feedback.SetStatus(StatusKind::Text, kSkippingSiteText);
        m_pageDone = true;
        break;
      }
      m_feedback.SetStatus(StatusKind::Text, kRetryResultPageText);
      NavigateResults(address);
      ++navigations;
      started.restart();
    }
    Pause();
  }
}

void ImageSearch::ProcessResultPage(const PageDocument& document, qint64 siteId, const Game& game)
{
  if (IsBlankAddress(document.address)) {
    m_pageDone = true;
    return;
  }
  m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Searching for ") + game.fullName.trimmed());
  const std::vector<PageLink> links = document.links;
  for (const PageLink& link : links) {
    if (m_closing)
      return;
    const QString text = link.text.trimmed();
    if (text.isEmpty() || text == kBackToTop)
      continue;
    const float score = LinkScore(game.fullName, game.uniqueName, text);
    if (IsMatchScore(score))
      m_grid.AddMatch(link.address, score, text, document.domain, siteId);
    m_feedback.Yield();
  }
  m_grid.SortByScore();
  m_selectedRow = 0;
  if (m_grid.HasMatches()) {
    const QString found = MatchesFoundText(m_grid.RowCount() - 1, m_view.CanChoose());
    if (!found.isEmpty())
      m_feedback.SetStatus(StatusKind::Text, found);
  } else {
    m_grid.MarkNoImages();
    m_feedback.SetStatus(StatusKind::Text, kNoImagesFoundText);
  }
  m_view.ShowGrid(m_grid, m_selectedRow);
  m_view.SetSelectEnabled(false);
  m_pageDone = true;
}

void ImageSearch::Decide(Game& game, GameOutcome& outcome)
{
  Lookups lookups(m_catalogue, m_feedback);
  const QString defaultImage = m_grid.RowCount() == 1 ? lookups.GetDefaultImage(m_settings.systemId) : QString();
  const MatchDecision decision = DecideMatch(m_grid, m_settings.autoDownloadLevel,
                                             m_ignoreMultiples || !m_view.CanChoose(), !defaultImage.isEmpty());
  m_view.SetSelectEnabled(false);
  // Where nobody can be asked, the status tells what was done rather than asking to select.
  const bool unattended = !m_view.CanChoose();
  const QString status =
      unattended ? UnattendedDecisionText(m_grid, decision.action, m_settings.autoDownloadLevel) : QString();
  if (!status.isEmpty())
    m_feedback.SetStatus(StatusKind::Text, status);
  else if (!decision.status.isEmpty())
    m_feedback.SetStatus(StatusKind::Text, decision.status);
  switch (decision.action) {
    case MatchAction::UseDefaultImage:
      outcome.result = GameResult::DefaultImage;
      if (game.imagePath.isEmpty())
        StorePicture(game, defaultImage, outcome);
      break;
    case MatchAction::NothingFound:
      outcome.result = GameResult::NoMatch;
      m_gameDone = true;
      break;
    case MatchAction::NoResults:
      outcome.result = GameResult::NoResults;
      break;
    case MatchAction::Download:
      m_selectedRow = 0;
      LoadMatchPage(0, game, outcome);
      break;
    case MatchAction::Choose:
      AwaitChoice(game, outcome);
      break;
    case MatchAction::PassOver:
      outcome.result = GameResult::PassedOver;
      break;
  }
}

void ImageSearch::AwaitChoice(Game& game, GameOutcome& outcome)
{
  m_selectedRow = 0;
  m_view.SetGridEnabled(true);
  m_view.ShowGrid(m_grid, m_selectedRow);
  m_view.SetSkipEnabled(true);
  m_view.SetSelectEnabled(true);
  m_choosing = true;
  const auto chosen = qScopeGuard([this] { m_choosing = false; });
  while (!m_gameDone && !m_closing && !m_skipRequested) {
    if (m_selectRequested >= 0) {
      const int row = m_selectRequested;
      LoadMatchPage(row, game, outcome);
      m_selectRequested = -1;
      m_pageDone = true;
      if (!m_closing)
        m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Loading ") + m_grid.Row(row).address);
      continue;
    }
    Pause();
  }
}

void ImageSearch::LoadMatchPage(int row, Game& game, GameOutcome& outcome)
{
  const QString address = m_grid.Row(row).address;
  m_gameDone = false;
  m_pageDone = false;
  m_view.SetSelectEnabled(false);
  outcome.result = GameResult::NoPictures;
  NavigateMatch(address);
  QElapsedTimer started;
  started.start();
  int navigations = 1;
  while (!m_gameDone && !m_closing) {
    if (m_matchComplete) {
      m_matchComplete = false;
      CollectPictures(m_matchLoader.Document(), row, game, outcome);
      continue;
    }
    if (m_matchFailed) {
      // The page could not be shown: the game ends with nothing downloaded.
      m_matchFailed = false;
      m_gameDone = true;
      break;
    }
    if (m_skipRequested) {
      m_matchLoader.Stop();
      m_gameDone = true;
      break;
    }
    if (WholeSeconds(started) >= m_settings.timeOut) {
      if (m_limits.maxMatchNavigations > 0 && navigations >= m_limits.maxMatchNavigations) {
        m_matchLoader.Stop();
        m_feedback.SetStatus(StatusKind::Text, kSkippingGameText);
        m_gameDone = true;
        break;
      }
      m_feedback.SetStatus(StatusKind::Text, kRetryMatchPageText);
      m_allowRenavigate = true;
      NavigateMatch(address);
      ++navigations;
      started.restart();
    }
    Pause();
  }
}

void ImageSearch::NavigateMatch(const QString& address)
{
  m_matchComplete = false;
  m_matchFailed = false;
  // The page on show is loaded again only when a retry allows it.
  const bool shown = address == m_matchLoader.Address() && m_matchLoader.LastError().isEmpty();
  if (shown && !m_allowRenavigate)
    return;
  m_matchLoader.Navigate(address);
}

void ImageSearch::SetSelectedRow(int row)
{
  if (row >= 0 && row < m_grid.RowCount())
    m_selectedRow = row;
}

void ImageSearch::Select()
{
  if (!m_choosing || m_selectRequested >= 0 || m_grid.Row(m_selectedRow).address.isEmpty())
    return;
  m_selectRequested = m_selectedRow;
  Wake();
}

void ImageSearch::Skip()
{
  if (!m_running)
    return;
  m_skipRequested = true;
  Wake();
}

void ImageSearch::Close()
{
  m_catalogue.Execute(m_feedback, QStringLiteral("cmdclose_Click"),
                      QStringLiteral("UPDATE System SET ResumePosition = ? WHERE SystemID = ?"),
                      {m_view.SelectedPosition(), m_settings.systemId});
  Abort();
}

void ImageSearch::Abort()
{
  m_closing = true;
  m_resultLoader.Stop();
  m_matchLoader.Stop();
  m_view.LockControls(false);
  Wake();
}

bool ImageSearch::Pause()
{
  if (m_wakePending) {
    m_wakePending = false;
    return true;
  }
  QEventLoop loop;
  QEventLoop* outer = std::exchange(m_waitLoop, &loop);
  QTimer::singleShot(m_limits.pollMs, &loop, &QEventLoop::quit);
  const int result = loop.exec();
  m_waitLoop = outer;
  m_wakePending = false;
  if (result == -1) {
    // The program is ending: no event loop runs any more, so nothing could be waited for.
    Abort();
    return false;
  }
  return true;
}

void ImageSearch::Wake()
{
  if (m_waitLoop)
    m_waitLoop->quit();
  else
    m_wakePending = true;
}

}  // namespace quillon
