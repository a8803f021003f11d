#include "identify/FileHashes.h"

#include "identify/RomHeaders.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

constexpr qint64 kChunkBytes = 1 << 20;

quint32 UpdateCrc(quint32 crc, const char* data, qint64 length)
{
  return static_cast<quint32>(crc32_z(crc, reinterpret_cast<const Bytef*>(data), static_cast<size_t>(length)));
}

QByteArray HexOf(QCryptographicHash& hash)
{
  return hash.result().toHex();
}

// The part of [position, position + length) that lies in [start, end), as an offset and length.
std::pair<qint64, qint64> Overlap(qint64 position, qint64 length, qint64 start, qint64 end)
{
  const qint64 from = std::max(position, start);
  const qint64 to = std::min(position + length, end);
  return {from - position, std::max<qint64>(0, to - from)};
}

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct ArchiveCloser {
  void operator()(archive* handle) const { archive_read_free(handle); }
};

ZipArchive OpenZip(const QString& path, QString* error)
{
  int code = 0;
  zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
  if (!archive && error) {
    zip_error_t zipError;
    zip_error_init_with_code(&zipError, code);
    *error = QString::fromLocal8Bit(zip_error_strerror(&zipError));
    zip_error_fini(&zipError);
  }
  return ZipArchive(archive);
}

bool IsFolderName(const char* name)
{
  const size_t length = std::strlen(name);
  return length > 0 && name[length - 1] == '/';
}

const QString kStoppedReading = QStringLiteral("the reading was stopped");

// Asks whether to keep reading once enough was read since it last asked.
class ReadPacer {
 public:
  explicit ReadPacer(const KeepReading& keepReading) : m_keepReading(keepReading) {}
  bool Stopped(qint64 read)
  {
    constexpr qint64 kBytesBetweenAsks = qint64(32) << 20;
    m_sinceAsked += read;
    if (!m_keepReading || m_sinceAsked < kBytesBetweenAsks)
      return false;
    m_sinceAsked = 0;
    return !m_keepReading();
  }

 private:
  const KeepReading& m_keepReading;
  qint64 m_sinceAsked = 0;
};

HashedFile HashPlainFile(const QString& path, const RangePlan& plan, const KeepReading& keepReading)
{
  HashedFile result;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
    result.error = file.errorString();
    return result;
  }
  StreamHasher hasher(file.size(), plan);
  ReadPacer pacer(keepReading);
  QByteArray buffer(kChunkBytes, Qt::Uninitialized);
  for (;;) {
    const qint64 read = file.read(buffer.data(), buffer.size());
    if (read < 0) {
      result.error = file.errorString();
      return result;
    }
    if (read == 0)
      break;
    hasher.Add(buffer.constData(), read);
    if (pacer.Stopped(read)) {
      result.error = kStoppedReading;
      return result;
    }
  }
  HashedItem item;
  hasher.Finish(item);
  result.items.push_back(std::move(item));
  result.ok = true;
  return result;
}

// The central directory's CRC-32 and size of each member; nothing is decompressed.
HashedFile HashZipDirectory(const QString& path, const RangePlan& plan, const KeepReading& keepReading)
{
  HashedFile result;
  QString error;
  const ZipArchive archive = OpenZip(path, &error);
  if (!archive) {
    // A file named .zip that is no zip archive is taken as a ROM of its own.
    if (QFile::exists(path))
      return HashPlainFile(path, plan, keepReading);
    result.error = error;
    return result;
  }
  const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
  for (zip_int64_t index = 0; index < count; ++index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_NAME) || IsFolderName(stat.name))
      continue;
    HashedItem item;
    item.member = QString::fromUtf8(stat.name);
    if (stat.valid & ZIP_STAT_SIZE)
      item.whole.size = static_cast<qint64>(stat.size);
    if (stat.valid & ZIP_STAT_CRC)
      item.whole.crc = stat.crc;
    result.items.push_back(std::move(item));
  }
  result.ok = true;
  return result;
}

