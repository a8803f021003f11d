#pragma once
// The systems of today's collections that a catalogue gains after the first 33 and Zinc, with
// their names in the front-ends, the Mame software lists and RetroArch's databases (the folder of
// its thumbnails). A structure-upgrade step adds each of them that a catalogue does not have yet.
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

#include <optional>
#include <span>

namespace quillon {

class Catalogue;
class Feedback;

struct DeliveredSystem {
  const char* name;
  const char* shortName;
  int type;                   // SystemType key: 1 consoles, 2 handhelds, 3 computers, 4 arcade
  const char* extensions;     // DefaultRomType
  const char* esde;           // ES-DE's system folder
  const char* pegasus;        // Pegasus collection short name
  const char* retroArch;      // RetroArch database and thumbnail name
  const char* softwareLists;  // Mame software lists, ";" between them
};

std::span<const DeliveredSystem> DeliveredSystems();

// Adds a `System` row with `values` (column, value) and, for every other setting, the value a
// delivered system starts with: columns that structure upgrades added to older catalogues have no
// default of their own. Returns the new key (reported with `routine`'s tag on failure).
std::optional<qint64> InsertSystemRow(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                      const QList<QPair<QString, QVariant>>& values);

// Why a game that the scan found is incomplete (a track its sheet names is not there): one row per
// such game, removed when the scan finds it whole again.
inline const QString kMissingFilesTable = QStringLiteral("MissingFiles");

}  // namespace quillon
