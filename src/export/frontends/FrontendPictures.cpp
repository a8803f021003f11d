#include "export/frontends/FrontendPictures.h"

#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSet>

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

// The target is the source (a link), or a copy carrying its time (and size, unless converted).
bool IsCurrent(const struct stat& source, const QString& target, bool converted)
{
  struct stat placed {};
  if (::stat(QFile::encodeName(target).constData(), &placed) != 0 || !S_ISREG(placed.st_mode))
    return false;
  if (placed.st_dev == source.st_dev && placed.st_ino == source.st_ino)
    return true;
  return placed.st_mtim.tv_sec == source.st_mtim.tv_sec && placed.st_mtim.tv_nsec == source.st_mtim.tv_nsec &&
         (converted || placed.st_size == source.st_size);
}

bool MakeFolder(const QString& folder, QSet<QString>& madeFolders)
{
  if (madeFolders.contains(folder))
    return true;
  if (!QDir().mkpath(folder))
    return false;
  madeFolders.insert(folder);
  return true;
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
                           MediaMode mode, QSet<QString>& madeFolders)
{
  PlacedPicture placed;
  struct stat info {};
  if (source.isEmpty() || ::stat(QFile::encodeName(source).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
    placed.outcome = Outcome::Missing;
    return placed;
  }
  const QString own = PictureExtension(source);
  const bool keepsFormat = extensions.contains(own);
  const QString extension = keepsFormat ? own : extensions.value(0, QStringLiteral("png"));
  placed.path = pathWithoutExtension + QLatin1Char('.') + extension;
  if (IsCurrent(info, placed.path, !keepsFormat)) {
    placed.outcome = Outcome::Current;
    return placed;
  }
  if (!MakeFolder(QFileInfo(placed.path).absolutePath(), madeFolders)) {
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
