// Web pages against the page reader: any bytes under any declared charset give links and pictures
// with absolute addresses and sane sizes.
#include "FuzzSupport.h"

#include "images/HtmlPage.h"

#include <QUrl>

#include <array>

using namespace quillon;

namespace {

bool IsAbsoluteOrEmpty(const QString& address)
{
  return address.isEmpty() || !QUrl(address).isRelative();
}

bool IsSaneSide(std::optional<int> side)
{
  return !side || (*side >= 0 && *side <= 1000000);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  static const std::array<QByteArray, 6> kContentTypes = {QByteArrayLiteral("text/html"),
                                                          QByteArrayLiteral("text/html; charset=windows-1252"),
                                                          QByteArrayLiteral("text/html; charset=\"UTF-16\""),
                                                          QByteArrayLiteral("text/html;charset=shift_jis"),
                                                          QByteArrayLiteral(""),
                                                          QByteArrayLiteral("text/html; charset=no-such-charset")};
  const QByteArray body = fuzz::Bytes(data, size);
  const QString html = DecodeHtml(body, kContentTypes[size % kContentTypes.size()]);
  const HtmlPage page = ParseHtml(html, QUrl(QStringLiteral("http://127.0.0.1:8080/search/results.html?q=a")));

  for (const PageLink& link : page.links)
    FUZZ_CHECK(IsAbsoluteOrEmpty(link.address));
  for (const DeclaredImage& image : page.images) {
    FUZZ_CHECK(IsAbsoluteOrEmpty(image.src));
    FUZZ_CHECK(IsSaneSide(image.width) && IsSaneSide(image.height));
    // Laid out against a picture of some size the data gives, up to 65535 pixels a side.
    const QSize natural(1 + (size * 7919) % 65535, 1 + (size * 104729) % 65535);
    const QSize laidOut = LaidOutSize(image.width, image.height, natural);
    FUZZ_CHECK(laidOut.width() >= 0 && laidOut.height() >= 0);
  }
  return 0;
}
