// quillon-cli system: a system's settings, name, group and tab, ROM folders, image sites and the
// pictures each site must pass over.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "settings/SystemOptions.h"
#include "settings/SystemRows.h"
#include "settings/SystemSites.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace quillon::cli {

namespace {

QString Shown(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

// Resolves the system named on the command line; prints why not and returns nullopt.
std::optional<qint64> NamedSystem(CliRun& run, Catalogue& catalogue, const QString& name)
{
  const std::optional<qint64> id = SystemIdByName(catalogue, run.Feedback(), name);
  if (!id)
    run.Err() << "quillon-cli: no system named \"" << name << "\" (see 'quillon-cli system list')\n";
  return id;
}

int RunList(CliRun& run, Catalogue& catalogue)
{
  const std::optional<QList<SystemSummary>> systems = SystemSummaries(catalogue, run.Feedback());
  if (!systems)
    return kFailure;
  run.Out() << "ID\tSystem\tEnabled\tType\tRomPaths\tGames\n";
  for (const SystemSummary& system : *systems) {
    run.Out() << system.systemId << '\t' << system.name << '\t' << (system.enabled ? 1 : 0) << '\t' << system.typeName
              << '\t' << system.romPaths << '\t' << system.games << '\n';
  }
  return kSuccess;
}

int RunShow(CliRun& run, Catalogue& catalogue, const QString& name)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const std::optional<Rows> rows = SystemRecord(catalogue, run.Feedback(), *id, QStringLiteral("RefreshSettings"));
  if (!rows || rows->IsEmpty())
    return kFailure;
  for (int column = 0; column < rows->Columns().size(); ++column)
    run.Out() << rows->Columns()[column] << '\t' << Shown(rows->Value(0, column)) << '\n';
  for (const QString& folder : RomPathsOf(catalogue, run.Feedback(), *id))
    run.Out() << "RomPath\t" << folder << '\n';
  const std::optional<QList<ImageSite>> sites = ImageSitesOf(catalogue, run.Feedback(), *id);
  if (!sites)
    return kFailure;
  for (const ImageSite& site : *sites) {
    run.Out() << "ImageURL\t" << site.url << '\n';
    for (const QString& ignored : IgnoredUrlsOf(catalogue, run.Feedback(), *id, site.id).value_or(QStringList()))
      run.Out() << "IgnoreList\t" << site.url << '\t' << ignored << '\n';
  }
  return kSuccess;
}

int RunSet(CliRun& run, Catalogue& catalogue, const QString& name, const QStringList& assignments)
{
  if (assignments.isEmpty())
    return run.UsageError(QStringLiteral("system set needs COLUMN=VALUE"));
  QList<QPair<QString, QString>> settings;
  for (const QString& assignment : assignments) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (equals <= 0)
      return run.UsageError(QStringLiteral("expected COLUMN=VALUE, got \"%1\"").arg(assignment));
    if (!FindSystemSetting(assignment.left(equals))) {
      QStringList columns;
      for (const SystemSetting& setting : EditableSystemSettings())
        columns << setting.column;
      return run.UsageError(QStringLiteral("%1 is not a setting of a system; settings: %2")
                                .arg(assignment.left(equals), columns.join(QStringLiteral(", "))));
    }
    settings.append({assignment.left(equals), assignment.mid(equals + 1)});
  }
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  return SetSystemSettings(catalogue, run.Feedback(), *id, settings) ? kSuccess : kFailure;
}

int RunAddRomPath(CliRun& run, Catalogue& catalogue, const QString& name, const QString& folder)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const QString absolute = QDir(folder).absolutePath();
  if (!QFileInfo(absolute).isDir())
    run.Err() << "quillon-cli: warning: " << absolute << " is not a folder (yet); its scans will report it\n";
  if (const std::optional<QString> stored = StoredRomPath(catalogue, run.Feedback(), *id, absolute)) {
    run.Err() << "quillon-cli: " << name << " already has the ROM folder " << *stored << '\n';
    return kSuccess;
  }
  if (!AddRomPath(catalogue, run.Feedback(), *id, absolute))
    return kFailure;
  run.Out() << "Added " << absolute << "/ to " << name << '\n';
  return kSuccess;
}

