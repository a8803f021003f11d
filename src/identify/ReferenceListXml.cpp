// Logiqx XML DAT files (<datafile>, games or machines with their ROMs) and Mame software lists
// (<softwarelist>, software with parts, data areas and ROMs), read as a stream: one entry is held
// at a time. Elements neither format knows are passed over, as real lists carry many.
#include "identify/ReferenceList.h"

#include <QIODevice>
#include <QXmlStreamReader>

#include <algorithm>

namespace quillon {

namespace {

// A number as Mame writes sizes and offsets: "0x" for hexadecimal, otherwise decimal (a leading
// zero as in "00000" changes nothing).
qint64 ListNumber(QStringView text)
{
  bool ok = false;
  qint64 value = -1;
  if (text.startsWith(QStringLiteral("0x")) || text.startsWith(QStringLiteral("0X")))
    value = text.mid(2).toLongLong(&ok, 16);
  else
    value = text.toLongLong(&ok, 10);
  return ok && value >= 0 ? value : -1;
}

// ROM attributes both formats share.
ListRom RomFrom(const QXmlStreamAttributes& attributes)
{
  ListRom rom;
  rom.name = attributes.value(QStringLiteral("name")).toString().replace(QLatin1Char('\\'), QLatin1Char('/'));
  rom.size = ListNumber(attributes.value(QStringLiteral("size")));
  const QByteArray crc = NormalisedHash(attributes.value(QStringLiteral("crc")).toLatin1(), 8);
  if (!crc.isEmpty()) {
    rom.hasCrc = true;
    rom.crc = crc.toUInt(nullptr, 16);
  }
  rom.sha1 = NormalisedHash(attributes.value(QStringLiteral("sha1")).toLatin1(), 40);
  rom.md5 = NormalisedHash(attributes.value(QStringLiteral("md5")).toLatin1(), 32);
  rom.status = attributes.value(QStringLiteral("status")).toString().toLower();
  return rom;
}

class XmlListReader {
 public:
  XmlListReader(QIODevice& device, ListHeader& header, const EntrySink& take)
      : m_xml(&device), m_header(header), m_take(take)
  {
  }

  bool Read(QString* error)
  {
    if (!m_xml.readNextStartElement())
      return Fail(error, QStringLiteral("no XML element found"));
    const QStringView root = m_xml.name();
    if (root == QStringLiteral("datafile")) {
      m_header.format = ListFormat::Logiqx;
      ReadDatafile();
    } else if (root == QStringLiteral("softwarelist")) {
      m_header.format = ListFormat::SoftwareList;
      ReadSoftwareList();
    } else {
      return Fail(error,
                  QStringLiteral("<%1> is neither a DAT file's <datafile> nor a <softwarelist>").arg(root.toString()));
    }
    if (m_xml.hasError())
      return Fail(error, QStringLiteral("line %1: %2").arg(m_xml.lineNumber()).arg(m_xml.errorString()));
    return true;
  }

 private:
  bool Fail(QString* error, const QString& text)
  {
    if (error)
      *error = text;
    return false;
  }

  QString Text() { return m_xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed(); }

  void ReadDatafile()
  {
    while (m_xml.readNextStartElement()) {
      const QStringView name = m_xml.name();
      if (name == QStringLiteral("header"))
        ReadDatHeader();
      else if (name == QStringLiteral("game") || name == QStringLiteral("machine"))
        ReadDatGame();
      else
        m_xml.skipCurrentElement();
    }
  }

  void ReadDatHeader()
  {
    while (m_xml.readNextStartElement()) {
      const QStringView name = m_xml.name();
      if (name == QStringLiteral("name")) {
        m_header.name = Text();
      } else if (name == QStringLiteral("description")) {
        m_header.description = Text();
      } else if (name == QStringLiteral("version")) {
        m_header.version = Text();
      } else if (name == QStringLiteral("clrmamepro")) {
        m_header.header = m_xml.attributes().value(QStringLiteral("header")).toString();
        m_xml.skipCurrentElement();
      } else {
        m_xml.skipCurrentElement();
      }
    }
  }

