#pragma once
// Finding the ROM files and subfolders of a ROM folder, and the small path routines around them.
// Folder paths end with "/"; found paths are the folder path followed by the file name.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quillon {

class Catalogue;
class Feedback;

// The system's ROM extensions: the text split at ";", every entry exactly as written (no
// trimming, no dot added or removed, empty entries kept).
QStringList ExtensionList(const QString& defaultRomType);

// Appends to `foundRoms` every file of `folder` whose extension (the text after the last ".",
// the whole name when it has none) equals an entry of `extensions` exactly, once per equal
// entry; then, when `recurse`, does the same for each subfolder, depth first. Yields after every
// file and before every subfolder. A folder that cannot be read is reported as "-(FindRoms)-";
// what was found before stays in the list. Returns false after such a failure.
bool FindRoms(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
              QStringList& foundRoms);

// Appends to `romFolders` every subfolder below `folder` (not the folder itself), each with a
// trailing "/", a folder before the folders inside it. Reported as "-(GetSubFolders)-".
bool GetSubFolders(const QString& folder, Feedback& feedback, QStringList& romFolders);

// The full ROM path of a game (the File view), or an invalid QVariant when it has none.
QVariant GetRom(Catalogue& catalogue, Feedback& feedback, qint64 gameId);

// True for an existing file that is not a folder.
bool FileExists(const QString& path);

// The folder path with exactly one "/" added when it does not already end in one.
QString Check4Slash(const QString& path);

}  // namespace quillon
