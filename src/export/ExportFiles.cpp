#include "export/ExportFiles.h"

#include <QFileInfo>

namespace quillon {

QString WithDefaultSuffix(const QString& name, const QString& suffix)
{
  if (name.isEmpty() || suffix.isEmpty() || !QFileInfo(name).suffix().isEmpty())
    return name;
  return name + QLatin1Char('.') + suffix;
}

}  // namespace quillon
