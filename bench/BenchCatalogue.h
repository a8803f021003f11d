#pragma once
// A fresh catalogue from the delivered one in a data folder of the benchmark's own, and what
// upgrading it needs.
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/StructureUpgrade.h"

#include <cstdio>
#include <memory>

namespace quillon::bench {

// The structure upgrade's display for benchmarks: it shows nothing.
class SilentUpgradeDisplay final : public UpgradeDisplay {
 public:
  void ShowLabel(const QString&) override {}
  void ShowProgress(int) override {}
};

// Prints why and returns nullptr when the catalogue cannot be made.
inline std::unique_ptr<Catalogue> FreshCatalogue(const DataFolder& folder)
{
  QString error;
  const QString delivered = DeliveredDataFolder(QStringLiteral(QUILLON_BIN_DIR)) + kCatalogueFileName;
  if (!folder.EnsureFolders(&error) || !InstallDeliveredCatalogue(folder, delivered, &error)) {
    std::fprintf(stderr, "cannot prepare the catalogue: %s\n", qPrintable(error));
    return nullptr;
  }
  std::unique_ptr<Catalogue> catalogue = Catalogue::Open(folder.CatalogueFile(), nullptr, nullptr);
  if (!catalogue)
    std::fprintf(stderr, "cannot open %s\n", qPrintable(folder.CatalogueFile()));
  return catalogue;
}

}  // namespace quillon::bench
