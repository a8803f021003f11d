#pragma once
// Identifies every ROM file of a system by its contents against the system's reference lists,
// stores each game's result, fills what the lists know and the games lack, and counts what the
// collection has of the lists.
#include "identify/RomIndex.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

struct VerifyOptions {
  // Read every matched zip member to compare its SHA-1 too (slower: the data is decompressed).
  bool confirmSha1 = false;
};

struct GameVerdict {
  qint64 gameId = 0;
  QString fileName;
  MatchStatus status = MatchStatus::Unchecked;
  QString standardName;    // the matched entry's, for Verified, Rename and BadDump
  QString listName;        // the matched entry's list
  QStringList candidates;  // the standard names of an ambiguous match
  QStringList filled;      // the columns the entry filled in
};

struct VerifySummary {
  bool ok = false;
  QString error;           // why nothing was verified
  bool cancelled = false;  // the user stopped the run; nothing was changed
  std::vector<GameVerdict> games;
  int lists = 0;
  int listEntries = 0;
  int have = 0;     // entries of the lists that a game matched
  int missing = 0;  // entries no game matched
  int filesRead = 0;
  int notOnDisk = 0;       // games whose file was not found
  QStringList unreadable;  // files that could not be read, with why

  int CountOf(MatchStatus status) const;
};

// Verifies the games of the system whose ROM file is on disk. Files whose size and modification
// time are those of the hash cache are not read again.
VerifySummary VerifySystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId,
                           const VerifyOptions& options = {});

// "Have 12 / missing from the list 4519. Verified 10, rename needed 1, ..." for the status line.
QString VerifySummaryText(const VerifySummary& summary);

// True when a game of the system has a stored result.
bool HasVerificationResults(Catalogue& catalogue, qint64 systemId);

// The standard name of an identified game (verified, to be renamed, or a bad dump); empty otherwise.
QString IdentifiedName(Catalogue& catalogue, qint64 gameId);
// True when some game of the system has a standard name from its lists: only then is the thumbnail
// server, which is asked by standard name, a picture source for the system.
bool HasIdentifiedGames(Catalogue& catalogue, qint64 systemId);

}  // namespace quillon
