#include "catalogue/Session.h"

#include "catalogue/Compaction.h"
#include "catalogue/Feedback.h"

#include <QDir>

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
  auto lock = std::make_unique<QLockFile>(folder.LockFile());
  // A lock is stale only when its owner is gone, however long a run lasts.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    if (message) {
      qint64 pid = 0;
      QString host;
      QString application;
      lock->getLockInfo(&pid, &host, &application);
      *message = QStringLiteral(
                     "The catalogue %1 is in use by another Quillon (process %2). "
                     "Close that one first.")
                     .arg(QDir::toNativeSeparators(folder.CatalogueFile()))
                     .arg(pid);
    }
    return OpenOutcome::InUse;
  }
  bool missing = false;
  SqlFailure failure;
  m_catalogue = Catalogue::Open(folder.CatalogueFile(), &missing, &failure);
  if (!m_catalogue) {
    lock->unlock();
    if (missing) {
      if (message)
        *message = MissingCatalogueMessage(folder.Path());
      return OpenOutcome::CatalogueMissing;
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
