#include "names/Windows1252.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

// Code points of the bytes 0x80 to 0x9F; 0 where Windows-1252 defines no character.
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CodeOfHighByte(unsigned char byte)
{
  const char16_t mapped = kWindows1252High[byte - 0x80];
  return mapped != 0 ? mapped : char16_t(byte);
}

}  // namespace

QString FromWindows1252(QByteArrayView bytes)
{
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    *out++ = value >= 0x80 && value <= 0x9F ? QChar(CodeOfHighByte(value)) : QChar(value);
  }
  return text;
}

bool IsWindows1252UpperHalf(QChar character)
{
  const char16_t code = character.unicode();
  if (code < 0x80)
    return false;
  if (code >= 0xA0 && code <= 0xFF)
    return true;
  for (unsigned char byte = 0x80; byte <= 0x9F; ++byte) {
    if (CodeOfHighByte(byte) == code)
      return true;
  }
  return false;
}

}  // namespace quillon
