#pragma once
// Whole library files: reading every b-tree of a file (either byte order, with a rollback journal
// played back first; Sqlite2Reader.cpp), building a complete new little-endian file from b-tree
// contents and replacing a library with it (Sqlite2Writer.cpp), and checking a file's structure
// (Sqlite2Checker.cpp).
#include "common/AtomicFile.h"
#include "export/sqlite2/Sqlite2Format.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace quillon::sqlite2 {

// The engine's own error texts, used as the start of our messages.
inline constexpr char kNotADatabase[] = "file is encrypted or is not a database";
inline constexpr char kUnsupportedFileFormat[] = "unsupported file format";
inline constexpr char kMalformed[] = "database disk image is malformed";
inline constexpr char kMalformedSchema[] = "malformed database schema";

constexpr std::uint32_t kMasterRoot = 2;

// One b-tree entry: a table row (4-byte row-id key, record data) or an index entry (key only).
struct BtreeEntry {
  QByteArray key;
  QByteArray data;
};
using BtreeEntries = std::vector<BtreeEntry>;

// The content of a library: page 1's meta values and every b-tree in key order, by root page.
// The tree at root 2 is sqlite_master. Free pages and page layout are not part of it.
struct LibraryContent {
  ByteOrder order = ByteOrder::Little;  // of the file it was read from; files are written little-endian
  // meta[0] is the free page count (recomputed on writing), meta[1] the schema cookie, meta[2] the
  // file format, meta[3..9] the pragmas' defaults and unused values.
  std::array<std::int32_t, kMetaCount> meta{};
  std::map<std::uint32_t, BtreeEntries> trees;
  // The file was shorter than one page: an empty database.
  bool wasEmpty = false;
};

// A row of sqlite_master (columns type, name, tbl_name, rootpage, sql).
struct MasterRow {
  std::int32_t rowid = 0;
  Value type, name, tableName, rootPage, sql;
};

// The master rows of a content, in rowid order; nullopt when a record does not decode.
std::optional<std::vector<MasterRow>> DecodeMaster(const BtreeEntries& master);
BtreeEntry EncodeMasterRow(const MasterRow& row);
// The engine's atoi() of a rootpage text.
std::int64_t RootPageNumber(const Value& rootPage);

// Reads a whole file (its bytes). Every page the engine checks when loading it is checked, plus
// what a careful reader adds: cell-list cycles, overlapping cells, key order, equal leaf depth,
// overflow chain length, pages used twice, the freelist. Returns the error text on failure.
struct ReadOutcome {
  std::optional<LibraryContent> content;
  QString error;
};
ReadOutcome ReadLibraryBytes(const QByteArray& bytes);

// Plays a rollback journal back onto the file bytes as the engine does when it finds one next
// to a database ("hot journal"): the file is cut to its original size and the saved pages are
// written back. A journal too short to hold a header changes nothing. Returns an error text when
// the journal is not one (the engine then refuses the file).
std::optional<QString> PlayBackJournal(QByteArray& fileBytes, const QByteArray& journal);

// A complete little-endian file holding the content: each root stays at its page number, other
// pages are numbered from 3 upwards, pages that are left over below the highest root go to the
// freelist. Page 2 gets the master tree. Fails (nullopt, error text) only for entries too large
// for the format.
std::optional<QByteArray> BuildLibraryFile(const LibraryContent& content, QString* error);

// Structural check of a file: everything the reader checks, and that every page is used exactly
// once, the free count, every master row and every table record (with the column count of its
// CREATE TABLE, the INTEGER PRIMARY KEY slot NULL), index entries without data, the file format.
// With `writerRules` also what a writer must do beyond the engine's own files: 4-aligned free
// blocks, free space only in free blocks, zero bytes after page 1's header, file format 4, a
// little-endian file. Returns the problems found (empty: the file is sound).
QStringList CheckLibraryFile(const QByteArray& bytes, bool writerRules);

// Writes the bytes as the new file under `path` (common/AtomicFile.h: beside it, synced, renamed
// over it), where a symbolic link points when it is one; then removes a `path`-journal file. On
// failure the file under `path` is untouched and nothing is left beside it. `fault` lets tests
// make a step fail.
bool ReplaceLibraryFile(const QString& path, const QByteArray& bytes, QString* error, const ReplaceFault& fault = {});

QString JournalPath(const QString& libraryPath);

}  // namespace quillon::sqlite2
