#pragma once
// The ROMs of a system's reference lists in memory, indexed by size and CRC-32, and the matching
// of a file's checksums against them: a ROM counts when its size and CRC-32 agree and, where both
// are known, its SHA-1; an entry matches when every dumped ROM of one of its parts was found,
// either as a member or file of its own, or as a range of a file that holds the whole part (an
// NES cartridge's PRG and CHR in one image).
#include "identify/FileHashes.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <unordered_map>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

// The result of identifying one game; the numbers are stored in GameMatch.Status.
enum class MatchStatus { Unchecked = 0, Verified = 1, Rename = 2, BadDump = 3, NotInList = 4, Ambiguous = 5 };
QString MatchStatusText(MatchStatus status);
// The status named by its text (as MatchStatusText writes it, or "rename"); nullopt for none.
std::optional<MatchStatus> MatchStatusFromText(const QString& text);

// A standard name as a file name: the characters that file systems refuse (/ \ : * ? " < > |)
// become "_".
QString FileSafeName(const QString& name);

struct IndexEntry {
  qint64 entryId = 0;
  qint64 listId = 0;
  int listOrder = 0;  // the list's position among the system's lists
  QString listName;
  QString standardName;
  QString description;
  QString year;
  QString publisher;
  QString cloneOf;
  bool badDump = false;  // a ROM of the entry is a bad dump
};

struct MatchResult {
  MatchStatus status = MatchStatus::NotInList;
  int entry = -1;               // the entry the game is, for Verified, Rename and BadDump
  std::vector<int> candidates;  // the entries the contents match, first list first
};

class RomIndex {
 public:
  // The ROMs of every list of the system; nullopt when the catalogue cannot be read.
  static std::optional<RomIndex> Load(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

  int ListCount() const { return m_listCount; }
  int EntryCount() const { return static_cast<int>(m_entries.size()); }
  const IndexEntry& Entry(int index) const { return m_entries[static_cast<size_t>(index)]; }

  // The ranges of a file's data the parts of that size ask for.
  RangePlan Plan() const;
  // True when an item known only by its archive directory must be read: its CRC-32 finds nothing
  // but it might carry a header or hold a whole part, entries of that CRC-32 differ in SHA-1, or
  // `confirmSha1` asks for the SHA-1 of everything that matches.
  bool WantsData(const HashedItem& item, bool confirmSha1) const;
  // True when an item that was read lacks ranges the lists now ask for.
  bool LacksRanges(const HashedItem& item) const;

  // Matches the items of one file; `baseName` is the file's name without folder and extension,
  // which settles between entries of the same contents.
  MatchResult Match(const std::vector<HashedItem>& items, const QString& baseName) const;

 private:
  struct Rom {
    int unit = 0;
    qint64 size = 0;
    bool hasCrc = false;
    quint32 crc = 0;
    QByteArray sha1;
    qint64 offset = -1;
  };
  // The dumped ROMs of one part of an entry (the whole entry for DAT files).
  struct Unit {
    int entry = 0;
    std::vector<int> roms;
    qint64 span = -1;  // the size of the file the part's ROMs make up; -1 when they make none
  };
  struct SizeCrc {
    qint64 size;
    quint32 crc;
    bool operator==(const SizeCrc&) const = default;
  };
  struct SizeCrcHash {
    size_t operator()(const SizeCrc& key) const
    {
      return std::hash<quint64>()(static_cast<quint64>(key.size) << 32 ^ key.crc);
    }
  };

  void AddRom(int entry, const QString& part, Rom rom);
  void Finish();
  bool RomAgrees(const Rom& rom, const Checksums& sums) const;
  std::vector<std::pair<qint64, qint64>> RangesFor(qint64 dataSize, int headerSize) const;
  void CollectHits(const HashedItem& item, std::unordered_map<int, std::vector<bool>>& hits) const;

  std::vector<IndexEntry> m_entries;
  std::vector<Rom> m_roms;
  std::vector<Unit> m_units;
  QHash<QString, int> m_unitOfPart;  // entry and part, while loading
  std::unordered_map<SizeCrc, std::vector<int>, SizeCrcHash> m_byCrc;
  QHash<QByteArray, std::vector<int>> m_bySha1;  // ROMs that have a SHA-1 but no CRC-32
  std::unordered_map<qint64, std::vector<int>> m_unitsBySpan;
  int m_listCount = 0;
};

}  // namespace quillon
