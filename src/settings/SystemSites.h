#pragma once
// One system's image-search sites (ImageURL) and, per site, the picture addresses the image search
// passes over (IgnoreList), as the options dialog and `quillon-cli system` edit them.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

struct ImageSite {
  qint64 id = 0;
  QString url;
};

// The system's sites in the order they were added; nullopt when they cannot be read (reported).
std::optional<QList<ImageSite>> ImageSitesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// The key of the system's site with this address; nullopt when it has none.
std::optional<qint64> ImageSiteId(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url);

// Adds a site; an empty address or one the system already has adds nothing. Returns the new key.
std::optional<qint64> AddImageSite(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url);

// Removes the system's site with this address together with its ignore list. Returns true when a
// site was removed.
bool RemoveImageSite(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& url);

// The ignored addresses of one site of the system, in the order they were added.
std::optional<QStringList> IgnoredUrlsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId);

// Adds an ignored address to a site of the system; empty or repeated addresses add nothing.
// Returns true when one was added.
bool AddIgnoredUrl(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId, const QString& url);

// Removes an ignored address from a site. Returns true when one was removed.
bool RemoveIgnoredUrl(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 siteId, const QString& url);

}  // namespace quillon
