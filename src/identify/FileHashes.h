#pragma once
// The checksums of a ROM file: of the file itself, or of each member of a zip or 7z archive.
// Raw files and 7z members are read once, computing CRC-32 (zlib) and SHA-1 (Qt) together, and
// also the checksums without a header and of the ranges the lists ask for. Zip members are first
// known only by the CRC-32 and size of the archive's central directory; their data is read when
// the identification needs it (ReadZipMemberData).
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quillon {

struct Checksums {
  qint64 size = -1;
  quint32 crc = 0;
  QByteArray sha1;  // lower-case hexadecimal; empty when not computed
};

// The checksums of one range of a file's data.
struct RangeChecksums {
  qint64 start = 0;
  qint64 size = 0;
  quint32 crc = 0;
  QByteArray sha1;
};

struct HashedItem {
  QString member;  // the archive member's name; empty for the file itself
  Checksums whole;
  // The data was read: the SHA-1 of the whole, the header and the ranges are known.
  bool dataRead = false;
  int headerSize = 0;
  Checksums body;  // without the header, when headerSize > 0
  std::vector<RangeChecksums> ranges;

  const RangeChecksums* Range(qint64 start, qint64 size) const;
};

// Which ranges (start, size) of a data stream to check-sum, given its size and header size.
using RangePlan = std::function<std::vector<std::pair<qint64, qint64>>(qint64 dataSize, int headerSize)>;

struct HashedFile {
  bool ok = false;
  QString error;
  std::vector<HashedItem> items;
};

// Asked while a large file is read (every 32 MiB), so that a window can repaint and a disc image
// of several GB can be given up: false stops the reading, and the file counts as not read.
using KeepReading = std::function<bool()>;

// The checksums of the file at `path`: one item for a plain file, one per member for a zip or 7z
// archive (folders excluded). `plan` may be empty.
HashedFile HashFile(const QString& path, const RangePlan& plan, const KeepReading& keepReading = {});

// Reads one zip member's data to complete its item (SHA-1, header, ranges). False when the
// archive or the member cannot be read; the item is then as it was.
bool ReadZipMemberData(const QString& zipPath, HashedItem& item, const RangePlan& plan, QString* error,
                       const KeepReading& keepReading = {});

// True for the archive types whose members are hashed one by one.
bool IsZipFile(const QString& path);
bool IsSevenZipFile(const QString& path);

// Check-sums a stream handed over piece by piece, in order.
class StreamHasher {
 public:
  StreamHasher(qint64 expectedSize, const RangePlan& plan);
  ~StreamHasher();
  StreamHasher(const StreamHasher&) = delete;
  StreamHasher& operator=(const StreamHasher&) = delete;

  void Add(const char* data, qint64 length);
  // Fills `item` (whole, body, ranges) with what was handed over.
  void Finish(HashedItem& item);

 private:
  struct State;
  void Start(qint64 dataSize);
  void Feed(const char* data, qint64 length);

  std::unique_ptr<State> m_state;
};

}  // namespace quillon
