#pragma once
// Building blocks of the SQLite 2.1 file format ("library" files): page constants, structural
// integers in either byte order, row-id keys, records of text columns, and the number rules the
// engine uses for comparisons and index keys.
#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

namespace quillon::sqlite2 {

constexpr int kPageSize = 1024;
constexpr int kPageHeaderSize = 8;
constexpr int kCellHeaderSize = 12;
constexpr int kUsableCellSpace = kPageSize - kPageHeaderSize;  // 1016
constexpr int kMaxLocalPayload = 236;
constexpr int kOverflowPayload = kPageSize - 4;  // 1020
constexpr int kMaxCellsPerPage = kUsableCellSpace / 16;
constexpr int kMaxRecordSize = 1048576;
constexpr int kFileFormat = 4;
constexpr std::uint32_t kByteOrderMagic = 0xdae37528u;
constexpr int kFreelistTrunkCapacity = (kPageSize - 8) / 4;  // 254
// The 47 characters of the magic text; the 48th byte is NUL.
inline constexpr char kMagicText[] = "** This file contains an SQLite 2.1 database **";
constexpr int kMagicSize = 48;

// Page 1 offsets.
constexpr int kOffsetByteOrderMagic = 48;
constexpr int kOffsetFreelistHead = 52;
constexpr int kOffsetFreeCount = 56;
constexpr int kOffsetSchemaCookie = 60;
constexpr int kOffsetFileFormat = 64;
constexpr int kMetaCount = 10;  // meta 0 (free count) .. meta 9, at 56 + 4*k

enum class ByteOrder { Little, Big };

std::uint32_t Get32(const unsigned char* p, ByteOrder order);
std::uint16_t Get16(const unsigned char* p, ByteOrder order);
void Put32(unsigned char* p, std::uint32_t value, ByteOrder order = ByteOrder::Little);
void Put16(unsigned char* p, std::uint16_t value, ByteOrder order = ByteOrder::Little);

// Row ids are keys of 4 big-endian bytes of (rowid XOR 0x80000000), so memcmp sorts them as
// signed integers.
QByteArray RowidKey(std::int32_t rowid);
std::optional<std::int32_t> KeyRowid(const QByteArray& key);

// Keys compare with memcmp over the common length; a prefix sorts first.
int CompareKeys(const QByteArray& a, const QByteArray& b);

// Bytes a cell with this much payload occupies on its page (header, local payload, padding and
// the overflow page number when the payload does not fit).
int CellSize(std::int64_t payloadSize);
// Overflow pages a payload of this size needs.
std::int64_t OverflowPageCount(std::int64_t payloadSize);

// A column value: NULL or text (without its terminating NUL).
using Value = std::optional<QByteArray>;
using Values = std::vector<Value>;

// A record: offsets of every column (1, 2 or 3 bytes each, little-endian) and the values, each
// non-NULL one ended by NUL. Values must not contain NUL bytes.
QByteArray EncodeRecord(const Values& values);
// Decodes `columns` columns; nullopt when the offsets are out of range. A value is read as the
// engine reads it: from its offset up to the first NUL, even where that is not the column's end.
std::optional<Values> DecodeRecord(const QByteArray& record, int columns);
// One column of a record (same checks as DecodeRecord for that column).
std::optional<Value> DecodeColumn(const QByteArray& record, int column, int columns);

// The engine's "looks like a number": optional sign, digits, optional fraction with at least one
// digit, optional exponent with at least one digit; nothing else.
bool IsNumber(const QByteArray& text);
// The engine's text-to-double conversion (the number prefix of the text).
double TextToDouble(const QByteArray& text);
// The engine's comparison of two values of a "numeric" column: numbers compare as numbers and
// sort before other text, which compares bytewise. Neither may be NULL.
int CompareNumericAware(const QByteArray& a, const QByteArray& b);
// Text whose memcmp order is the numeric order (index keys of numbers).
QByteArray RealToSortable(double value);

}  // namespace quillon::sqlite2
