#include "common/FileWriting.h"

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace quillon {

namespace {

constexpr qsizetype kProbeBytes = 4096;

}  // namespace

QString SystemErrorText(int errorNumber)
{
  return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString FolderWriteProblem(const QString& folder)
{
  QByteArray name = QFile::encodeName(folder + QStringLiteral("/.quillon-write-check-XXXXXX"));
  const int fd = ::mkstemp(name.data());
  if (fd < 0)
    return SystemErrorText(errno);
  const QByteArray probe(kProbeBytes, '\0');
  int error = 0;
  if (::write(fd, probe.constData(), size_t(probe.size())) != probe.size() || ::fsync(fd) != 0)
    error = errno != 0 ? errno : ENOSPC;
  ::close(fd);
  ::unlink(name.constData());
  return error != 0 ? SystemErrorText(error) : QString();
}

bool WriteAll(QFileDevice& file, QByteArrayView bytes)
{
  while (!bytes.isEmpty()) {
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written <= 0) {
      // A buffered file fails here when flushing the buffer falls short: flushing the rest gives
      // the system's reason.
      FlushAll(file);
      return false;
    }
    bytes = bytes.sliced(written);
  }
  return FlushAll(file);
}

bool FlushAll(QFileDevice& file)
{
  for (;;) {
    const qint64 pending = file.bytesToWrite();
    if (file.flush())
      return true;
    if (file.bytesToWrite() == 0 || file.bytesToWrite() >= pending)
      return false;
  }
}

bool RenameWithoutReplacing(const QString& oldPath, const QString& newPath, QString* error)
{
  const QByteArray from = QFile::encodeName(oldPath);
  const QByteArray to = QFile::encodeName(newPath);
  const auto fail = [&](int code) {
    if (error)
      *error = code == EEXIST ? QStringLiteral("%1 is already there").arg(newPath)
                              : QStringLiteral("%1: %2").arg(oldPath, SystemErrorText(code));
    return false;
  };
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
    return fail(errno);
  // File systems without RENAME_NOREPLACE: a second link fails on an existing name.
  if (::link(from.constData(), to.constData()) == 0) {
    ::unlink(from.constData());
    return true;
  }
  if (errno == EEXIST)
    return fail(EEXIST);
  // Nor hard links (FAT): the best that is left is to look first.
  if (QFileInfo::exists(newPath))
    return fail(EEXIST);
  return ::rename(from.constData(), to.constData()) == 0 || fail(errno);
}

}  // namespace quillon
