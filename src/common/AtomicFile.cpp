#include "common/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

std::atomic<int> g_temporaryCounter{0};

QString SystemError(int number)
{
  return QString::fromLocal8Bit(std::strerror(number));
}

// A name beside `path` that is hidden, tells where it came from, and is not used yet.
QString TemporaryPathBeside(const QString& path)
{
  static const QString process = QString::number(::getpid());
  const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
  const QString prefix = path.left(slash + 1) + QLatin1Char('.') + path.mid(slash + 1) + QStringLiteral(".quillon-") +
                         process + QLatin1Char('-');
  struct stat existing {};
  for (;;) {
    const QString candidate = prefix + QString::number(++g_temporaryCounter);
    if (::lstat(QFile::encodeName(candidate).constData(), &existing) != 0)
      return candidate;
  }
}

bool SyncPath(const QString& path, int flags)
{
  const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

bool Place(const QString& path, const FileMaker& make, Durability durability, bool keepPermissions, QString* error)
{
  const QFileInfo target(path);
  const QString temporary = TemporaryPathBeside(path);
  const auto fail = [&](const QString& why) {
    QFile::remove(temporary);
    if (error)
      *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
    return false;
  };
  QString why;
  if (!make(temporary, &why))
    return fail(why);
  if (keepPermissions && target.exists())
    QFile::setPermissions(temporary, target.permissions());
  if (durability == Durability::Synced && !SyncPath(temporary, O_RDONLY))
    return fail(SystemError(errno));
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
    return fail(SystemError(errno));
  // The rename itself reaches the disk with the folder.
  if (durability == Durability::Synced)
    SyncPath(target.absolutePath(), O_RDONLY | O_DIRECTORY);
  return true;
}

}  // namespace

bool PlaceFileAtomically(const QString& path, const FileMaker& make, Durability durability, QString* error)
{
  return Place(path, make, durability, true, error);
}

bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error)
{
  const FileMaker write = [&content](const QString& temporary, QString* why) {
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) || file.write(content) != content.size() ||
        !file.flush()) {
      *why = file.errorString();
      return false;
    }
    return true;
  };
  return Place(path, write, Durability::Synced, true, error);
}

bool CopyFileAtomically(const QString& source, const QString& path, Durability durability, QString* error)
{
  const FileMaker copy = [&source](const QString& temporary, QString* why) {
    QFile file(source);
    if (!file.copy(temporary)) {
      *why = QStringLiteral("cannot copy %1 (%2)").arg(QDir::toNativeSeparators(source), file.errorString());
      return false;
    }
    return true;
  };
  return Place(path, copy, durability, true, error);
}

bool LinkFileAtomically(const QString& source, const QString& path, QString* error)
{
  const FileMaker link = [&source](const QString& temporary, QString* why) {
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(temporary).constData()) != 0) {
      *why = SystemError(errno);
      return false;
    }
    return true;
  };
  // A link shares its source's permissions: changing them would change the source.
  return Place(path, link, Durability::RenamedOnly, false, error);
}

bool ReadWholeFile(const QString& path, QByteArray* content, bool* exists, QString* error)
{
  QFile file(path);
  *exists = file.exists();
  content->clear();
  if (!*exists)
    return true;
  if (!file.open(QIODevice::ReadOnly)) {
    if (error)
      *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
    return false;
  }
  *content = file.readAll();
  return true;
}

}  // namespace quillon
