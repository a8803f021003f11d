#pragma once
// The regions that No-Intro and TOSEC names give in brackets, beside GoodTools' codes: No-Intro
// writes words separated by ", " ("Game (USA, Europe)", "Game (Japan) (Rev 1)"), TOSEC two-letter
// codes joined by "-" ("Game (1990)(Maker)(US-EU)"). Each region, or known pair of them, stands
// for a country of the delivered catalogue, by its name.
#include <QString>
#include <QStringView>

namespace quillon {

// The catalogue's name of the country the first region group of `name` stands for ("USA/Europe"
// for "(USA, Europe)", "Holland" for "(Netherlands)"); empty when the name gives no region. Of a
// group, the leading region words count ("(Europe, rev. A)" gives "Europe"); regions that make
// up no country of their own together give the country of the first of them.
QString RegionCountryName(QStringView name);

}  // namespace quillon
