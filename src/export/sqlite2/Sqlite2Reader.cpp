#include "export/sqlite2/Sqlite2File.h"

#include "export/sqlite2/Sqlite2PageWalker.h"
#include "export/sqlite2/Sqlite2Sql.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace quillon::sqlite2 {

namespace {

ByteOrder DetectByteOrder(const QByteArray& bytes)
{
  if (bytes.size() < kPageSize || std::memcmp(bytes.constData(), kMagicText, kMagicSize) != 0)
    throw Damage{QString::fromLatin1(kNotADatabase)};
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
  if (Get32(p + kOffsetByteOrderMagic, ByteOrder::Little) == kByteOrderMagic)
    return ByteOrder::Little;
  if (Get32(p + kOffsetByteOrderMagic, ByteOrder::Big) == kByteOrderMagic)
    return ByteOrder::Big;
  throw Damage{QString::fromLatin1(kNotADatabase)};
}

}  // namespace

void ThrowMalformed(const QString& detail)
{
  throw Damage{QString::fromLatin1(kMalformed) + QStringLiteral(": ") + detail};
}

QString PageText(std::uint32_t page)
{
  return QStringLiteral("page %1").arg(page);
}

PageWalker::PageWalker(const QByteArray& bytes, ByteOrder order, bool writerRules)
    : m_bytes(bytes),
      m_order(order),
      m_writerRules(writerRules),
      m_pageCount(std::uint32_t(bytes.size() / kPageSize)),
      m_used(size_t(m_pageCount) + 1, 0)
{
  if (m_pageCount >= 1)
    m_used[1] = 1;
}

const unsigned char* PageWalker::Page(std::uint32_t page) const
{
  if (page == 0 || page > m_pageCount)
    return nullptr;
  return reinterpret_cast<const unsigned char*>(m_bytes.constData()) + qsizetype(page - 1) * kPageSize;
}

void PageWalker::Use(std::uint32_t page, const QString& what)
{
  if (page == 0 || page > m_pageCount)
    ThrowMalformed(QStringLiteral("%1 refers to page %2, beyond the end of the file").arg(what).arg(page));
  if (m_used[page])
    ThrowMalformed(QStringLiteral("%1 refers to page %2, which is already in use").arg(what).arg(page));
  m_used[page] = 1;
}

BtreeEntries PageWalker::ReadTree(std::uint32_t root)
{
  BtreeEntries entries;
  if (root > m_pageCount)
    return entries;  // a root beyond the end of the file reads as an empty tree
  Use(root, QStringLiteral("a root"));
  m_leafDepth = -1;
  m_lastKey = nullptr;
  Walk(root, root, 0, entries);
  return entries;
}

void PageWalker::WalkFreelist()
{
  const unsigned char* first = Page(1);
  std::uint32_t trunk = Get32(first + kOffsetFreelistHead, m_order);
  const std::uint32_t expected = Get32(first + kOffsetFreeCount, m_order);
  std::uint64_t counted = 0;
  while (trunk != 0) {
    Use(trunk, QStringLiteral("the freelist"));
    const unsigned char* p = Page(trunk);
    const std::uint32_t leaves = Get32(p + 4, m_order);
    if (leaves > std::uint32_t(kFreelistTrunkCapacity))
      ThrowMalformed(QStringLiteral("freelist trunk %1 claims %2 pages").arg(trunk).arg(leaves));
    for (std::uint32_t i = 0; i < leaves; ++i)
      Use(Get32(p + 8 + 4 * i, m_order), QStringLiteral("freelist trunk %1").arg(trunk));
    counted += 1 + leaves;
    trunk = Get32(p, m_order);
  }
  if (counted != expected)
    ThrowMalformed(QStringLiteral("the freelist holds %1 pages, page 1 says %2").arg(counted).arg(expected));
}

