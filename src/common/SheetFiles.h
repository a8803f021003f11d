#pragma once
// Games made of several files: a cue, gdi or ccd sheet names the tracks of one disc, an m3u
// playlist names the discs of one game. The sheet or playlist is the game; the files it names
// belong to it.
#include <QString>
#include <QStringList>

namespace quillon {

// True for the extensions of sheets and playlists ("cue", "gdi", "ccd", "m3u"), in any case.
bool IsSheetExtension(const QString& extension);
bool IsPlaylistExtension(const QString& extension);

// The files a sheet or playlist names, as cleaned absolute paths. A playlist's discs that are
// sheets themselves bring their tracks along (one level: a playlist inside a playlist is not
// followed, so no chain of playlists can loop).
struct SheetFiles {
  bool readable = false;
  QStringList required;  // tracks and discs; the game is incomplete without any of them
  QStringList optional;  // files that belong to the game when present (a CloneCD .sub)
  QStringList missing;   // the required ones that are not there, as the sheet names them
};

// Reads the sheet at `path`. A name that matches no file exactly is looked up ignoring letter
// case in its folder (sheets written on other systems often differ in case from the files).
// Sheets larger than a sheet can sensibly be are not read (readable stays false).
SheetFiles ReadSheetFiles(const QString& path);

}  // namespace quillon
