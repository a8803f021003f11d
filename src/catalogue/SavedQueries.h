#pragma once
// The saved queries (views) that the exports select from by name: `File`, `SaveAsMy` and
// `SaveAsH2`. The structure upgrade defines them; the Meedio export defines `SaveAsH2` again
// (AddH2) when it finds the view missing or broken.
#include <QString>

namespace quillon {

class Catalogue;
class Feedback;

// The SELECT of `File`: GameID and the game's full ROM path (ROM folder followed by file name),
// or its ExtFile for games of the system `zincSystemId`. Games without a ROM folder have no row.
QString FileQuery(qint64 zincSystemId);

// The SELECT of `SaveAsMy`: the selected and available games, one row per game and genre link.
// Columns: GameID, System, FullName, FileName, File, Year, Manufacturer, Country, Description,
// FirstOfImage, SystemID, FullImage, Rating, GenreID.
QString SaveAsMyQuery();

// The SELECT of `SaveAsH2`: the selected and available games that have a genre link, one row per
// game. Columns: GameID, System, FullName, FileName, File, Year, Manufacturer, Country,
// Description, FirstOfImage, SystemID, FullImage, Rating, FirstOfGenreID (the game's first link),
// Edited, Emu (the game's own emulator command).
QString SaveAsH2Query();

// Replaces (or creates) the view `name` with `select`, in one transaction. Failures are reported
// under `routine`; the old definition then stays.
bool ReplaceView(Catalogue& catalogue, Feedback& feedback, const QString& routine, const QString& name,
                 const QString& select);

// The Meedio query builder: defines `SaveAsH2`. Failures are reported as "-(AddH2)-".
bool AddH2(Catalogue& catalogue, Feedback& feedback);

}  // namespace quillon
