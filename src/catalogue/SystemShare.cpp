#include "catalogue/SystemShare.h"

#include "catalogue/BulkStatement.h"

namespace quillon {

bool HoldsMostGames(Catalogue& catalogue, qint64 systemId, qint64* systemGames)
{
  BulkStatement games(catalogue, QStringLiteral("SELECT count(*) FROM Games WHERE System = ?"));
  games.Bind(1, systemId);
  BulkStatement all(catalogue, QStringLiteral("SELECT max(rowid) FROM Games"));
  if (!games.Next() || !all.Next())
    return false;
  if (systemGames)
    *systemGames = games.Int(0);
  return 2 * games.Int(0) >= all.Int(0);
}

}  // namespace quillon
