#pragma once
// Strict readers of what the front-end exports write, each applying the rules of the program that
// reads the file (ES-DE's gamelist parser, Pegasus's metadata parser, RetroArch's playlist reader):
// everything such a program would drop, misread or warn about is an error here.
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace quillon::test {

struct EsdeEntry {
  QString path;  // as written
  QString file;  // where ES-DE finds it
  QMap<QString, QString> fields;
};

struct EsdeGamelist {
  QStringList topLevel;  // the names of the top-level elements
  QList<EsdeEntry> games;
  QStringList errors;
};

// Reads gamelist.xml as ES-DE does: <gameList> holds <game> entries, each a set of one-value
// elements; "./" paths resolve in `romFolder` and must exist; ratings are 0 to 1, dates
// "YYYYMMDDTHHMMSS" ES-DE can show.
EsdeGamelist ReadEsdeGamelist(const QString& file, const QString& romFolder);

struct PegasusEntry {
  QString kind;                       // "collection" or "game"
  QMap<QString, QStringList> values;  // key -> its lines

  QString Value(const QString& key) const { return values.value(key).value(0); }
  // A multi-line text as Pegasus merges it (paragraphs, "\n" escapes).
  QString Text(const QString& key) const;
};

struct PegasusMetadata {
  QList<PegasusEntry> entries;
  QStringList errors;
  QList<PegasusEntry> Games() const;
};

// Reads a metadata file as Pegasus does, with file verification on: files and assets must exist.
PegasusMetadata ReadPegasusMetadata(const QString& file);

struct RetroArchEntry {
  QString path;
  QString label;
  QString corePath;
  QString coreName;
  QString crc32;
  QString dbName;
};

struct RetroArchPlaylistFile {
  QJsonObject root;
  QList<RetroArchEntry> items;
  QStringList errors;
};

// Reads a .lpl as RetroArch does, strictly: the JSON keys RetroArch writes, entries of existing
// files, "DETECT" or a real core, a checksum that is empty, "DETECT" or "XXXXXXXX|crc", db_name the
// playlist's own name.
RetroArchPlaylistFile ReadRetroArchPlaylist(const QString& file);

// Where RetroArch looks for an entry's box art under `thumbnails`.
QString RetroArchBoxartPath(const QString& thumbnails, const QString& playlistFile, const QString& label);

}  // namespace quillon::test
