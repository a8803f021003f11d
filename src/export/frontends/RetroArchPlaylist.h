#pragma once
// RetroArch: one playlist per system (playlists/<database name>.lpl, the JSON form RetroArch
// writes today) and the box art as PNG in thumbnails/<database name>/Named_Boxarts/, named after
// the entry's label. An existing playlist is merged: its settings, the entries we do not write and
// the keys we do not own stay; a core the user associated with an entry in RetroArch stays unless
// the system names one.
#include "names/ThumbnailName.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace quillon {

// An entry as we write it. An empty core means "none chosen".
struct RetroArchItem {
  QString path;
  QString label;
  QString corePath;
  QString coreName;
  QString dbName;  // "<playlist name>.lpl"
};

// The thumbnails folder of a playlist: its name without what follows a "|"; any name starting
// with "MAME" shares the folder "MAME".
QString ThumbnailSystemFolder(const QString& playlistName);

// A core's display name: the display_name of its .info file (beside the core, or in RetroArch's
// info folders), else its file name without "_libretro" and extension.
QString CoreDisplayName(const QString& corePath);

// Whether `existing` is a playlist we can merge with (JSON); `error` says why not.
bool IsJsonPlaylist(const QByteArray& existing, QString* error);

// The playlist: `existing` (empty for a new one) with `items` updated in place or appended.
QByteArray MergeRetroArchPlaylist(const QByteArray& existing, const std::vector<RetroArchItem>& items);

// RetroArch's configuration folder: $XDG_CONFIG_HOME/retroarch, else ~/.config/retroarch (the
// Flatpak's when only that one exists).
QString RetroArchDefaultConfigFolder();

// Where RetroArch keeps its playlists and thumbnails: the folders retroarch.cfg names, else the
// configuration folder's playlists/ and thumbnails/. Both end with "/".
QString RetroArchPlaylistFolder(const QString& configFolder);
QString RetroArchThumbnailFolder(const QString& configFolder);

}  // namespace quillon
