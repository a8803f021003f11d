#include "images/HtmlPage.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <gumbo.h>

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

constexpr int kMaxParseErrors = 100;
// Larger sizes on a page are no real picture sizes.
constexpr double kLargestDeclaredSide = 1e6;

// The parse tree of one page, released with the page.
class GumboTree {
 public:
  explicit GumboTree(const QByteArray& utf8) : m_utf8(utf8)
  {
    m_options = kGumboDefaultOptions;
    m_options.max_errors = kMaxParseErrors;
    m_output = gumbo_parse_with_options(&m_options, m_utf8.constData(), static_cast<size_t>(m_utf8.size()));
  }
  ~GumboTree()
  {
    if (m_output)
      gumbo_destroy_output(&m_options, m_output);
  }
  GumboTree(const GumboTree&) = delete;
  GumboTree& operator=(const GumboTree&) = delete;

  const GumboNode* Root() const { return m_output ? m_output->document : nullptr; }

 private:
  QByteArray m_utf8;  // the parser's nodes point into it
  GumboOptions m_options;
  GumboOutput* m_output = nullptr;
};

QString AttributeOf(const GumboElement& element, const char* name, bool* present = nullptr)
{
  const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
  if (present)
    *present = attribute != nullptr;
  return attribute ? QString::fromUtf8(attribute->value) : QString();
}

bool IsTextNode(const GumboNode& node)
{
  return node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE || node.type == GUMBO_NODE_CDATA;
}

bool HasHiddenText(GumboTag tag)
{
  return tag == GUMBO_TAG_SCRIPT || tag == GUMBO_TAG_STYLE || tag == GUMBO_TAG_TEMPLATE;
}

// Visits the nodes below `root` in document order without recursion (pages may nest deeply).
// `visit` returns false to pass over a node's children.
template <typename Visit>
void WalkBelow(const GumboNode& root, Visit visit)
{
  std::vector<const GumboNode*> stack;
  const auto pushChildren = [&stack](const GumboNode& node) {
    const GumboVector* children = node.type == GUMBO_NODE_DOCUMENT ? &node.v.document.children
                                  : (node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE)
                                      ? &node.v.element.children
                                      : nullptr;
    if (!children)
      return;
    for (unsigned int i = children->length; i > 0; --i)
      stack.push_back(static_cast<const GumboNode*>(children->data[i - 1]));
  };
  pushChildren(root);
  while (!stack.empty()) {
    const GumboNode* node = stack.back();
    stack.pop_back();
    if (visit(*node))
      pushChildren(*node);
  }
}

// The text a reader sees inside an element: text nodes, line breaks as spaces, no script or style.
QString InnerText(const GumboNode& element)
{
  QString text;
  WalkBelow(element, [&text](const GumboNode& node) {
    if (IsTextNode(node)) {
      text += QString::fromUtf8(node.v.text.text);
      return false;
    }
    if (node.type != GUMBO_NODE_ELEMENT)
      return false;
    if (node.v.element.tag == GUMBO_TAG_BR)
      text += QLatin1Char(' ');
    return !HasHiddenText(node.v.element.tag);
  });
  return text.simplified();
}

QString Absolute(const QUrl& base, const QString& reference)
{
  const QString trimmed = reference.trimmed();
  if (trimmed.isEmpty())
    return {};
  return base.resolved(QUrl(trimmed)).toString(QUrl::FullyEncoded);
}

struct RawImage {
  QString src;
  std::optional<int> width;
  std::optional<int> height;
};

QByteArray CharsetOfContentType(const QByteArray& contentType)
{
  static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*[\"']?([^\"';\\s]+)"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = charset.match(QString::fromLatin1(contentType));
  return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

std::optional<int> PixelsOf(const QString& text, const QRegularExpression& pattern)
{
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch())
    return std::nullopt;
  bool ok = false;
  const double pixels = match.captured(1).toDouble(&ok);
  if (!ok || pixels > kLargestDeclaredSide)
    return std::nullopt;
  return static_cast<int>(std::lround(pixels));
}

}  // namespace

QString DecodeHtml(const QByteArray& body, const QByteArray& contentType)
{
  const QByteArray charset = CharsetOfContentType(contentType);
  if (!charset.isEmpty()) {
    QStringDecoder decoder(charset.constData());
    if (decoder.isValid())
      return decoder.decode(body);
  }
  QStringDecoder fromPage = QStringDecoder::decoderForHtml(body);
  if (fromPage.isValid())
    return fromPage.decode(body);
  return QString::fromUtf8(body);
}

