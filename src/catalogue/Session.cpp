#include "catalogue/Session.h"

#include "catalogue/Compaction.h"
#include "catalogue/Feedback.h"
#include "common/FileWriting.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <signal.h>
#include <cerrno>

namespace quillon {

QString MissingCatalogueTitle()
{
  return QStringLiteral("Quillon Fatal Error");
}

QString MissingCatalogueMessage(const QString& folder)
{
  return QStringLiteral(
             "Unable to locate database.\r\n"
             "Please make sure that this file is located in the Quillon installation folder.\r\n"
             "This folder is typically found in ") +
         QDir::toNativeSeparators(folder);
}

namespace {

// SQLite's result code for a file that is not a database.
constexpr int kNotADatabase = 26;

QString EmptyCatalogueMessage(const QString& file)
{
  return QStringLiteral(
             "The catalogue %1 is empty (0 bytes): it holds no games, and Quillon leaves it as it is. To start "
             "anew, move it aside; Quillon then puts a new catalogue in its place.")
      .arg(QDir::toNativeSeparators(file));
}

QString NotACatalogueMessage(const QString& file, const QString& why)
{
  return QStringLiteral(
             "The file %1 is not a Quillon catalogue (%2), and Quillon leaves it as it is. To start anew, move it "
             "aside; Quillon then puts a new catalogue in its place.")
      .arg(QDir::toNativeSeparators(file), why);
}

// A Quillon catalogue of any revision has these tables; the upgrade adds the others.
bool HasCatalogueTables(Catalogue& catalogue)
{
  const std::optional<Rows> tables = catalogue.TrySelect(
      QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND lower(name) IN ('games', 'system')"),
      {}, nullptr);
  return tables && tables->Value(0, 0).toInt() == 2;
}

// A lock file that names no live process: empty or unreadable, or written by a process of this
// host that has ended.
bool IsStaleLock(const QLockFile& lock)
{
  qint64 pid = 0;
  QString host;
  QString application;
  if (!lock.getLockInfo(&pid, &host, &application))
    return true;
  const bool thisHost = host.isEmpty() || host == QSysInfo::machineHostName();
  return thisHost && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

QString InUseMessage(const DataFolder& folder, const QLockFile& lock)
{
  qint64 pid = 0;
  QString host;
  QString application;
  const QString holder =
      lock.getLockInfo(&pid, &host, &application)
          ? QStringLiteral("process %1 on %2").arg(pid).arg(host.isEmpty() ? QStringLiteral("?") : host)
          : QStringLiteral("a process its lock file %1 does not name").arg(QDir::toNativeSeparators(folder.LockFile()));
  return QStringLiteral("The catalogue %1 is in use by another Quillon (%2). Close that one first.")
      .arg(QDir::toNativeSeparators(folder.CatalogueFile()), holder);
}

QString CannotLockMessage(const DataFolder& folder)
{
  QString reason = FolderWriteProblem(folder.Path());
  if (reason.isEmpty())
    reason = QStringLiteral("its lock file %1 cannot be made").arg(QDir::toNativeSeparators(folder.LockFile()));
  return QStringLiteral("Quillon cannot open the catalogue %1: it cannot write in the data folder %2 (%3).")
      .arg(QDir::toNativeSeparators(folder.CatalogueFile()), QDir::toNativeSeparators(folder.Path()), reason);
}

// Takes the catalogue's lock; a stale lock is taken over. On failure `outcome` and `message` say
// whether another Quillon holds it or the data folder cannot be written.
std::unique_ptr<QLockFile> TakeLock(const DataFolder& folder, OpenOutcome* outcome, QString* message)
{
  auto lock = std::make_unique<QLockFile>(folder.LockFile());
  // A lock is stale only when its owner is gone, however long a run lasts.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0))
    return lock;
  // Removing takes the lock file's own lock first, so a lock a live process is still writing stays.
  if (lock->error() == QLockFile::LockFailedError && IsStaleLock(*lock) && lock->removeStaleLockFile() &&
      lock->tryLock(0))
    return lock;
  if (lock->error() == QLockFile::LockFailedError) {
    *outcome = OpenOutcome::InUse;
    *message = InUseMessage(folder, *lock);
  } else {
    *outcome = OpenOutcome::Failed;
    *message = CannotLockMessage(folder);
  }
  return nullptr;
}

}  // namespace

Session::~Session()
{
  m_catalogue.reset();
  if (m_lock)
    m_lock->unlock();
}

OpenOutcome Session::Open(const DataFolder& folder, const QString& deliveredCatalogue, Feedback& feedback,
                          QString* message)
{
  m_folder = folder;
  QString error;
  if (!folder.EnsureFolders(&error) || !InstallDeliveredCatalogue(folder, deliveredCatalogue, &error)) {
    if (message)
      *message = error;
    return OpenOutcome::Failed;
  }
  OpenOutcome lockOutcome = OpenOutcome::Failed;
  QString lockMessage;
  std::unique_ptr<QLockFile> lock = TakeLock(folder, &lockOutcome, &lockMessage);
  if (!lock) {
    if (message)
      *message = lockMessage;
    return lockOutcome;
  }
  const QFileInfo file(folder.CatalogueFile());
  if (file.isFile() && file.size() == 0) {
    lock->unlock();
    if (message)
      *message = EmptyCatalogueMessage(folder.CatalogueFile());
    return OpenOutcome::NotACatalogue;
  }
  bool missing = false;
  SqlFailure failure;
  m_catalogue = Catalogue::Open(folder.CatalogueFile(), &missing, &failure);
  if (m_catalogue && !HasCatalogueTables(*m_catalogue)) {
    m_catalogue.reset();
    missing = false;
    failure = {kNotADatabase, QStringLiteral("it has no Games and System tables")};
  } else if (!m_catalogue && failure.number == kNotADatabase) {
    failure.description = QStringLiteral("it is not a database");
  }
  if (!m_catalogue) {
    lock->unlock();
    if (missing) {
      if (message)
        *message = MissingCatalogueMessage(folder.Path());
      return OpenOutcome::CatalogueMissing;
    }
    if (failure.number == kNotADatabase) {
      if (message)
        *message = NotACatalogueMessage(folder.CatalogueFile(), failure.description);
      return OpenOutcome::NotACatalogue;
    }
    ReportError(feedback, failure.number, QStringLiteral("dbConn"), failure.description);
    if (message)
      *message =
          StatusLine(StatusKind::Error, ErrorReportText(failure.number, QStringLiteral("dbConn"), failure.description));
    return OpenOutcome::Failed;
  }
  m_lock = std::move(lock);
  return OpenOutcome::Opened;
}

void Session::Close(Feedback& feedback, bool compact)
{
  if (!m_catalogue)
    return;
  m_catalogue.reset();
  if (compact)
    CompactCatalogue(m_folder, feedback);
  if (m_lock) {
    m_lock->unlock();
    m_lock.reset();
  }
}

}  // namespace quillon
