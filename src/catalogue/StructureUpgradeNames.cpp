// The per-system names other programs know a system by (catalogue/SystemNames.h).
#include "catalogue/SchemaChanges.h"
#include "catalogue/StructureUpgradeSteps.h"
#include "catalogue/SystemNames.h"

namespace quillon::upgrade {

// Adds the override columns, each empty (the shipped names hold until the user sets one). The
// columns come together or not at all: the later-step run holds them in one transaction.
void AddSystemNameColumns(StepRun& run)
{
  const QString table = QStringLiteral("System");
  QStringList missing;
  for (const QString& column : SystemNameColumns()) {
    switch (run.ProbeColumn(table, column, kColumnMissing)) {
      case ProbeOutcome::Missing:
        missing << column;
        break;
      case ProbeOutcome::Failed:
        return;
      case ProbeOutcome::Present:
        break;
    }
  }
  if (missing.isEmpty())
    return;
  run.Announce(kUpdatingLabel);
  for (const QString& column : missing) {
    if (!addField(run.Db(), run.Reporter(), table, column, QStringLiteral("text"), 255)) {
      run.CountFailure();
      return;
    }
  }
}

}  // namespace quillon::upgrade
