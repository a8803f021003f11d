// Step 15: an index of the games by system and availability. The window counts each system's
// available and missing games for its tabs and its list caption whenever the list is rebuilt;
// the index answers those counts without reading the games.
#include "catalogue/Catalogue.h"
#include "catalogue/StructureUpgradeSteps.h"

namespace quillon::upgrade {

void AddGameCountIndex(StepRun& run)
{
  run.Announce(kUpdatingLabel);
  if (!run.Db().Execute(
          run.Reporter(), kUpgradeRoutine,
          QStringLiteral("CREATE INDEX IF NOT EXISTS GamesBySystemAvailable ON Games (System, Available)")))
    run.CountFailure();
}

}  // namespace quillon::upgrade
