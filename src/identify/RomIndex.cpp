#include "identify/RomIndex.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "identify/ReferenceList.h"
#include "identify/RomHeaders.h"

#include <algorithm>
#include <array>
#include <set>

namespace quillon {

namespace {

const QString kLoadRoutine = QStringLiteral("RomIndex");
constexpr std::array<int, 4> kHeaderSizes = {16, 64, 128, 512};

struct StatusName {
  MatchStatus status;
  const char* text;
};
constexpr StatusName kStatusNames[] = {
    {MatchStatus::Unchecked, "not verified"}, {MatchStatus::Verified, "verified"},
    {MatchStatus::Rename, "rename needed"},   {MatchStatus::BadDump, "bad dump"},
    {MatchStatus::NotInList, "not in list"},  {MatchStatus::Ambiguous, "ambiguous"},
};

// Where a file's data may start: at its beginning, and after its header when it has one.
std::vector<int> DataStarts(int headerSize)
{
  return headerSize > 0 ? std::vector<int>{0, headerSize} : std::vector<int>{0};
}

}  // namespace

QString MatchStatusText(MatchStatus status)
{
  for (const StatusName& name : kStatusNames) {
    if (name.status == status)
      return QString::fromLatin1(name.text);
  }
  return {};
}

std::optional<MatchStatus> MatchStatusFromText(const QString& text)
{
  const QString wanted = text.trimmed().toLower().replace(QLatin1Char('-'), QLatin1Char(' '));
  if (wanted == QStringLiteral("rename"))
    return MatchStatus::Rename;
  for (const StatusName& name : kStatusNames) {
    if (wanted == QLatin1String(name.text))
      return name.status;
  }
  return std::nullopt;
}

QString FileSafeName(const QString& name)
{
  QString safe = name;
  for (const QChar c : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'})
    safe.replace(c, QLatin1Char('_'));
  return safe;
}

std::optional<RomIndex> RomIndex::Load(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  BulkStatement query(
      catalogue,
      QStringLiteral(
          "SELECT RefList.ListID, RefList.Name, RefList.Format, RefEntry.EntryID, RefEntry.Name, RefEntry.Description, "
          "RefEntry.Year, RefEntry.Publisher, RefEntry.CloneOf, RefRom.Part, RefRom.Size, RefRom.Offset, RefRom.CRC, "
          "RefRom.SHA1, RefRom.Status "
          "FROM RefList INNER JOIN RefEntry ON RefEntry.ListID = RefList.ListID "
          "LEFT JOIN RefRom ON RefRom.EntryID = RefEntry.EntryID "
          "WHERE RefList.System = ? ORDER BY RefList.ListID, RefEntry.EntryID, RefRom.rowid"));
  query.Bind(1, systemId);
  RomIndex index;
  qint64 lastList = -1;
  qint64 lastEntry = -1;
  while (query.Next()) {
    const qint64 listId = query.Int(0);
    if (listId != lastList) {
      lastList = listId;
      ++index.m_listCount;
    }
    const qint64 entryId = query.Int(3);
    if (entryId != lastEntry) {
      lastEntry = entryId;
      ListEntry entry;
      entry.name = query.Text(4);
      entry.description = query.Text(5);
      const bool softwareList = query.Text(2) == ListFormatName(ListFormat::SoftwareList);
      IndexEntry indexed;
      indexed.entryId = entryId;
      indexed.listId = listId;
      indexed.listOrder = index.m_listCount - 1;
      indexed.listName = query.Text(1);
      indexed.standardName = StandardNameOf(softwareList ? ListFormat::SoftwareList : ListFormat::Logiqx, entry);
      indexed.description = entry.description;
      indexed.year = query.Text(6);
      indexed.publisher = query.Text(7);
      indexed.cloneOf = query.Text(8);
      index.m_entries.push_back(std::move(indexed));
    }
    if (query.Value(10).isNull())
      continue;  // an entry without ROMs
    const int entry = static_cast<int>(index.m_entries.size()) - 1;
    const QString status = query.Text(14);
    if (status == QStringLiteral("baddump"))
      index.m_entries.back().badDump = true;
    Rom rom;
    rom.size = query.Int(10);
    rom.offset = query.Int(11);
    rom.hasCrc = !query.Value(12).isNull();
    rom.crc = static_cast<quint32>(query.Int(12));
    rom.sha1 = query.Text(13).toLatin1();
    if (status == QStringLiteral("nodump") || (!rom.hasCrc && rom.sha1.isEmpty()))
      continue;
    index.AddRom(entry, query.Text(9), std::move(rom));
  }
  if (!query.IsValid() || query.Failed()) {
    ReportError(feedback, query.Failure().number, kLoadRoutine, query.Failure().description);
    return std::nullopt;
  }
  index.Finish();
  return index;
}

void RomIndex::AddRom(int entry, const QString& part, Rom rom)
{
  const QString key = QString::number(entry) + QLatin1Char('\n') + part;
  auto found = m_unitOfPart.constFind(key);
  if (found == m_unitOfPart.cend()) {
    m_units.push_back({entry, {}, -1});
    found = m_unitOfPart.insert(key, static_cast<int>(m_units.size()) - 1);
  }
  rom.unit = *found;
  const int position = static_cast<int>(m_roms.size());
  m_units[static_cast<size_t>(rom.unit)].roms.push_back(position);
  if (rom.hasCrc)
    m_byCrc[{rom.size, rom.crc}].push_back(position);
  else
    m_bySha1[rom.sha1].push_back(position);
  m_roms.push_back(std::move(rom));
}

void RomIndex::Finish()
{
  m_unitOfPart.clear();
  for (size_t u = 0; u < m_units.size(); ++u) {
    Unit& unit = m_units[u];
    qint64 span = 0;
    bool placed = true;
    for (const int r : unit.roms) {
      const Rom& rom = m_roms[static_cast<size_t>(r)];
      placed = placed && rom.offset >= 0 && rom.hasCrc;
      span = std::max(span, rom.offset + rom.size);
    }
    // A part of one ROM at its start is the file itself, found by its own checksums.
    const bool single = unit.roms.size() == 1 && m_roms[static_cast<size_t>(unit.roms.front())].offset <= 0;
    if (placed && !single) {
      unit.span = span;
      m_unitsBySpan[span].push_back(static_cast<int>(u));
    }
  }
}

bool RomIndex::RomAgrees(const Rom& rom, const Checksums& sums) const
{
  return rom.sha1.isEmpty() || sums.sha1.isEmpty() || rom.sha1 == sums.sha1;
}

std::vector<std::pair<qint64, qint64>> RomIndex::RangesFor(qint64 dataSize, int headerSize) const
{
  std::set<std::pair<qint64, qint64>> ranges;
  for (const int base : DataStarts(headerSize)) {
    const auto units = m_unitsBySpan.find(dataSize - base);
    if (units == m_unitsBySpan.end())
      continue;
    for (const int u : units->second) {
      for (const int r : m_units[static_cast<size_t>(u)].roms) {
        const Rom& rom = m_roms[static_cast<size_t>(r)];
        ranges.insert({base + rom.offset, rom.size});
      }
    }
  }
  return {ranges.begin(), ranges.end()};
}

RangePlan RomIndex::Plan() const
{
  if (m_unitsBySpan.empty())
    return {};
  return [this](qint64 dataSize, int headerSize) { return RangesFor(dataSize, headerSize); };
}

bool RomIndex::WantsData(const HashedItem& item, bool confirmSha1) const
{
  if (item.dataRead)
    return false;
  const auto found = m_byCrc.find({item.whole.size, item.whole.crc});
  if (found == m_byCrc.end()) {
    if (MightCarryHeader(item.whole.size) || m_unitsBySpan.count(item.whole.size) > 0)
      return true;
    return std::any_of(kHeaderSizes.begin(), kHeaderSizes.end(),
                       [&](int header) { return m_unitsBySpan.count(item.whole.size - header) > 0; });
  }
  std::set<QByteArray> sha1s;
  for (const int r : found->second) {
    const QByteArray& sha1 = m_roms[static_cast<size_t>(r)].sha1;
    if (!sha1.isEmpty())
      sha1s.insert(sha1);
  }
  return sha1s.size() > 1 || (confirmSha1 && !sha1s.empty());
}

bool RomIndex::LacksRanges(const HashedItem& item) const
{
  if (!item.dataRead)
    return false;
  for (const auto& [start, size] : RangesFor(item.whole.size, item.headerSize)) {
    if (!item.Range(start, size))
      return true;
  }
  return false;
}

void RomIndex::CollectHits(const HashedItem& item, std::unordered_map<int, std::vector<bool>>& hits) const
{
  const auto mark = [&](int r) {
    const Rom& rom = m_roms[static_cast<size_t>(r)];
    const Unit& unit = m_units[static_cast<size_t>(rom.unit)];
    std::vector<bool>& marks = hits[rom.unit];
    marks.resize(unit.roms.size(), false);
    const auto slot = std::find(unit.roms.begin(), unit.roms.end(), r) - unit.roms.begin();
    marks[static_cast<size_t>(slot)] = true;
  };
  std::vector<const Checksums*> sums{&item.whole};
  if (item.headerSize > 0)
    sums.push_back(&item.body);
  for (const Checksums* checksums : sums) {
    const auto found = m_byCrc.find({checksums->size, checksums->crc});
    if (found != m_byCrc.end()) {
      for (const int r : found->second) {
        if (RomAgrees(m_roms[static_cast<size_t>(r)], *checksums))
          mark(r);
      }
    }
    if (!checksums->sha1.isEmpty()) {
      for (const int r : m_bySha1.value(checksums->sha1)) {
        if (m_roms[static_cast<size_t>(r)].size == checksums->size)
          mark(r);
      }
    }
  }
  if (!item.dataRead)
    return;
  // Parts whose ROMs together make up the file (with its header, or after it).
  for (const int base : DataStarts(item.headerSize)) {
    const auto units = m_unitsBySpan.find(item.whole.size - base);
    if (units != m_unitsBySpan.end()) {
      for (const int u : units->second) {
        const Unit& unit = m_units[static_cast<size_t>(u)];
        const bool whole = std::all_of(unit.roms.begin(), unit.roms.end(), [&](int r) {
          const Rom& rom = m_roms[static_cast<size_t>(r)];
          const RangeChecksums* range = item.Range(base + rom.offset, rom.size);
          return range && range->crc == rom.crc && (rom.sha1.isEmpty() || rom.sha1 == range->sha1);
        });
        if (whole)
          hits[u].assign(unit.roms.size(), true);
      }
    }
  }
}

MatchResult RomIndex::Match(const std::vector<HashedItem>& items, const QString& baseName) const
{
  std::unordered_map<int, std::vector<bool>> hits;
  for (const HashedItem& item : items)
    CollectHits(item, hits);
  std::set<int> matched;
  for (const auto& [u, marks] : hits) {
    const Unit& unit = m_units[static_cast<size_t>(u)];
    if (marks.size() == unit.roms.size() && std::all_of(marks.begin(), marks.end(), [](bool hit) { return hit; }))
      matched.insert(unit.entry);
  }
  MatchResult result;
  // Entries are held in list order, so the set's order is the lists' order.
  result.candidates.assign(matched.begin(), matched.end());
  if (result.candidates.empty())
    return result;
  const auto statusOf = [this](int entry) {
    return m_entries[static_cast<size_t>(entry)].badDump ? MatchStatus::BadDump : MatchStatus::Rename;
  };
  for (const int entry : result.candidates) {
    if (FileSafeName(m_entries[static_cast<size_t>(entry)].standardName) == baseName) {
      result.entry = entry;
      result.status = statusOf(entry) == MatchStatus::BadDump ? MatchStatus::BadDump : MatchStatus::Verified;
      return result;
    }
  }
  const int firstList = m_entries[static_cast<size_t>(result.candidates.front())].listOrder;
  std::vector<int> inFirstList;
  for (const int entry : result.candidates) {
    if (m_entries[static_cast<size_t>(entry)].listOrder == firstList)
      inFirstList.push_back(entry);
  }
  if (inFirstList.size() > 1) {
    result.status = MatchStatus::Ambiguous;
    result.candidates = inFirstList;
    return result;
  }
  result.entry = inFirstList.front();
  result.status = statusOf(result.entry);
  return result;
}

}  // namespace quillon
