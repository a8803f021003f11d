#pragma once
// What a picture is: its format and size, read with the picture decoders.
#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

namespace quillon {

struct PictureFacts {
  QByteArray format;  // as the decoders name it: "jpeg", "png", "gif", ...
  QSize size;
};

enum class PictureRead { HeaderOnly, WholePicture };

// The format and size of picture bytes, judged by their content (never by a name). With
// HeaderOnly the bytes may be the start of a picture; WholePicture decodes it all, so a damaged or
// truncated picture gives nullopt.
std::optional<PictureFacts> ReadPictureFacts(const QByteArray& bytes, PictureRead how);
std::optional<PictureFacts> ReadPictureFile(const QString& path);

// True when the file decodes as a picture: an error page or a truncated download does not.
bool IsPictureFile(const QString& path);

// The type description of a picture format, as "JPEG Image"; empty for an unknown format.
QString PictureTypeDescription(const QByteArray& format);

}  // namespace quillon
