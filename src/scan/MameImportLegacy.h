#pragma once
// The three game lists of Mame builds that predate -listxml, as they print them with
// "-ll -sortdriver", "-listgames -sortdriver" and "-listclones -sortdriver": Windows-1252 text
// with CR LF line ends, read line by line at fixed columns.
#include "names/Windows1252.h"

#include <QString>

namespace quillon {

// The lists' files in the data folder's temp folder.
inline const QString kMameListFile = QStringLiteral("list.txt");
inline const QString kMameYearFile = QStringLiteral("year.txt");
inline const QString kMameClonesFile = QStringLiteral("clones.txt");

// A line of list.txt: the driver name up to the first blank, then the title in double quotes.
struct MameListLine {
  QString driver;
  QString title;
};
MameListLine SplitListLine(const QString& line);

// A line of year.txt: the year in characters 1 to 4, the manufacturer from character 5 in a
// field 38 characters wide, widened while it holds "(" but no ")" (a long maker pushes the title
// to the right instead of being cut).
struct MameYearLine {
  QString year;
  QString manufacturer;
};
MameYearLine SplitYearLine(const QString& line);

// The clone's driver name of a line of clones.txt: the text before the first blank.
QString CloneNameOf(const QString& line);

}  // namespace quillon
