#include "scan/MultiFileGames.h"

#include "common/Paths.h"
#include "common/SheetFiles.h"

#include <QDir>
#include <QSet>

namespace quillon {

namespace {

QString FolderOf(const QString& path)
{
  return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString IncompleteReason(const QString& sheet, const SheetFiles& files)
{
  const QString sheetName = sheet.mid(sheet.lastIndexOf(QLatin1Char('/')) + 1);
  if (!files.readable)
    return QStringLiteral("%1 cannot be read.").arg(sheetName);
  return QStringLiteral("Missing file(s) named by %1: %2").arg(sheetName, files.missing.join(QStringLiteral(", ")));
}

struct PlaylistFolder {
  QString playlist;
  bool named = false;  // "Game.m3u/": everything below is the game's; else only files without a sheet
};

// The playlist that stands for each playlist folder, by folder (cleaned, ending with "/").
QHash<QString, PlaylistFolder> PlaylistFolders(const QString& romFolder, const QStringList& playlists)
{
  QHash<QString, QStringList> byFolder;
  for (const QString& playlist : playlists)
    byFolder[FolderOf(playlist)] << playlist;
  QHash<QString, PlaylistFolder> games;
  for (auto it = byFolder.cbegin(); it != byFolder.cend(); ++it) {
    const QString& folder = it.key();
    if (folder.size() <= romFolder.size())
      continue;
    const QString folderName = QDir(folder).dirName();
    const bool named = folderName.endsWith(QStringLiteral(".m3u"), Qt::CaseInsensitive);
    if (it.value().size() == 1) {
      games.insert(folder, {it.value().first(), named});
      continue;
    }
    // "Game.m3u/" holding several playlists: the one of the folder's name.
    if (!named)
      continue;
    for (const QString& playlist : it.value()) {
      if (playlist.endsWith(QLatin1Char('/') + folderName, Qt::CaseInsensitive))
        games.insert(folder, {playlist, true});
    }
  }
  return games;
}

// Whether `path` belongs to the game of a playlist folder it lies in. In a folder that merely
// holds one playlist, another game's own sheet stays a game.
bool InPlaylistFolder(const QString& path, const QHash<QString, PlaylistFolder>& folders)
{
  for (auto it = folders.cbegin(); it != folders.cend(); ++it) {
    if (!path.startsWith(it.key()) || path == it->playlist)
      continue;
    if (it->named || !IsSheetExtension(ExtensionOf(path)))
      return true;
  }
  return false;
}

}  // namespace

QHash<QString, QString> GroupMultiFileGames(const QString& romFolder, QStringList& foundRoms, bool playlistFolders)
{
  QStringList sheets;
  for (const QString& path : std::as_const(foundRoms)) {
    if (IsSheetExtension(ExtensionOf(path)))
      sheets << QDir::cleanPath(path);
  }
  if (sheets.isEmpty())
    return {};

  QSet<QString> covered;
  QHash<QString, QString> incomplete;
  QStringList playlists;
  for (const QString& sheet : std::as_const(sheets)) {
    const SheetFiles files = ReadSheetFiles(sheet);
    for (const QString& path : files.required + files.optional) {
      if (path != sheet)
        covered.insert(path);
    }
    if (!files.readable || !files.missing.isEmpty())
      incomplete.insert(sheet, IncompleteReason(sheet, files));
    if (IsPlaylistExtension(ExtensionOf(sheet)))
      playlists << sheet;
  }
  const QHash<QString, PlaylistFolder> folders =
      playlistFolders ? PlaylistFolders(QDir::cleanPath(romFolder) + QLatin1Char('/'), playlists)
                      : QHash<QString, PlaylistFolder>();

  QStringList games;
  QHash<QString, QString> reasons;
  for (const QString& path : std::as_const(foundRoms)) {
    const QString clean = QDir::cleanPath(path);
    if (covered.contains(clean) || (!folders.isEmpty() && InPlaylistFolder(clean, folders)))
      continue;
    games << path;
    const auto reason = incomplete.constFind(clean);
    if (reason != incomplete.cend())
      reasons.insert(path, *reason);
  }
  foundRoms = games;
  return reasons;
}

}  // namespace quillon
