#include "scan/MameImportXml.h"

#include <cstring>
#include <optional>

namespace quillon {

namespace {

// A single unit (tag, declaration, skipped element) larger than this is taken for garbage.
constexpr qsizetype kLargestUnit = 32 * 1024 * 1024;

const QByteArray kRootName = QByteArrayLiteral("mame");
const QByteArray kMachineName = QByteArrayLiteral("machine");
const QByteArray kOldMachineName = QByteArrayLiteral("game");  // lists of builds before 0.162

bool IsXmlSpace(char c)
{
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWithAt(const QByteArray& buffer, qsizetype at, QByteArrayView prefix)
{
  return buffer.size() - at >= prefix.size() && std::memcmp(buffer.constData() + at, prefix.data(), prefix.size()) == 0;
}

// Position of `needle` in `buffer` from `from`, or -1.
qsizetype Find(const QByteArray& buffer, qsizetype from, QByteArrayView needle)
{
  if (from >= buffer.size())
    return -1;
  const void* found = ::memmem(buffer.constData() + from, size_t(buffer.size() - from), needle.data(), needle.size());
  return found ? static_cast<const char*>(found) - buffer.constData() : -1;
}

qsizetype FindByte(const QByteArray& buffer, qsizetype from, char c)
{
  if (from >= buffer.size())
    return -1;
  const void* found = std::memchr(buffer.constData() + from, c, size_t(buffer.size() - from));
  return found ? static_cast<const char*>(found) - buffer.constData() : -1;
}

std::optional<char32_t> CharacterReference(QByteArrayView digits)
{
  bool ok = false;
  const uint value =
      digits.startsWith('x') ? digits.sliced(1).toByteArray().toUInt(&ok, 16) : digits.toByteArray().toUInt(&ok);
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  if (!ok || value == 0 || value > 0x10FFFF || surrogate)
    return std::nullopt;
  return char32_t(value);
}

std::optional<QChar> NamedEntity(QByteArrayView name)
{
  if (name == "amp")
    return QLatin1Char('&');
  if (name == "lt")
    return QLatin1Char('<');
  if (name == "gt")
    return QLatin1Char('>');
  if (name == "quot")
    return QLatin1Char('"');
  if (name == "apos")
    return QLatin1Char('\'');
  return std::nullopt;
}

bool IsYes(QByteArrayView value)
{
  return value == "yes";
}

}  // namespace

QString DecodeXmlText(QByteArrayView text)
{
  qsizetype amp = text.indexOf('&');
  if (amp < 0)
    return QString::fromUtf8(text);
  constexpr qsizetype kLongestReference = 12;
  QString out;
  out.reserve(text.size());
  qsizetype from = 0;
  while (amp >= 0) {
    out += QString::fromUtf8(text.sliced(from, amp - from));
    const qsizetype semicolon = text.indexOf(';', amp);
    from = amp + 1;
    if (semicolon > amp && semicolon - amp <= kLongestReference) {
      const QByteArrayView reference = text.sliced(amp + 1, semicolon - amp - 1);
      if (reference.startsWith('#')) {
        if (const std::optional<char32_t> character = CharacterReference(reference.sliced(1))) {
          out += QString::fromUcs4(&*character, 1);
          from = semicolon + 1;
        }
      } else if (const std::optional<QChar> character = NamedEntity(reference)) {
        out += *character;
        from = semicolon + 1;
      }
    }
    if (from == amp + 1)
      out += QLatin1Char('&');  // not a reference: kept as written
    amp = text.indexOf('&', from);
  }
  out += QString::fromUtf8(text.sliced(from));
  return out;
}

void MameXmlReader::AddData(QByteArrayView data)
{
  Compact();
  m_buffer.append(data.data(), data.size());
}

void MameXmlReader::Compact()
{
  if (m_pos == 0)
    return;
  m_buffer.remove(0, m_pos);
  m_pos = 0;
}

MameXmlReader::Step MameXmlReader::Next(MameMachine& machine)
{
  Step step = Step::NeedData;
  switch (m_state) {
    case State::Prolog:
      step = ReadProlog();
      break;
    case State::Root:
      step = ReadRoot();
      break;
    case State::MachineHeader:
      step = ReadMachineHeader();
      break;
    case State::MachineSkip:
      step = SkipToMachineEnd();
      break;
    case State::Done:
      return Step::End;
    case State::Failed:
      return Step::Failed;
  }
  if (step == Step::Machine)
    machine = std::move(m_current);
  if (step == Step::NeedData && m_buffer.size() - m_pos > kLargestUnit)
    return Fail(QStringLiteral("The list holds an element larger than %1 MB.").arg(kLargestUnit / (1024 * 1024)));
  return step;
}

MameXmlReader::Step MameXmlReader::Fail(const QString& reason)
{
  m_state = State::Failed;
  m_error = reason;
  m_buffer.clear();
  m_pos = 0;
  return Step::Failed;
}

MameXmlReader::Step MameXmlReader::EmitMachine(qsizetype after)
{
  m_pos = after;
  ++m_machinesRead;
  m_state = State::Root;
  return Step::Machine;
}

MameXmlReader::Tag MameXmlReader::ReadTag(qsizetype from) const
{
  Tag tag;
  const char* data = m_buffer.constData();
  const qsizetype size = m_buffer.size();
  qsizetype i = from + 1;
  if (i < size && data[i] == '/') {
    tag.closing = true;
    ++i;
  }
  const qsizetype nameStart = i;
  while (i < size && !IsXmlSpace(data[i]) && data[i] != '/' && data[i] != '>')
    ++i;
  tag.name = QByteArrayView(data + nameStart, i - nameStart);
  const qsizetype attributesStart = i;
  while (i < size) {
    const char c = data[i];
    if (c == '"' || c == '\'') {
      const qsizetype close = FindByte(m_buffer, i + 1, c);
      if (close < 0)
        return tag;
      i = close + 1;
      continue;
    }
    if (c == '>') {
      tag.end = i + 1;
      tag.empty = !tag.closing && i > attributesStart && data[i - 1] == '/';
      tag.attributes = QByteArrayView(data + attributesStart, i - attributesStart - (tag.empty ? 1 : 0));
      return tag;
    }
    ++i;
  }
  return tag;
}

void MameXmlReader::ReadMachineAttributes(QByteArrayView attributes)
{
  qsizetype i = 0;
  const qsizetype size = attributes.size();
  while (i < size) {
    while (i < size && IsXmlSpace(attributes[i]))
      ++i;
    const qsizetype nameStart = i;
    while (i < size && attributes[i] != '=' && !IsXmlSpace(attributes[i]))
      ++i;
    const QByteArrayView name = attributes.sliced(nameStart, i - nameStart);
    while (i < size && (IsXmlSpace(attributes[i]) || attributes[i] == '='))
      ++i;
    if (i >= size || (attributes[i] != '"' && attributes[i] != '\''))
      return;
    const char quote = attributes[i];
    const qsizetype valueStart = ++i;
    while (i < size && attributes[i] != quote)
      ++i;
    const QByteArrayView value = attributes.sliced(valueStart, i - valueStart);
    ++i;
    if (name == "name")
      m_current.name = DecodeXmlText(value);
    else if (name == "cloneof")
      m_current.cloneOf = DecodeXmlText(value);
    else if (name == "isbios")
      m_current.isBios = IsYes(value);
    else if (name == "isdevice")
      m_current.isDevice = IsYes(value);
    else if (name == "runnable")
      m_current.runnable = IsYes(value);
  }
}

bool MameXmlReader::SkipMarkupDeclaration(bool* complete)
{
  *complete = false;
  const qsizetype start = m_pos;
  qsizetype end = -1;
  if (StartsWithAt(m_buffer, start, "<?")) {
    const qsizetype close = Find(m_buffer, start + 2, "?>");
    end = close < 0 ? -1 : close + 2;
  } else if (StartsWithAt(m_buffer, start, "<!--")) {
    const qsizetype close = Find(m_buffer, start + 4, "-->");
    end = close < 0 ? -1 : close + 3;
  } else if (StartsWithAt(m_buffer, start, "<![CDATA[")) {
    const qsizetype close = Find(m_buffer, start + 9, "]]>");
    end = close < 0 ? -1 : close + 3;
  } else if (StartsWithAt(m_buffer, start, "<!DOCTYPE")) {
    // The internal subset holds declarations with their own "<" and ">": the declaration ends at
    // the first ">" outside quotes, brackets and comments.
    int depth = 0;
    char quote = 0;
    for (qsizetype i = start + 9; i < m_buffer.size(); ++i) {
      const char c = m_buffer[i];
      if (quote) {
        if (c == quote)
          quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        --depth;
      } else if (c == '<' && StartsWithAt(m_buffer, i, "<!--")) {
        const qsizetype close = Find(m_buffer, i + 4, "-->");
        if (close < 0)
          return false;
        i = close + 2;
      } else if (c == '>' && depth <= 0) {
        end = i + 1;
        break;
      }
    }
  } else if (m_buffer.size() - start < 9) {
    return false;  // too little to tell which declaration it is
  } else {
    Fail(QStringLiteral("The list holds markup that is not XML."));
    return false;
  }
  if (end < 0)
    return false;
  m_pos = end;
  *complete = true;
  return true;
}

MameXmlReader::Step MameXmlReader::ReadProlog()
{
  constexpr QByteArrayView kByteOrderMark = "\xEF\xBB\xBF";
  if (m_pos == 0 && StartsWithAt(m_buffer, 0, kByteOrderMark))
    m_pos = kByteOrderMark.size();
  for (;;) {
    while (m_pos < m_buffer.size() && IsXmlSpace(m_buffer[m_pos]))
      ++m_pos;
    if (m_pos >= m_buffer.size() || (m_pos + 1 >= m_buffer.size() && m_buffer[m_pos] == '<'))
      return Step::NeedData;
    if (m_buffer[m_pos] != '<')
      return Fail(QStringLiteral("The program printed no XML list."));
    const char second = m_buffer[m_pos + 1];
    if (second == '?' || second == '!') {
      bool complete = false;
      SkipMarkupDeclaration(&complete);
      if (!complete)
        return m_state == State::Failed ? Step::Failed : Step::NeedData;
      continue;
    }
    const Tag tag = ReadTag(m_pos);
    if (tag.end < 0)
      return Step::NeedData;
    if (tag.closing || tag.name != kRootName)
      return Fail(QStringLiteral("The program printed an XML list that is not Mame's (<%1>).")
                      .arg(QString::fromUtf8(tag.name)));
    m_hasRoot = true;
    m_rootName = tag.name.toByteArray();
    m_pos = tag.end;
    if (tag.empty) {
      m_state = State::Done;
      return Step::End;
    }
    m_state = State::Root;
    return ReadRoot();
  }
}

std::optional<MameXmlReader::Step> MameXmlReader::NextTag(Tag& tag)
{
  for (;;) {
    const qsizetype open = FindByte(m_buffer, m_pos, '<');
    if (open < 0) {
      m_pos = m_buffer.size();  // text between elements carries nothing
      return Step::NeedData;
    }
    m_pos = open;
    if (m_buffer.size() - open < 2)
      return Step::NeedData;
    if (m_buffer[open + 1] != '?' && m_buffer[open + 1] != '!')
      break;
    bool complete = false;
    SkipMarkupDeclaration(&complete);
    if (!complete)
      return m_state == State::Failed ? Step::Failed : Step::NeedData;
  }
  tag = ReadTag(m_pos);
  if (tag.end < 0)
    return Step::NeedData;
  return std::nullopt;
}

MameXmlReader::Step MameXmlReader::ReadRoot()
{
  for (;;) {
    Tag tag;
    if (const std::optional<Step> stop = NextTag(tag))
      return *stop;
    if (tag.closing) {
      if (tag.name != m_rootName)
        return Fail(QStringLiteral("The list closes <%1> where it should close <%2>.")
                        .arg(QString::fromUtf8(tag.name), QString::fromUtf8(m_rootName)));
      m_pos = tag.end;
      m_state = State::Done;
      return Step::End;
    }
    if (tag.name == kMachineName || tag.name == kOldMachineName) {
      m_current = MameMachine();
      ReadMachineAttributes(tag.attributes);
      if (tag.empty)
        return EmitMachine(tag.end);
      m_machineEnd = "</" + tag.name.toByteArray() + ">";
      m_pos = tag.end;
      m_state = State::MachineHeader;
      return ReadMachineHeader();
    }
    // Another element beside the machines: passed over whole.
    if (tag.empty) {
      m_pos = tag.end;
      continue;
    }
    const QByteArray end = "</" + tag.name.toByteArray() + ">";
    const qsizetype close = Find(m_buffer, tag.end, end);
    if (close < 0)
      return Step::NeedData;
    m_pos = close + end.size();
  }
}

MameXmlReader::Step MameXmlReader::ReadMachineHeader()
{
  for (;;) {
    Tag tag;
    if (const std::optional<Step> stop = NextTag(tag))
      return *stop;
    if (tag.closing) {
      if ("</" + tag.name.toByteArray() + ">" != m_machineEnd)
        return Fail(QStringLiteral("Machine \"%1\" closes <%2> that it never opened.")
                        .arg(m_current.name, QString::fromUtf8(tag.name)));
      return EmitMachine(tag.end);
    }
    QString* field = tag.name == "description"    ? &m_current.description
                     : tag.name == "year"         ? &m_current.year
                     : tag.name == "manufacturer" ? &m_current.manufacturer
                                                  : nullptr;
    if (!field) {
      // The first of the details: nothing the import uses follows it.
      m_state = State::MachineSkip;
      return SkipToMachineEnd();
    }
    if (tag.empty) {
      field->clear();
      m_pos = tag.end;
      continue;
    }
    const qsizetype textEnd = FindByte(m_buffer, tag.end, '<');
    const QByteArray end = "</" + tag.name.toByteArray() + ">";
    if (textEnd < 0 || m_buffer.size() - textEnd < end.size())
      return Step::NeedData;
    if (!StartsWithAt(m_buffer, textEnd, end))
      return Fail(
          QStringLiteral("Machine \"%1\" has markup inside <%2>.").arg(m_current.name, QString::fromUtf8(tag.name)));
    *field = DecodeXmlText(QByteArrayView(m_buffer.constData() + tag.end, textEnd - tag.end));
    m_pos = textEnd + end.size();
  }
}

MameXmlReader::Step MameXmlReader::SkipToMachineEnd()
{
  const qsizetype close = Find(m_buffer, m_pos, m_machineEnd);
  if (close < 0) {
    // Keep only what may be the start of the end tag.
    m_pos = std::max(m_pos, m_buffer.size() - (m_machineEnd.size() - 1));
    return Step::NeedData;
  }
  return EmitMachine(close + m_machineEnd.size());
}

}  // namespace quillon
