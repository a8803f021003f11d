#include "images/BatchGames.h"

#include "catalogue/Catalogue.h"
#include "images/ImageSearchRules.h"

namespace quillon {

std::optional<ListedGame> ListedGameOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 gameId)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kImageSearchRoutine,
                       QStringLiteral("SELECT GameID, FullName, Selected FROM Games WHERE GameID = ? AND System = ?"),
                       {gameId, systemId});
  if (!rows || rows->IsEmpty())
    return std::nullopt;
  return ListedGame{rows->Value(0, 0).toLongLong(), rows->Value(0, 1).toString(), IsTrue(rows->Value(0, 2))};
}

}  // namespace quillon