HashedFile HashSevenZip(const QString& path, const RangePlan& plan, const KeepReading& keepReading)
{
  HashedFile result;
  std::unique_ptr<archive, ArchiveCloser> reader(archive_read_new());
  archive_read_support_format_7zip(reader.get());
  archive_read_support_filter_all(reader.get());
  if (archive_read_open_filename(reader.get(), QFile::encodeName(path).constData(), kChunkBytes) != ARCHIVE_OK) {
    result.error = QString::fromLocal8Bit(archive_error_string(reader.get()));
    return result;
  }
  archive_entry* entry = nullptr;
  int status = ARCHIVE_OK;
  while ((status = archive_read_next_header(reader.get(), &entry)) == ARCHIVE_OK) {
    if (archive_entry_filetype(entry) != AE_IFREG)
      continue;
    HashedItem item;
    item.member = QString::fromUtf8(archive_entry_pathname_utf8(entry));
    // Members of unknown size are gathered first: the header test and the ranges need the size.
    QByteArray gathered;
    const bool sizeKnown = archive_entry_size_is_set(entry);
    StreamHasher hasher(sizeKnown ? archive_entry_size(entry) : -1, plan);
    const void* block = nullptr;
    size_t length = 0;
    la_int64_t offset = 0;
    int read = ARCHIVE_OK;
    ReadPacer pacer(keepReading);
    while ((read = archive_read_data_block(reader.get(), &block, &length, &offset)) == ARCHIVE_OK) {
      if (sizeKnown)
        hasher.Add(static_cast<const char*>(block), static_cast<qint64>(length));
      else
        gathered.append(static_cast<const char*>(block), static_cast<qsizetype>(length));
      if (pacer.Stopped(static_cast<qint64>(length))) {
        result.error = kStoppedReading;
        return result;
      }
    }
    if (read != ARCHIVE_EOF) {
      result.error = QString::fromLocal8Bit(archive_error_string(reader.get()));
      return result;
    }
    if (!sizeKnown) {
      StreamHasher whole(gathered.size(), plan);
      whole.Add(gathered.constData(), gathered.size());
      whole.Finish(item);
    } else {
      hasher.Finish(item);
    }
    result.items.push_back(std::move(item));
  }
  if (status != ARCHIVE_EOF) {
    result.error = QString::fromLocal8Bit(archive_error_string(reader.get()));
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace

const RangeChecksums* HashedItem::Range(qint64 start, qint64 size) const
{
  for (const RangeChecksums& range : ranges) {
    if (range.start == start && range.size == size)
      return &range;
  }
  return nullptr;
}

struct StreamHasher::State {
  struct Range {
    qint64 start = 0;
    qint64 end = 0;
    quint32 crc = 0;
    QCryptographicHash sha1{QCryptographicHash::Sha1};
  };

  qint64 expectedSize = -1;
  const RangePlan& plan;
  bool started = false;
  QByteArray probe;
  qint64 position = 0;
  quint32 crc = 0;
  QCryptographicHash sha1{QCryptographicHash::Sha1};
  int headerSize = 0;
  quint32 bodyCrc = 0;
  std::unique_ptr<QCryptographicHash> bodySha1;
  std::vector<std::unique_ptr<Range>> ranges;

  State(qint64 size, const RangePlan& rangePlan) : expectedSize(size), plan(rangePlan) {}
};

StreamHasher::StreamHasher(qint64 expectedSize, const RangePlan& plan)
    : m_state(std::make_unique<State>(expectedSize, plan))
{
}

StreamHasher::~StreamHasher() = default;

void StreamHasher::Add(const char* data, qint64 length)
{
  State& state = *m_state;
  if (!state.started) {
    const qint64 wanted = std::min<qint64>(kHeaderProbeBytes - state.probe.size(), length);
    state.probe.append(data, static_cast<qsizetype>(wanted));
    data += wanted;
    length -= wanted;
    if (state.probe.size() < kHeaderProbeBytes)
      return;
    Start(state.expectedSize);
    const QByteArray probe = std::exchange(state.probe, {});
    Feed(probe.constData(), probe.size());
  }
  Feed(data, length);
}

void StreamHasher::Start(qint64 dataSize)
{
  State& state = *m_state;
  state.started = true;
  state.headerSize = dataSize >= 0 ? RomHeaderSize(state.probe, dataSize) : 0;
  if (state.headerSize > 0)
    state.bodySha1 = std::make_unique<QCryptographicHash>(QCryptographicHash::Sha1);
  if (!state.plan || dataSize < 0)
    return;
  for (const auto& [start, size] : state.plan(dataSize, state.headerSize)) {
    if (start < 0 || size <= 0 || start + size > dataSize)
      continue;
    auto range = std::make_unique<State::Range>();
    range->start = start;
    range->end = start + size;
    state.ranges.push_back(std::move(range));
  }
}

void StreamHasher::Feed(const char* data, qint64 length)
{
  State& state = *m_state;
  if (length <= 0)
    return;
  state.crc = UpdateCrc(state.crc, data, length);
  state.sha1.addData(QByteArrayView(data, length));
  if (state.headerSize > 0) {
    const auto [from, count] = Overlap(state.position, length, state.headerSize, std::numeric_limits<qint64>::max());
    if (count > 0) {
      state.bodyCrc = UpdateCrc(state.bodyCrc, data + from, count);
      state.bodySha1->addData(QByteArrayView(data + from, count));
    }
  }
  for (const std::unique_ptr<State::Range>& range : state.ranges) {
    const auto [from, count] = Overlap(state.position, length, range->start, range->end);
    if (count > 0) {
      range->crc = UpdateCrc(range->crc, data + from, count);
      range->sha1.addData(QByteArrayView(data + from, count));
    }
  }
  state.position += length;
}

void StreamHasher::Finish(HashedItem& item)
{
  State& state = *m_state;
  if (!state.started) {
    // A file shorter than the header probe: its size is what was handed over.
    Start(state.probe.size());
    const QByteArray probe = std::exchange(state.probe, {});
    Feed(probe.constData(), probe.size());
  }
  item.whole = {state.position, state.crc, HexOf(state.sha1)};
  item.dataRead = true;
  item.headerSize = state.headerSize;
  item.body = {};
  if (state.headerSize > 0)
    item.body = {state.position - state.headerSize, state.bodyCrc, HexOf(*state.bodySha1)};
  item.ranges.clear();
  for (const std::unique_ptr<State::Range>& range : state.ranges) {
    if (range->end <= state.position)
      item.ranges.push_back({range->start, range->end - range->start, range->crc, HexOf(range->sha1)});
  }
}

bool IsZipFile(const QString& path)
{
  return path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive);
}

bool IsSevenZipFile(const QString& path)
{
  return path.endsWith(QStringLiteral(".7z"), Qt::CaseInsensitive);
}

HashedFile HashFile(const QString& path, const RangePlan& plan, const KeepReading& keepReading)
{
  if (IsZipFile(path))
    return HashZipDirectory(path, plan, keepReading);
  if (IsSevenZipFile(path))
    return HashSevenZip(path, plan, keepReading);
  return HashPlainFile(path, plan, keepReading);
}

bool ReadZipMemberData(const QString& zipPath, HashedItem& item, const RangePlan& plan, QString* error,
                       const KeepReading& keepReading)
{
  const ZipArchive archive = OpenZip(zipPath, error);
  if (!archive)
    return false;
  const QByteArray name = item.member.toUtf8();
  const zip_int64_t index = zip_name_locate(archive.get(), name.constData(), 0);
  if (index < 0) {
    if (error)
      *error = QStringLiteral("the archive has no member %1").arg(item.member);
    return false;
  }
  std::unique_ptr<zip_file_t, ZipFileCloser> member(
      zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
  if (!member) {
    if (error)
      *error = QString::fromLocal8Bit(zip_strerror(archive.get()));
    return false;
  }
  StreamHasher hasher(item.whole.size, plan);
  ReadPacer pacer(keepReading);
  QByteArray buffer(kChunkBytes, Qt::Uninitialized);
  for (;;) {
    const zip_int64_t read = zip_fread(member.get(), buffer.data(), static_cast<zip_uint64_t>(buffer.size()));
    if (read < 0) {
      if (error)
        *error = QString::fromLocal8Bit(zip_file_strerror(member.get()));
      return false;
    }
    if (read == 0)
      break;
    hasher.Add(buffer.constData(), read);
    if (pacer.Stopped(read)) {
      if (error)
        *error = kStoppedReading;
      return false;
    }
  }
  HashedItem read;
  read.member = item.member;
  hasher.Finish(read);
  // The data must be what the directory says it is (libzip checks the CRC at the end as well).
  if (read.whole.size != item.whole.size || read.whole.crc != item.whole.crc) {
    if (error)
      *error = QStringLiteral("the member %1 does not match the archive's directory").arg(item.member);
    return false;
  }
  item = std::move(read);
  return true;
}

}  // namespace quillon
