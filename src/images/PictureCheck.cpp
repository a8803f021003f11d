#include "images/PictureCheck.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace quillon {

namespace {

std::optional<PictureFacts> FactsFrom(QIODevice& device, PictureRead how)
{
  QImageReader reader(&device);
  reader.setDecideFormatFromContent(true);
  if (!reader.canRead())
    return std::nullopt;
  PictureFacts facts{reader.format(), reader.size()};
  if (how == PictureRead::WholePicture) {
    const QImage image = reader.read();
    if (image.isNull())
      return std::nullopt;
    facts.size = image.size();
  }
  if (facts.format.isEmpty() || !facts.size.isValid() || facts.size.isEmpty())
    return std::nullopt;
  return facts;
}

}  // namespace

std::optional<PictureFacts> ReadPictureFacts(const QByteArray& bytes, PictureRead how)
{
  QByteArray copy = bytes;
  QBuffer buffer(&copy);
  if (!buffer.open(QIODevice::ReadOnly))
    return std::nullopt;
  return FactsFrom(buffer, how);
}

std::optional<PictureFacts> ReadPictureFile(const QString& path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  return FactsFrom(file, PictureRead::WholePicture);
}

bool IsPictureFile(const QString& path)
{
  return ReadPictureFile(path).has_value();
}

QString PictureTypeDescription(const QByteArray& format)
{
  if (format.isEmpty())
    return {};
  return QString::fromLatin1(format).toUpper() + QStringLiteral(" Image");
}

}  // namespace quillon
