#include "scan/RomDiscovery.h"

#include "catalogue/Feedback.h"
#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <dirent.h>
#include <sys/stat.h>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace quillon {

namespace {

bool ReportUnreadable(Feedback& feedback, const QString& routine, const QString& folder)
{
  ReportError(feedback, kPathNotFound, routine, QStringLiteral("Path not found: ") + QDir::toNativeSeparators(folder));
  return false;
}

// A name that is not valid UTF-8, shown with its stray bytes as "\xNN".
QString ShownName(const QByteArray& name)
{
  QString shown;
  qsizetype at = 0;
  while (at < name.size()) {
    bool decoded = false;
    for (qsizetype length = 1; length <= 4 && at + length <= name.size() && !decoded; ++length) {
      const std::optional<QString> character = ExactFileName(name.mid(at, length));
      if (character) {
        shown += *character;
        at += length;
        decoded = true;
      }
    }
    if (!decoded) {
      shown += QStringLiteral("\\x") +
               QString::number(static_cast<uchar>(name[at]), 16).rightJustified(2, QLatin1Char('0')).toUpper();
      ++at;
    }
  }
  return shown;
}

struct FolderEntries {
  QStringList files;              // names
  QStringList folders;            // paths with a trailing "/"
  QStringList unstorableFiles;    // names that are not valid UTF-8, as ShownName gives them
  QStringList unstorableFolders;  // the same for subfolders
  QStringList brokenLinks;        // names of links that lead to nothing, as ShownName gives them
};

struct RawEntry {
  QByteArray name;
  bool isFolder = false;
};

// The files and subfolders of one folder by name, in sorted order, listed in one pass (the entry
// types come with the listing; only links and unknown types cost a stat). Symbolic links to
// folders are followed once: a link that leads back into the walk is not entered again.
std::optional<FolderEntries> ListFolder(const QString& folder, QSet<QString>& visited)
{
  const QByteArray encoded = QFile::encodeName(folder);
  DIR* directory = ::opendir(encoded.constData());
  if (!directory)
    return std::nullopt;
  std::vector<RawEntry> raw;
  QStringList brokenLinks;
  while (const dirent* entry = ::readdir(directory)) {
    const char* name = entry->d_name;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
      continue;
    bool isFile = entry->d_type == DT_REG;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
      struct stat status = {};
      if (::stat((encoded + '/' + name).constData(), &status) != 0) {
        if (entry->d_type == DT_LNK)
          brokenLinks << ShownName(QByteArray(name));
        continue;
      }
      isFile = S_ISREG(status.st_mode);
      isFolder = S_ISDIR(status.st_mode);
    }
    if (isFile || isFolder)
      raw.push_back({QByteArray(name), isFolder});
  }
  ::closedir(directory);
  std::sort(raw.begin(), raw.end(), [](const RawEntry& a, const RawEntry& b) { return a.name < b.name; });

  FolderEntries entries;
  entries.brokenLinks = std::move(brokenLinks);
  entries.brokenLinks.sort();
  for (const RawEntry& entry : raw) {
    const std::optional<QString> decoded = ExactFileName(entry.name);
    if (!decoded) {
      (entry.isFolder ? entries.unstorableFolders : entries.unstorableFiles) << ShownName(entry.name);
    } else if (!entry.isFolder) {
      entries.files << *decoded;
    } else {
      const QString path = folder + *decoded + QLatin1Char('/');
      const QString canonical = QFileInfo(path).canonicalFilePath();
      if (canonical.isEmpty() || visited.contains(canonical))
        continue;
      visited.insert(canonical);
      entries.folders << path;
    }
  }
  return entries;
}

bool MatchesIgnoringCase(const QString& extension, const QStringList& extensions)
{
  for (const QString& entry : extensions) {
    if (entry.compare(extension, Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

bool FindRomsIn(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
                QStringList& foundRoms, QSet<QString>& visited, PassedOver& passedOver)
{
  const std::optional<FolderEntries> entries = ListFolder(folder, visited);
  if (!entries) {
    passedOver.unreadableFolders << folder;
    return ReportUnreadable(feedback, QStringLiteral("FindRoms"), folder);
  }
  for (const QString& name : entries->brokenLinks)
    passedOver.brokenLinks << folder + name;
  for (const QString& name : entries->files) {
    const QString extension = ExtensionOf(name);
    bool found = false;
    for (const QString& entry : extensions) {
      if (entry == extension) {
        foundRoms << folder + name;
        found = true;
      }
    }
    if (!found && MatchesIgnoringCase(extension, extensions))
      passedOver.caseMismatches << folder + name;
    feedback.Yield();
  }
  for (const QString& name : entries->unstorableFiles) {
    if (extensions.contains(ExtensionOf(name)))
      passedOver.unstorableNames << folder + name;
  }
  if (!recurse)
    return true;
  for (const QString& name : entries->unstorableFolders)
    passedOver.unstorableNames << folder + name + QLatin1Char('/');
  bool ok = true;
  for (const QString& subfolder : entries->folders) {
    feedback.Yield();
    ok = FindRomsIn(subfolder, extensions, recurse, feedback, foundRoms, visited, passedOver) && ok;
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

bool FindRoms(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
              QStringList& foundRoms, PassedOver* passedOver)
{
  const QString start = Check4Slash(folder);
  QSet<QString> visited{QFileInfo(start).canonicalFilePath()};
  PassedOver unused;
  return FindRomsIn(start, extensions, recurse, feedback, foundRoms, visited, passedOver ? *passedOver : unused);
}

bool GetSubFolders(const QString& folder, Feedback& feedback, QStringList& romFolders)
{
  const QString start = Check4Slash(folder);
  const QFileInfo info(start);
  if (!info.isDir() || !info.isReadable())
    return ReportUnreadable(feedback, QStringLiteral("GetSubFolders"), start);
  QSet<QString> visited{info.canonicalFilePath()};
  GetSubFoldersIn(start, romFolders, visited);
  feedback.Yield();
  return true;
}

}  // namespace quillon
