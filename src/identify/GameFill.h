#pragma once
// What an identified game learns from its list entry: the year, the maker (the entry's
// publisher), the country (the region words of the standard name), the full name (the title of
// the description) and the clone mark. Only what the game lacks is filled: a year, maker or
// country that is not the unknown one, and a full name other than the one the scan derived from
// the file name, were entered by the user and stay.
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class Lookups;
struct IndexEntry;

struct GameFacts {
  qint64 gameId = 0;
  QString fullName;
  QString fileName;
  qint64 year = 0;
  qint64 manufacturer = 0;
  qint64 country = 0;
  bool clone = false;
};

// Fills what `game` lacks from `entry` with one statement; returns the columns written ("Year",
// "Manufacturer", "Country", "FullName", "Clone"), empty when nothing was missing. Sets `failed`
// when the statement fails (reported through the lookups' feedback).
QStringList FillFromEntry(Catalogue& catalogue, Lookups& lookups, const GameFacts& game, const IndexEntry& entry,
                          bool* failed);

// A list's year as the catalogue writes years: "1988" stays, "198?" becomes "198x"; anything
// else (as "19??") gives nothing.
QString YearOfList(const QString& year);
// The title of a description: the text before its first " (", trimmed ("Super Mario Bros. (World)"
// gives "Super Mario Bros.").
QString TitleOfDescription(const QString& description);
// True for a full name the program derived from `fileName` rather than one the user typed.
bool IsDerivedFullName(const QString& fullName, const QString& fileName);

}  // namespace quillon
