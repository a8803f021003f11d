#pragma once
// The data folder: where the catalogue, its lock file, the working folders and the tool folders
// live. It plays the part of the program folder on other platforms.
#include <QString>

namespace quillon {

inline const QString kCatalogueFileName = QStringLiteral("quillon_6103.mdb");
inline const QString kLockFileName = QStringLiteral("quillon_6103.ldb");
inline const QString kCompactScratchFileName = QStringLiteral("dbtemp.mdb");
inline const QString kDataFolderEnvironment = QStringLiteral("QUILLON_HOME");

class DataFolder {
 public:
  DataFolder() = default;
  // `path` is made absolute and given a trailing "/".
  explicit DataFolder(const QString& path);

  // Which folder a run uses: `explicitDir` (--data-dir) when given; else $QUILLON_HOME; else the
  // executable's folder when it holds a catalogue (portable use); else the user's data location.
  static DataFolder Resolve(const QString& explicitDir, const QString& executableDir);

  bool IsValid() const { return !m_path.isEmpty(); }
  QString Path() const { return m_path; }
  QString CatalogueFile() const { return m_path + kCatalogueFileName; }
  QString LockFile() const { return m_path + kLockFileName; }
  QString CompactScratchFile() const { return m_path + kCompactScratchFileName; }
  QString TempFolder() const { return m_path + QStringLiteral("temp/"); }
  QString TempImagesFolder() const { return m_path + QStringLiteral("temp/images/"); }
  QString UrlFolder() const { return m_path + QStringLiteral("URL/"); }
  QString LibraryFolder() const { return m_path + QStringLiteral("library/"); }
  QString CfgFolder() const { return m_path + QStringLiteral("cfg/"); }

  // Creates the folder and its working folders (temp, temp/images, URL, library, cfg) when
  // missing. Returns false with a readable reason when one cannot be made.
  bool EnsureFolders(QString* error) const;

 private:
  QString m_path;
};

// The folder of the files installed with the program (the delivered catalogue, help pages):
// ../share/quillon beside the executable's folder, in the build tree and when installed.
QString DeliveredDataFolder(const QString& executableDir);

// Copies `deliveredCatalogue` into the data folder when it has no catalogue yet. The copy is made
// beside the target and renamed into place, so a failure never leaves half a catalogue. Returns
// false with a reason only when a copy was needed and failed; a missing delivered file is not an
// error here (the connection then reports the missing catalogue).
bool InstallDeliveredCatalogue(const DataFolder& folder, const QString& deliveredCatalogue, QString* error);

}  // namespace quillon
