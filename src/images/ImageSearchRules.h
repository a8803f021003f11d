#pragma once
// The rules of the image search that need no network: the search text and address, how result
// links are scored and ranked in the match grid, what the batch does once every site was asked,
// which pictures of a match page are taken, and the names they are saved under.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace quillon {

struct PageImage;

inline const QString kCheckImageSettingsText = QStringLiteral("Check Image Settings.");
inline const QString kNoImagesFoundText = QStringLiteral("No Images Found.");
inline const QString kUsingDefaultImageText = QStringLiteral("No images found, using default image.");
inline const QString kRetryResultPageText =
    QStringLiteral("Problem loading page, trying again (Press skip or close to cancel)...");
inline const QString kSkippingSiteText = QStringLiteral("Skipping site due to error loading page.");
inline const QString kRetryMatchPageText =
    QStringLiteral("Problem loading page, trying again (Press skip to cancel)...");
inline const QString kDownloadingText = QStringLiteral("Downloading, please wait...");
// No result page could be read for a game (every site passed over or given up).
inline const QString kNoResultsText = QStringLiteral("No search results could be loaded.");
// A match page that still fails after the bounded number of navigations (unattended runs).
inline const QString kSkippingGameText = QStringLiteral("Skipping game due to error loading page.");
inline const QString kBackToTop = QStringLiteral("Back to top");
inline const QString kImagesCaptionSuffix = QStringLiteral(" - [Images]");
// The routine the image search's error reports name.
inline const QString kImageSearchRoutine = QStringLiteral("AutoImageDL");

// The question before a batch over the ticked games when an interrupted one can be resumed.
inline const QString kResumeQuestionKey = QStringLiteral("images.resume");
inline const QString kResumeQuestionTitle = QStringLiteral("Image Scanner");
inline const QString kResumeQuestionText = QStringLiteral("Resume previous search?");

// An address that names no page: empty or "http:///".
bool IsBlankAddress(const QString& address);

// The search text of a game's list text: trimmed, lower case, "_" as blanks, every ", the"
// removed, and cut before the first "(" (the blank before it stays).
QString SearchText(const QString& listText);
// The site's address, followed by the URL-encoded search text when `appendFullName` is on.
QString SearchAddress(const QString& siteAddress, const QString& listText, bool appendFullName);

// How well a result link matches a game: the better of the link text against the full name and
// the link text without extension against the unique (file) name without extension.
float LinkScore(const QString& fullName, const QString& uniqueName, const QString& linkText);
// Only a score above one half makes a link a match.
inline bool IsMatchScore(float score)
{
  return score > 0.5F;
}
// A score as the grid shows it: 0.875 gives "87.50%".
QString ScoreText(float score);
// A percentage text without its last character, as a whole number rounded half to even
// ("87.50%" gives 88, "86.50%" 86); nullopt when it is no number.
std::optional<int> WholePercent(const QString& text);

// One row of the match grid `imggrid`; its columns 0 to 4.
struct MatchRow {
  QString address;  // the link address
  QString score;    // "87.50%"; empty in the free row
  QString text;     // " " + the link text
  QString domain;   // the result page's domain, or "No Images Found."
  QString siteId;
};

// The matches of one game over all its sites, best first, and one free row at the end.
class MatchGrid {
 public:
  MatchGrid() { Clear(); }

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  const MatchRow& Row(int row) const { return m_rows[static_cast<size_t>(row)]; }
  // At least one match: more than one row and an empty free row.
  bool HasMatches() const;
  // Fills the free row and adds a new free row below it.
  void AddMatch(const QString& address, float score, const QString& linkText, const QString& domain, qint64 siteId);
  // Orders the matches by score, highest first; equal scores keep their order.
  void SortByScore();
  // Marks the free row when a page found nothing.
  void MarkNoImages() { m_rows.back().domain = kNoImagesFoundText; }
  void Clear() { m_rows.assign(1, MatchRow{}); }

 private:
  std::vector<MatchRow> m_rows;
};

enum class MatchAction {
  UseDefaultImage,  // nothing found; the system has a default picture
  NothingFound,     // nothing found and no default picture
  NoResults,        // no result page was read at all
  Download,         // take the pictures of the best match
  Choose,           // the user picks a match
  PassOver,         // never asking, and the best match is below the threshold
};

struct MatchDecision {
  MatchAction action = MatchAction::NoResults;
  QString status;  // a status text to show first; empty for none
};

// What to do with a game once every site was asked. `autoDownloadLevel` is the system's level as
// held ("80.00%"); `neverAsk` is IgnoreMultiples (or a run that cannot ask).
MatchDecision DecideMatch(const MatchGrid& grid, const QString& autoDownloadLevel, bool neverAsk, bool hasDefaultImage);

// The status after a result page with matches: "N matches found, select one." where a user picks
// a match, "N matches found." where nobody can be asked. Empty for a single match.
QString MatchesFoundText(int matches, bool canChoose);
// What a run that cannot ask did with the matches (MatchAction Download or PassOver): the best one
// taken, or the game passed over because the best is below the threshold.
QString UnattendedDecisionText(const MatchGrid& grid, MatchAction action, const QString& autoDownloadLevel);

// ImageFilter as a list: one entry (empty for Null) unless it holds ";", else its pieces.
QStringList ImageFilterList(const QVariant& imageFilter);

// The settings by which the pictures of a match page are chosen.
struct PictureRules {
  int minWidth = 0;
  int minHeight = 0;
  QStringList ignored;  // picture addresses never taken (exact)
  QString defaultImageType;
  QStringList filter;  // ordinals of the pictures to take among those that pass; see ImageFilterList
};

// The type text of a picture: the extension of its address lower-cased, or, without one, its
// type description without the last five characters ("JPEG Image" gives "JPEG ").
QString PictureExtension(const QString& src, const QString& mimeType);

// Walks the picture elements of a match page in order and tells which are taken.
class PicturePicker {
 public:
  explicit PicturePicker(PictureRules rules) : m_rules(std::move(rules)) {}
  // The type text of a taken picture; nullopt when it is passed over (too small, ignored, of a
  // type the system does not take, or not one of the filter's ordinals).
  std::optional<QString> Take(const PageImage& image);

 private:
  PictureRules m_rules;
  int m_passed = 0;
};

// Where a game's pictures go: the folder and its unique name without folder and extension.
QString PictureBase(const QString& folder, const QString& uniqueName);
// True when a file named base with any extension exists.
bool PictureBaseExists(const QString& base);
// The file of the next picture: base.ext for the first, base_n.ext once n pictures were
// downloaded for the game and base.* exists.
QString PictureFile(const QString& base, int downloaded, bool baseExists, const QString& extension);

}  // namespace quillon
