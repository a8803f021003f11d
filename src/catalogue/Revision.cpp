#include "catalogue/Revision.h"

#include "catalogue/Catalogue.h"

namespace quillon {

QString GetRevision(Catalogue& catalogue)
{
  const std::optional<Rows> rows = catalogue.TrySelect(QStringLiteral("SELECT Revision FROM Version"), {}, nullptr);
  if (!rows || rows->IsEmpty() || rows->Value(0, 0).isNull())
    return kUnknownRevision;
  return rows->Value(0, 0).toString();
}

}  // namespace quillon
