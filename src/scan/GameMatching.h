#pragma once
// Turning found ROM files into games: the values a file name gives, the game a file belongs to,
// the merge of stored and derived values, the picture that goes with it, and NewGame for single
// files the user adds.
#include "catalogue/ReservedKeys.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace quillon {

class Catalogue;
class DataFolder;
class Feedback;
class FileNameTags;
class Lookups;

// What one file name gives.
struct DerivedGame {
  QString nameFile;  // the name analysed: the found file's, or the one GoodTools gave a copy
  QString fullName;
  qint64 year = kUnknownYear;
  qint64 country = kUnknownCountry;
  qint64 manufacturer = kUnknownManufacturer;
  QString image;  // picture file name in the picture folder, or empty
};

// The file name without folder and extension, as games are matched by it. A name without a dot
// (or whose only dot comes first) is compared whole.
QString MatchKey(const QString& fileName);

// The picture folder's files, listed once, so looking a picture up costs no file-system call.
class PictureFolder {
 public:
  PictureFolder() = default;
  PictureFolder(const QString& folder, const QStringList& types);

  bool IsUsable() const { return !m_folder.isEmpty() && !m_types.isEmpty(); }
  // The picture of a found file: base name of the found file + "." + type, the first type that
  // exists; when the name file differs and `renameImages` is set, that picture is renamed to the
  // name file's base name (and `renamedFrom`, when given, is set to its old name). Failing that,
  // base name of the name file + "." + type. Empty: none.
  QString Find(const QString& foundFile, const QString& nameFile, bool renameImages, QString* renamedFrom = nullptr);

 private:
  QString m_folder;
  QStringList m_types;
  QSet<QString> m_names;
};

// Stored and derived values merged as a rescan does: a derived year, maker or country replaces
// the stored one only when it is known (or nothing is stored); a stored picture is kept.
struct StoredValues {
  QVariant year;
  QVariant manufacturer;
  QVariant country;
  QString image;
};
StoredValues MergeDerived(const StoredValues& stored, const DerivedGame& derived);

// Derives a file's values (year, country, maker, full name) from its name file.
DerivedGame DeriveGame(FileNameTags& tags, const QString& nameFile, bool keepExtensionInName);

struct NewGameRequest {
  QString path;  // the ROM file
  qint64 systemId = 0;
  bool rename = false;    // the system's "Don't Rename Roms" (the file keeps its name; a copy is renamed)
  bool restrict = false;  // no GoodTools pass, and a file that matches no game is not added
};

struct NewGameResult {
  bool ok = false;
  bool added = false;  // a new game was made
  qint64 gameId = 0;
  QString analysedName;
};

// Adds or refreshes the game of one file. A file outside the system's ROM folders leads to the
// question "Would you like to add <folder> to the list of rom paths?" (key "add-rompath"); without
// the folder the game has no ROM path and is listed among the missing games. Reported as
// "-(NewGame)-".
NewGameResult NewGame(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                      const NewGameRequest& request);

}  // namespace quillon
