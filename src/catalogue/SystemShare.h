#pragma once
// How to read one system's games quickly. Through the index on Games.System a read costs a look
// into the table per game; reading the whole table in its own order costs a few times less per
// row, all systems' rows included. Readers of every game of a system choose by its share.
#include <QtGlobal>

namespace quillon {

class Catalogue;

// Whether the system holds at least half of all games (counted by key), so that reading the whole
// table is the quicker way to its games. `systemGames`, when given, receives their number.
bool HoldsMostGames(Catalogue& catalogue, qint64 systemId, qint64* systemGames = nullptr);

}  // namespace quillon
