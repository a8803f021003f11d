#pragma once
// Headers that copiers and emulators put in front of a ROM image and that the lists leave out of
// their checksums: iNES and FDS (16 bytes), Atari Lynx (64), Atari 7800 (128), and the 512-byte
// copier header of SNES images (a size 512 past a multiple of 1024).
#include <QByteArrayView>

namespace quillon {

// The first bytes a header test needs.
inline constexpr int kHeaderProbeBytes = 128;

// The number of header bytes at the start of a file of `fileSize` bytes whose first bytes are
// `start` (at least kHeaderProbeBytes of them, fewer only when the file is shorter); 0 for none.
int RomHeaderSize(QByteArrayView start, qint64 fileSize);

// True when a file of this size might carry one of the headers, judged by size alone (for zip
// members, whose first bytes are not read unless needed).
bool MightCarryHeader(qint64 fileSize);

}  // namespace quillon