std::vector<PageWalker::Cell> PageWalker::LoadPage(std::uint32_t page, std::uint32_t* rightChild)
{
  const unsigned char* p = Page(page);
  *rightChild = Get32(p, m_order);
  std::array<unsigned char, kPageSize> cover{};
  std::fill(cover.begin(), cover.begin() + kPageHeaderSize, 1);
  auto claim = [&](int begin, int end, const char* what) {
    for (int i = begin; i < end; ++i) {
      if (cover[size_t(i)])
        ThrowMalformed(QStringLiteral("%1: %2 at %3 overlaps other content").arg(PageText(page)).arg(what).arg(begin));
      cover[size_t(i)] = 1;
    }
  };
  std::vector<Cell> cells;
  int cellBytes = 0;
  for (int offset = Get16(p + 4, m_order); offset != 0;) {
    if (int(cells.size()) >= kMaxCellsPerPage)
      ThrowMalformed(QStringLiteral("%1: the cell list is too long or loops").arg(PageText(page)));
    if (offset % 4 != 0 || offset < kPageHeaderSize || offset > kPageSize - 16)
      ThrowMalformed(QStringLiteral("%1: cell offset %2 out of range").arg(PageText(page)).arg(offset));
    const unsigned char* c = p + offset;
    Cell cell{std::uint16_t(offset), Get32(c, m_order), Get16(c + 4, m_order) + (std::uint32_t(c[8]) << 16),
              Get16(c + 10, m_order) + (std::uint32_t(c[9]) << 16)};
    if (cell.keySize + cell.dataSize == 0)
      ThrowMalformed(QStringLiteral("%1: empty cell at %2").arg(PageText(page)).arg(offset));
    const int size = CellSize(std::int64_t(cell.keySize) + cell.dataSize);
    if (offset + size > kPageSize)
      ThrowMalformed(QStringLiteral("%1: cell at %2 runs past the page").arg(PageText(page)).arg(offset));
    claim(offset, offset + size, "a cell");
    cellBytes += size;
    cells.push_back(cell);
    offset = Get16(c + 6, m_order);
  }
  int freeBytes = 0;
  int freeBlocks = 0;
  for (int offset = Get16(p + 6, m_order); offset != 0;) {
    if (offset < kPageHeaderSize || offset > kPageSize - 4)
      ThrowMalformed(QStringLiteral("%1: free block offset %2 out of range").arg(PageText(page)).arg(offset));
    const int size = Get16(p + offset, m_order);
    const int next = Get16(p + offset + 2, m_order);
    if (size < 4 || offset + size > kPageSize)
      ThrowMalformed(QStringLiteral("%1: free block at %2 has size %3").arg(PageText(page)).arg(offset).arg(size));
    if (m_writerRules && (offset % 4 != 0 || size % 4 != 0))
      ThrowMalformed(QStringLiteral("%1: free block at %2 is not 4-aligned").arg(PageText(page)).arg(offset));
    if (next != 0 && next <= offset)
      ThrowMalformed(QStringLiteral("%1: free blocks out of order at %2").arg(PageText(page)).arg(offset));
    claim(offset, offset + size, "a free block");
    freeBytes += size;
    ++freeBlocks;
    offset = next;
  }
  const bool blankPage = cells.empty() && freeBlocks == 0;
  if (!blankPage && freeBytes != kUsableCellSpace - cellBytes)
    ThrowMalformed(QStringLiteral("%1: cells and free space do not fill the page").arg(PageText(page)));
  if (blankPage && m_writerRules)
    ThrowMalformed(QStringLiteral("%1: page without free block").arg(PageText(page)));
  for (const Cell& cell : cells) {
    if ((*rightChild == 0) != (cell.leftChild == 0))
      ThrowMalformed(QStringLiteral("%1: mixes leaf and interior cells").arg(PageText(page)));
  }
  if (cells.empty() && *rightChild != 0)
    ThrowMalformed(QStringLiteral("%1: interior page without cells").arg(PageText(page)));
  return cells;
}

QByteArray PageWalker::ReadPayload(std::uint32_t page, const Cell& cell)
{
  const std::int64_t total = std::int64_t(cell.keySize) + cell.dataSize;
  const unsigned char* local = Page(page) + cell.offset + kCellHeaderSize;
  QByteArray payload;
  payload.reserve(qsizetype(std::min<std::int64_t>(total, kMaxLocalPayload + std::int64_t(m_pageCount) * 1020)));
  payload.append(reinterpret_cast<const char*>(local), qsizetype(std::min<std::int64_t>(total, kMaxLocalPayload)));
  if (total <= kMaxLocalPayload)
    return payload;
  std::uint32_t next = Get32(local + kMaxLocalPayload, m_order);
  std::int64_t remaining = total - kMaxLocalPayload;
  const QString owner = QStringLiteral("an overflow chain from %1").arg(PageText(page));
  while (remaining > 0) {
    if (next == 0)
      ThrowMalformed(QStringLiteral("the overflow chain from %1 is too short").arg(PageText(page)));
    Use(next, owner);
    const unsigned char* o = Page(next);
    const int chunk = int(std::min<std::int64_t>(remaining, kOverflowPayload));
    payload.append(reinterpret_cast<const char*>(o + 4), chunk);
    remaining -= chunk;
    next = Get32(o, m_order);
  }
  if (next != 0)
    ThrowMalformed(QStringLiteral("the overflow chain from %1 is too long").arg(PageText(page)));
  return payload;
}

