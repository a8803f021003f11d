#include "scan/RomDiscovery.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSet>

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

// Subfolders of one folder in the order the file system gives them. Symbolic links to folders
// are followed once: a link that leads back into the walk is not entered again.
QStringList SubfoldersOf(const QString& folder, QSet<QString>& visited)
{
  QStringList folders;
  QDirIterator it(folder, QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
  while (it.hasNext()) {
    it.next();
    const QString canonical = it.fileInfo().canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
      continue;
    visited.insert(canonical);
    folders << WithSlash(folder + it.fileName());
  }
  return folders;
}

bool FindRomsIn(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
                QStringList& foundRoms, QSet<QString>& visited)
{
  const QFileInfo info(folder);
  if (!info.isDir() || !info.isReadable())
    return ReportUnreadable(feedback, QStringLiteral("FindRoms"), folder);
  QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::System);
  while (files.hasNext()) {
    files.next();
    const QString name = files.fileName();
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
  for (const QString& subfolder : SubfoldersOf(folder, visited)) {
    feedback.Yield();
    ok = FindRomsIn(subfolder, extensions, recurse, feedback, foundRoms, visited) && ok;
  }
  return ok;
}

void GetSubFoldersIn(const QString& folder, QStringList& romFolders, QSet<QString>& visited)
{
  for (const QString& subfolder : SubfoldersOf(folder, visited)) {
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
