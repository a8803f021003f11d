#include "catalogue/FileWriting.h"

#include <QByteArray>
#include <QFile>
#include <QFileDevice>
#include <QSaveFile>

#include <fcntl.h>
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

bool CopyWholeFile(const QString& from, const QString& to, QString* reason)
{
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) {
    *reason = from + QStringLiteral(": ") + source.errorString();
    return false;
  }
  const QByteArray bytes = source.readAll();
  QSaveFile copy(to);
  if (!copy.open(QIODevice::WriteOnly) || !WriteAll(copy, bytes) || !copy.commit()) {
    *reason = copy.errorString();
    copy.cancelWriting();
    return false;
  }
  return true;
}

}  // namespace quillon
