#include "browser/CoverThumbnails.h"

#include "catalogue/DataFolder.h"
#include "common/AtomicFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace quillon {

namespace {

// The text kept in a thumbnail that names the picture state it was made from.
const QString kSourceKey = QStringLiteral("Source");

QString SourceStamp(const QFileInfo& picture)
{
  return QString::number(picture.size()) + QLatin1Char('-') +
         QString::number(picture.lastModified().toMSecsSinceEpoch());
}

QImage ReadStoredThumbnail(const QString& file, const QString& stamp)
{
  QImageReader reader(file, "png");
  if (!reader.canRead() || reader.text(kSourceKey) != stamp)
    return {};
  return reader.read();
}

QImage MakeThumbnail(const QString& picturePath, int side)
{
  QImageReader reader(picturePath);
  reader.setAutoTransform(true);
  const QSize full = reader.size();
  // Decoders such as JPEG's skip most of the work when asked for a small picture at once.
  if (full.isValid() && (full.width() > side || full.height() > side))
    reader.setScaledSize(full.scaled(side, side, Qt::KeepAspectRatio));
  QImage image = reader.read();
  if (image.isNull())
    return {};
  if (image.width() > side || image.height() > side)
    image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

}  // namespace

QString ThumbnailFolder(const DataFolder& folder)
{
  return folder.Path() + QStringLiteral("cache/thumbnails/");
}

QString ThumbnailFile(const QString& thumbnailFolder, const QString& picturePath)
{
  const QByteArray key =
      QCryptographicHash::hash(QFileInfo(picturePath).absoluteFilePath().toUtf8(), QCryptographicHash::Sha1);
  return QDir(thumbnailFolder).filePath(QString::fromLatin1(key.toHex()) + QStringLiteral(".png"));
}

QImage LoadThumbnail(const QString& picturePath, const QString& thumbnailFolder, int side)
{
  const QFileInfo picture(picturePath);
  if (!picture.isFile())
    return {};
  const QString stamp = SourceStamp(picture) + QLatin1Char('-') + QString::number(side);
  const QString file = ThumbnailFile(thumbnailFolder, picturePath);
  QImage thumbnail = ReadStoredThumbnail(file, stamp);
  if (!thumbnail.isNull())
    return thumbnail;
  thumbnail = MakeThumbnail(picturePath, side);
  if (thumbnail.isNull())
    return {};
  thumbnail.setText(kSourceKey, stamp);
  if (QDir().mkpath(thumbnailFolder)) {
    PlaceFileAtomically(
        file, [&thumbnail](const QString& temporary, QString*) { return thumbnail.save(temporary, "PNG"); },
        Durability::RenamedOnly, nullptr);
  }
  return thumbnail;
}

}  // namespace quillon
