#include "catalogue/SystemSettings.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"

#include <QDir>

namespace quillon {

namespace {

QString Level(const QVariant& value, const QString& whenNull)
{
  return (value.isNull() ? whenNull : QString::number(value.toInt())) + QStringLiteral(".00%");
}

}  // namespace

std::optional<SystemSettings> LoadSystemSettings(Catalogue& catalogue, Feedback& feedback, const QString& systemName)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("RefreshSettings"),
      QStringLiteral("SELECT System.*, (SELECT count(*) FROM RomPath WHERE RomPath.System = System.SystemID) "
                     "AS RomPathCount FROM System WHERE System.System = ? ORDER BY System.SystemID LIMIT 1"),
      {systemName});
  if (!rows || rows->IsEmpty())
    return std::nullopt;
  auto value = [&rows](const char* column) { return rows->Value(0, QString::fromLatin1(column)); };
  SystemSettings settings;
  settings.systemId = value("SystemID").toLongLong();
  settings.name = value("System").toString();
  settings.renameImages = IsTrue(value("RenameImages"));
  settings.imageFolder = value("DefaultImagePath").toString();
  settings.timeOut = value("TimeOut").toInt();
  settings.defaultTimeOut = value("dTimeOut").toInt();
  settings.minImageWidth = value("MinImgWidth").toInt();
  settings.minImageHeight = value("MinImgHeight").toInt();
  settings.appendFullName = IsTrue(value("AppendFullName"));
  settings.imageLimit = value("ImageLimit").toInt();
  settings.defaultImageType = value("DefaultImageType").toString();
  settings.autoDownloadLevel = Level(value("AutoDL"), QStringLiteral("0"));
  settings.defaultAutoDownloadLevel = Level(value("dAutoDL"), QStringLiteral("100"));
  settings.emulator = value("Emulator").toString();
  settings.hasRomPath = value("RomPathCount").toInt() > 0;
  return settings;
}

QList<SystemTab> EnabledSystems(Catalogue& catalogue, Feedback& feedback)
{
  QList<SystemTab> tabs;
  const std::optional<Rows> rows =
      catalogue.Select(feedback, QStringLiteral("UpdateTabs"),
                       QStringLiteral("SELECT SystemID, System FROM System WHERE EnableTab <> 0 ORDER BY System"));
  if (rows) {
    for (const QVariantList& row : rows->All())
      tabs.append({row[0].toLongLong(), row[1].toString()});
  }
  return tabs;
}

bool AnyRomPath(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<QVariant> any = catalogue.SelectValue(feedback, QStringLiteral("FMain_Load"),
                                                            QStringLiteral("SELECT System FROM RomPath LIMIT 1"));
  return any && any->isValid();
}

bool StoreImageFolder(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder)
{
  return catalogue.Execute(feedback, QStringLiteral("UpdateImage"),
                           QStringLiteral("UPDATE System SET DefaultImagePath = ? WHERE SystemID = ?"),
                           {folder, systemId});
}

QString EnsureImageFolder(Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
                          SystemSettings& settings)
{
  if (!settings.imageFolder.isEmpty())
    return settings.imageFolder;
  const QString folder = dataFolder.TempImagesFolder();
  QDir().mkpath(folder);
  if (StoreImageFolder(catalogue, feedback, settings.systemId, folder))
    settings.imageFolder = folder;
  return folder;
}

}  // namespace quillon