void PageWalker::Visit(std::uint32_t page, const Cell& cell, BtreeEntries& out)
{
  QByteArray payload = ReadPayload(page, cell);
  BtreeEntry entry{payload.left(cell.keySize), payload.mid(cell.keySize)};
  if (m_lastKey && CompareKeys(*m_lastKey, entry.key) >= 0)
    ThrowMalformed(QStringLiteral("%1: keys out of order").arg(PageText(page)));
  out.push_back(std::move(entry));
  m_lastKey = &out.back().key;
}

void PageWalker::Walk(std::uint32_t page, std::uint32_t root, int depth, BtreeEntries& out)
{
  if (depth > 40)
    ThrowMalformed(QStringLiteral("%1: the tree is too deep").arg(PageText(page)));
  std::uint32_t rightChild = 0;
  const std::vector<Cell> cells = LoadPage(page, &rightChild);
  if (cells.empty() && page != root)
    ThrowMalformed(QStringLiteral("%1: child page without cells").arg(PageText(page)));
  auto child = [&](std::uint32_t number) {
    Use(number, QStringLiteral("a child pointer on %1").arg(PageText(page)));
    m_lastKey = out.empty() ? nullptr : &out.back().key;
    Walk(number, root, depth + 1, out);
    m_lastKey = out.empty() ? nullptr : &out.back().key;
  };
  if (rightChild == 0) {
    if (m_leafDepth >= 0 && m_leafDepth != depth)
      ThrowMalformed(QStringLiteral("%1: leaves at different depths").arg(PageText(page)));
    m_leafDepth = depth;
  }
  for (const Cell& cell : cells) {
    if (cell.leftChild != 0)
      child(cell.leftChild);
    Visit(page, cell, out);
  }
  if (rightChild != 0)
    child(rightChild);
}

LibraryContent ReadAll(const QByteArray& bytes, std::optional<PageWalker>& walker, bool writerRules)
{
  LibraryContent content;
  if (bytes.size() < kPageSize) {
    content.wasEmpty = true;
    content.meta[2] = kFileFormat;
    content.trees[kMasterRoot] = {};
    return content;
  }
  content.order = DetectByteOrder(bytes);
  const auto* first = reinterpret_cast<const unsigned char*>(bytes.constData());
  for (int k = 0; k < kMetaCount; ++k)
    content.meta[size_t(k)] = std::int32_t(Get32(first + kOffsetFreeCount + 4 * k, content.order));
  const int format = content.meta[2];
  if (format > kFileFormat || format < 0)
    throw Damage{QString::fromLatin1(kUnsupportedFileFormat)};
  if (format != 0 && format != kFileFormat)
    throw Damage{QString::fromLatin1(kUnsupportedFileFormat) +
                 QStringLiteral(": file format %1 is older than this program reads").arg(format)};
  content.meta[2] = kFileFormat;
  walker.emplace(bytes, content.order, writerRules);
  content.trees[kMasterRoot] = walker->ReadTree(kMasterRoot);
  const std::optional<std::vector<MasterRow>> master = DecodeMaster(content.trees[kMasterRoot]);
  if (!master)
    ThrowMalformed(QStringLiteral("a sqlite_master record does not decode"));
  for (const MasterRow& row : *master) {
    if (!row.type || !row.rootPage)
      throw Damage{QString::fromLatin1(kMalformedSchema)};
    const QByteArray type = row.type->toLower();
    if (type != "table" && type != "index")
      continue;
    const std::int64_t root = RootPageNumber(row.rootPage);
    if (root <= int(kMasterRoot) || root > std::int64_t(UINT32_MAX))
      throw Damage{QString::fromLatin1(kMalformedSchema) +
                   QStringLiteral(": %1 has root page %2").arg(QString::fromLatin1(row.name.value_or("?"))).arg(root)};
    if (content.trees.count(std::uint32_t(root)))
      ThrowMalformed(QStringLiteral("two schema objects share root page %1").arg(root));
    content.trees[std::uint32_t(root)] = walker->ReadTree(std::uint32_t(root));
  }
  walker->WalkFreelist();
  return content;
}

