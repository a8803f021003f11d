#pragma once
// What a reference list says about the games of a system: a Logiqx XML DAT file, a clrmamepro
// text DAT file or a Mame software list, each read into the same entries and ROMs.
#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

class QIODevice;

namespace quillon {

enum class ListFormat { Logiqx, ClrMamePro, SoftwareList };
QString ListFormatName(ListFormat format);

// One ROM of an entry. Hashes are lower-case hexadecimal; a missing one is empty.
struct ListRom {
  QString name;
  qint64 size = -1;
  bool hasCrc = false;
  quint32 crc = 0;
  QByteArray sha1;
  QByteArray md5;
  QString status;  // "baddump", "nodump", "good", "verified" or empty
  QString part;    // the software part ("cart", "flop1"); empty in DAT files
  // Where the ROM starts in the part's data when the part's ROMs make up one file (software
  // lists); -1 for a file of its own.
  qint64 offset = -1;

  bool IsNoDump() const { return status == QStringLiteral("nodump"); }
  bool IsBadDump() const { return status == QStringLiteral("baddump"); }
  // A ROM that can be found by its contents.
  bool IsDumped() const { return !IsNoDump() && size >= 0 && (hasCrc || !sha1.isEmpty()); }
};

struct ListEntry {
  QString name;  // the game's name (DAT files) or the software's short name (software lists)
  QString description;
  QString year;
  QString publisher;  // a DAT file's manufacturer
  QString cloneOf;
  std::vector<ListRom> roms;
};

struct ListHeader {
  ListFormat format = ListFormat::Logiqx;
  QString name;
  QString description;
  QString version;
  QString header;  // the skipper a DAT file names for headered ROMs (e.g. "No-Intro_NES.xml")
};

// The standard name of an entry: a DAT file's game name, a software list's description (its
// short names are no file names a collector keeps).
QString StandardNameOf(ListFormat format, const ListEntry& entry);

// Reads a whole list, handing each entry to `take` as soon as it is read. False (with `error`
// set) when the data is no list of a known format or is broken; entries already handed over
// stay handed over, so the caller must discard them.
using EntrySink = std::function<void(ListEntry&)>;
bool ReadReferenceList(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error);

// The readers of each format; ReadReferenceList chooses by the data's first element or word.
bool ReadLogiqxOrSoftwareList(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error);
bool ReadClrMamePro(QIODevice& device, ListHeader& header, const EntrySink& take, QString* error);

// A hash as lists write it: "0x" dropped, lower case, left-padded with zeros to `digits`; empty
// when the text is no hexadecimal number of at most that many digits.
QByteArray NormalisedHash(QByteArrayView text, int digits);

}  // namespace quillon
