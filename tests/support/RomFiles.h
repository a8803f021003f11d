#pragma once
// ROM files and reference lists made by the tests: random bytes with known checksums, headered
// copies, zip and 7z archives, and one list written as a Logiqx XML DAT file, a clrmamepro text
// DAT file or a Mame software list.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace quillon::test {

// `size` bytes that depend only on `seed`.
QByteArray RandomRom(quint32 seed, int size);
QString Crc32Of(const QByteArray& data);  // 8 lower-case hexadecimal digits
QString Sha1Of(const QByteArray& data);
QString Md5Of(const QByteArray& data);

// An iNES image: the 16-byte header giving the PRG (16 KB units) and CHR (8 KB units) sizes, then both.
QByteArray INesImage(const QByteArray& prg, const QByteArray& chr);
// A SNES image behind a 512-byte copier header.
QByteArray CopierHeadered(const QByteArray& rom);

using Members = QList<QPair<QString, QByteArray>>;
bool WriteFile(const QString& path, const QByteArray& data);
bool WriteZip(const QString& path, const Members& members);
bool Write7z(const QString& path, const Members& members);

struct TestRom {
  QString name;
  QByteArray data;
  QString status;  // "baddump", "nodump" or empty
  QString area;    // the software list's data area ("rom", "prg", "chr"); empty: "rom"
};

struct TestEntry {
  QString name;  // a DAT file's game name, or a software list's short name
  QString description;
  QString year;
  QString publisher;
  QString cloneOf;
  QList<TestRom> roms;
};

struct TestList {
  QString name;
  QString version;
  QList<TestEntry> entries;
};

// Writes the list in one format; the software list puts each entry's ROMs, area by area in their
// order, into one part "cart".
bool WriteLogiqx(const QString& path, const TestList& list);
bool WriteClrMamePro(const QString& path, const TestList& list);
bool WriteSoftwareList(const QString& path, const TestList& list);

// A file of Mame's software lists as the mame-data package installs it; empty when it is not
// installed (the test then skips with a message).
QString InstalledSoftwareList(const QString& name);

}  // namespace quillon::test
