#include "RomFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QXmlStreamWriter>

#include <archive.h>
#include <archive_entry.h>
#include <zip.h>
#include <zlib.h>

#include <memory>

namespace quillon::test {

namespace {

constexpr int kPrgUnit = 16384;
constexpr int kChrUnit = 8192;
constexpr int kCopierHeader = 512;

QString Hex(QCryptographicHash::Algorithm algorithm, const QByteArray& data)
{
  return QString::fromLatin1(QCryptographicHash::hash(data, algorithm).toHex());
}

QString AreaOf(const TestRom& rom)
{
  return rom.area.isEmpty() ? QStringLiteral("rom") : rom.area;
}

// A clrmamepro string: quoted, with quotes and backslashes escaped.
QString Quoted(const QString& text)
{
  QString escaped = text;
  escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
  return QLatin1Char('"') + escaped + QLatin1Char('"');
}

bool WriteText(const QString& path, const QByteArray& text)
{
  return WriteFile(path, text);
}

}  // namespace

QByteArray RandomRom(quint32 seed, int size)
{
  QRandomGenerator random(seed);
  QByteArray data(size, Qt::Uninitialized);
  for (int i = 0; i < size; ++i)
    data[i] = static_cast<char>(random.bounded(256));
  return data;
}

QString Crc32Of(const QByteArray& data)
{
  const uLong crc =
      crc32_z(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.constData()), static_cast<size_t>(data.size()));
  return QStringLiteral("%1").arg(static_cast<quint32>(crc), 8, 16, QLatin1Char('0'));
}

QString Sha1Of(const QByteArray& data)
{
  return Hex(QCryptographicHash::Sha1, data);
}

QString Md5Of(const QByteArray& data)
{
  return Hex(QCryptographicHash::Md5, data);
}

QByteArray INesImage(const QByteArray& prg, const QByteArray& chr)
{
  QByteArray header(16, '\0');
  header[0] = 'N';
  header[1] = 'E';
  header[2] = 'S';
  header[3] = '\x1a';
  header[4] = static_cast<char>(prg.size() / kPrgUnit);
  header[5] = static_cast<char>(chr.size() / kChrUnit);
  return header + prg + chr;
}

QByteArray CopierHeadered(const QByteArray& rom)
{
  return QByteArray(kCopierHeader, '\0') + rom;
}

bool WriteFile(const QString& path, const QByteArray& data)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

bool WriteZip(const QString& path, const Members& members)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile::remove(path);
  int error = 0;
  zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &error);
  if (!archive)
    return false;
  for (const auto& [name, data] : members) {
    // The source copies nothing: the data must live until the archive is closed.
    zip_source_t* source = zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    if (!source || zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(source);
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

bool Write7z(const QString& path, const Members& members)
{
  QDir().mkpath(QFileInfo(path).absolutePath());
  std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(), archive_write_free);
  if (archive_write_set_format_7zip(writer.get()) != ARCHIVE_OK ||
      archive_write_open_filename(writer.get(), QFile::encodeName(path).constData()) != ARCHIVE_OK)
    return false;
  for (const auto& [name, data] : members) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(entry.get(), name.toUtf8().constData());
    archive_entry_set_size(entry.get(), data.size());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    if (archive_write_header(writer.get(), entry.get()) != ARCHIVE_OK ||
        archive_write_data(writer.get(), data.constData(), static_cast<size_t>(data.size())) != data.size())
      return false;
  }
  return archive_write_close(writer.get()) == ARCHIVE_OK;
}

bool WriteLogiqx(const QString& path, const TestList& list)
{
  QByteArray text;
  QXmlStreamWriter xml(&text);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement(QStringLiteral("datafile"));
  xml.writeStartElement(QStringLiteral("header"));
  xml.writeTextElement(QStringLiteral("name"), list.name);
  xml.writeTextElement(QStringLiteral("description"), list.name + QStringLiteral(" (") + list.version + ')');
  xml.writeTextElement(QStringLiteral("version"), list.version);
  xml.writeTextElement(QStringLiteral("author"), QStringLiteral("tests"));
  xml.writeEndElement();
  for (const TestEntry& entry : list.entries) {
    xml.writeStartElement(QStringLiteral("game"));
    xml.writeAttribute(QStringLiteral("name"), entry.name);
    if (!entry.cloneOf.isEmpty())
      xml.writeAttribute(QStringLiteral("cloneof"), entry.cloneOf);
    xml.writeTextElement(QStringLiteral("description"), entry.description);
    if (!entry.year.isEmpty())
      xml.writeTextElement(QStringLiteral("year"), entry.year);
    if (!entry.publisher.isEmpty())
      xml.writeTextElement(QStringLiteral("manufacturer"), entry.publisher);
    for (const TestRom& rom : entry.roms) {
      xml.writeEmptyElement(QStringLiteral("rom"));
      xml.writeAttribute(QStringLiteral("name"), rom.name);
      xml.writeAttribute(QStringLiteral("size"), QString::number(rom.data.size()));
      if (rom.status != QStringLiteral("nodump")) {
        xml.writeAttribute(QStringLiteral("crc"), Crc32Of(rom.data).toUpper());
        xml.writeAttribute(QStringLiteral("md5"), Md5Of(rom.data));
        xml.writeAttribute(QStringLiteral("sha1"), Sha1Of(rom.data));
      }
      if (!rom.status.isEmpty())
        xml.writeAttribute(QStringLiteral("status"), rom.status);
    }
    xml.writeEndElement();
  }
  xml.writeEndDocument();
  return WriteText(path, text);
}

