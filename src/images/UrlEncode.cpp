#include "images/UrlEncode.h"

#include <array>

namespace quillon {

namespace {

// The bytes that stay as they are: codes 48-57, 65-90 and 97-122.
constexpr std::array<bool, 256> SafeChars()
{
  std::array<bool, 256> safe{};
  for (int code = 0; code < 256; ++code)
    safe[code] = (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z');
  return safe;
}

constexpr std::array<bool, 256> kSafeChars = SafeChars();

}  // namespace

QString URLEncode(const QString& text)
{
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  const QByteArray bytes = text.toUtf8();
  QString encoded;
  encoded.reserve(bytes.size() * 3);
  for (const char character : bytes) {
    const auto code = static_cast<unsigned char>(character);
    if (code == ' ') {
      encoded += QLatin1Char('+');
    } else if (kSafeChars[code]) {
      encoded += QLatin1Char(character);
    } else {
      encoded += QLatin1Char('%');
      encoded += QLatin1Char(kHexDigits[code >> 4]);
      encoded += QLatin1Char(kHexDigits[code & 0x0F]);
    }
  }
  return encoded;
}

}  // namespace quillon
