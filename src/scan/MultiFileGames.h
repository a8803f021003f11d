#pragma once
// One game per game on disc systems: of the files a ROM folder walk found, a sheet (cue, gdi,
// ccd) or playlist (m3u) is the game and the files it names are not games of their own.
#include <QHash>
#include <QString>
#include <QStringList>

namespace quillon {

// Removes from `foundRoms` every file that a found sheet or playlist names (a playlist wins over
// the discs it lists), keeping the order of the rest. With `playlistFolders`, a subfolder of
// `romFolder` whose name ends in ".m3u", or that holds one playlist at its top, is that playlist's
// game: no other file below it is a game of its own. Returns, for each remaining game that lacks a
// file its sheet names, why it is incomplete. Only the sheets and playlists found are read: a
// walk that found none costs one look at each extension.
QHash<QString, QString> GroupMultiFileGames(const QString& romFolder, QStringList& foundRoms, bool playlistFolders);

}  // namespace quillon
