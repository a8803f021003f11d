#include "catalogue/CatalogueCounts.h"

#include "catalogue/Catalogue.h"

namespace quillon {

namespace {

int RowsIn(Catalogue& catalogue, const QString& sql)
{
  const std::optional<Rows> rows = catalogue.TrySelect(sql, {}, nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0).toInt() : 0;
}

}  // namespace

CatalogueCounts CountSystemsAndGames(Catalogue& catalogue)
{
  return {RowsIn(catalogue, QStringLiteral("SELECT count(*) FROM System")),
          RowsIn(catalogue, QStringLiteral("SELECT count(*) FROM Games"))};
}

}  // namespace quillon
