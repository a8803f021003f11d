#pragma once
// Keys the delivered catalogue reserves: the "[Unknown]" rows of the lookup tables, which games
// get when nothing better is known and which the filters test directly, and the systems the
// program treats specially.
#include <QString>

namespace quillon {

inline constexpr qint64 kUnknownCountry = 1;
inline constexpr qint64 kUnknownYear = 42;
inline constexpr qint64 kUnknownManufacturer = 319;
inline constexpr qint64 kUnknownGenre = 1;
inline const QString kUnknownGenreName = QStringLiteral("[Unknown]");

// Arcade: the Mame import fills it and its list can leave out clones.
inline constexpr qint64 kArcadeSystemId = 1;
// Zinc: the key the structure upgrade gives it.
inline constexpr qint64 kZincSystemId = 34;

}  // namespace quillon
