#pragma once
// Adding ROM files by hand (Edit > Add Game, files dropped on the list, quillon-cli add-game): where
// the file dialog starts, and whether the system renames the files it takes.
#include <QString>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

struct AddGameStart {
  QString romFolder;  // the system's first ROM folder; empty without one
  QString romTypes;   // its DefaultRomType, the extensions the dialog offers
};

// The start of Add Game for a system; nullopt on failure ("-(AddGame)-").
std::optional<AddGameStart> AddGameStartOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// Whether the system's files are renamed as they are added (System.Rename); false on failure,
// which is reported with `routine`'s tag.
bool SystemRenamesRoms(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine);

}  // namespace quillon
