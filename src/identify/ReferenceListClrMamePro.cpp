// clrmamepro text DAT files: "key value" pairs separated by white space, values being bare words,
// "quoted strings" (a backslash escapes the next character) or "( ... )" blocks; a header block
// "clrmamepro ( ... )" and one "game ( ... )" block per game, ROMs as "rom ( ... )" inside it.
// Read piece by piece from the device.
#include "identify/ReferenceList.h"

#include <QIODevice>

namespace quillon {

namespace {

constexpr qint64 kChunkBytes = 64 * 1024;

class Tokens {
 public:
  enum class Kind { Word, Open, Close, End, Broken };

  explicit Tokens(QIODevice& device) : m_device(device) {}

  // The next token; a word's text (quotes removed, escapes resolved) is in Text().
  Kind Next()
  {
    if (!SkipBlanks())
      return Kind::End;
    const char first = m_buffer[m_pos];
    if (first == '(' || first == ')') {
      ++m_pos;
      return first == '(' ? Kind::Open : Kind::Close;
    }
    return first == '"' ? Quoted() : Bare();
  }

  const QByteArray& Text() const { return m_text; }
  qint64 Line() const { return m_line; }

 private:
  bool Fill()
  {
    if (m_pos >= m_buffer.size()) {
      m_buffer = m_device.read(kChunkBytes);
      m_pos = 0;
    }
    return m_pos < m_buffer.size();
  }

  bool SkipBlanks()
  {
    while (Fill()) {
      const char c = m_buffer[m_pos];
      if (c == '\n')
        ++m_line;
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\f' && c != '\v')
        return true;
      ++m_pos;
    }
    return false;
  }

  Kind Quoted()
  {
    m_text.clear();
    ++m_pos;
    while (Fill()) {
      const char c = m_buffer[m_pos++];
      if (c == '"')
        return Kind::Word;
      if (c == '\\') {
        if (!Fill())
          return Kind::Broken;
        m_text += m_buffer[m_pos++];
        continue;
      }
      if (c == '\n')
        ++m_line;
      m_text += c;
    }
    return Kind::Broken;  // the file ended inside a string
  }

  Kind Bare()
  {
    m_text.clear();
    while (Fill()) {
      const char c = m_buffer[m_pos];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '(' || c == ')' || c == '"')
        break;
      m_text += c;
      ++m_pos;
    }
    return Kind::Word;
  }

  QIODevice& m_device;
  QByteArray m_buffer;
  qsizetype m_pos = 0;
  QByteArray m_text;
  qint64 m_line = 1;
};

class ClrMameProReader {
 public:
  ClrMameProReader(QIODevice& device, ListHeader& header, const EntrySink& take)
      : m_tokens(device), m_header(header), m_take(take)
  {
  }

  bool Read(QString* error)
  {
    m_header.format = ListFormat::ClrMamePro;
    bool sawBlock = false;
    for (;;) {
      const Tokens::Kind kind = m_tokens.Next();
      if (kind == Tokens::Kind::End)
        break;
      if (kind != Tokens::Kind::Word)
        return Fail(error, QStringLiteral("a block name was expected"));
      const QByteArray key = m_tokens.Text().toLower();
      if (m_tokens.Next() != Tokens::Kind::Open)
        return Fail(error, QStringLiteral("\"(\" was expected after \"%1\"").arg(QString::fromUtf8(key)));
      sawBlock = true;
      bool read = false;
      if (key == "clrmamepro")
        read = ReadHeader();
      else if (key == "game" || key == "machine")
        read = ReadGame();
      else
        read = SkipBlock();
      if (!read)
        return Fail(error, QStringLiteral("the block \"%1\" is broken").arg(QString::fromUtf8(key)));
    }
    if (!sawBlock)
      return Fail(error, QStringLiteral("no clrmamepro block found"));
    return true;
  }

