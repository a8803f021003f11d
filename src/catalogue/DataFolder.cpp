#include "catalogue/DataFolder.h"

#include "common/AtomicFile.h"
#include "common/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

DataFolder::DataFolder(const QString& path)
    : m_path(path.isEmpty() ? QString() : Check4Slash(QDir::cleanPath(QDir(path).absolutePath())))
{
}

DataFolder DataFolder::Resolve(const QString& explicitDir, const QString& executableDir)
{
  if (!explicitDir.isEmpty())
    return DataFolder(explicitDir);
  const QString fromEnvironment = qEnvironmentVariable(kDataFolderEnvironment.toUtf8().constData());
  if (!fromEnvironment.isEmpty())
    return DataFolder(fromEnvironment);
  if (!executableDir.isEmpty() && QFileInfo::exists(Check4Slash(executableDir) + kCatalogueFileName))
    return DataFolder(executableDir);
  return DataFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool DataFolder::EnsureFolders(QString* error) const
{
  const QString folders[] = {m_path, TempFolder(), TempImagesFolder(), UrlFolder(), LibraryFolder(), CfgFolder()};
  for (const QString& folder : folders) {
    if (!QDir().mkpath(folder)) {
      if (error)
        *error = QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(folder));
      return false;
    }
  }
  return true;
}

QString DeliveredDataFolder(const QString& executableDir)
{
  return Check4Slash(QDir::cleanPath(Check4Slash(executableDir) + QStringLiteral(QUILLON_SHARE_RELATIVE)));
}

bool InstallDeliveredCatalogue(const DataFolder& folder, const QString& deliveredCatalogue, QString* error)
{
  const QString target = folder.CatalogueFile();
  if (QFileInfo::exists(target) || !QFileInfo::exists(deliveredCatalogue))
    return true;
  const auto fail = [&](const QString& what, const QString& reason) {
    if (error)
      *error = what.arg(target, reason);
    return false;
  };
  const QString cannotCopy = QStringLiteral("Cannot copy the delivered catalogue to %1: %2.");
  QFile delivered(deliveredCatalogue);
  if (!delivered.open(QIODevice::ReadOnly))
    return fail(cannotCopy, deliveredCatalogue + QStringLiteral(": ") + delivered.errorString());
  // Not the delivered file's permissions: it may be read-only when installed system-wide. A
  // catalogue that appeared meanwhile is never replaced.
  ReplaceOptions options;
  options.replaceExisting = false;
  AtomicFile copy(target, options);
  ReplaceFailure failure;
  if (!copy.Write(delivered.readAll(), &failure))
    return fail(cannotCopy, failure.reason);
  if (!copy.Commit(&failure))
    return fail(
        failure.step == ReplaceStep::ReplaceFile ? QStringLiteral("Cannot place the catalogue at %1: %2.") : cannotCopy,
        failure.reason);
  return true;
}

}  // namespace quillon
