#pragma once
// Structure changes made after revision "2.7.3.2". The revision stays what older catalogues and
// their peers know; each later step is recorded by its number in the table `Upgrades` when it
// has run, so it runs once per catalogue (also on catalogues already at the current revision),
// in one transaction together with its record, and a step that failed runs again at the next start.
#include "catalogue/StructureUpgradeSteps.h"

#include <span>

namespace quillon::upgrade {

struct LaterStep {
  int number;
  void (*change)(StepRun&);
};

// The later steps of this program, in the order they run.
std::span<const LaterStep> ProgramLaterSteps();

// Numbers of the later steps recorded in `catalogue` (none when `Upgrades` does not exist yet).
QList<int> RecordedLaterSteps(Catalogue& catalogue);

// Runs each step of `steps` that is not recorded yet. A step reports its failures through the
// run; only a step that reported none is recorded.
void RunLaterSteps(StepRun& run, std::span<const LaterStep> steps);

}  // namespace quillon::upgrade
