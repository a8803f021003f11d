#include "settings/SystemSites.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

const QString kSitesRoutine = QStringLiteral("UpdateImageURLList");
const QString kIgnoreRoutine = QStringLiteral("UpdateIgnoreList");

}  // namespace

std::optional<QList<ImageSite>> ImageSitesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kSitesRoutine,
                       QStringLiteral("SELECT ID, URL FROM ImageURL WHERE SystemID = ? ORDER BY ID"), {systemId});
  if (!rows)
    return std::nullopt;
  QList<ImageSite> sites;
  for (const QVariantList& row : rows->All())
    sites.append({row[0].toLongLong(), row[1].toString()});
  return sites;
}

std::optional<qint64> ImageSiteId(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url)
{
  // By system and address: the same site may serve several systems, each with its own list.
  const std::optional<QVariant> id = catalogue.SelectValue(
      feedback, kSitesRoutine, QStringLiteral("SELECT ID FROM ImageURL WHERE SystemID = ? AND URL = ? ORDER BY ID"),
      {systemId, url});
  if (!id || !id->isValid())
    return std::nullopt;
  return id->toLongLong();
}

std::optional<qint64> AddImageSite(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url)
{
  if (url.isEmpty() || ImageSiteId(catalogue, feedback, systemId, url))
    return std::nullopt;
  if (!catalogue.Execute(feedback, kSitesRoutine, QStringLiteral("INSERT INTO ImageURL (URL, SystemID) VALUES (?, ?)"),
                         {url, systemId}))
    return std::nullopt;
  return catalogue.LastInsertId();
}

bool RemoveImageSite(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url)
{
  if (!ImageSiteId(catalogue, feedback, systemId, url))
    return false;
  Transaction transaction(catalogue);
  const bool ok =
      catalogue.Execute(feedback, kSitesRoutine,
                        QStringLiteral("DELETE FROM IgnoreList WHERE SystemID = ? AND SiteURL IN "
                                       "(SELECT ID FROM ImageURL WHERE SystemID = ? AND URL = ?)"),
                        {systemId, systemId, url}) &&
      catalogue.Execute(feedback, kSitesRoutine, QStringLiteral("DELETE FROM ImageURL WHERE SystemID = ? AND URL = ?"),
                        {systemId, url});
  return ok && transaction.Commit();
}

std::optional<QStringList> IgnoredUrlsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kIgnoreRoutine,
      QStringLiteral("SELECT URL FROM IgnoreList WHERE SystemID = ? AND SiteURL = ? ORDER BY ID"), {systemId, siteId});
  if (!rows)
    return std::nullopt;
  QStringList urls;
  for (const QVariantList& row : rows->All())
    urls << row[0].toString();
  return urls;
}

bool AddIgnoredUrl(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId, const QString& url)
{
  if (url.isEmpty())
    return false;
  const std::optional<QStringList> present = IgnoredUrlsOf(catalogue, feedback, systemId, siteId);
  if (!present || present->contains(url))
    return false;
  return catalogue.Execute(feedback, kIgnoreRoutine,
                           QStringLiteral("INSERT INTO IgnoreList (URL, SiteURL, SystemID) VALUES (?, ?, ?)"),
                           {url, siteId, systemId});
}

bool RemoveIgnoredUrl(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId, const QString& url)
{
  const std::optional<QStringList> present = IgnoredUrlsOf(catalogue, feedback, systemId, siteId);
  if (!present || !present->contains(url))
    return false;
  return catalogue.Execute(feedback, kIgnoreRoutine,
                           QStringLiteral("DELETE FROM IgnoreList WHERE SiteURL = ? AND SystemID = ? AND URL = ?"),
                           {siteId, systemId, url});
}

}  // namespace quillon
