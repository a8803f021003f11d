#pragma once
// The structure upgrade that runs at every start, right after the catalogue opens and before
// anything reads a table: it renumbers the autoincrement keys and, when the stored revision is
// not the current one, brings an older catalogue to the current structure step by step.
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class Feedback;

// Texts of the progress dialog's label (lines end with CR LF).
inline const QString kVerifyingLabel = QStringLiteral("Verifying Database Structure,\r\nPlease wait....");
inline const QString kLoadingLabel = QStringLiteral("Loading,\r\nPlease wait...");
inline const QString kUpdatingLabel = QStringLiteral("Updating database,\r\nPlease wait...");
// The emulator-column step has its own spelling, with a leading space.
inline const QString kUpdatingEmulatorLabel = QStringLiteral(" Updating database,\r\nPlease wait...");
inline const QString kAddingZincLabel = QStringLiteral("Adding Zinc Support,\r\nPlease wait...");

// Where the upgrade shows how far it is: the progress dialog's label and its bar (0 to 100).
class UpgradeDisplay {
 public:
  virtual ~UpgradeDisplay() = default;
  virtual void ShowLabel(const QString& text) = 0;
  virtual void ShowProgress(int percent) = 0;
};

struct UpgradeResult {
  QString revisionBefore;
  // The steps ran (the stored revision was not the current one).
  bool stepsRan = false;
  // Steps that changed the structure or the rows, by number ("1" to "11"; step 7 by its parts, "7.1" to "7.5";
  // the later steps from "13" on).
  QStringList changedSteps;
  // Failures reported on the status line. While any step fails, the revision is not stored, so
  // the next start tries again.
  int failures = 0;
  bool revisionStored = false;
};

// The whole upgrade. Reports failures through `feedback` (a probe's in the form
// number + " - (" + source + ") " + description, a change's by its routine's convention) and lets
// pending events run between steps.
UpgradeResult UpdateDb(Catalogue& catalogue, Feedback& feedback, UpgradeDisplay& display);

// Sets the next number of each autoincrement key (makers, years, genres, games, countries,
// systems, image-site scripts) to the table's largest key plus one, 1 for an empty table, so keys
// freed at the end of a table are given again. Errors are ignored.
void RenumberKeys(Catalogue& catalogue);

// Stores `revision` in `Version`, creating the table (or its row) when missing. Failures are
// reported as "-(SetRevision)-".
bool SetRevision(Catalogue& catalogue, Feedback& feedback, const QString& revision);

// Sets every game's Genre to the summary of its genre links: 0 without a link, -1 when its first
// link is the unknown genre, otherwise the number of links.
bool UpdateGenreSummary(Catalogue& catalogue, Feedback& feedback, const QString& routine);

}  // namespace quillon
