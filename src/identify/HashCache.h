#pragma once
// The checksums of ROM files kept in the catalogue by path, valid while the file's size and
// modification time are those recorded, so a second identification reads only changed files.
#include "identify/FileHashes.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace quillon {

class BulkStatement;
class Catalogue;

// A file's size and modification time (nanoseconds since the epoch), as the cache compares them.
struct FileStamp {
  qint64 size = -1;
  qint64 modified = 0;
};
// The stamp of an existing regular file; nullopt otherwise.
std::optional<FileStamp> StampOf(const QString& path);

class HashCache {
 public:
  explicit HashCache(Catalogue& catalogue);
  ~HashCache();

  bool IsValid() const;
  // The items recorded for `path` when it still has `stamp`; nullopt otherwise.
  std::optional<std::vector<HashedItem>> Find(const QString& path, const FileStamp& stamp);
  // Replaces what is recorded for `path`. Callers run it inside their transaction.
  bool Store(const QString& path, const FileStamp& stamp, const std::vector<HashedItem>& items);
  // Why the last Store failed.
  QString LastError() const { return m_lastError; }

 private:
  Catalogue& m_catalogue;
  std::unique_ptr<BulkStatement> m_find;
  std::unique_ptr<BulkStatement> m_remove;
  std::unique_ptr<BulkStatement> m_insert;
  QString m_lastError;
};

// A cached file now has another path (renamed with its contents unchanged). In the caller's transaction.
bool MoveCachedFile(Catalogue& catalogue, const QString& oldPath, const QString& newPath);

// The ranges of an item as the cache writes them ("start:size:crc:sha1;..."), and back.
QString RangesText(const std::vector<RangeChecksums>& ranges);
std::vector<RangeChecksums> RangesFromText(const QString& text);

}  // namespace quillon