std::int64_t RootPageNumber(const Value& rootPage)
{
  if (!rootPage)
    return 0;
  const QByteArray& text = *rootPage;
  qsizetype i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+'))
    negative = text[i++] == '-';
  std::int64_t value = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9' && value < (std::int64_t(1) << 40))
    value = value * 10 + (text[i++] - '0');
  return negative ? -value : value;
}

std::optional<std::vector<MasterRow>> DecodeMaster(const BtreeEntries& master)
{
  std::vector<MasterRow> rows;
  rows.reserve(master.size());
  for (const BtreeEntry& entry : master) {
    const std::optional<std::int32_t> rowid = KeyRowid(entry.key);
    std::optional<Values> values = DecodeRecord(entry.data, 5);
    if (!rowid || !values)
      return std::nullopt;
    rows.push_back(MasterRow{*rowid, (*values)[0], (*values)[1], (*values)[2], (*values)[3], (*values)[4]});
  }
  return rows;
}

BtreeEntry EncodeMasterRow(const MasterRow& row)
{
  return BtreeEntry{RowidKey(row.rowid), EncodeRecord({row.type, row.name, row.tableName, row.rootPage, row.sql})};
}

ReadOutcome ReadLibraryBytes(const QByteArray& bytes)
{
  try {
    std::optional<PageWalker> walker;
    return ReadOutcome{ReadAll(bytes, walker, false), {}};
  } catch (const Damage& damage) {
    return ReadOutcome{std::nullopt, damage.message};
  }
}

std::optional<QString> PlayBackJournal(QByteArray& fileBytes, const QByteArray& journal)
{
  static const unsigned char kMagic[7] = {0xd9, 0xd5, 0x05, 0xf9, 0x20, 0xa1, 0x63};
  const auto* j = reinterpret_cast<const unsigned char*>(journal.constData());
  const qsizetype size = journal.size();
  if (size < 12)
    return std::nullopt;  // the writer died before the header was complete: nothing to undo
  int format = 0;
  if (std::memcmp(j, kMagic, 7) == 0 && j[7] >= 0xd4 && j[7] <= 0xd6)
    format = j[7] - 0xd4 + 1;
  if (format == 0)
    return QStringLiteral("the rollback journal next to the library is damaged (unknown header)");
  const ByteOrder order = format == 1 ? ByteOrder::Little : ByteOrder::Big;
  qsizetype position = 8;
  std::uint32_t seed = 0;
  std::int64_t records = 0;
  const qsizetype recordSize = 4 + kPageSize + (format >= 3 ? 4 : 0);
  const qsizetype headerSize = format >= 3 ? 20 : 12;
  if (size < headerSize)
    return std::nullopt;
  if (format >= 3) {
    const std::uint32_t count = Get32(j + 8, order);
    seed = Get32(j + 12, order);
    // Only the records the journal holds count: a damaged count must not let the original size
    // check below pass a size of thousands of gigabytes.
    const std::int64_t present = (size - headerSize) / recordSize;
    records = count == 0xffffffffu ? present : std::min<std::int64_t>(count, present);
    position = 16;
  } else {
    records = (size - headerSize) / recordSize;
  }
  const std::uint32_t originalPages = Get32(j + position, order);
  position += 4;
  // A transaction only makes a file grow, so its original size cannot exceed the file's size.
  if (std::int64_t(originalPages) > fileBytes.size() / kPageSize + records)
    return QStringLiteral("the rollback journal next to the library is damaged (original size %1 pages)")
        .arg(originalPages);
  const qsizetype oldSize = fileBytes.size();
  fileBytes.resize(qsizetype(originalPages) * kPageSize);
  if (fileBytes.size() > oldSize)
    std::memset(fileBytes.data() + oldSize, 0, size_t(fileBytes.size() - oldSize));
  for (std::int64_t i = 0; i < records && position + recordSize <= size; ++i, position += recordSize) {
    const std::uint32_t page = Get32(j + position, order);
    if (page == 0)
      break;
    if (format >= 3 && Get32(j + position + 4 + kPageSize, order) != seed + page)
      break;  // a record the dying writer did not finish
    if (page > originalPages)
      continue;
    std::memcpy(fileBytes.data() + qsizetype(page - 1) * kPageSize, j + position + 4, kPageSize);
  }
  return std::nullopt;
}

}  // namespace quillon::sqlite2
