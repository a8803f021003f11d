#include "export/frontends/XmlTree.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace quillon {

namespace {

const QString kWrapper = QStringLiteral("quillon-document");

bool IsXmlCharacter(char32_t c)
{
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsBlank(const QString& text)
{
  return text.trimmed().isEmpty();
}

bool HasElementChildren(const XmlNode& node)
{
  for (const XmlNode& child : node.children) {
    if (child.kind != XmlNode::Kind::Text)
      return true;
  }
  return false;
}

QString Attributes(const XmlNode& node)
{
  QString text;
  for (const auto& [name, value] : node.attributes)
    text += QLatin1Char(' ') + name + QStringLiteral("=\"") + EscapeXml(value, true) + QLatin1Char('"');
  return text;
}

void WriteNode(const XmlNode& node, int depth, QString& out)
{
  const QString indent(depth, QLatin1Char('\t'));
  switch (node.kind) {
    case XmlNode::Kind::Text:
      // Text between elements: its blanks are layout, which the indentation replaces.
      if (!IsBlank(node.text))
        out += indent + EscapeXml(node.text.trimmed(), false) + QLatin1Char('\n');
      return;
    case XmlNode::Kind::Comment:
      out += indent + QStringLiteral("<!--") + node.text + QStringLiteral("-->\n");
      return;
    case XmlNode::Kind::Instruction:
      out += indent + QStringLiteral("<?") + node.name +
             (node.text.isEmpty() ? QString() : QLatin1Char(' ') + node.text) + QStringLiteral("?>\n");
      return;
    case XmlNode::Kind::Doctype:
      out += node.text + QLatin1Char('\n');
      return;
    case XmlNode::Kind::Element:
      break;
  }
  const QString open = indent + QLatin1Char('<') + node.name + Attributes(node);
  if (!HasElementChildren(node)) {
    const QString text = node.InnerText();
    out += text.isEmpty() ? open + QStringLiteral(" />\n")
                          : open + QLatin1Char('>') + EscapeXml(text, false) + QStringLiteral("</") + node.name +
                                QStringLiteral(">\n");
    return;
  }
  out += open + QStringLiteral(">\n");
  for (const XmlNode& child : node.children)
    WriteNode(child, depth + 1, out);
  out += indent + QStringLiteral("</") + node.name + QStringLiteral(">\n");
}

// The content without a byte-order mark and without the XML declaration; lines keep their numbers.
QByteArray WithoutDeclaration(QByteArray content)
{
  if (content.startsWith("\xEF\xBB\xBF"))
    content.remove(0, 3);
  static const QRegularExpression declaration(QStringLiteral("^\\s*<\\?xml\\b[^?]*\\?>"));
  const QString text = QString::fromUtf8(content);
  const QRegularExpressionMatch match = declaration.match(text);
  if (!match.hasMatch())
    return content;
  return text.mid(match.capturedEnd())
      .prepend(QString(text.left(match.capturedEnd()).count(QLatin1Char('\n')), QLatin1Char('\n')))
      .toUtf8();
}

}  // namespace

XmlNode XmlNode::Element(const QString& name, const QString& text)
{
  XmlNode node;
  node.name = name;
  if (!text.isEmpty())
    node.SetText(text);
  return node;
}

XmlNode* XmlNode::Child(const QString& name)
{
  for (XmlNode& child : children) {
    if (child.kind == Kind::Element && child.name == name)
      return &child;
  }
  return nullptr;
}

const XmlNode* XmlNode::Child(const QString& name) const
{
  return const_cast<XmlNode*>(this)->Child(name);
}

QString XmlNode::InnerText() const
{
  QString text;
  for (const XmlNode& child : children) {
    if (child.kind == Kind::Text)
      text += child.text;
  }
  return text;
}

void XmlNode::SetText(const QString& value)
{
  XmlNode text;
  text.kind = Kind::Text;
  text.text = value;
  children.clear();
  children.push_back(text);
}

std::optional<std::vector<XmlNode>> ParseXml(const QByteArray& content, QString* error)
{
  const QByteArray body = WithoutDeclaration(content);
  // A doctype must come before the one root; without one, several top-level elements are read
  // inside a wrapper of our own.
  const bool wrapped = !body.contains("<!DOCTYPE");
  QXmlStreamReader reader(wrapped ? QByteArray("<") + kWrapper.toUtf8() + ">" + body + "</" + kWrapper.toUtf8() + ">"
                                  : body);
  std::vector<XmlNode> top;
  std::vector<XmlNode> open;  // the elements being read, outermost first
  const auto append = [&](XmlNode node) { (open.empty() ? top : open.back().children).push_back(std::move(node)); };
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
      case QXmlStreamReader::StartElement: {
        XmlNode element = XmlNode::Element(reader.qualifiedName().toString());
        for (const QXmlStreamAttribute& attribute : reader.attributes())
          element.attributes.append({attribute.qualifiedName().toString(), attribute.value().toString()});
        open.push_back(std::move(element));
        break;
      }
      case QXmlStreamReader::EndElement: {
        XmlNode element = std::move(open.back());
        open.pop_back();
        append(std::move(element));
        break;
      }
      case QXmlStreamReader::Characters: {
        // Adjacent pieces (text, CDATA, references) make one text.
        auto& siblings = open.empty() ? top : open.back().children;
        if (!siblings.empty() && siblings.back().kind == XmlNode::Kind::Text) {
          siblings.back().text += reader.text();
        } else {
          XmlNode text;
          text.kind = XmlNode::Kind::Text;
          text.text = reader.text().toString();
          append(std::move(text));
        }
        break;
      }
      case QXmlStreamReader::Comment: {
        XmlNode comment;
        comment.kind = XmlNode::Kind::Comment;
        comment.text = reader.text().toString();
        append(std::move(comment));
        break;
      }
      case QXmlStreamReader::ProcessingInstruction: {
        XmlNode instruction;
        instruction.kind = XmlNode::Kind::Instruction;
        instruction.name = reader.processingInstructionTarget().toString();
        instruction.text = reader.processingInstructionData().toString();
        append(std::move(instruction));
        break;
      }
      case QXmlStreamReader::DTD: {
        XmlNode doctype;
        doctype.kind = XmlNode::Kind::Doctype;
        doctype.text = reader.text().toString();
        append(std::move(doctype));
        break;
      }
      default:
        break;
    }
  }
  if (reader.hasError()) {
    if (error)
      *error = QStringLiteral("line %1: %2").arg(reader.lineNumber()).arg(reader.errorString());
    return std::nullopt;
  }
  if (wrapped) {
    if (top.size() != 1 || top.front().name != kWrapper)
      return std::vector<XmlNode>{};
    std::vector<XmlNode> nodes = std::move(top.front().children);
    return nodes;
  }
  return top;
}

