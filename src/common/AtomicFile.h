#pragma once
// Replacing a file so that a reader, or a crash, sees the old file or the new one and never a
// part of either: the new content is made in a file beside the target, then renamed over it.
#include <QByteArray>
#include <QString>

#include <functional>

namespace quillon {

// How a placed file reaches the disk: text the user relies on is synced (the file before the
// rename, its folder after); pictures that a later export can remake are only renamed.
enum class Durability { Synced, RenamedOnly };

// Makes the new file at `temporaryPath` (which does not exist yet); false with `error` set when
// it could not.
using FileMaker = std::function<bool(const QString& temporaryPath, QString* error)>;

// Places the file `make` produces at `path`: made beside it under a unique hidden name, then
// renamed over it. An existing file keeps its permissions; a new one gets the usual ones for the
// user's umask. On failure the target is as it was, nothing is left beside it, and `error` says
// which file and why.
bool PlaceFileAtomically(const QString& path, const FileMaker& make, Durability durability, QString* error);

// Writes `content` to `path` that way (synced).
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error);

// Copies `source` to `path` that way.
bool CopyFileAtomically(const QString& source, const QString& path, Durability durability, QString* error);

// Makes `path` a hard link of `source` that way. False (with the reason) when the file system does
// not allow it, for example across devices; the target is then as it was.
bool LinkFileAtomically(const QString& source, const QString& path, QString* error);

// Reads a whole file. A missing file is no failure: `*exists` is false and `content` empty. False
// with `error` set when the file exists but cannot be read.
bool ReadWholeFile(const QString& path, QByteArray* content, bool* exists, QString* error);

}  // namespace quillon
