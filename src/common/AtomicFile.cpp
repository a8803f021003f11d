#include "common/AtomicFile.h"

#include "common/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

std::atomic<int> g_temporaryCounter{0};

// A new file is made readable and writable for all, less what the user's umask takes away.
constexpr mode_t kNewFileMode = 0666;

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

QString LinkedTarget(const QString& path, bool followLink)
{
  const QFileInfo given(path);
  return followLink && given.isSymLink() ? given.symLinkTarget() : path;
}

bool SyncPath(const QString& path, int flags)
{
  const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool synced = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return synced;
}

// The reason a test hook gives for the step it makes fail.
QString InjectedReason()
{
  return SystemErrorText(EIO);
}

bool Described(const QString& path, const QString& why, QString* error)
{
  if (error)
    *error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), why);
  return false;
}

bool Place(const QString& path, const FileMaker& make, ReplaceOptions options, QString* error)
{
  AtomicFile file(path, std::move(options));
  QString why;
  if (!make(file.TemporaryPath(), &why))
    return Described(path, why, error);
  ReplaceFailure failure;
  return file.Commit(&failure) || Described(path, failure.reason, error);
}

}  // namespace

AtomicFile::AtomicFile(const QString& target, ReplaceOptions options)
    : m_target(LinkedTarget(target, options.followLink)),
      m_temporary(TemporaryPathBeside(m_target)),
      m_options(std::move(options))
{
}

AtomicFile::AtomicFile(const QString& target, const QString& temporaryPath, ReplaceOptions options)
    : m_target(LinkedTarget(target, options.followLink)), m_temporary(temporaryPath), m_options(std::move(options))
{
}

AtomicFile::~AtomicFile()
{
  if (!m_committed)
    ::unlink(QFile::encodeName(m_temporary).constData());
}

bool AtomicFile::Failed(ReplaceStep step, const QString& reason, ReplaceFailure* failure)
{
  ::unlink(QFile::encodeName(m_temporary).constData());
  if (failure)
    *failure = {step, reason};
  return false;
}

bool AtomicFile::FailedWithErrno(ReplaceStep step, ReplaceFailure* failure)
{
  return Failed(step, SystemErrorText(errno), failure);
}

bool AtomicFile::Write(QByteArrayView content, ReplaceFailure* failure)
{
  if (Fails(ReplaceStep::CreateTemporary))
    return Failed(ReplaceStep::CreateTemporary, InjectedReason(), failure);
  const int fd =
      ::open(QFile::encodeName(m_temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
  if (fd < 0)
    return FailedWithErrno(ReplaceStep::CreateTemporary, failure);
  while (!content.isEmpty()) {
    if (Fails(ReplaceStep::WriteTemporary)) {
      ::close(fd);
      return Failed(ReplaceStep::WriteTemporary, InjectedReason(), failure);
    }
    const ssize_t written = ::write(fd, content.data(), size_t(content.size()));
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0) {
      const int error = written == 0 ? ENOSPC : errno;
      ::close(fd);
      return Failed(ReplaceStep::WriteTemporary, SystemErrorText(error), failure);
    }
    content = content.sliced(written);
  }
  if (::close(fd) != 0)
    return FailedWithErrno(ReplaceStep::WriteTemporary, failure);
  return true;
}

bool AtomicFile::CopyFrom(const QString& source, ReplaceFailure* failure)
{
  if (Fails(ReplaceStep::WriteTemporary))
    return Failed(ReplaceStep::WriteTemporary, InjectedReason(), failure);
  QFile file(source);
  if (!file.copy(m_temporary))
    return Failed(ReplaceStep::WriteTemporary,
                  QStringLiteral("cannot copy %1 (%2)").arg(QDir::toNativeSeparators(source), file.errorString()),
                  failure);
  return true;
}

void AtomicFile::SetPermissions()
{
  struct stat target {};
  const QByteArray temporary = QFile::encodeName(m_temporary);
  if (m_options.keepTargetPermissions && ::stat(QFile::encodeName(m_target).constData(), &target) == 0)
    ::chmod(temporary.constData(), target.st_mode & 07777);
  else if (m_options.newPermissions)
    QFile::setPermissions(m_temporary, *m_options.newPermissions);
}

bool AtomicFile::PlaceTemporary()
{
  if (m_options.replaceExisting)
    return std::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_target).constData()) == 0;
  QString error;
  return RenameWithoutReplacing(m_temporary, m_target, &error);
}

bool AtomicFile::Commit(ReplaceFailure* failure)
{
  SetPermissions();
  const bool synced = m_options.durability == Durability::Synced;
  if (synced && Fails(ReplaceStep::SyncTemporary))
    return Failed(ReplaceStep::SyncTemporary, InjectedReason(), failure);
  if (synced && !SyncPath(m_temporary, O_RDONLY))
    return FailedWithErrno(ReplaceStep::SyncTemporary, failure);
  if (Fails(ReplaceStep::ReplaceFile))
    return Failed(ReplaceStep::ReplaceFile, InjectedReason(), failure);
  if (!PlaceTemporary())
    return FailedWithErrno(ReplaceStep::ReplaceFile, failure);
  m_committed = true;
  // The rename itself reaches the disk with the folder.
  if (synced)
    SyncPath(QFileInfo(m_target).absolutePath(), O_RDONLY | O_DIRECTORY);
  return true;
}

bool PlaceFileAtomically(const QString& path, const FileMaker& make, Durability durability, QString* error)
{
  ReplaceOptions options;
  options.durability = durability;
  return Place(path, make, std::move(options), error);
}

bool WriteFileAtomically(const QString& path, const QByteArray& content, QString* error)
{
  AtomicFile file(path);
  ReplaceFailure failure;
  return (file.Write(content, &failure) && file.Commit(&failure)) || Described(path, failure.reason, error);
}

bool CopyFileAtomically(const QString& source, const QString& path, Durability durability, QString* error)
{
  ReplaceOptions options;
  options.durability = durability;
  AtomicFile file(path, options);
  ReplaceFailure failure;
  return (file.CopyFrom(source, &failure) && file.Commit(&failure)) || Described(path, failure.reason, error);
}

bool LinkFileAtomically(const QString& source, const QString& path, QString* error)
{
  const FileMaker link = [&source](const QString& temporary, QString* why) {
    if (::link(QFile::encodeName(source).constData(), QFile::encodeName(temporary).constData()) != 0) {
      *why = SystemErrorText(errno);
      return false;
    }
    return true;
  };
  // A link shares its source's permissions: changing them would change the source.
  ReplaceOptions options;
  options.durability = Durability::RenamedOnly;
  options.keepTargetPermissions = false;
  return Place(path, link, std::move(options), error);
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
