#include "export/sqlite2/Sqlite2File.h"

#include "common/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <set>

namespace quillon::sqlite2 {

namespace {

// A new library is readable by all and writable by its owner; a replaced one keeps its permissions.
constexpr QFile::Permissions kNewLibraryPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther;

// Our message for a failed step of replacing a library (%1 the library, %2 the reason).
QString FailureText(ReplaceStep step)
{
  switch (step) {
    case ReplaceStep::CreateTemporary:
      return QStringLiteral("cannot create a temporary file beside %1: %2");
    case ReplaceStep::WriteTemporary:
      return QStringLiteral("cannot write the new %1: %2");
    case ReplaceStep::SyncTemporary:
      return QStringLiteral("cannot sync the new %1: %2");
    case ReplaceStep::ReplaceFile:
      break;
  }
  return QStringLiteral("cannot replace %1: %2");
}

// Builds a file image page by page.
class ImageBuilder {
 public:
  explicit ImageBuilder(std::set<std::uint32_t> roots) : m_roots(std::move(roots))
  {
    m_highest = std::max<std::uint32_t>(2, m_roots.empty() ? 2 : *m_roots.rbegin());
  }

  std::uint32_t Allocate()
  {
    while (m_roots.count(m_next))
      ++m_next;
    m_highest = std::max(m_highest, m_next);
    return m_next++;
  }

  unsigned char* PageAt(std::uint32_t page)
  {
    const size_t needed = size_t(page) * kPageSize;
    if (m_image.size() < needed)
      m_image.resize(std::max(needed, m_image.size() * 3 / 2), 0);
    return m_image.data() + size_t(page - 1) * kPageSize;
  }

  void BuildTree(std::uint32_t root, const BtreeEntries& entries)
  {
    std::vector<PendingCell> level;
    level.reserve(entries.size());
    for (const BtreeEntry& entry : entries)
      level.push_back(PendingCell{&entry, 0, CellSize(entry.key.size() + entry.data.size())});
    std::uint32_t rightmost = 0;
    for (;;) {
      std::vector<PendingCell> dividers;
      std::vector<LevelPage> pages = Pack(level, rightmost, dividers);
      if (pages.size() == 1) {
        WritePage(root, pages.front());
        return;
      }
      std::vector<std::uint32_t> numbers;
      for (const LevelPage& page : pages) {
        numbers.push_back(Allocate());
        WritePage(numbers.back(), page);
      }
      for (size_t i = 0; i < dividers.size(); ++i)
        dividers[i].leftChild = numbers[i];
      level = std::move(dividers);
      rightmost = numbers.back();
    }
  }

  QByteArray Finish(const LibraryContent& content)
  {
    // Pages below the highest root that no tree took go to the freelist.
    std::vector<std::uint32_t> spare;
    for (std::uint32_t page = m_next; page <= m_highest; ++page) {
      if (!m_roots.count(page))
        spare.push_back(page);
    }
    std::uint32_t head = 0;
    for (size_t i = spare.size(); i > 0;) {
      // Trunks are laid out from the end so that the first trunk holds the lowest pages.
      const size_t begin = i > size_t(kFreelistTrunkCapacity) + 1 ? i - kFreelistTrunkCapacity - 1 : 0;
      unsigned char* trunk = PageAt(spare[begin]);
      Put32(trunk, head);
      Put32(trunk + 4, std::uint32_t(i - begin - 1));
      for (size_t k = begin + 1; k < i; ++k)
        Put32(trunk + 8 + 4 * (k - begin - 1), spare[k]);
      head = spare[begin];
      i = begin;
    }
    unsigned char* first = PageAt(1);
    PageAt(m_highest);
    std::memcpy(first, kMagicText, kMagicSize);
    Put32(first + kOffsetByteOrderMagic, kByteOrderMagic);
    Put32(first + kOffsetFreelistHead, head);
    for (int k = 0; k < kMetaCount; ++k)
      Put32(first + kOffsetFreeCount + 4 * k, std::uint32_t(content.meta[size_t(k)]));
    Put32(first + kOffsetFreeCount, std::uint32_t(spare.size()));
    Put32(first + kOffsetFileFormat, kFileFormat);
    return QByteArray(reinterpret_cast<const char*>(m_image.data()), qsizetype(m_highest) * kPageSize);
  }

 private:
  struct PendingCell {
    const BtreeEntry* entry;
    std::uint32_t leftChild;
    int size;
  };
  struct LevelPage {
    std::vector<PendingCell> cells;
    std::uint32_t rightChild = 0;
  };

  // Fill pages to about three quarters, which leaves room for later inserts by other programs.
  static constexpr int kFillTarget = 768;

  // Splits a level's cells into pages; between two pages one cell moves up as a divider, and the
  // page before it gets the divider's left child as its right child.
  static std::vector<LevelPage> Pack(const std::vector<PendingCell>& cells, std::uint32_t rightmost,
                                     std::vector<PendingCell>& dividers)
  {
    std::vector<LevelPage> pages;
    size_t i = 0;
    do {
      LevelPage page;
      int used = 0;
      while (i < cells.size() && (page.cells.empty() || used + cells[i].size <= kFillTarget)) {
        used += cells[i].size;
        page.cells.push_back(cells[i++]);
      }
      if (i < cells.size()) {
        if (i + 1 == cells.size()) {
          // The last cell cannot be a divider (the page after it would be empty): the page's own
          // last cell moves up instead.
          dividers.push_back(page.cells.back());
          page.cells.pop_back();
        } else {
          dividers.push_back(cells[i++]);
        }
        page.rightChild = dividers.back().leftChild;
      } else {
        page.rightChild = rightmost;
      }
      pages.push_back(std::move(page));
    } while (i < cells.size());
    return pages;
  }

