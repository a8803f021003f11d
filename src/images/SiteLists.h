#pragma once
// The image-search sites of every system (ImageURL) and the picture addresses each site must pass
// over (IgnoreList), exchanged as INI files: a "Site" section with one key per site (a letter and
// the system key: a1, b1, ..., a34) and an "Ignore List" section with one line per ignored
// address under the key of its site.
#include <QString>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;

inline const QString kSiteSection = QStringLiteral("Site");
inline const QString kIgnoreListSection = QStringLiteral("Ignore List");
// Letters per system (a to z). The files cover every system the catalogue has, whatever its key.
constexpr int kSitesPerSystem = 26;

// The question before an import; Yes overwrites, No appends, Cancel changes nothing.
inline const QString kOverwriteSitesQuestion = QStringLiteral("sites.overwrite");
inline const QString kOverwriteSitesText = QStringLiteral("Would you like to overwrite your existing settings?");
inline const QString kDuplicateSiteIdsText = QStringLiteral("Duplicate site IDs found. Check file and try again.");
inline const QString kSiteListDialogTitle = QStringLiteral("Quillon");

// The folder the site-list dialogs start in ("URL" under the data folder), made when missing.
// Empty when it cannot be made.
QString EnsureSiteListFolder(const DataFolder& folder);

enum class SiteImportOutcome { Imported, Cancelled, DuplicateSiteIds, Failed };

// Imports a site-list file into the catalogue after asking whether to overwrite or append. In
// overwrite mode the sites and ignore lists of all systems are cleared first; keys of systems the
// catalogue does not have are passed over. The import is
// all or nothing: a file with a repeated site key, or any failure, leaves the catalogue as it was.
SiteImportOutcome ImportSiteURLs(Catalogue& catalogue, Feedback& feedback, const QString& file);

// Writes the sites and ignore lists of all systems into `file` (replacing it whole), keys in
// ascending order. A system's 26 newest sites fit the file's letters; older ones are left out
// with a warning message. Returns false, with an error report, when nothing could be written or
// there is no site to write (the file is then left as it was).
bool ExportSiteURLs(Catalogue& catalogue, Feedback& feedback, const QString& file);

}  // namespace quillon
