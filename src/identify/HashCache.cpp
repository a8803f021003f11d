#include "identify/HashCache.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"

#include <QFile>

#include <sys/stat.h>

namespace quillon {

namespace {

QVariant HashValue(const QByteArray& hash)
{
  return hash.isEmpty() ? QVariant() : QVariant(QString::fromLatin1(hash));
}

}  // namespace

std::optional<FileStamp> StampOf(const QString& path)
{
  struct stat status = {};
  if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
    return std::nullopt;
  return FileStamp{static_cast<qint64>(status.st_size),
                   static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

QString RangesText(const std::vector<RangeChecksums>& ranges)
{
  QStringList parts;
  for (const RangeChecksums& range : ranges) {
    parts << QStringLiteral("%1:%2:%3:%4")
                 .arg(range.start)
                 .arg(range.size)
                 .arg(range.crc, 8, 16, QLatin1Char('0'))
                 .arg(QString::fromLatin1(range.sha1));
  }
  return parts.join(QLatin1Char(';'));
}

std::vector<RangeChecksums> RangesFromText(const QString& text)
{
  std::vector<RangeChecksums> ranges;
  for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QStringList fields = part.split(QLatin1Char(':'));
    if (fields.size() != 4)
      continue;
    ranges.push_back(
        {fields[0].toLongLong(), fields[1].toLongLong(), fields[2].toUInt(nullptr, 16), fields[3].toLatin1()});
  }
  return ranges;
}

HashCache::HashCache(Catalogue& catalogue)
    : m_catalogue(catalogue),
      m_find(std::make_unique<BulkStatement>(
          catalogue, QStringLiteral("SELECT Member, FileSize, MTime, Size, CRC, SHA1, DataRead, HeaderSize, BodyCRC, "
                                    "BodySHA1, Segments FROM HashCache WHERE Path = ? ORDER BY rowid"))),
      m_remove(std::make_unique<BulkStatement>(catalogue, QStringLiteral("DELETE FROM HashCache WHERE Path = ?"))),
      m_insert(std::make_unique<BulkStatement>(
          catalogue, QStringLiteral("INSERT INTO HashCache (Path, Member, FileSize, MTime, Size, CRC, SHA1, DataRead, "
                                    "HeaderSize, BodyCRC, BodySHA1, Segments) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")))
{
}

HashCache::~HashCache() = default;

bool HashCache::IsValid() const
{
  return m_find->IsValid() && m_remove->IsValid() && m_insert->IsValid();
}

std::optional<std::vector<HashedItem>> HashCache::Find(const QString& path, const FileStamp& stamp)
{
  m_find->Reset();
  m_find->Bind(1, path);
  std::vector<HashedItem> items;
  bool stale = false;
  while (m_find->Next()) {
    if (m_find->Int(1) != stamp.size || m_find->Int(2) != stamp.modified) {
      stale = true;
      break;
    }
    HashedItem item;
    item.member = m_find->Text(0);
    item.whole = {m_find->Int(3), static_cast<quint32>(m_find->Int(4)), m_find->Text(5).toLatin1()};
    item.dataRead = m_find->Int(6) != 0;
    item.headerSize = static_cast<int>(m_find->Int(7));
    if (item.headerSize > 0)
      item.body = {item.whole.size - item.headerSize, static_cast<quint32>(m_find->Int(8)), m_find->Text(9).toLatin1()};
    item.ranges = RangesFromText(m_find->Text(10));
    items.push_back(std::move(item));
  }
  m_find->Reset();
  if (stale || items.empty())
    return std::nullopt;
  return items;
}

bool HashCache::Store(const QString& path, const FileStamp& stamp, const std::vector<HashedItem>& items)
{
  m_remove->Bind(1, path);
  if (!m_remove->Execute()) {
    m_lastError = m_remove->Failure().description;
    return false;
  }
  for (const HashedItem& item : items) {
    m_insert->Bind(1, path);
    // A plain file's row has an empty member, never Null.
    m_insert->Bind(2, item.member.isEmpty() ? QStringLiteral("") : item.member);
    m_insert->Bind(3, stamp.size);
    m_insert->Bind(4, stamp.modified);
    m_insert->Bind(5, item.whole.size);
    m_insert->Bind(6, qint64(item.whole.crc));
    m_insert->Bind(7, HashValue(item.whole.sha1));
    m_insert->Bind(8, qint64(item.dataRead ? 1 : 0));
    m_insert->Bind(9, qint64(item.headerSize));
    m_insert->Bind(10, item.headerSize > 0 ? QVariant(qint64(item.body.crc)) : QVariant());
    m_insert->Bind(11, item.headerSize > 0 ? HashValue(item.body.sha1) : QVariant());
    m_insert->Bind(12, RangesText(item.ranges));
    if (!m_insert->Execute()) {
      m_lastError = m_insert->Failure().description;
      return false;
    }
  }
  return true;
}

bool MoveCachedFile(Catalogue& catalogue, const QString& oldPath, const QString& newPath)
{
  return catalogue.TryExecute(QStringLiteral("DELETE FROM HashCache WHERE Path = ?"), {newPath}, nullptr) &&
         catalogue.TryExecute(QStringLiteral("UPDATE HashCache SET Path = ? WHERE Path = ?"), {newPath, oldPath},
                              nullptr);
}

}  // namespace quillon
