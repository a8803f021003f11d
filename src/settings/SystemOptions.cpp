#include "settings/SystemOptions.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/SystemNames.h"
#include "common/Paths.h"
#include "common/StoredValue.h"

namespace quillon {

namespace {

std::optional<bool> ParseFlag(const QString& typed)
{
  const QString text = typed.trimmed().toLower();
  if (text == QStringLiteral("1") || text == QStringLiteral("true") || text == QStringLiteral("yes") ||
      text == QStringLiteral("-1") || text == QStringLiteral("on"))
    return true;
  if (text == QStringLiteral("0") || text == QStringLiteral("false") || text == QStringLiteral("no") ||
      text == QStringLiteral("off") || text.isEmpty())
    return false;
  return std::nullopt;
}

// The one rule about tabs, checked inside the transaction that changed them: some system keeps one.
bool KeepsOneSystemEnabled(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<int> count = EnabledSystemCount(catalogue, feedback);
  if (!count)
    return false;
  if (*count == 0) {
    ReportError(feedback, kTypeMismatch, QStringLiteral("EditRecord"), kOneSystemEnabledText);
    return false;
  }
  return true;
}

}  // namespace

const QList<SystemSetting>& EditableSystemSettings()
{
  static const QList<SystemSetting> settings{
      {QStringLiteral("System"), SettingKind::Text},
      {QStringLiteral("EnableTab"), SettingKind::YesNo},
      {QStringLiteral("SysImg"), SettingKind::Text},
      {QStringLiteral("Emulator"), SettingKind::Text},
      {QStringLiteral("Rename"), SettingKind::YesNo},
      {QStringLiteral("RenameImages"), SettingKind::YesNo},
      {QStringLiteral("SystemShortName"), SettingKind::Text},
      {QStringLiteral("FullRomPath"), SettingKind::YesNo},
      {QStringLiteral("FullImagePath"), SettingKind::YesNo},
      {QStringLiteral("DropRoms"), SettingKind::YesNo},
      {QStringLiteral("RemoveText"), SettingKind::YesNo},
      {QStringLiteral("Recurse"), SettingKind::YesNo},
      {QStringLiteral("DefaultRomType"), SettingKind::Text},
      {QStringLiteral("DefaultImagePath"), SettingKind::Folder},
      {QStringLiteral("DefaultImageType"), SettingKind::Text},
      {QStringLiteral("DefaultImage"), SettingKind::Text},
      {QStringLiteral("AppendFullName"), SettingKind::YesNo},
      {QStringLiteral("ImageLimit"), SettingKind::Number},
      {QStringLiteral("MinImgWidth"), SettingKind::Number},
      {QStringLiteral("MinImgHeight"), SettingKind::Number},
      {QStringLiteral("TimeOut"), SettingKind::Number},
      {QStringLiteral("AutoDL"), SettingKind::Number},
      {QStringLiteral("ImageFilter"), SettingKind::Text},
      {QStringLiteral("IgnoreMultiples"), SettingKind::YesNo},
      // How other programs name the system (empty: the shipped names).
      {kEsdeNameColumn, SettingKind::Text},
      {kPegasusNameColumn, SettingKind::Text},
      {kRetroArchNameColumn, SettingKind::Text},
      {kSoftwareListsColumn, SettingKind::Text},
      {kRetroArchCoreColumn, SettingKind::Text},
      {kRetroArchCoreNameColumn, SettingKind::Text},
  };
  return settings;
}

std::optional<SystemSetting> FindSystemSetting(const QString& column)
{
  for (const SystemSetting& setting : EditableSystemSettings()) {
    if (setting.column.compare(column, Qt::CaseInsensitive) == 0)
      return setting;
  }
  return std::nullopt;
}

std::optional<QVariant> SettingValue(const SystemSetting& setting, const QString& typed, QString* error)
{
  switch (setting.kind) {
    case SettingKind::Text:
      return StoredValue(typed);
    case SettingKind::Folder:
      return typed.isEmpty() ? QVariant() : QVariant(Check4Slash(typed));
    case SettingKind::YesNo: {
      const std::optional<bool> flag = ParseFlag(typed);
      if (!flag) {
        if (error)
          *error = QStringLiteral("%1 takes 1 or 0, not \"%2\".").arg(setting.column, typed);
        return std::nullopt;
      }
      return QVariant(*flag ? 1 : 0);
    }
    case SettingKind::Number: {
      if (typed.trimmed().isEmpty())
        return QVariant();
      bool ok = false;
      const int number = typed.trimmed().toInt(&ok);
      if (!ok || number < 0) {
        if (error)
          *error = QStringLiteral("%1 takes a whole number, not \"%2\".").arg(setting.column, typed);
        return std::nullopt;
      }
      // A page is given at least one second.
      if (setting.column == QStringLiteral("TimeOut") && number == 0)
        return QVariant(1);
      return QVariant(number);
    }
  }
  return std::nullopt;
}

std::optional<qint64> SystemIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name)
{
  const std::optional<QVariant> id =
      catalogue.SelectValue(feedback, QStringLiteral("GetSysID"),
                            QStringLiteral("SELECT SystemID FROM System WHERE System = ? ORDER BY SystemID"), {name});
  if (!id || !id->isValid())
    return std::nullopt;
  return id->toLongLong();
}