QByteArray WriteXml(const std::vector<XmlNode>& nodes)
{
  QString out = QStringLiteral("<?xml version=\"1.0\"?>\n");
  for (const XmlNode& node : nodes)
    WriteNode(node, 0, out);
  return out.toUtf8();
}

QString EscapeXml(const QString& text, bool attribute)
{
  QString out;
  out.reserve(text.size() + 16);
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = text[i];
    switch (c.unicode()) {
      case '&':
        out += QStringLiteral("&amp;");
        continue;
      case '<':
        out += QStringLiteral("&lt;");
        continue;
      case '>':
        out += QStringLiteral("&gt;");
        continue;
      case '"':
        if (attribute)
          out += QStringLiteral("&quot;");
        else
          out += c;
        continue;
      case '\r':
        // A raw CR would be read back as a line feed.
        out += QStringLiteral("&#13;");
        continue;
      case '\n':
        if (attribute)
          out += QStringLiteral("&#10;");
        else
          out += c;
        continue;
      case '\t':
        if (attribute)
          out += QStringLiteral("&#9;");
        else
          out += c;
        continue;
      default:
        break;
    }
    if (c.isHighSurrogate() && i + 1 < size && text[i + 1].isLowSurrogate()) {
      out += c;
      out += text[++i];
    } else if (IsXmlCharacter(c.unicode()) && !c.isSurrogate()) {
      out += c;
    }
  }
  return out;
}

}  // namespace quillon