 private:
  bool Fail(QString* error, const QString& text)
  {
    if (error)
      *error = QStringLiteral("line %1: %2").arg(m_tokens.Line()).arg(text);
    return false;
  }

  // Reads the pairs of a block up to its ")"; `pair` gets each key with its value (a word), and
  // `block` each key whose value is a block (it must read that block to its end).
  template <typename Pair, typename Block>
  bool ReadPairs(const Pair& pair, const Block& block)
  {
    for (;;) {
      Tokens::Kind kind = m_tokens.Next();
      if (kind == Tokens::Kind::Close)
        return true;
      if (kind != Tokens::Kind::Word)
        return false;
      const QByteArray key = m_tokens.Text().toLower();
      kind = m_tokens.Next();
      if (kind == Tokens::Kind::Open) {
        if (!block(key))
          return false;
      } else if (kind == Tokens::Kind::Word) {
        pair(key, QString::fromUtf8(m_tokens.Text()));
      } else {
        return false;
      }
    }
  }

  bool SkipBlock()
  {
    int depth = 1;
    while (depth > 0) {
      switch (m_tokens.Next()) {
        case Tokens::Kind::Open:
          ++depth;
          break;
        case Tokens::Kind::Close:
          --depth;
          break;
        case Tokens::Kind::Word:
          break;
        case Tokens::Kind::End:
        case Tokens::Kind::Broken:
          return false;
      }
    }
    return true;
  }

  bool ReadHeader()
  {
    return ReadPairs(
        [this](const QByteArray& key, const QString& value) {
          if (key == "name")
            m_header.name = value;
          else if (key == "description")
            m_header.description = value;
          else if (key == "version")
            m_header.version = value;
          else if (key == "header")
            m_header.header = value;
        },
        [this](const QByteArray&) { return SkipBlock(); });
  }

  bool ReadGame()
  {
    ListEntry entry;
    const bool read = ReadPairs(
        [&entry](const QByteArray& key, const QString& value) {
          if (key == "name")
            entry.name = value;
          else if (key == "description")
            entry.description = value;
          else if (key == "year")
            entry.year = value;
          else if (key == "manufacturer")
            entry.publisher = value;
          else if (key == "cloneof")
            entry.cloneOf = value;
        },
        [this, &entry](const QByteArray& key) {
          if (key != "rom")
            return SkipBlock();
          ListRom rom;
          const bool romRead =
              ReadPairs([&rom](const QByteArray& romKey, const QString& value) { TakeRomValue(rom, romKey, value); },
                        [this](const QByteArray&) { return SkipBlock(); });
          entry.roms.push_back(std::move(rom));
          return romRead;
        });
    if (read)
      m_take(entry);
    return read;
  }

  static void TakeRomValue(ListRom& rom, const QByteArray& key, const QString& value)
  {
    if (key == "name") {
      rom.name = QString(value).replace(QLatin1Char('\\'), QLatin1Char('/'));
    } else if (key == "size") {
      bool ok = false;
      const qint64 size =
          value.startsWith(QStringLiteral("0x")) ? value.mid(2).toLongLong(&ok, 16) : value.toLongLong(&ok, 10);
      rom.size = ok && size >= 0 ? size : -1;
    } else if (key == "crc") {
      const QByteArray crc = NormalisedHash(value.toLatin1(), 8);
      rom.hasCrc = !crc.isEmpty();
      rom.crc = crc.toUInt(nullptr, 16);
    } else if (key == "sha1") {
      rom.sha1 = NormalisedHash(value.toLatin1(), 40);
    } else if (key == "md5") {
      rom.md5 = NormalisedHash(value.toLatin1(), 32);
    } else if (key == "status" || key == "flags") {
      rom.status = value.toLower();
    }
  }

  Tokens m_tokens;
  ListHeader& m_header;
  const EntrySink& m_take;
};

}  // namespace

bool ReadClrMamePro(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error)
{
  return ClrMameProReader(device, header, take).Read(error);
}

}  // namespace quillon