HtmlPage ParseHtml(const QString& html, const QUrl& address)
{
  HtmlPage page;
  const GumboTree tree(html.toUtf8());
  if (!tree.Root())
    return page;
  QUrl base = address;
  bool baseSeen = false;
  bool titleSeen = false;
  std::vector<std::pair<QString, QString>> rawLinks;  // text, href as written
  std::vector<RawImage> rawImages;
  WalkBelow(*tree.Root(), [&](const GumboNode& node) {
    if (node.type != GUMBO_NODE_ELEMENT)
      return false;  // text, comments, and template contents (never shown)
    const GumboElement& element = node.v.element;
    bool hasHref = false;
    switch (element.tag) {
      case GUMBO_TAG_BASE: {
        const QString href = AttributeOf(element, "href", &hasHref);
        if (hasHref && !baseSeen) {
          base = address.resolved(QUrl(href.trimmed()));
          baseSeen = true;
        }
        return false;
      }
      case GUMBO_TAG_TITLE:
        if (!titleSeen)
          page.title = InnerText(node);
        titleSeen = true;
        return false;
      case GUMBO_TAG_A:
      case GUMBO_TAG_AREA: {
        const QString href = AttributeOf(element, "href", &hasHref);
        if (hasHref)
          rawLinks.emplace_back(InnerText(node), href);
        return true;  // pictures inside links count too
      }
      case GUMBO_TAG_IMG: {
        const QString style = AttributeOf(element, "style");
        RawImage image{AttributeOf(element, "src"), PixelsOfStyle(style, QStringLiteral("width")),
                       PixelsOfStyle(style, QStringLiteral("height"))};
        if (!image.width)
          image.width = PixelsOfAttribute(AttributeOf(element, "width"));
        if (!image.height)
          image.height = PixelsOfAttribute(AttributeOf(element, "height"));
        rawImages.push_back(std::move(image));
        return false;
      }
      default:
        return !HasHiddenText(element.tag);
    }
  });
  for (const auto& [text, href] : rawLinks)
    page.links.push_back({text, Absolute(base, href)});
  for (const RawImage& image : rawImages)
    page.images.push_back({Absolute(base, image.src), image.width, image.height});
  return page;
}

std::optional<int> PixelsOfAttribute(const QString& value)
{
  static const QRegularExpression pixels(QStringLiteral("^\\s*(\\d+(?:\\.\\d*)?)\\s*(?:px)?(?![\\d%.])"),
                                         QRegularExpression::CaseInsensitiveOption);
  return PixelsOf(value, pixels);
}

std::optional<int> PixelsOfStyle(const QString& style, const QString& property)
{
  static const QRegularExpression pixels(QStringLiteral("^(\\d+(?:\\.\\d+)?)\\s*(?:px)?\\s*(?:!\\s*important)?$"),
                                         QRegularExpression::CaseInsensitiveOption);
  std::optional<int> result;
  for (const QString& declaration : style.split(QLatin1Char(';'))) {
    const qsizetype colon = declaration.indexOf(QLatin1Char(':'));
    if (colon < 0 || declaration.left(colon).trimmed().compare(property, Qt::CaseInsensitive) != 0)
      continue;
    if (const std::optional<int> value = PixelsOf(declaration.mid(colon + 1).trimmed(), pixels))
      result = value;
  }
  return result;
}

namespace {

// A declared side scaled by the picture's proportions. A page may declare a million pixels for a
// picture one pixel wide: the result is held to what a declared side may be, never wrapped round
// to a negative size.
int ScaledSide(int declared, int natural, int naturalOther)
{
  const double scaled = double(declared) * natural / naturalOther;
  return static_cast<int>(std::lround(std::min(scaled, kLargestDeclaredSide)));
}

}  // namespace

QSize LaidOutSize(std::optional<int> width, std::optional<int> height, QSize natural)
{
  const bool knownNatural = natural.isValid() && natural.width() > 0 && natural.height() > 0;
  if (width && height)
    return {*width, *height};
  if (width)
    return {*width, knownNatural ? ScaledSide(*width, natural.height(), natural.width()) : 0};
  if (height)
    return {knownNatural ? ScaledSide(*height, natural.width(), natural.height()) : 0, *height};
  return knownNatural ? natural : QSize(0, 0);
}

}  // namespace quillon