  void ReadDatGame()
  {
    ListEntry entry;
    entry.name = m_xml.attributes().value(QStringLiteral("name")).toString();
    entry.cloneOf = m_xml.attributes().value(QStringLiteral("cloneof")).toString();
    while (m_xml.readNextStartElement()) {
      const QStringView name = m_xml.name();
      if (name == QStringLiteral("description")) {
        entry.description = Text();
      } else if (name == QStringLiteral("year")) {
        entry.year = Text();
      } else if (name == QStringLiteral("manufacturer")) {
        entry.publisher = Text();
      } else if (name == QStringLiteral("rom")) {
        entry.roms.push_back(RomFrom(m_xml.attributes()));
        m_xml.skipCurrentElement();
      } else {
        m_xml.skipCurrentElement();
      }
    }
    if (!m_xml.hasError())
      m_take(entry);
  }

  void ReadSoftwareList()
  {
    m_header.name = m_xml.attributes().value(QStringLiteral("name")).toString();
    m_header.description = m_xml.attributes().value(QStringLiteral("description")).toString();
    while (m_xml.readNextStartElement()) {
      if (m_xml.name() == QStringLiteral("software"))
        ReadSoftware();
      else
        m_xml.skipCurrentElement();
    }
  }

  void ReadSoftware()
  {
    ListEntry entry;
    entry.name = m_xml.attributes().value(QStringLiteral("name")).toString();
    entry.cloneOf = m_xml.attributes().value(QStringLiteral("cloneof")).toString();
    while (m_xml.readNextStartElement()) {
      const QStringView name = m_xml.name();
      if (name == QStringLiteral("description"))
        entry.description = Text();
      else if (name == QStringLiteral("year"))
        entry.year = Text();
      else if (name == QStringLiteral("publisher"))
        entry.publisher = Text();
      else if (name == QStringLiteral("part"))
        ReadPart(entry);
      else
        m_xml.skipCurrentElement();
    }
    if (!m_xml.hasError())
      m_take(entry);
  }

  // A part's data areas in order make up the part's file (an NES cartridge: PRG, then CHR), so
  // each ROM gets its place in that file. Areas whose ROMs are interleaved or loaded in pieces
  // make no such file; their ROMs keep offset -1 and can only be found one by one.
  void ReadPart(ListEntry& entry)
  {
    const QString part = m_xml.attributes().value(QStringLiteral("name")).toString();
    const size_t firstRom = entry.roms.size();
    qint64 areaStart = 0;
    bool contiguous = true;
    while (m_xml.readNextStartElement()) {
      if (m_xml.name() != QStringLiteral("dataarea")) {
        m_xml.skipCurrentElement();
        continue;
      }
      qint64 areaEnd = 0;
      while (m_xml.readNextStartElement()) {
        if (m_xml.name() != QStringLiteral("rom")) {
          m_xml.skipCurrentElement();
          continue;
        }
        const QXmlStreamAttributes attributes = m_xml.attributes();
        const QStringView loadFlag = attributes.value(QStringLiteral("loadflag"));
        m_xml.skipCurrentElement();
        // Continuations, reloads and fills repeat data of the ROM before; they are no file.
        if (attributes.value(QStringLiteral("name")).isEmpty())
          continue;
        if (!loadFlag.isEmpty() && !loadFlag.endsWith(QStringLiteral("_swap")) &&
            loadFlag != QStringLiteral("load16_word") && loadFlag != QStringLiteral("load32_word"))
          contiguous = false;
        ListRom rom = RomFrom(attributes);
        rom.part = part;
        const qint64 offset = ListNumber(attributes.value(QStringLiteral("offset")));
        if (offset < 0 || rom.size < 0)
          contiguous = false;
        rom.offset = areaStart + std::max<qint64>(offset, 0);
        areaEnd = std::max(areaEnd, std::max<qint64>(offset, 0) + std::max<qint64>(rom.size, 0));
        entry.roms.push_back(std::move(rom));
      }
      areaStart += areaEnd;
    }
    if (!contiguous) {
      for (size_t i = firstRom; i < entry.roms.size(); ++i)
        entry.roms[i].offset = -1;
    }
  }

  QXmlStreamReader m_xml;
  ListHeader& m_header;
  const EntrySink& m_take;
};

}  // namespace

bool ReadLogiqxOrSoftwareList(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error)
{
  return XmlListReader(device, header, take).Read(error);
}

}  // namespace quillon
