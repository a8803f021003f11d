// quillon-cli info: where the catalogue is and what it holds.
#include "app/cli/CliCommands.h"
#include "catalogue/CatalogueCounts.h"
#include "catalogue/Revision.h"

#include <QDir>

namespace quillon::cli {

namespace {

int RunInfo(CliRun& run)
{
  if (!run.Args().isEmpty())
    return run.UsageError(QStringLiteral("info takes no arguments"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const CatalogueCounts counts = CountSystemsAndGames(*catalogue);
  QTextStream& out = run.Out();
  out << "Data folder:\t" << QDir::toNativeSeparators(run.Folder().Path()) << '\n'
      << "Catalogue:\t" << QDir::toNativeSeparators(catalogue->FilePath()) << '\n'
      << "Revision:\t" << GetRevision(*catalogue) << '\n'
      << "Systems:\t" << counts.systems << '\n'
      << "Games:\t" << counts.games << '\n';
  return kSuccess;
}

}  // namespace

std::vector<CliCommand> InfoCommands()
{
  return {{QStringLiteral("info"),
           {QStringLiteral("info")},
           QStringLiteral("Shows the data folder, the catalogue file, its revision and how many systems and games "
                          "it holds."),
           RunInfo}};
}

}  // namespace quillon::cli
