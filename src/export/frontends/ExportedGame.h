#pragma once
// What the front-end exports know of a system and of each game they write: one record per game,
// read in one query per system, with the catalogue's conventions already applied (the "[Unknown]"
// values empty, titles cut with RemoveText, the ROM file and the picture as absolute paths).
#include "catalogue/SystemNames.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

// A system as the front-end exports see it.
struct FrontendSystem {
  qint64 id = 0;
  QString name;
  SystemNames names;
  QStringList romFolders;   // in the order they were added, each ending in "/"
  QStringList extensions;   // the ROM extensions, without dots, each once
  QString emulator;         // the emulator command with its options
  bool dropRoms = false;    // leave out games without a picture
  bool removeText = false;  // cut titles before their first "("
};

struct ExportedGame {
  qint64 gameId = 0;
  QString romFolder;  // the ROM folder the file was found in ("/" at the end); empty when it has none
  QString fileName;   // the file below that folder, as stored (may hold sub-folders)
  QString path;       // the ROM file, absolute and clean; empty when the game has none
  QString title;      // never empty: the file's name without its extension stands in
  QString year;       // four digits, else empty
  QString maker;
  QString country;
  QStringList genres;         // in the order they were linked
  QString overview;           // lines end in LF
  std::optional<int> rating;  // 1 to 10; none when unrated
  QString picture;            // the game's picture file (absolute when the catalogue allows); empty when none
  bool selected = false;      // ticked in the list
  QString emulator;           // the game's own emulator command, empty when it uses its system's
};

// The system with its names, ROM folders and export settings; nullopt (reported) when it cannot be
// read.
std::optional<FrontendSystem> ReadFrontendSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// The available games of a system (only the ticked ones unless `allGames`), ordered by title: one
// query. nullopt (reported) when the catalogue cannot be read.
std::optional<std::vector<ExportedGame>> ReadExportedGames(Catalogue& catalogue, Feedback& feedback,
                                                           const FrontendSystem& system, bool allGames);

// A catalogue year as a four-digit year, or empty ("[Unknown]", "198x", ...).
QString FourDigitYear(const QString& year);

}  // namespace quillon
