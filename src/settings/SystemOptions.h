#pragma once
// Per-system settings as the options dialog and `quillon-cli system` edit them: the columns of
// `System` a user may change, the system's ROM folders, its group (system type) and whether it has
// a tab.
#include "catalogue/Catalogue.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace quillon {

class Feedback;

enum class SettingKind { Text, Folder, YesNo, Number };

struct SystemSetting {
  QString column;
  SettingKind kind;
};

// The columns of `System` the options dialog edits, in its order.
const QList<SystemSetting>& EditableSystemSettings();
std::optional<SystemSetting> FindSystemSetting(const QString& column);

// The value a setting stores for what the user typed: empty text is Null; check boxes store 1 or
// 0; numbers must be whole numbers; a time-out of 0 is stored as 1; folders end with "/".
// Returns nullopt with `error` set for a value the column cannot take.
std::optional<QVariant> SettingValue(const SystemSetting& setting, const QString& typed, QString* error);

// The key of the system with this name (names compare without regard to case), or nullopt.
std::optional<qint64> SystemIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name);

// The name of the system with this key, as stored (empty when there is none); nullopt on failure.
std::optional<QString> SystemNameOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine);

// Every column of the system's row; an empty result when there is no such system, nullopt on
// failure (reported with `routine`'s tag).
std::optional<Rows> SystemRecord(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& routine);

// One line of the list of systems: key, name, whether it has a tab, its type's name, and how many
// ROM folders and games it has.
struct SystemSummary {
  qint64 systemId = 0;
  QString name;
  bool enabled = false;
  QString typeName;  // empty without a type
  int romPaths = 0;
  int games = 0;
};
// Every system, by key.
std::optional<QList<SystemSummary>> SystemSummaries(Catalogue& catalogue, Feedback& feedback);

// Writes one setting of a system. Renaming refuses a name another system has.
bool SetSystemSetting(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& column,
                      const QString& typed);
// Writes several settings (column, typed text) of a system, all or none. Taking the tab of the last
// enabled system is refused as SetSystemEnabled refuses it.
bool SetSystemSettings(Catalogue& catalogue, Feedback& feedback, qint64 systemId,
                       const QList<QPair<QString, QString>>& settings);

// The system's ROM folders, in the order they were added.
QStringList RomPathsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId);

// The system's ROM folder that `folder` names, as stored: the same text, or else the same folder
// reached by another path (a symbolic link, a missing or extra "/"). Nullopt when it has none.
std::optional<QString> StoredRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder);

// Adds a ROM folder (given a trailing "/"), kept as the user gave it; a folder the system already
// has, under any path, is not added twice. A system's first folder switches its tab on. Returns
// true when a folder was added.
bool AddRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder);

// Removes a ROM folder; the games found there lose their ROM path and are listed among the
// missing games. Returns true when a folder was removed.
bool RemoveRomPath(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& folder);

// The systems grouped by system type, as the options dialog's tree shows them: the types in key
// order, each type's systems by name.
struct SystemNode {
  qint64 systemId = 0;
  QString name;
  bool enabled = false;
};
struct SystemTypeNode {
  qint64 typeId = 0;
  QString name;
  QList<SystemNode> systems;
};
std::optional<QList<SystemTypeNode>> SystemTree(Catalogue& catalogue, Feedback& feedback);

// The key of the system type with this name (ignoring case), or nullopt.
std::optional<qint64> SystemTypeIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name);
// Moves a system into another group; the type must exist.
bool SetSystemType(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 typeId);

// The message of the one rule about enabling: some system must keep its tab.
inline const QString kOneSystemEnabledText = QStringLiteral("At least one system must be enabled.");
// How many systems have a tab; nullopt when the catalogue cannot say.
std::optional<int> EnabledSystemCount(Catalogue& catalogue, Feedback& feedback);
// Gives a system its tab or takes it away. With `keepOneEnabled`, taking the tab of the last
// enabled system is refused (reported with kOneSystemEnabledText).
bool SetSystemEnabled(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool enabled, bool keepOneEnabled);

// Whether a system has a GoodTools program of its own: not the arcade systems "Arcade" and "Zinc".
bool UsesGoodTool(const QString& systemName);

}  // namespace quillon
