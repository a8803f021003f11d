#include "scan/GameAdding.h"

#include "catalogue/Catalogue.h"

namespace quillon {

std::optional<AddGameStart> AddGameStartOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("AddGame"),
      QStringLiteral("SELECT RomPath.RomPath, System.DefaultRomType FROM System LEFT JOIN RomPath "
                     "ON System.SystemID = RomPath.System WHERE System.SystemID = ? ORDER BY RomPath.PathID LIMIT 1"),
      {systemId});
  if (!rows)
    return std::nullopt;
  if (rows->IsEmpty())
    return AddGameStart{};
  return AddGameStart{rows->Value(0, 0).toString(), rows->Value(0, 1).toString()};
}

bool SystemRenamesRoms(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine)
{
  const std::optional<QVariant> rename = catalogue.SelectValue(
      feedback, routine, QStringLiteral("SELECT Rename FROM System WHERE SystemID = ?"), {systemId});
  return rename && IsTrue(*rename);
}

}  // namespace quillon
