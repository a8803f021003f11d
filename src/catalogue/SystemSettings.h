#pragma once
// The current system's settings as the main window keeps them while the system's tab is open.
#include <QString>

#include <optional>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;

struct SystemSettings {
  qint64 systemId = 0;
  QString name;
  bool renameImages = false;
  QString imageFolder;  // empty when the column is Null
  int timeOut = 0;
  int defaultTimeOut = 0;
  int minImageWidth = 0;
  int minImageHeight = 0;
  bool appendFullName = false;
  int imageLimit = 0;
  QString defaultImageType;
  QString autoDownloadLevel;         // AutoDL + ".00%"
  QString defaultAutoDownloadLevel;  // dAutoDL (100 when Null) + ".00%"
  QString emulator;
  bool hasRomPath = false;
};

// RefreshSettings: the settings of the system with this name, or nullopt when there is none.
std::optional<SystemSettings> LoadSystemSettings(Catalogue& catalogue, Feedback& feedback, const QString& systemName);

// The names and keys of the systems that have a tab, ordered by name.
struct SystemTab {
  qint64 systemId = 0;
  QString name;
};
QList<SystemTab> EnabledSystems(Catalogue& catalogue, Feedback& feedback);

// True when any system has a ROM folder.
bool AnyRomPath(Catalogue& catalogue, Feedback& feedback);

// Stores a system's picture folder (set the first time a picture is shown or added).
bool StoreImageFolder(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder);

// The system's picture folder; when it has none, the data folder's temp/images/ folder is made,
// stored as the system's and returned.
QString EnsureImageFolder(Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
                          SystemSettings& settings);

}  // namespace quillon
