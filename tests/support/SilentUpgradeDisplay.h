#pragma once
// The structure upgrade's display for tests that upgrade a catalogue and look only at the result.
#include "catalogue/StructureUpgrade.h"

namespace quillon::test {

class SilentUpgradeDisplay final : public UpgradeDisplay {
 public:
  void ShowLabel(const QString&) override {}
  void ShowProgress(int) override {}
};

}  // namespace quillon::test
