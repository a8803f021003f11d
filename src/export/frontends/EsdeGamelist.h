#pragma once
// ES-DE: gamelists/<system>/gamelist.xml under ES-DE's data folder, and box art in
// downloaded_media/<system>/covers/ named after the ROM file. Paths are "./" + the file's path
// below the system's ROM folder (ES-DE drops any other). An existing gamelist is merged: entries we
// do not write and fields we do not own (favorite, playcount, lastplayed, hidden, ...) stay as
// they were, and a field we know nothing about keeps the value ES-DE or its scraper gave it.
#include "export/frontends/XmlTree.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quillon {

// One <game> as we write it: empty fields are not ours to write.
struct EsdeGame {
  QString path;  // "./..."
  QString name;
  QString desc;
  QString rating;       // "0" to "1"
  QString releaseDate;  // "YYYYMMDDTHHMMSS"
  QString developer;
  QString genre;
};

// Our 1-10 rating on ES-DE's 0-1 scale ("0.8"); empty when unrated.
QString EsdeRating(std::optional<int> rating);
// The first of January of a four-digit year, in ES-DE's date form; empty for an unknown year and
// for years ES-DE cannot show (before 1970).
QString EsdeReleaseDate(const QString& year);
// The first genre, a "Main/Sub" genre written "Main / Sub" as ES-DE's genre filter expects.
QString EsdeGenre(const QStringList& genres);

// The key that tells two paths of the same file apart from others: "./a/b.zip", "a/b.zip" and
// "<ROM folder>a/b.zip" are one.
QString EsdePathKey(const QString& path, const QStringList& romFolders);

// The gamelist made of `existing` (the nodes of a gamelist already there, or none) and `games`:
// a game whose path is listed already has its entry updated in place, the others are appended.
QByteArray MergeEsdeGamelist(std::vector<XmlNode> existing, const std::vector<EsdeGame>& games,
                             const QStringList& romFolders);

// ES-DE's data folder as ES-DE picks it: $ESDE_APPDATA_DIR, else ~/ES-DE when it exists, else
// ~/.emulationstation when that exists, else ~/ES-DE.
QString EsdeDefaultDataFolder();

// Where ES-DE keeps its pictures: the MediaDirectory of its settings, else the data folder's
// downloaded_media/. Ends with "/".
QString EsdeMediaFolder(const QString& dataFolder);

}  // namespace quillon
