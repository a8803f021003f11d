#pragma once
// How other programs name our systems: the short names of ES-DE and Pegasus, RetroArch's database
// and playlist name (also the folder of its thumbnails), and the Mame software lists that hold a
// system's games. A shipped table covers every delivered system; each system may override any
// name in its own `System` columns (Null keeps the shipped one). Custom systems have no shipped
// names: whatever the user renamed them to, they get names only when the user sets them.
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

struct SystemNames {
  QString esde;               // ES-DE's system folder: "snes", "genesis", "pcengine"
  QString pegasus;            // Pegasus collection short name
  QString retroArch;          // "Nintendo - Super Nintendo Entertainment System"
  QStringList softwareLists;  // Mame software lists, e.g. "megadriv", "32x"
  QString retroArchCore;      // a libretro core file chosen for the system; empty: RetroArch decides
  QString retroArchCoreName;  // its display name; empty: derived from the core file
};

// The `System` columns that override the shipped names, in the order the options show them.
inline const QString kEsdeNameColumn = QStringLiteral("EsdeName");
inline const QString kPegasusNameColumn = QStringLiteral("PegasusName");
inline const QString kRetroArchNameColumn = QStringLiteral("RetroArchName");
inline const QString kSoftwareListsColumn = QStringLiteral("SoftwareLists");
inline const QString kRetroArchCoreColumn = QStringLiteral("RetroArchCore");
inline const QString kRetroArchCoreNameColumn = QStringLiteral("RetroArchCoreName");
const QStringList& SystemNameColumns();

// The shipped names of a delivered system (keys 1 to 28 and Zinc); nullopt for any other key.
std::optional<SystemNames> ShippedSystemNames(qint64 systemId);

// The names the exports (and the identification) use: each override column that holds a value,
// else the shipped name. A catalogue without the override columns yet gives the shipped names.
// nullopt (reported as "-(SystemNamesOf)-") when the system cannot be read or does not exist.
std::optional<SystemNames> SystemNamesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// A software-list setting as names: split at ";", "," and blanks, empty parts dropped.
QStringList SoftwareListNames(const QString& text);

}  // namespace quillon
