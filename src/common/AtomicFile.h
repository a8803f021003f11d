#pragma once
// Replacing a file so that a reader, or a crash, sees the old file or the new one and never a
// part of either: the new content is made in a file beside the target, synced, then renamed over
// it, and the folder is synced so that the rename reaches the disk too. Every file the program
// replaces (the catalogue when compacting, libraries, exports, downloads, pictures, INI files)
// goes this way.
#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>

#include <functional>
#include <optional>

namespace quillon {

// How a placed file reaches the disk: what the user relies on is synced (the file before the
// rename, its folder after); pictures that a later export can remake are only renamed.
enum class Durability { Synced, RenamedOnly };

// The steps of a replacement, named in a failure so that each caller can word its own message,
// and offered to a test hook that makes one of them fail.
enum class ReplaceStep { CreateTemporary, WriteTemporary, SyncTemporary, ReplaceFile };
using ReplaceFault = std::function<bool(ReplaceStep)>;

struct ReplaceFailure {
  ReplaceStep step = ReplaceStep::CreateTemporary;
  QString reason;  // the system's words, or the maker's
};

struct ReplaceOptions {
  Durability durability = Durability::Synced;
  // An existing target's permissions pass to the new file; otherwise (or without a target) it
  // gets `newPermissions`, else what it was made with (the user's umask for a new file).
  bool keepTargetPermissions = true;
  std::optional<QFileDevice::Permissions> newPermissions;
  // A target that is a symbolic link is replaced where the link points; the link stays.
  bool followLink = false;
  // False: an existing target is never replaced; placing fails with "... is already there".
  bool replaceExisting = true;
  ReplaceFault fault;
};

// One replacement. The new file is made at TemporaryPath() (by Write, CopyFrom, or the caller
// itself), then Commit puts it in place. Until then the target is untouched; a replacement that
// ends without Commit removes what it made.
class AtomicFile {
 public:
  // The new file gets a unique hidden name beside the target.
  explicit AtomicFile(const QString& target, ReplaceOptions options = {});
  // The new file gets `temporaryPath`, a fixed scratch name beside the target (it must not exist).
  AtomicFile(const QString& target, const QString& temporaryPath, ReplaceOptions options = {});
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // The file replaced: the target given, or where its link points.
  const QString& Target() const { return m_target; }
  const QString& TemporaryPath() const { return m_temporary; }

  // Makes the new file with this content.
  bool Write(QByteArrayView content, ReplaceFailure* failure);
  // Makes the new file as a copy of `source` (with its permissions, unless the options say
  // otherwise).
  bool CopyFrom(const QString& source, ReplaceFailure* failure);
  // Gives the new file its permissions, syncs it, renames it over the target and syncs the folder.
  bool Commit(ReplaceFailure* failure);

 private:
  bool Fails(ReplaceStep step) const { return m_options.fault && m_options.fault(step); }
  bool Failed(ReplaceStep step, const QString& reason, ReplaceFailure* failure);
  bool FailedWithErrno(ReplaceStep step, ReplaceFailure* failure);
  bool PlaceTemporary();
  void SetPermissions();

  QString m_target;
  QString m_temporary;
  ReplaceOptions m_options;
  bool m_committed = false;
};

// Makes a file beside the target (at `temporaryPath`, which does not exist yet); false with
// `error` set when it could not.
using FileMaker = std::function<bool(const QString& temporaryPath, QString* error)>;

// The replacements the exports use; on failure the target is as it was, nothing is left beside
// it, and `error` says which file and why ("path: reason").
bool PlaceFileAtomically(const QString& path, const FileMaker& make, Durability durability, QString* error);
bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error);
bool CopyFileAtomically(const QString& source, const QString& path, Durability durability, QString* error);
// Makes `path` a hard link of `source`. False (with the reason) when the file system does not
// allow it, for example across devices; the target is then as it was.
bool LinkFileAtomically(const QString& source, const QString& path, QString* error);

// Reads a whole file. A missing file is no failure: `*exists` is false and `content` empty. False
// with `error` set when the file exists but cannot be read.
bool ReadWholeFile(const QString& path, QByteArray* content, bool* exists, QString* error);

}  // namespace quillon
