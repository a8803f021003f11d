#pragma once
// Deleting games: hidden from the list, removed from the catalogue, or removed together with
// their ROM files. Games are chosen by key, so another game that shares a file name is never hit.
#include <QList>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

enum class DeleteMode {
  ComputerAndDatabase = 1,  // "Delete from Computer & Database"
  Database = 2,             // "Remove Database Entry"
  ListOnly = 3,             // "Remove from List, but leave in Database"
};

struct DeletionResult {
  int games = 0;         // games changed
  int filesDeleted = 0;  // ROM files removed from disk
  bool ok = true;
  QString error;  // the report of the last refusal ("53-(delgame)-..."), empty when none
};

// Applies the mode to the games of the system with these keys. Removed games lose their genre
// links with them. A key that is no game of the system fails the whole request before anything is
// done. With the files, a game whose ROM file is not on disk (or cannot be removed) keeps its row.
// Failures are reported as "-(delgame)-" reports and clear `ok`; what was done stays done.
DeletionResult DeleteGames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QList<qint64>& gameIds,
                           DeleteMode mode);

// The ticked games of the system's list of available games, by key: what Delete Selected takes
// without a window. Nullopt on failure ("-(delgame)-").
std::optional<QList<qint64>> TickedGameIds(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

}  // namespace quillon
