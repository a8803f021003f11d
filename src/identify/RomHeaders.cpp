#include "identify/RomHeaders.h"

#include <array>

namespace quillon {

namespace {

constexpr int kNesHeader = 16;
constexpr int kLynxHeader = 64;
constexpr int kAtari7800Header = 128;
constexpr int kCopierHeader = 512;
constexpr qint64 kCopierUnit = 1024;

bool HasAt(QByteArrayView data, qsizetype at, QByteArrayView magic)
{
  return data.size() >= at + magic.size() && data.sliced(at, magic.size()) == magic;
}

}  // namespace

int RomHeaderSize(QByteArrayView start, qint64 fileSize)
{
  if (HasAt(start, 0, QByteArrayView("NES\x1a", 4)) || HasAt(start, 0, QByteArrayView("FDS\x1a", 4)))
    return fileSize > kNesHeader ? kNesHeader : 0;
  if (HasAt(start, 0, "LYNX"))
    return fileSize > kLynxHeader ? kLynxHeader : 0;
  if (HasAt(start, 1, "ATARI7800") && HasAt(start, 0x60, QByteArrayView("\0\0\0\0ACTUAL CART DATA STARTS HERE", 32)))
    return fileSize > kAtari7800Header ? kAtari7800Header : 0;
  if (fileSize > kCopierHeader && fileSize % kCopierUnit == kCopierHeader)
    return kCopierHeader;
  return 0;
}

bool MightCarryHeader(qint64 fileSize)
{
  constexpr std::array<qint64, 4> kSizes = {kNesHeader, kLynxHeader, kAtari7800Header, kCopierHeader};
  for (const qint64 header : kSizes) {
    if (fileSize > header && fileSize % kCopierUnit == header)
      return true;
  }
  return false;
}

}  // namespace quillon
