#include "export/frontends/FrontendPictures.h"

#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

namespace quillon {

namespace {

using Outcome = PlacedPicture::Outcome;

// The extension a picture is known by: "jpeg" is "jpg".
QString PictureExtension(const QString& path)
{
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == QStringLiteral("jpeg") ? QStringLiteral("jpg") : suffix;
}

bool SameFile(const QString& a, const QString& b)
{
  struct stat first {};
  struct stat second {};
  return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
         ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

// A placed copy carries its source's time; a converted one cannot carry its size.
bool IsCurrent(const QString& source, const QString& target, bool converted)
{
  const QFileInfo from(source);
  const QFileInfo to(target);
  if (!to.isFile())
    return false;
  if (SameFile(source, target))
    return true;
  return to.lastModified() == from.lastModified() && (converted || to.size() == from.size());
}

// Gives `path` the modification time of `source` (a read-only copy too).
bool StampTime(const QString& source, const QString& path, QString* error)
{
  struct stat from {};
  if (::stat(QFile::encodeName(source).constData(), &from) != 0) {
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  const timespec times[2] = {{0, UTIME_OMIT}, from.st_mtim};
  if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) != 0) {
    *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  return true;
}

bool ConvertInto(const QString& source, const QString& format, const QString& temporary, QString* error)
{
  QImageReader reader(source);
  reader.setAutoTransform(true);
  const QImage image = reader.read();
  if (image.isNull()) {
    *error = QStringLiteral("cannot read %1 (%2)").arg(QDir::toNativeSeparators(source), reader.errorString());
    return false;
  }
  if (!image.save(temporary, format.toLatin1().constData())) {
    *error = QStringLiteral("cannot write a %1 picture").arg(format.toUpper());
    return false;
  }
  return StampTime(source, temporary, error);
}

bool CopyInto(const QString& source, const QString& temporary, QString* error)
{
  QFile file(source);
  if (!file.copy(temporary)) {
    *error = QStringLiteral("cannot copy %1 (%2)").arg(QDir::toNativeSeparators(source), file.errorString());
    return false;
  }
  return StampTime(source, temporary, error);
}

}  // namespace

PlacedPicture PlacePicture(const QString& source, const QString& pathWithoutExtension, const QStringList& extensions,
                           MediaMode mode)
{
  PlacedPicture placed;
  const QFileInfo info(source);
  if (source.isEmpty() || !info.isFile()) {
    placed.outcome = Outcome::Missing;
    return placed;
  }
  const QString own = PictureExtension(source);
  const bool keepsFormat = extensions.contains(own);
  const QString extension = keepsFormat ? own : extensions.value(0, QStringLiteral("png"));
  placed.path = pathWithoutExtension + QLatin1Char('.') + extension;
  if (IsCurrent(source, placed.path, !keepsFormat)) {
    placed.outcome = Outcome::Current;
    return placed;
  }
  if (!QDir().mkpath(QFileInfo(placed.path).absolutePath())) {
    placed.error = QStringLiteral("%1: cannot make its folder").arg(QDir::toNativeSeparators(placed.path));
    return placed;
  }
  if (!keepsFormat) {
    const FileMaker convert = [&](const QString& temporary, QString* error) {
      return ConvertInto(source, extension == QStringLiteral("jpg") ? QStringLiteral("jpeg") : extension, temporary,
                         error);
    };
    placed.outcome = PlaceFileAtomically(placed.path, convert, Durability::RenamedOnly, &placed.error)
                         ? Outcome::Converted
                         : Outcome::Failed;
    return placed;
  }
  if (mode == MediaMode::Link && LinkFileAtomically(source, placed.path, &placed.error)) {
    placed.outcome = Outcome::Linked;
    return placed;
  }
  // Where a link is not allowed (another file system), a copy serves.
  const FileMaker copy = [&](const QString& temporary, QString* error) { return CopyInto(source, temporary, error); };
  placed.error.clear();
  placed.outcome = PlaceFileAtomically(placed.path, copy, Durability::RenamedOnly, &placed.error) ? Outcome::Copied
                                                                                                  : Outcome::Failed;
  return placed;
}

}  // namespace quillon
