#pragma once
// What the page loader tells about a loaded page: the parts of its document that the image search
// reads (links, domain, picture elements).
#include <QString>

#include <vector>

namespace quillon {

struct PageLink {
  QString text;     // inner text, whitespace collapsed and trimmed
  QString address;  // absolute
};

struct PageImage {
  QString src;       // absolute; empty when the element has none
  int width = 0;     // laid-out size: the element's style or attributes in pixels, else the
  int height = 0;    // picture's own size (scaled when only one side is given); 0 when unknown
  QString mimeType;  // type description of the picture's format, as "JPEG Image"; empty when unknown
};

struct PageDocument {
  QString address;  // after redirects
  QString domain;   // the host of `address`
  QString title;
  std::vector<PageLink> links;    // A and AREA elements with an href, in document order
  std::vector<PageImage> images;  // every IMG element, in document order
};

}  // namespace quillon