int RunRemoveRomPath(CliRun& run, Catalogue& catalogue, const QString& name, const QString& folder)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  // The folder as stored, or the same folder as typed (relative to here, or by another path).
  const std::optional<QString> stored = StoredRomPath(catalogue, run.Feedback(), *id, folder);
  if (!stored || !RemoveRomPath(catalogue, run.Feedback(), *id, *stored)) {
    if (!run.Feedback().SawError())
      run.Err() << "quillon-cli: " << name << " has no ROM folder " << folder << '\n';
    return kFailure;
  }
  run.Out() << "Removed " << *stored << " from " << name << '\n';
  return kSuccess;
}

int RunRename(CliRun& run, Catalogue& catalogue, const QString& name, const QString& newName)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id || !SetSystemSetting(catalogue, run.Feedback(), *id, QStringLiteral("System"), newName))
    return kFailure;
  run.Out() << "Renamed " << name << " to " << newName << '\n';
  return kSuccess;
}

int RunEnable(CliRun& run, Catalogue& catalogue, const QString& name, bool enabled)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id || !SetSystemEnabled(catalogue, run.Feedback(), *id, enabled, true))
    return kFailure;
  run.Out() << (enabled ? "Enabled " : "Disabled ") << name << '\n';
  return kSuccess;
}

std::optional<qint64> SystemTypeArgument(CliRun& run, Catalogue& catalogue, const QString& type)
{
  bool isNumber = false;
  std::optional<qint64> typeId = type.toLongLong(&isNumber);
  if (!isNumber)
    typeId = SystemTypeIdByName(catalogue, run.Feedback(), type);
  if (!typeId)
    run.Err() << "quillon-cli: no system type \"" << type << "\" (Consoles, Handhelds, Computers, Arcade, Custom)\n";
  return typeId;
}

int RunSetType(CliRun& run, Catalogue& catalogue, const QString& name, const QString& type)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const std::optional<qint64> typeId = SystemTypeArgument(run, catalogue, type);
  if (!typeId)
    return kFailure;
  if (!SetSystemType(catalogue, run.Feedback(), *id, *typeId))
    return kFailure;
  run.Out() << "Moved " << name << " to system type " << type << '\n';
  return kSuccess;
}

