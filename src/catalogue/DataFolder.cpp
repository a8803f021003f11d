#include "catalogue/DataFolder.h"

#include "catalogue/FileWriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

namespace {

QString WithTrailingSlash(QString path)
{
  if (!path.endsWith(QLatin1Char('/')))
    path += QLatin1Char('/');
  return path;
}

}  // namespace

DataFolder::DataFolder(const QString& path)
    : m_path(path.isEmpty() ? QString() : WithTrailingSlash(QDir::cleanPath(QDir(path).absolutePath())))
{
}

DataFolder DataFolder::Resolve(const QString& explicitDir, const QString& executableDir)
{
  if (!explicitDir.isEmpty())
    return DataFolder(explicitDir);
  const QString fromEnvironment = qEnvironmentVariable(kDataFolderEnvironment.toUtf8().constData());
  if (!fromEnvironment.isEmpty())
    return DataFolder(fromEnvironment);
  if (!executableDir.isEmpty() && QFileInfo::exists(WithTrailingSlash(executableDir) + kCatalogueFileName))
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
  return WithTrailingSlash(QDir::cleanPath(WithTrailingSlash(executableDir) + QStringLiteral(QUILLON_SHARE_RELATIVE)));
}

bool InstallDeliveredCatalogue(const DataFolder& folder, const QString& deliveredCatalogue, QString* error)
{
  const QString target = folder.CatalogueFile();
  if (QFileInfo::exists(target) || !QFileInfo::exists(deliveredCatalogue))
    return true;
  const QString partial = target + QStringLiteral(".copying");
  QFile::remove(partial);
  QString reason;
  // Not the delivered file's permissions: it may be read-only when installed system-wide.
  if (!CopyWholeFile(deliveredCatalogue, partial, &reason)) {
    QFile::remove(partial);
    if (error)
      *error = QStringLiteral("Cannot copy the delivered catalogue to %1: %2.").arg(target, reason);
    return false;
  }
  QFile placed(partial);
  if (!placed.rename(target)) {
    const QString why = placed.errorString();
    QFile::remove(partial);
    if (error)
      *error = QStringLiteral("Cannot place the catalogue at %1: %2.").arg(target, why);
    return false;
  }
  return true;
}

}  // namespace quillon
