#pragma once
// Adding a system of the user's own and deleting a system with everything that hangs on it.
#include <QString>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

struct NewSystem {
  QString name;
  qint64 typeId = 0;   // SystemType key
  QString shortName;   // empty: the name without blanks
  QString extensions;  // DefaultRomType; empty: "zip"
};

// Adds the system, its tab off until it gets a ROM folder. Refuses (reported as "-(AddSystem)-")
// an empty name, a name another system has (ignoring case) and a type that does not exist.
// Returns the new key.
std::optional<qint64> AddSystem(Catalogue& catalogue, Feedback& feedback, const NewSystem& system);

// The question asked before a system with games is deleted; the CLI answers it with --yes.
inline const QString kDeleteSystemQuestion = QStringLiteral("system.delete");
QString DeleteSystemQuestionText(const QString& systemName, int games);

// Why the system may not be deleted (empty when it may); nullopt when the catalogue cannot say
// (reported).
std::optional<QString> DeleteSystemRefusal(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

enum class SystemDeletion { Deleted, Declined, Refused, Failed };

// Deletes the system in one transaction: its games with their genre links, identification
// results and missing-file notes, its ROM folders, image sites, ignore lists, site scripts and
// reference lists, then its row. A system with games asks first (kDeleteSystemQuestion). The
// arcade systems (Arcade, fed by the Mame import, and Zinc, which the saved queries know by
// key) are refused, and so is the last system with a tab. Files on disk are never touched.
SystemDeletion DeleteSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

}  // namespace quillon