  void WritePage(std::uint32_t number, const LevelPage& page)
  {
    unsigned char* p = PageAt(number);
    std::memset(p, 0, kPageSize);
    Put32(p, page.rightChild);
    int offset = kPageHeaderSize;
    Put16(p + 4, page.cells.empty() ? 0 : std::uint16_t(offset));
    for (size_t i = 0; i < page.cells.size(); ++i) {
      const PendingCell& cell = page.cells[i];
      const int next = i + 1 < page.cells.size() ? offset + cell.size : 0;
      WriteCell(number, offset, cell, std::uint16_t(next));
      offset += cell.size;
    }
    p = PageAt(number);  // writing overflow pages may have moved the image
    if (offset < kPageSize) {
      Put16(p + 6, std::uint16_t(offset));
      Put16(p + offset, std::uint16_t(kPageSize - offset));
    }
  }

  void WriteCell(std::uint32_t number, int offset, const PendingCell& cell, std::uint16_t next)
  {
    const QByteArray& key = cell.entry->key;
    const QByteArray& data = cell.entry->data;
    unsigned char* c = PageAt(number) + offset;
    Put32(c, cell.leftChild);
    Put16(c + 4, std::uint16_t(key.size() & 0xffff));
    Put16(c + 6, next);
    c[8] = (key.size() >> 16) & 0xff;
    c[9] = (data.size() >> 16) & 0xff;
    Put16(c + 10, std::uint16_t(data.size() & 0xffff));
    PayloadWriter payload{key, data};
    payload.Copy(c + kCellHeaderSize, kMaxLocalPayload);
    if (!payload.Done()) {
      std::uint32_t overflow = Allocate();
      Put32(PageAt(number) + offset + kCellHeaderSize + kMaxLocalPayload, overflow);
      while (!payload.Done()) {
        unsigned char* o = PageAt(overflow);
        payload.Copy(o + 4, kOverflowPayload);
        const std::uint32_t following = payload.Done() ? 0 : Allocate();
        Put32(PageAt(overflow), following);
        overflow = following;
      }
    }
  }

  // Hands out a key followed by its data in pieces.
  struct PayloadWriter {
    const QByteArray& key;
    const QByteArray& data;
    qsizetype position = 0;
    bool Done() const { return position >= key.size() + data.size(); }
    void Copy(unsigned char* to, qsizetype room)
    {
      while (room > 0 && !Done()) {
        const bool inKey = position < key.size();
        const QByteArray& from = inKey ? key : data;
        const qsizetype start = inKey ? position : position - key.size();
        const qsizetype n = std::min(room, from.size() - start);
        std::memcpy(to, from.constData() + start, size_t(n));
        to += n;
        room -= n;
        position += n;
      }
    }
  };

  std::set<std::uint32_t> m_roots;
  std::vector<unsigned char> m_image;
  std::uint32_t m_next = 3;
  std::uint32_t m_highest = 2;
};

}  // namespace

std::optional<QByteArray> BuildLibraryFile(const LibraryContent& content, QString* error)
{
  std::set<std::uint32_t> roots;
  for (const auto& [root, entries] : content.trees) {
    roots.insert(root);
    for (const BtreeEntry& entry : entries) {
      if (entry.key.size() + entry.data.size() == 0 || entry.key.size() >= (1 << 24) ||
          entry.data.size() >= (1 << 24)) {
        if (error)
          *error = QStringLiteral("an entry of the tree at page %1 is too large for the file format").arg(root);
        return std::nullopt;
      }
    }
  }
  roots.insert(kMasterRoot);
  ImageBuilder builder(roots);
  static const BtreeEntries kNoEntries;
  const auto master = content.trees.find(kMasterRoot);
  builder.BuildTree(kMasterRoot, master == content.trees.end() ? kNoEntries : master->second);
  for (const auto& [root, entries] : content.trees) {
    if (root != kMasterRoot)
      builder.BuildTree(root, entries);
  }
  return builder.Finish(content);
}

QString JournalPath(const QString& libraryPath)
{
  return libraryPath + QStringLiteral("-journal");
}

bool ReplaceLibraryFile(const QString& path, const QByteArray& bytes, QString* error, const ReplaceFault& fault)
{
  // A library reached through a symbolic link is replaced where it really is; the link stays.
  ReplaceOptions options;
  options.followLink = true;
  options.newPermissions = kNewLibraryPermissions;
  options.fault = fault;
  AtomicFile file(path, options);
  ReplaceFailure failure;
  if (!file.Write(bytes, &failure) || !file.Commit(&failure)) {
    if (error)
      *error = FailureText(failure.step).arg(file.Target(), failure.reason);
    return false;
  }
  // A journal left beside the new file would be played back onto it by the engine.
  const QString journal = JournalPath(path);
  if (QFileInfo::exists(journal) && !QFile::remove(journal)) {
    if (error)
      *error =
          QStringLiteral("%1 was written, but its old journal %2 could not be removed").arg(file.Target(), journal);
    return false;
  }
  return true;
}

}  // namespace quillon::sqlite2
