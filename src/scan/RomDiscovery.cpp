#include "scan/RomDiscovery.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>
#include <cstring>
#include <optional>

namespace quillon {

namespace {

// Error number of a folder that cannot be read ("Path not found").
constexpr int kPathNotFound = 76;

QString WithSlash(const QString& path)
{
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString ExtensionOf(const QString& name)
{
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? name : name.mid(dot + 1);
}

bool ReportUnreadable(Feedback& feedback, const QString& routine, const QString& folder)
{
  ReportError(feedback, kPathNotFound, routine, QStringLiteral("Path not found: ") + QDir::toNativeSeparators(folder));
  return false;
}

struct FolderEntries {
  QStringList files;    // names
  QStringList folders;  // paths with a trailing "/"
};

// The files and subfolders of one folder, in the order the file system gives them, in one pass
// (the entry types come with the listing; only links and unknown types cost a stat). Symbolic
// links to folders are followed once: a link that leads back into the walk is not entered again.
std::optional<FolderEntries> ListFolder(const QString& folder, QSet<QString>& visited)
{
  const QByteArray encoded = QFile::encodeName(folder);
  DIR* directory = ::opendir(encoded.constData());
  if (!directory)
    return std::nullopt;
  FolderEntries entries;
  while (const dirent* entry = ::readdir(directory)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
      continue;
    bool isFile = entry->d_type == DT_REG;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat status = {};
      if (::stat((encoded + '/' + name).constData(), &status) != 0)
        continue;
      isFile = S_ISREG(status.st_mode);
      isFolder = S_ISDIR(status.st_mode);
    }
    const QString decoded = QFile::decodeName(name);
    if (isFile) {
      entries.files << decoded;
    } else if (isFolder) {
      const QString path = folder + decoded + QLatin1Char('/');
      const QString canonical = QFileInfo(path).canonicalFilePath();
      if (canonical.isEmpty() || visited.contains(canonical))
        continue;
      visited.insert(canonical);
      entries.folders << path;
    }
  }
  ::closedir(directory);
  return entries;
}

bool FindRomsIn(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
                QStringList& foundRoms, QSet<QString>& visited)
{
  const std::optional<FolderEntries> entries = ListFolder(folder, visited);
  if (!entries)
    return ReportUnreadable(feedback, QStringLiteral("FindRoms"), folder);
  for (const QString& name : entries->files) {
    const QString extension = ExtensionOf(name);
    for (const QString& entry : extensions) {
      if (entry == extension)
        foundRoms << folder + name;
    }
    feedback.Yield();
  }
  if (!recurse)
    return true;
  bool ok = true;
  for (const QString& subfolder : entries->folders) {
    feedback.Yield();
    ok = FindRomsIn(subfolder, extensions, recurse, feedback, foundRoms, visited) && ok;
  }
  return ok;
}

void GetSubFoldersIn(const QString& folder, QStringList& romFolders, QSet<QString>& visited)
{
  const std::optional<FolderEntries> entries = ListFolder(folder, visited);
  if (!entries)
    return;
  for (const QString& subfolder : entries->folders) {
    romFolders << subfolder;
    GetSubFoldersIn(subfolder, romFolders, visited);
  }
}

}  // namespace

QStringList ExtensionList(const QString& defaultRomType)
{
  if (!defaultRomType.contains(QLatin1Char(';')))
    return {defaultRomType};
  return defaultRomType.split(QLatin1Char(';'));
}

bool FindRoms(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
              QStringList& foundRoms)
{
  const QString start = WithSlash(folder);
  QSet<QString> visited{QFileInfo(start).canonicalFilePath()};
  return FindRomsIn(start, extensions, recurse, feedback, foundRoms, visited);
}

bool GetSubFolders(const QString& folder, Feedback& feedback, QStringList& romFolders)
{
  const QString start = WithSlash(folder);
  const QFileInfo info(start);
  if (!info.isDir() || !info.isReadable())
    return ReportUnreadable(feedback, QStringLiteral("GetSubFolders"), start);
  QSet<QString> visited{info.canonicalFilePath()};
  GetSubFoldersIn(start, romFolders, visited);
  feedback.Yield();
  return true;
}

QVariant GetRom(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<QVariant> file = catalogue.SelectValue(
      feedback, QStringLiteral("GetRom"), QStringLiteral("SELECT File FROM File WHERE GameID = ?"), {gameId});
  return file ? *file : QVariant();
}

bool FileExists(const QString& path)
{
  if (path.isEmpty())
    return false;
  const QFileInfo info(path);
  return info.exists() && info.isFile();
}

QString Check4Slash(const QString& path)
{
  return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

}  // namespace quillon
