#include "images/Thumbnails.h"

#include <QUrl>

namespace quillon {

namespace {

QString Segment(const QString& text)
{
  return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

QString BoxArtAddress(const QString& server, const QString& database, const QString& standardName)
{
  QString base = server;
  while (base.endsWith(QLatin1Char('/')))
    base.chop(1);
  return base + QLatin1Char('/') + Segment(database) + QStringLiteral("/Named_Boxarts/") +
         Segment(ThumbnailName(standardName) + QStringLiteral(".png"));
}

}  // namespace quillon
