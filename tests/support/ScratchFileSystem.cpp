#include "ScratchFileSystem.h"

#include <QFile>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace quillon::test {

namespace {

QByteArray Options(qint64 bytes)
{
  return "size=" + QByteArray::number(bytes) + ",mode=0777";
}

}  // namespace

ScratchFileSystem::ScratchFileSystem(qint64 bytes) : m_bytes(bytes)
{
  const QByteArray path = QFile::encodeName(m_dir.path());
  m_mounted = m_dir.isValid() && ::mount("tmpfs", path.constData(), "tmpfs", 0, Options(bytes).constData()) == 0;
  if (!m_mounted)
    m_error = QStringLiteral("a tmpfs cannot be mounted here (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
}

ScratchFileSystem::~ScratchFileSystem()
{
  if (m_mounted)
    ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
}

bool ScratchFileSystem::Fill(qint64 freeBytes)
{
  const QByteArray filler = QFile::encodeName(m_dir.path() + QStringLiteral("/.filler"));
  const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0)
    return false;
  const QByteArray block(4096, 'f');
  while (::write(fd, block.constData(), size_t(block.size())) > 0) {
  }
  const bool full = errno == ENOSPC;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  const bool sized = freeBytes == 0 || ::ftruncate(fd, std::max<off_t>(0, size - off_t(freeBytes))) == 0;
  ::close(fd);
  return full && sized;
}

bool ScratchFileSystem::MakeReadOnly()
{
  return ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                 Options(m_bytes).constData()) == 0;
}

}  // namespace quillon::test
