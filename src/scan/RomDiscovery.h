#pragma once
// Finding the ROM files and subfolders of a ROM folder. Folder paths end with "/"; found paths are
// the folder path followed by the file name.
#include <QString>
#include <QStringList>

namespace quillon {

class Feedback;

// What a walk passed over, so a scan can tell the user.
struct PassedOver {
  // ROM files (and folders) whose names are not valid UTF-8: no text can name them exactly. Shown
  // with each byte that is not part of a character as "\xNN"; folders end with "/".
  QStringList unstorableNames;
  // Files whose extension equals a ROM extension only when letter case is ignored.
  QStringList caseMismatches;
  // Folders (the walked folder or subfolders below it) that could not be read, ending with "/".
  QStringList unreadableFolders;
  // Symbolic links that lead to nothing (their target was moved or deleted).
  QStringList brokenLinks;
};

// Appends to `foundRoms` every file of `folder` whose extension (the text after the last ".",
// the whole name when it has none) equals an entry of `extensions` exactly, once per equal
// entry; then, when `recurse`, does the same for each subfolder, depth first. Each folder's files
// and subfolders are taken in the sorted order of their names, so the result does not depend on
// the order the file system keeps them in. Yields after every file and before every subfolder. A
// folder that cannot be read is reported as "-(FindRoms)-"; what was found before stays in the
// list. Returns false after such a failure.
bool FindRoms(const QString& folder, const QStringList& extensions, bool recurse, Feedback& feedback,
              QStringList& foundRoms, PassedOver* passedOver = nullptr);

// Appends to `romFolders` every subfolder below `folder` (not the folder itself), each with a
// trailing "/", a folder before the folders inside it. Reported as "-(GetSubFolders)-".
bool GetSubFolders(const QString& folder, Feedback& feedback, QStringList& romFolders);

}  // namespace quillon
