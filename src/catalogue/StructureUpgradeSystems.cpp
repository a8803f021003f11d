// The systems collectors use today, added to catalogues that predate them, and the table that says
// why a game made of several files is missing.
#include "catalogue/Catalogue.h"
#include "catalogue/DeliveredSystems.h"
#include "catalogue/Feedback.h"
#include "catalogue/StructureUpgradeSteps.h"
#include "catalogue/SystemNames.h"

namespace quillon::upgrade {

namespace {

bool SystemNameTaken(StepRun& run, const QString& name, bool* failed)
{
  SqlFailure failure;
  const std::optional<Rows> rows = run.Db().TrySelect(
      QStringLiteral("SELECT 1 FROM System WHERE System = ? COLLATE NOCASE LIMIT 1"), {name}, &failure);
  if (!rows) {
    run.ReportProbeFailure(failure);
    *failed = true;
    return false;
  }
  return !rows->IsEmpty();
}

// The new row carries its names for the exports and the identification in the override columns:
// its key differs from one catalogue to the next, so no table by key can hold them.
bool InsertSystem(StepRun& run, const DeliveredSystem& system)
{
  const auto text = [](const char* value) { return QVariant(QString::fromUtf8(value)); };
  return InsertSystemRow(run.Db(), run.Reporter(), kUpgradeRoutine,
                         {{QStringLiteral("System"), text(system.name)},
                          {QStringLiteral("SystemShortName"), text(system.shortName)},
                          {QStringLiteral("SType"), system.type},
                          {QStringLiteral("DefaultRomType"), text(system.extensions)},
                          {kEsdeNameColumn, text(system.esde)},
                          {kPegasusNameColumn, text(system.pegasus)},
                          {kRetroArchNameColumn, text(system.retroArch)},
                          {kSoftwareListsColumn, *system.softwareLists ? text(system.softwareLists) : QVariant()}})
      .has_value();
}

bool AddMissingFilesTable(StepRun& run)
{
  // Game keys are given again after deletions: a deleted game's note must not pass to a new one.
  return run.Db().Execute(run.Reporter(), kUpgradeRoutine,
                          QStringLiteral("CREATE TABLE IF NOT EXISTS ") + kMissingFilesTable +
                              QStringLiteral(" (GameID INTEGER PRIMARY KEY, Reason TEXT)")) &&
         run.Db().Execute(run.Reporter(), kUpgradeRoutine,
                          QStringLiteral("CREATE TRIGGER IF NOT EXISTS MissingFilesOfDeletedGame AFTER DELETE ON Games "
                                         "BEGIN DELETE FROM ") +
                              kMissingFilesTable + QStringLiteral(" WHERE GameID = old.GameID; END"));
}

}  // namespace

// Adds each delivered system that no system of the catalogue is named like (ignoring case), with
// its tab off; existing rows and keys stay as they are. The later-step run holds it all in one
// transaction.
void AddDeliveredSystems(StepRun& run)
{
  QList<const DeliveredSystem*> missing;
  for (const DeliveredSystem& system : DeliveredSystems()) {
    bool failed = false;
    const bool taken = SystemNameTaken(run, QString::fromUtf8(system.name), &failed);
    if (failed)
      return;
    if (!taken)
      missing << &system;
  }
  const ProbeOutcome table =
      run.Probe(QStringLiteral("SELECT GameID, Reason FROM ") + kMissingFilesTable, kTableMissing);
  if (table == ProbeOutcome::Failed || (table == ProbeOutcome::Present && missing.isEmpty()))
    return;
  run.Announce(kUpdatingLabel);
  if (!AddMissingFilesTable(run)) {
    run.CountFailure();
    return;
  }
  for (const DeliveredSystem* system : std::as_const(missing)) {
    if (!InsertSystem(run, *system)) {
      run.CountFailure();
      return;
    }
  }
}

}  // namespace quillon::upgrade
