#pragma once
// The Mame game-list import: fills the arcade system (system 1) from the machine list of the Mame
// executable the user names. Today's Mame answers -listxml, read while it prints; builds that
// predate it print the three lists of -ll, -listgames and -listclones into the temp folder.
#include "catalogue/Feedback.h"
#include "scan/MameImportWriter.h"

#include <QString>

namespace quillon {

class Catalogue;
class DataFolder;
class Lookups;

inline const QString kMameExportingStatus = QStringLiteral("Exporting game list from Mame...");
inline const QString kMameClonesStatus = QStringLiteral("Updating Clones...");
inline const QString kMameNoGamesError = QStringLiteral("No Games Available. Check Mame path and version.");

enum class MameListForm {
  None,       // the program gave no list
  Xml,        // -listxml
  ThreeLists  // -ll, -listgames and -listclones of old builds
};

struct MameImportSummary {
  bool succeeded = false;  // every machine written and committed
  bool committed = false;  // the rows written are in the catalogue (counts say how many)
  MameListForm form = MameListForm::None;
  MameImportCounts counts;
  // The last status of the import ("Done." or the error), for front ends that rebuild their list
  // afterwards and must show it again.
  StatusKind finalKind = StatusKind::Done;
  QString finalText;
};

// How long Mame may print nothing before the import stops it, unless the caller says otherwise.
constexpr int kDefaultMameSilenceSeconds = 120;

struct MameImportOptions {
  int silenceLimitSeconds = kDefaultMameSilenceSeconds;  // 0: wait for as long as Mame runs
};

// Runs the Mame executable `executable`, reads its machine list and writes it into the catalogue
// in one transaction: nothing is written when the program gives no machine, its list breaks
// off, it prints nothing for the silence limit or the user cancels (Feedback::IsCancelled); a
// program that is stopped is killed. Statuses, progress over the machines and errors go to
// `feedback`.
MameImportSummary MameImport(Catalogue& catalogue, Lookups& lookups, const DataFolder& folder,
                             const QString& executable, Feedback& feedback, const MameImportOptions& options = {});

// The Mame the import uses when none is named: `mame` on the PATH, else /usr/games/mame; empty
// when neither exists.
QString DefaultMameExecutable();

}  // namespace quillon
