#pragma once
// An HTML page read into the parts the page loader reports, with the HTML5 parser. Picture sizes
// here are only those the page declares; the loader completes them from the pictures.
#include "images/PageDocument.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QUrl>

#include <optional>
#include <vector>

namespace quillon {

struct DeclaredImage {
  QString src;  // absolute
  std::optional<int> width;
  std::optional<int> height;
};

struct HtmlPage {
  QString title;
  std::vector<PageLink> links;
  std::vector<DeclaredImage> images;
};

// The page's text: the charset of the Content-Type header when it names one the decoders know,
// else a byte-order mark or meta tag of the page, else UTF-8.
QString DecodeHtml(const QByteArray& body, const QByteArray& contentType);

// Links and pictures of a page, addresses made absolute against `address` (or the page's BASE).
HtmlPage ParseHtml(const QString& html, const QUrl& address);

// A length in pixels from a width or height attribute ("120", "120px"); nullopt for percentages
// and text that is no length.
std::optional<int> PixelsOfAttribute(const QString& value);
// The width or height ("width"/"height") an inline style gives in pixels; the last one wins.
std::optional<int> PixelsOfStyle(const QString& style, const QString& property);

// The size a browser lays a picture out with: declared sides as given, a missing side scaled from
// the picture's own proportions, or the picture's own size; 0 where nothing is known.
QSize LaidOutSize(std::optional<int> width, std::optional<int> height, QSize natural);

}  // namespace quillon