// system add NAME --type TYPE [--short NAME] [--extensions LIST]
int RunAddSystem(CliRun& run)
{
  const CliArgs args(run.Args(), {},
                     {QStringLiteral("--type"), QStringLiteral("--short"), QStringLiteral("--extensions")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() != 2 || !args.Has(QStringLiteral("--type")))
    return run.UsageError(QStringLiteral("system add needs a NAME and --type TYPE"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<qint64> typeId = SystemTypeArgument(run, *catalogue, args.Value(QStringLiteral("--type")));
  if (!typeId)
    return kFailure;
  NewSystem system;
  system.name = args.Positional()[1];
  system.typeId = *typeId;
  system.shortName = args.Value(QStringLiteral("--short"));
  system.extensions = args.Value(QStringLiteral("--extensions"));
  const std::optional<qint64> id = AddSystem(*catalogue, run.Feedback(), system);
  if (!id)
    return kFailure;
  run.Out() << "Added " << system.name.trimmed() << " with the ID " << *id
            << "; it gets a tab when it gets a ROM folder\n";
  return kSuccess;
}

// system delete NAME [--yes]: a system with games is deleted only with --yes.
int RunDeleteSystem(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--yes")}, {});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() != 2)
    return run.UsageError(QStringLiteral("system delete needs a NAME"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const QString name = args.Positional()[1];
  const std::optional<qint64> id = NamedSystem(run, *catalogue, name);
  if (!id)
    return kFailure;
  run.Feedback().SetAnswer(kDeleteSystemQuestion, args.Has(QStringLiteral("--yes")) ? Answer::Yes : Answer::No);
  switch (DeleteSystem(*catalogue, run.Feedback(), *id)) {
    case SystemDeletion::Deleted:
      run.Out() << "Deleted " << name << '\n';
      return kSuccess;
    case SystemDeletion::Declined:
      run.Err() << "quillon-cli: " << name << " has games and was kept; --yes deletes it with its games\n";
      return kFailure;
    case SystemDeletion::Refused:
    case SystemDeletion::Failed:
      break;
  }
  return kFailure;
}

int RunAddSite(CliRun& run, Catalogue& catalogue, const QString& name, const QString& url)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  if (url.isEmpty())
    return run.UsageError(QStringLiteral("system add-site needs a URL"));
  if (!AddImageSite(catalogue, run.Feedback(), *id, url)) {
    if (run.Feedback().SawError())
      return kFailure;
    run.Err() << "quillon-cli: " << name << " already has the site " << url << '\n';
    return kSuccess;
  }
  run.Out() << "Added the site " << url << " to " << name << '\n';
  return kSuccess;
}

int RunRemoveSite(CliRun& run, Catalogue& catalogue, const QString& name, const QString& url)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  if (!RemoveImageSite(catalogue, run.Feedback(), *id, url)) {
    if (!run.Feedback().SawError())
      run.Err() << "quillon-cli: " << name << " has no site " << url << '\n';
    return kFailure;
  }
  run.Out() << "Removed the site " << url << " and its ignore list from " << name << '\n';
  return kSuccess;
}

// The key of a site of the system, or nullopt with the reason printed.
std::optional<qint64> NamedSite(CliRun& run, Catalogue& catalogue, qint64 systemId, const QString& name,
                                const QString& url)
{
  const std::optional<qint64> site = ImageSiteId(catalogue, run.Feedback(), systemId, url);
  if (!site && !run.Feedback().SawError())
    run.Err() << "quillon-cli: " << name << " has no site " << url << " (see 'quillon-cli system show')\n";
  return site;
}

int RunIgnore(CliRun& run, Catalogue& catalogue, const QStringList& args, bool add)
{
  const QString& name = args[1];
  const QString& siteUrl = args[2];
  const QString& url = args[3];
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const std::optional<qint64> site = NamedSite(run, catalogue, *id, name, siteUrl);
  if (!site)
    return kFailure;
  if (add) {
    if (url.isEmpty())
      return run.UsageError(QStringLiteral("system add-ignore needs a URL"));
    if (!AddIgnoredUrl(catalogue, run.Feedback(), *id, *site, url)) {
      if (run.Feedback().SawError())
        return kFailure;
      run.Err() << "quillon-cli: " << siteUrl << " already ignores " << url << '\n';
      return kSuccess;
    }
    run.Out() << "Ignoring " << url << " on " << siteUrl << '\n';
    return kSuccess;
  }
  if (!RemoveIgnoredUrl(catalogue, run.Feedback(), *id, *site, url)) {
    if (!run.Feedback().SawError())
      run.Err() << "quillon-cli: " << siteUrl << " does not ignore " << url << '\n';
    return kFailure;
  }
  run.Out() << "No longer ignoring " << url << " on " << siteUrl << '\n';
  return kSuccess;
}

// Subcommands and how many words each takes (the subcommand included); -1: at least three.
const QHash<QString, int>& SubcommandArity()
{
  static const QHash<QString, int> arity{
      {QStringLiteral("list"), 1},          {QStringLiteral("show"), 2},           {QStringLiteral("set"), -1},
      {QStringLiteral("add-rompath"), 3},   {QStringLiteral("remove-rompath"), 3}, {QStringLiteral("rename"), 3},
      {QStringLiteral("enable"), 2},        {QStringLiteral("disable"), 2},        {QStringLiteral("set-type"), 3},
      {QStringLiteral("add-site"), 3},      {QStringLiteral("remove-site"), 3},    {QStringLiteral("add-ignore"), 4},
      {QStringLiteral("remove-ignore"), 4},
  };
  return arity;
}

int RunSystem(CliRun& run)
{
  const QStringList& args = run.Args();
  if (args.isEmpty())
    return run.UsageError(QStringLiteral("system needs a subcommand"));
  const QString sub = args[0];
  if (sub == QStringLiteral("add"))
    return RunAddSystem(run);
  if (sub == QStringLiteral("delete"))
    return RunDeleteSystem(run);
  const auto arity = SubcommandArity().constFind(sub);
  if (arity == SubcommandArity().cend())
    return run.UsageError(QStringLiteral("unknown system subcommand '%1'").arg(sub));
  if (*arity < 0 ? args.size() < 3 : args.size() != *arity)
    return run.UsageError(QStringLiteral("wrong arguments for system %1").arg(sub));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  if (sub == QStringLiteral("list"))
    return RunList(run, *catalogue);
  if (sub == QStringLiteral("show"))
    return RunShow(run, *catalogue, args[1]);
  if (sub == QStringLiteral("set"))
    return RunSet(run, *catalogue, args[1], args.mid(2));
  if (sub == QStringLiteral("add-rompath"))
    return RunAddRomPath(run, *catalogue, args[1], args[2]);
  if (sub == QStringLiteral("remove-rompath"))
    return RunRemoveRomPath(run, *catalogue, args[1], args[2]);
  if (sub == QStringLiteral("rename"))
    return RunRename(run, *catalogue, args[1], args[2]);
  if (sub == QStringLiteral("enable") || sub == QStringLiteral("disable"))
    return RunEnable(run, *catalogue, args[1], sub == QStringLiteral("enable"));
  if (sub == QStringLiteral("set-type"))
    return RunSetType(run, *catalogue, args[1], args[2]);
  if (sub == QStringLiteral("add-site"))
    return RunAddSite(run, *catalogue, args[1], args[2]);
  if (sub == QStringLiteral("remove-site"))
    return RunRemoveSite(run, *catalogue, args[1], args[2]);
  return RunIgnore(run, *catalogue, args, sub == QStringLiteral("add-ignore"));
}

}  // namespace

std::vector<CliCommand> SystemCommands()
{
  return {
      {QStringLiteral("system"),
       {QStringLiteral("system list"), QStringLiteral("system show NAME"),
        QStringLiteral("system set NAME COLUMN=VALUE..."), QStringLiteral("system add-rompath NAME FOLDER"),
        QStringLiteral("system remove-rompath NAME FOLDER"), QStringLiteral("system rename NAME NEW-NAME"),
        QStringLiteral("system enable NAME"), QStringLiteral("system disable NAME"),
        QStringLiteral("system set-type NAME TYPE"), QStringLiteral("system add-site NAME URL"),
        QStringLiteral("system remove-site NAME URL"), QStringLiteral("system add-ignore NAME SITE-URL URL"),
        QStringLiteral("system remove-ignore NAME SITE-URL URL"),
        QStringLiteral("system add NAME --type TYPE [--short NAME] [--extensions LIST]"),
        QStringLiteral("system delete NAME [--yes]")},
       QStringLiteral("Lists the systems; shows or changes one system's settings (an empty VALUE clears the setting); "
                      "adds or removes its ROM folders (games found in a removed folder lose their ROM path and "
                      "are listed as missing); "
                      "renames it, gives it a tab or takes it away (one system always keeps its tab), moves it "
                      "to another system type (a name or key); adds or removes its image-search sites (a removed "
                      "site's ignore list goes with it) and the pictures a site must pass over; adds a system (its tab "
                      "comes with its first ROM folder) or deletes one with its games, their genre links and "
                      "identification results, its folders and sites (a system with games only with --yes; "
                      "Arcade and Zinc are kept; files on disk are never touched)."),
       RunSystem}};
}

}  // namespace quillon::cli
