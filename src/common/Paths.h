#pragma once
// Small path routines shared by the scan, the exports and the emulator launch. Folder paths end
// with "/".
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

// True for an existing file that is not a folder.
bool FileExists(const QString& path);

// The folder path with exactly one "/" added when it does not already end in one.
QString Check4Slash(const QString& path);

// A system's ROM extensions: the text split at ";", every entry exactly as written (no
// trimming, no dot added or removed, empty entries kept).
QStringList ExtensionList(const QString& defaultRomType);

// The extension a ROM file is known by: the text after the last ".", the whole name when it has
// none.
QString ExtensionOf(const QString& name);

// Whether two paths name the same folder: their canonical paths (symbolic links resolved) are
// equal; a folder that does not exist is compared by its cleaned absolute path.
bool SameFolder(const QString& first, const QString& second);

// A file name as the file system holds it, as text that gives back exactly these bytes: nullopt
// when the bytes are not valid UTF-8. A leading U+FEFF is part of the name.
std::optional<QString> ExactFileName(const QByteArray& name);

// The absolute form of an existing path; empty for an empty or missing path. (There are no short
// 8.3 names here; callers that want a path safe to hand on get the absolute one.)
QString ShortName(const QString& path);

// The canonical form of an existing path (links resolved); empty when a component does not exist.
QString GetLongPathName(const QString& path);

}  // namespace quillon
