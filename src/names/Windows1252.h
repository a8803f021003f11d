#pragma once
// The Windows-1252 code page: the text of old Windows programs' output, and the characters that
// title cleaning treats as the upper half of the page.
#include <QByteArrayView>
#include <QChar>
#include <QString>

namespace quillon {

// Windows-1252 bytes as text; the five bytes that code page leaves undefined pass as Latin-1.
QString FromWindows1252(QByteArrayView bytes);

// True for the characters of the bytes 0x80 to 0xFF as FromWindows1252 reads them: the Latin-1
// upper half from U+00A0, and the dashes, quotes, ellipsis, euro and the other characters of the
// 0x80-0x9F row.
bool IsWindows1252UpperHalf(QChar character);

}  // namespace quillon
