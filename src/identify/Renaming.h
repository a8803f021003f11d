#pragma once
// Renames identified ROM files (and, when the system renames pictures, their pictures) to the
// standard names of their list entries, never over an existing file. Each game's renames are
// written to a journal before the files are touched; once they are done, the game's row, its
// cached checksums and its result change and the journal entries go, in one transaction. A run
// that was interrupted anywhere is finished by the next one: the journal tells which renames were
// done. The game keeps its row, genres, pictures and edits; a zip archive is renamed as a whole.
#include <QString>
#include <QStringList>
#include <QVariant>

#include <utility>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

struct PlannedRename {
  qint64 gameId = 0;
  QString folder;       // the ROM folder, ending in "/"
  QString oldFileName;  // as Games.FileName holds it (relative to the folder)
  QString newFileName;
  QString standardName;
  std::vector<std::pair<QString, QString>> pictures;  // full paths, old and new
  QVariant newImage;                                  // what Games.Image becomes; invalid when it stays
  QString problem;                                    // why the game cannot be renamed; empty when it can

  QString OldPath() const { return folder + oldFileName; }
  QString NewPath() const { return folder + newFileName; }
};

struct RenameSummary {
  bool ok = false;
  QString error;  // why nothing could be done
  std::vector<PlannedRename> renames;
  int renamed = 0;         // games whose files were renamed
  int finished = 0;        // games of an interrupted run that were finished first
  bool cancelled = false;  // the user stopped the run; the files renamed so far stay renamed
  QStringList problems;
};

// The renames the stored results ask for: games to be renamed (and bad dumps) whose file is
// unchanged since it was verified. Problems (the target exists, the file changed) are noted on
// each; nothing is changed.
std::vector<PlannedRename> PlanRenames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool* ok);

// Finishes what an interrupted run left in the journal, then renames what PlanRenames gives.
// With `dryRun` nothing is changed and the plan is returned.
RenameSummary RenameToStandardNames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool dryRun);

// Finishes every game in the journal: pending renames are done, and the catalogue follows the
// files. Returns the number of games finished; problems are added to `problems`.
int FinishInterruptedRenames(Catalogue& catalogue, Feedback& feedback, QStringList* problems);

// The first half of a game's rename: its journal entries, committed. A run that stops here (or
// after any of the renames) is finished by FinishInterruptedRenames.
bool JournalRename(Catalogue& catalogue, Feedback& feedback, const PlannedRename& rename);

}  // namespace quillon
