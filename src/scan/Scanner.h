#pragma once
// The ROM scan of one system or of all systems with a tab: each system's games are marked
// unavailable, each ROM folder is walked, the files found are matched to games or added, and the
// changes of a folder are written in one transaction.
#include <QString>

#include <functional>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;
class Lookups;

struct ScanOptions {
  bool allSystems = true;
  QString systemName;  // the system scanned when not all systems are
  bool quick = true;   // no GoodTools pass of any kind
  // Told the display name of each system as its scan begins (the scanner dialog's prompt).
  std::function<void(const QString&)> systemStarted;
};

struct ScanSummary {
  int systems = 0;
  int folders = 0;
  int filesFound = 0;
  int gamesAdded = 0;
  int gamesUpdated = 0;
  int errors = 0;          // folders that could not be scanned, files that could not be stored, failed statements
  int skippedForCase = 0;  // files whose extension matches a ROM extension only when case is ignored
  // Games of the scanned systems left unavailable.
  int gamesMissing = 0;
};

// Runs the scan; statuses and results lines go to `feedback`. The caller rebuilds its list.
ScanSummary RunScan(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                    const ScanOptions& options);

}  // namespace quillon
