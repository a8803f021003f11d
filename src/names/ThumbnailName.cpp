#include "names/ThumbnailName.h"

namespace quillon {

QString ThumbnailName(const QString& label)
{
  static const QString replaced = QStringLiteral("&*/:`\"<>?\\|");
  QString name = label;
  for (QChar& c : name) {
    if (replaced.contains(c))
      c = QLatin1Char('_');
  }
  return name;
}

}  // namespace quillon