bool SetSystemSetting(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& column,
                      const QString& typed)
{
  const QString routine = QStringLiteral("EditRecord");
  const std::optional<SystemSetting> setting = FindSystemSetting(column);
  if (!setting) {
    ReportError(feedback, kItemNotFound, routine, QStringLiteral("%1 is not a setting of a system.").arg(column));
    return false;
  }
  QString error;
  const std::optional<QVariant> value = SettingValue(*setting, typed, &error);
  if (!value) {
    ReportError(feedback, kTypeMismatch, routine, error);
    return false;
  }
  if (setting->column == QStringLiteral("System")) {
    if (!value->isValid()) {
      ReportError(feedback, kTypeMismatch, routine, QStringLiteral("A system needs a name."));
      return false;
    }
    const std::optional<qint64> other = SystemIdByName(catalogue, feedback, value->toString());
    if (other && *other != systemId) {
      ReportError(feedback, kTypeMismatch, routine,
                  QStringLiteral("Another system is named %1.").arg(value->toString()));
      return false;
    }
  }
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("UPDATE System SET \"%1\" = ? WHERE SystemID = ?").arg(setting->column),
                           {*value, systemId});
}

bool SetSystemSettings(Catalogue& catalogue, Feedback& feedback, qint64 systemId,
                       const QList<QPair<QString, QString>>& settings)
{
  Transaction transaction(catalogue);
  bool tabChanged = false;
  for (const auto& [column, typed] : settings) {
    if (!SetSystemSetting(catalogue, feedback, systemId, column, typed))
      return false;
    tabChanged = tabChanged || column.compare(QStringLiteral("EnableTab"), Qt::CaseInsensitive) == 0;
  }
  if (tabChanged && !KeepsOneSystemEnabled(catalogue, feedback))
    return false;
  return transaction.Commit();
}

std::optional<QString> SystemNameOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine)
{
  const std::optional<QVariant> name = catalogue.SelectValue(
      feedback, routine, QStringLiteral("SELECT System FROM System WHERE SystemID = ?"), {systemId});
  if (!name)
    return std::nullopt;
  return name->toString();
}

std::optional<Rows> SystemRecord(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine)
{
  return catalogue.Select(feedback, routine, QStringLiteral("SELECT * FROM System WHERE SystemID = ?"), {systemId});
}

std::optional<QList<SystemSummary>> SystemSummaries(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("UpdateTabs"),
      QStringLiteral("SELECT System.SystemID, System.System, System.EnableTab, SystemType.SType, "
                     "(SELECT count(*) FROM RomPath WHERE RomPath.System = System.SystemID), "
                     "(SELECT count(*) FROM Games WHERE Games.System = System.SystemID) "
                     "FROM System LEFT JOIN SystemType ON SystemType.ID = System.SType ORDER BY System.SystemID"));
  if (!rows)
    return std::nullopt;
  QList<SystemSummary> systems;
  systems.reserve(rows->Count());
  for (const QVariantList& row : rows->All()) {
    systems.append({row[0].toLongLong(), row[1].toString(), IsTrue(row[2]),
                    row[3].isNull() ? QString() : row[3].toString(), row[4].toInt(), row[5].toInt()});
  }
  return systems;
}

QStringList RomPathsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  QStringList folders;
  const std::optional<Rows> rows =
      catalogue.Select(feedback, QStringLiteral("UpdateRomPathList"),
                       QStringLiteral("SELECT RomPath FROM RomPath WHERE System = ? ORDER BY PathID"), {systemId});
  if (rows) {
    for (const QVariantList& row : rows->All())
      folders << row.value(0).toString();
  }
  return folders;
}

std::optional<QString> StoredRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder)
{
  const QStringList stored = RomPathsOf(catalogue, feedback, systemId);
  if (stored.contains(Check4Slash(folder)))
    return Check4Slash(folder);
  for (const QString& path : stored) {
    if (SameFolder(path, folder))
      return path;
  }
  return std::nullopt;
}

