// quillon-cli sites: the image-search site lists of all systems, exchanged as INI files.
#include "app/cli/CliCommands.h"
#include "images/SiteLists.h"

namespace quillon::cli {

namespace {

int RunExport(CliRun& run, const QStringList& args)
{
  if (args.size() != 1)
    return run.UsageError(QStringLiteral("sites export takes one FILE"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  return ExportSiteURLs(*catalogue, run.Feedback(), args.first()) ? kSuccess : kFailure;
}

int RunImport(CliRun& run, QStringList args)
{
  const bool overwrite = args.removeAll(QStringLiteral("--overwrite")) > 0;
  const bool append = args.removeAll(QStringLiteral("--append")) > 0;
  if (overwrite == append)
    return run.UsageError(QStringLiteral("sites import needs either --overwrite or --append"));
  if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')))
    return run.UsageError(QStringLiteral("sites import takes one FILE"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  run.Feedback().SetAnswer(kOverwriteSitesQuestion, overwrite ? Answer::Yes : Answer::No);
  return ImportSiteURLs(*catalogue, run.Feedback(), args.first()) == SiteImportOutcome::Imported ? kSuccess : kFailure;
}

int RunSites(CliRun& run)
{
  QStringList args = run.Args();
  const QString action = args.isEmpty() ? QString() : args.takeFirst();
  if (action == QStringLiteral("export"))
    return RunExport(run, args);
  if (action == QStringLiteral("import"))
    return RunImport(run, args);
  return run.UsageError(QStringLiteral("sites needs 'export FILE' or 'import FILE --overwrite|--append'"));
}

}  // namespace

std::vector<CliCommand> SitesCommands()
{
  return {{QStringLiteral("sites"),
           {QStringLiteral("sites export FILE"), QStringLiteral("sites import FILE --overwrite|--append")},
           QStringLiteral("Exports the image-search sites and ignored pictures of all systems to an INI file, or "
                          "imports such a file, replacing (--overwrite) or adding to (--append) the present lists."),
           RunSites}};
}

}  // namespace quillon::cli
