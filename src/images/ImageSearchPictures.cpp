// The chosen match's page: its pictures collected, downloaded and checked, and the one kept stored
// as the game's picture (the batch itself is in ImageSearch.cpp).
#include "images/ImageSearch.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/GameDetails.h"
#include "images/UrlDownload.h"

#include <QSqlQuery>

namespace quillon {

void ImageSearch::CollectPictures(const PageDocument& page, int row, Game& game, GameOutcome& outcome)
{
  const PageDocument document = page;
  const MatchRow match = m_grid.Row(row);
  if (IsBlankAddress(document.address) || match.address.isEmpty()) {
    m_gameDone = true;
    return;
  }
  m_allowRenavigate = false;
  m_feedback.SetStatus(StatusKind::Text, m_view.IsShown()
                                             ? QStringLiteral("Downloading Images from ") + match.domain
                                             : QStringLiteral("Downloading images from ") + document.address);
  PictureRules rules;
  rules.minWidth = m_settings.minImageWidth;
  rules.minHeight = m_settings.minImageHeight;
  rules.defaultImageType = m_settings.defaultImageType;
  rules.filter = ImageFilterList(ImageFilter());
  rules.ignored = IgnoredPictures(match.siteId);
  if (m_closing)
    return;
  const QString base = PictureBase(ImageFolder(), game.uniqueName);
  bool baseExists = PictureBaseExists(base);
  PicturePicker picker(std::move(rules));
  int downloaded = 0;
  QString first;
  for (const PageImage& image : document.images) {
    if (m_closing)
      return;
    const std::optional<QString> extension = picker.Take(image);
    if (!extension)
      continue;
    const QString file = PictureFile(base, downloaded, baseExists, *extension);
    const bool kept = DownloadPicture(image.src, file);
    ++downloaded;
    ++outcome.downloads;
    if (kept) {
      baseExists = true;
      outcome.pictures << file;
      if (first.isEmpty())
        first = file;
      m_view.ShowPicture(file);
    }
    m_feedback.Yield();
    if (downloaded == m_settings.imageLimit)
      break;
  }
  if (m_closing)
    return;
  // The first picture kept becomes the game's, in place of any it had.
  if (!first.isEmpty())
    StorePicture(game, first, outcome);
  outcome.result = outcome.pictures.isEmpty() ? GameResult::NoPictures : GameResult::Pictures;
  m_view.SetGridEnabled(false);
  m_view.SetSelectEnabled(false);
  m_gameDone = true;
  // A Skip pressed while the pictures came in is too late for this game.
  m_skipRequested = false;
  m_feedback.SetProgressValue(0);
}

bool ImageSearch::DownloadPicture(const QString& src, const QString& file)
{
  DownloadOptions options;
  options.maxBytes = m_limits.web.maxPictureBytes;
  options.timeoutMs = m_limits.web.pictureTimeoutMs;
  options.maxRedirects = m_limits.web.maxRedirects;
  // An error page or anything else that is no picture is not kept.
  options.requirePicture = true;
  FileDownload download(m_matchLoader.Network(), src, file, options);
  bool finished = false;
  connect(&download, &FileDownload::Finished, this, [this, &finished] {
    finished = true;
    Wake();
  });
  download.Start();
  while (!finished) {
    if (m_closing) {
      download.Abort();
      return false;
    }
    Pause();
  }
  return download.Outcome().ok;
}

QStringList ImageSearch::IgnoredPictures(const QString& siteId)
{
  QStringList ignored;
  if (siteId.isEmpty())
    return ignored;
  m_catalogue.ForEachRow(m_feedback, kImageSearchRoutine,
                         QStringLiteral("SELECT URL FROM IgnoreList WHERE SiteURL = ? AND SystemID = ? ORDER BY ID"),
                         {siteId.toLongLong(), m_settings.systemId}, [this, &ignored](const QSqlQuery& query) {
                           ignored << query.value(0).toString();
                           return !m_closing;
                         });
  return ignored;
}

QVariant ImageSearch::ImageFilter()
{
  const std::optional<QVariant> filter = m_catalogue.SelectValue(
      m_feedback, kImageSearchRoutine, QStringLiteral("SELECT ImageFilter FROM System WHERE SystemID = ?"),
      {m_settings.systemId});
  return filter && filter->isValid() ? *filter : QVariant();
}

QString ImageSearch::ImageFolder()
{
  const bool hadFolder = !m_settings.imageFolder.isEmpty();
  const QString folder = EnsureImageFolder(m_catalogue, m_feedback, m_dataFolder, m_settings);
  if (!hadFolder && !m_settings.imageFolder.isEmpty())
    m_view.ImageFolderStored(m_settings.imageFolder);
  return folder;
}

void ImageSearch::StorePicture(Game& game, const QString& picture, GameOutcome& outcome)
{
  const QString folder = ImageFolder();
  if (!UpdateGameInfo(m_catalogue, m_feedback, game.gameId, QStringLiteral("Image"), picture, folder))
    return;
  game.imagePath = ResolvePicture(picture, folder);
  outcome.pictureStored = true;
  m_view.PictureStored(game.gameId, game.imagePath);
}

}  // namespace quillon
