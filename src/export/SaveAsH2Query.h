#pragma once
// The SaveAsH2 view the Meedio export reads: the selected, available games of every system with
// their first genre, `Edited` and their own emulator command as `Emu`.
//
// AddH2 (re)defines it; the structure upgrade calls it when "SELECT * FROM SaveAsH2" fails, and it
// can be run at any time to restore the view. Columns by position: 0 GameID, 1 System, 2 FullName,
// 3 FileName, 4 File, 5 Year, 6 Manufacturer, 7 Country, 8 Description, 9 FirstOfImage,
// 10 SystemID, 11 FullImage, 12 Rating, 13 FirstOfGenreID, 14 Edited, 15 Emu.
#include <QString>

namespace quillon {

class Catalogue;
class Feedback;

// The statement that creates the view.
QString SaveAsH2Definition();

// Drops the view when it exists and creates it again, in one transaction. Failures are reported
// as "-(AddH2)-" and leave the catalogue as it was.
bool AddH2(Catalogue& catalogue, Feedback& feedback);

}  // namespace quillon
