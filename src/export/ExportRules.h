#pragma once
// What the .my and Meedio exports share: the systems they cover, the genre names of a system's
// games, and the rules that turn a game's stored values into the ROM path, picture path and
// category values they write.
#include "catalogue/Lookups.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

enum class SystemScope { Current, All };

// The `System` columns the exports read.
struct ExportSystem {
  qint64 id = 0;
  QString name;
  bool dropRoms = false;       // leave out games without a picture
  bool removeText = false;     // cut titles before their first "("
  bool fullRomPath = false;    // the ROM file with its folder, else the file name only
  bool fullImagePath = false;  // the picture with its folder, else the file name only
  QString emulator;
  QString sysImg;
};

// The current system, or every system with a tab ordered by name (then key). nullopt when the statement
// failed (reported under `routine`).
std::optional<std::vector<ExportSystem>> ExportSystems(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                                       SystemScope scope, qint64 currentSystemId);

// (GameID, genre name) of every genre link of the system's games, in the order the links were
// made, so a game's first genre comes first. FindGenreNameByGameID reads a game's genres from it.
std::optional<PairTable> SystemGenreNames(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                          qint64 systemId);

// A stored value as text: Null is empty.
QString TextOf(const QVariant& value);

// True for the "[Unknown]" value of a lookup table.
bool IsUnknownValue(const QString& value);

// The title as exported: with `removeText`, only the text before the first "(" (not trimmed).
QString CutTitle(const QString& title, bool removeText);

// With `shortNames`, the absolute form of an existing absolute path (there are no 8.3 names
// here); any other path as it is.
QString ShortFormOf(const QString& path, bool shortNames);

// The ROM path written for a game: its full path (`file`) or its file name, in ShortFormOf.
QString ExportRomPath(const QString& fileName, const QString& file, bool fullRomPath, bool shortNames);

// The picture written for a game from its stored image and its full image path. Without
// `fullImagePath` the file name of the stored image; with it, empty when the full path is empty
// or names a folder, else the stored image when it is absolute already, else the full path.
QString ExportPicturePath(const QVariant& storedImage, const QVariant& fullImage, bool fullImagePath);

// The user's documents folder, where the export dialogs start.
QString DocumentsFolder();

}  // namespace quillon
