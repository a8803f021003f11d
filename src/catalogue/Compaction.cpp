#include "catalogue/Compaction.h"

#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "common/AtomicFile.h"
#include "common/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cerrno>

namespace quillon {

namespace {

struct StepFailure {
  int number = 0;
  QString description;
};

// A private connection used only while compacting; removed when it goes out of scope.
class ScratchConnection {
 public:
  explicit ScratchConnection(const QString& file) : m_name(QStringLiteral("quillon-compact"))
  {
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    database.setDatabaseName(file);
    m_open = database.open();
  }
  ~ScratchConnection()
  {
    {
      QSqlDatabase database = QSqlDatabase::database(m_name, false);
      database.close();
    }
    QSqlDatabase::removeDatabase(m_name);
  }
  bool IsOpen() const { return m_open; }
  QSqlDatabase Database() const { return QSqlDatabase::database(m_name, false); }

 private:
  QString m_name;
  bool m_open = false;
};

// The engine's failure, with the system's reason: a full disk (the engine's "full", which it
// reports for ENOSPC), else what keeps the folder from being written, if anything.
StepFailure EngineFailure(const QSqlError& error, const QString& folder)
{
  constexpr int kEngineFull = 13;
  bool ok = false;
  const int number = error.nativeErrorCode().toInt(&ok);
  QString description = error.text();
  const QString problem = (number & 0xff) == kEngineFull ? SystemErrorText(ENOSPC) : FolderWriteProblem(folder);
  if (!problem.isEmpty())
    description += QStringLiteral(" (") + problem + QLatin1Char(')');
  return {ok && number ? number : kPathFileAccessError, description};
}

bool Injected(const CompactFault& fault, CompactStep step, StepFailure* failure, const QString& what)
{
  if (fault && fault(step)) {
    *failure = {kPathFileAccessError, what};
    return true;
  }
  return false;
}

bool RemoveStaleScratch(const QString& scratch, const CompactFault& fault, StepFailure* failure)
{
  if (Injected(fault, CompactStep::RemoveStaleScratch, failure, QStringLiteral("Cannot remove ") + scratch))
    return false;
  const QFileInfo info(scratch);
  if (!info.exists() && !info.isSymLink())
    return true;
  QFile stale(scratch);
  if (info.isDir() || !stale.remove()) {
    *failure = {kPermissionDenied, QStringLiteral("Cannot remove ") + scratch +
                                       (info.isDir() ? QString() : QStringLiteral(": ") + stale.errorString())};
    return false;
  }
  return true;
}

bool WriteCompactCopy(const QString& catalogue, const QString& scratch, const CompactFault& fault, StepFailure* failure)
{
  if (Injected(fault, CompactStep::WriteCompactCopy, failure, QStringLiteral("Cannot write ") + scratch))
    return false;
  const QString folder = QFileInfo(scratch).absolutePath();
  ScratchConnection connection(catalogue);
  if (!connection.IsOpen()) {
    *failure = EngineFailure(connection.Database().lastError(), folder);
    return false;
  }
  QSqlQuery query(connection.Database());
  if (!query.prepare(QStringLiteral("VACUUM INTO ?"))) {
    *failure = EngineFailure(query.lastError(), folder);
    return false;
  }
  query.bindValue(0, scratch);
  if (!query.exec()) {
    *failure = EngineFailure(query.lastError(), folder);
    return false;
  }
  return true;
}

bool VerifyCopy(const QString& scratch, const CompactFault& fault, StepFailure* failure)
{
  if (Injected(fault, CompactStep::VerifyCopy, failure, QStringLiteral("The compacted copy is damaged.")))
    return false;
  ScratchConnection connection(scratch);
  QSqlQuery query(connection.Database());
  if (!connection.IsOpen() || !query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next() ||
      query.value(0).toString() != QStringLiteral("ok")) {
    *failure = {kPathFileAccessError, QStringLiteral("The compacted copy is damaged.")};
    return false;
  }
  return true;
}

// The compacted copy is synced and renamed over the catalogue: either name holds a whole catalogue
// at every moment.
bool ReplaceCatalogue(AtomicFile& replacement, const CompactFault& fault, StepFailure* failure)
{
  const QString& catalogue = replacement.Target();
  if (Injected(fault, CompactStep::ReplaceCatalogue, failure, QStringLiteral("Cannot replace ") + catalogue))
    return false;
  ReplaceFailure replaceFailure;
  if (replacement.Commit(&replaceFailure))
    return true;
  if (replaceFailure.step == ReplaceStep::SyncTemporary)
    *failure = {kPathFileAccessError, QStringLiteral("Cannot write ") + replacement.TemporaryPath() +
                                          QStringLiteral(": ") + replaceFailure.reason};
  else
    *failure = {kPermissionDenied,
                QStringLiteral("Cannot replace ") + catalogue + QStringLiteral(": ") + replaceFailure.reason};
  return false;
}

}  // namespace

bool CompactCatalogue(const DataFolder& folder, Feedback& feedback, const CompactFault& fault)
{
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Compacting Database, Please wait..."));
  const QString catalogue = folder.CatalogueFile();
  const QString scratch = folder.CompactScratchFile();
  if (!QFileInfo::exists(catalogue)) {
    feedback.ShowMessage(
        QString(),
        QStringLiteral("Error (") + QString::number(kFileNotFound) + QStringLiteral(")\rFile not found: ") + catalogue,
        MessageIcon::Critical);
    return false;
  }
  StepFailure failure;
  bool ok = RemoveStaleScratch(scratch, fault, &failure);
  if (ok) {
    // The scratch file is the compacted copy; what a failure leaves of it is removed.
    AtomicFile replacement(catalogue, scratch);
    ok = WriteCompactCopy(catalogue, scratch, fault, &failure) && VerifyCopy(scratch, fault, &failure) &&
         ReplaceCatalogue(replacement, fault, &failure);
  }
  if (!ok) {
    feedback.ShowMessage(
        QString(),
        QStringLiteral("Error (") + QString::number(failure.number) + QStringLiteral(")\r") + failure.description,
        MessageIcon::Critical);
    return false;
  }
  feedback.SetStatus(StatusKind::Done);
  return true;
}

}  // namespace quillon
