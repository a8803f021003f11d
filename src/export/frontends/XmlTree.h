#pragma once
// A small XML tree for files that other programs own and we change in part (ES-DE's gamelists):
// everything read is kept (elements, attributes, text, comments, processing instructions) and
// written back in the same order with tab indentation, so a file we write and read again comes out
// byte for byte the same. Several top-level elements are allowed, as ES-DE's own parser allows them.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>
#include <vector>

namespace quillon {

struct XmlNode {
  enum class Kind { Element, Text, Comment, Instruction, Doctype };
  Kind kind = Kind::Element;
  QString name;  // an element's name; an instruction's target
  QString text;  // text, a comment, an instruction's data, the whole doctype
  QList<QPair<QString, QString>> attributes;
  std::vector<XmlNode> children;

  static XmlNode Element(const QString& name, const QString& text = {});

  // The first child element of this name; nullptr when there is none.
  XmlNode* Child(const QString& name);
  const XmlNode* Child(const QString& name) const;
  // The element's own text: its text children joined.
  QString InnerText() const;
  // Makes the element hold only `text`.
  void SetText(const QString& text);
};

// Reads a document (a UTF-8 BOM and the XML declaration are allowed and dropped). nullopt with
// `error` ("line N: ...") when it is not well-formed.
std::optional<std::vector<XmlNode>> ParseXml(const QByteArray& content, QString* error);

// Writes `<?xml version="1.0"?>` and the nodes, one tab per level, ending with a line break. Text
// is escaped so that any character arrives as it was, a CR included; characters XML cannot carry
// at all (most control characters) are left out.
QByteArray WriteXml(const std::vector<XmlNode>& nodes);

// Text escaped for element content or, with `attribute`, for a double-quoted attribute value.
QString EscapeXml(const QString& text, bool attribute);

}  // namespace quillon