bool AddRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder)
{
  const QString path = Check4Slash(folder);
  if (path == QStringLiteral("/") && folder.isEmpty())
    return false;
  if (StoredRomPath(catalogue, feedback, systemId, path))
    return false;
  // A system without a tab (a new one starts so) gets one with its first folder: its games are
  // to be seen.
  const QString routine = QStringLiteral("UpdateRomPathList");
  Transaction transaction(catalogue);
  return catalogue.Execute(feedback, routine, QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"),
                           {path, systemId}) &&
         catalogue.Execute(feedback, routine,
                           QStringLiteral("UPDATE System SET EnableTab = 1 WHERE SystemID = ? AND EnableTab = 0 AND "
                                          "(SELECT count(*) FROM RomPath WHERE System = ?) = 1"),
                           {systemId, systemId}) &&
         transaction.Commit();
}

bool RemoveRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder)
{
  const QString routine = QStringLiteral("UpdateRomPathList");
  const std::optional<QString> path = StoredRomPath(catalogue, feedback, systemId, folder);
  if (!path)
    return false;
  Transaction transaction(catalogue);
  // A game without a ROM folder has no file to be found: it is a missing game.
  const bool ok =
      catalogue.Execute(feedback, routine,
                        QStringLiteral("UPDATE Games SET RomPath = NULL, Available = 0 WHERE RomPath IN "
                                       "(SELECT PathID FROM RomPath WHERE RomPath = ? AND System = ?)"),
                        {*path, systemId}) &&
      catalogue.Execute(feedback, routine, QStringLiteral("DELETE FROM RomPath WHERE System = ? AND RomPath = ?"),
                        {systemId, *path});
  return ok && transaction.Commit();
}

std::optional<QList<SystemTypeNode>> SystemTree(Catalogue& catalogue, Feedback& feedback)
{
  const QString routine = QStringLiteral("UpdateTabs");
  const std::optional<Rows> types =
      catalogue.Select(feedback, routine, QStringLiteral("SELECT ID, SType FROM SystemType ORDER BY ID"));
  const std::optional<Rows> systems =
      catalogue.Select(feedback, routine,
                       QStringLiteral("SELECT SystemID, System, EnableTab, SType FROM System ORDER BY SType, System"));
  if (!types || !systems)
    return std::nullopt;
  QList<SystemTypeNode> tree;
  for (const QVariantList& type : types->All())
    tree.append({type[0].toLongLong(), type[1].toString(), {}});
  for (const QVariantList& system : systems->All()) {
    for (SystemTypeNode& type : tree) {
      if (!system[3].isNull() && type.typeId == system[3].toLongLong())
        type.systems.append({system[0].toLongLong(), system[1].toString(), IsTrue(system[2])});
    }
  }
  return tree;
}

std::optional<qint64> SystemTypeIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name)
{
  const std::optional<QVariant> id =
      catalogue.SelectValue(feedback, QStringLiteral("treSys_DragDrop"),
                            QStringLiteral("SELECT ID FROM SystemType WHERE SType = ? ORDER BY ID"), {name});
  if (!id || !id->isValid())
    return std::nullopt;
  return id->toLongLong();
}

bool SetSystemType(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 typeId)
{
  const QString routine = QStringLiteral("treSys_DragDrop");
  const std::optional<QVariant> type =
      catalogue.SelectValue(feedback, routine, QStringLiteral("SELECT ID FROM SystemType WHERE ID = ?"), {typeId});
  if (!type)
    return false;
  if (!type->isValid()) {
    ReportError(feedback, kTypeMismatch, routine, QStringLiteral("There is no system type %1.").arg(typeId));
    return false;
  }
  return catalogue.Execute(feedback, routine, QStringLiteral("UPDATE System SET SType = ? WHERE SystemID = ?"),
                           {typeId, systemId});
}

std::optional<int> EnabledSystemCount(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<QVariant> count =
      catalogue.SelectValue(feedback, QStringLiteral("Form_QueryUnload"),
                            QStringLiteral("SELECT count(EnableTab) AS cnt FROM System WHERE EnableTab <> 0"));
  if (!count)
    return std::nullopt;
  return count->toInt();
}

bool SetSystemEnabled(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool enabled, bool keepOneEnabled)
{
  const QString routine = QStringLiteral("EditRecord");
  Transaction transaction(catalogue);
  if (!catalogue.Execute(feedback, routine, QStringLiteral("UPDATE System SET EnableTab = ? WHERE SystemID = ?"),
                         {enabled ? 1 : 0, systemId}))
    return false;
  if (!enabled && keepOneEnabled && !KeepsOneSystemEnabled(catalogue, feedback))
    return false;
  return transaction.Commit();
}

bool UsesGoodTool(const QString& systemName)
{
  const QString name = systemName.trimmed();
  return name.compare(QStringLiteral("Arcade"), Qt::CaseInsensitive) != 0 &&
         name.compare(QStringLiteral("Zinc"), Qt::CaseInsensitive) != 0;
}

}  // namespace quillon
