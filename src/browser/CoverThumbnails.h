#pragma once
// Small copies of the games' pictures for the box-art grid, kept on disk under the data folder so
// that a grid of thousands of games opens from small files. A thumbnail remembers the size and
// time of the picture it was made from and is made again when the picture changes. The functions
// touch nothing shared: worker threads call them.
#include <QImage>
#include <QString>

namespace quillon {

class DataFolder;

// The side of the square a thumbnail fits in, in pixels.
inline constexpr int kThumbnailSide = 192;

// The folder the thumbnails are kept in: cache/thumbnails/ in the data folder (not temp/, which
// scans empty).
QString ThumbnailFolder(const DataFolder& folder);

// The file the thumbnail of `picturePath` is kept in.
QString ThumbnailFile(const QString& thumbnailFolder, const QString& picturePath);

// The thumbnail of a picture, fitting in `side` x `side` with the picture's proportions: read from
// the folder when it was made from the picture as it is now, otherwise made and stored there. A
// null image when the picture is missing or unreadable; a thumbnail that cannot be stored is
// still returned.
QImage LoadThumbnail(const QString& picturePath, const QString& thumbnailFolder, int side = kThumbnailSide);

}  // namespace quillon