bool WriteClrMamePro(const QString& path, const TestList& list)
{
  QString text = QStringLiteral("clrmamepro (\n\tname %1\n\tdescription %2\n\tversion %3\n)\n\n")
                     .arg(Quoted(list.name), Quoted(list.name), list.version);
  for (const TestEntry& entry : list.entries) {
    text += QStringLiteral("game (\n\tname %1\n\tdescription %2\n").arg(Quoted(entry.name), Quoted(entry.description));
    if (!entry.year.isEmpty())
      text += QStringLiteral("\tyear %1\n").arg(entry.year);
    if (!entry.publisher.isEmpty())
      text += QStringLiteral("\tmanufacturer %1\n").arg(Quoted(entry.publisher));
    if (!entry.cloneOf.isEmpty())
      text += QStringLiteral("\tcloneof %1\n").arg(Quoted(entry.cloneOf));
    for (const TestRom& rom : entry.roms) {
      text += QStringLiteral("\trom ( name %1 size %2").arg(Quoted(rom.name)).arg(rom.data.size());
      if (rom.status != QStringLiteral("nodump"))
        text += QStringLiteral(" crc %1 md5 %2 sha1 %3").arg(Crc32Of(rom.data), Md5Of(rom.data), Sha1Of(rom.data));
      if (!rom.status.isEmpty())
        text += QStringLiteral(" flags %1").arg(rom.status);
      text += QStringLiteral(" )\n");
    }
    text += QStringLiteral(")\n\n");
  }
  return WriteText(path, text.toUtf8());
}

bool WriteSoftwareList(const QString& path, const TestList& list)
{
  QByteArray text;
  QXmlStreamWriter xml(&text);
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeDTD(QStringLiteral("<!DOCTYPE softwarelist SYSTEM \"softwarelist.dtd\">"));
  xml.writeStartElement(QStringLiteral("softwarelist"));
  xml.writeAttribute(QStringLiteral("name"), list.name);
  xml.writeAttribute(QStringLiteral("description"), list.name + QStringLiteral(" cartridges"));
  for (const TestEntry& entry : list.entries) {
    xml.writeStartElement(QStringLiteral("software"));
    xml.writeAttribute(QStringLiteral("name"), entry.name);
    if (!entry.cloneOf.isEmpty())
      xml.writeAttribute(QStringLiteral("cloneof"), entry.cloneOf);
    xml.writeTextElement(QStringLiteral("description"), entry.description);
    xml.writeTextElement(QStringLiteral("year"), entry.year);
    xml.writeTextElement(QStringLiteral("publisher"), entry.publisher);
    xml.writeEmptyElement(QStringLiteral("info"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("serial"));
    xml.writeAttribute(QStringLiteral("value"), QStringLiteral("T-0001"));
    xml.writeStartElement(QStringLiteral("part"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("cart"));
    xml.writeAttribute(QStringLiteral("interface"), QStringLiteral("test_cart"));
    xml.writeEmptyElement(QStringLiteral("feature"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("slot"));
    xml.writeAttribute(QStringLiteral("value"), QStringLiteral("std"));
    QString area;
    qint64 offset = 0;
    for (const TestRom& rom : entry.roms) {
      if (AreaOf(rom) != area) {
        if (!area.isEmpty())
          xml.writeEndElement();
        area = AreaOf(rom);
        offset = 0;
        xml.writeStartElement(QStringLiteral("dataarea"));
        xml.writeAttribute(QStringLiteral("name"), area);
        qint64 size = 0;
        for (const TestRom& other : entry.roms)
          size += AreaOf(other) == area ? other.data.size() : 0;
        xml.writeAttribute(QStringLiteral("size"), QString::number(size));
      }
      xml.writeEmptyElement(QStringLiteral("rom"));
      xml.writeAttribute(QStringLiteral("name"), rom.name);
      xml.writeAttribute(QStringLiteral("size"), QString::number(rom.data.size()));
      if (rom.status != QStringLiteral("nodump")) {
        xml.writeAttribute(QStringLiteral("crc"), Crc32Of(rom.data));
        xml.writeAttribute(QStringLiteral("sha1"), Sha1Of(rom.data));
      }
      xml.writeAttribute(QStringLiteral("offset"), QStringLiteral("0x%1").arg(offset, 0, 16));
      if (!rom.status.isEmpty())
        xml.writeAttribute(QStringLiteral("status"), rom.status);
      offset += rom.data.size();
    }
    if (!area.isEmpty())
      xml.writeEndElement();
    // An area without ROMs, as cartridges with RAM have.
    xml.writeStartElement(QStringLiteral("dataarea"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("wram"));
    xml.writeAttribute(QStringLiteral("size"), QStringLiteral("8192"));
    xml.writeEndElement();
    xml.writeEndElement();  // part
    xml.writeEndElement();  // software
  }
  xml.writeEndDocument();
  return WriteText(path, text);
}

QString InstalledSoftwareList(const QString& name)
{
  const QString path = QStringLiteral("/usr/share/games/mame/hash/") + name + QStringLiteral(".xml");
  return QFileInfo::exists(path) ? path : QString();
}

}  // namespace quillon::test
