// quillon-cli system: a system's settings and ROM folders.
#include "app/cli/CliCommands.h"
#include "scan/RomDiscovery.h"
#include "settings/SystemOptions.h"

#include <QDir>
#include <QFileInfo>

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
  const std::optional<Rows> rows = catalogue.Select(
      run.Feedback(), QStringLiteral("UpdateTabs"),
      QStringLiteral("SELECT System.SystemID, System.System, System.EnableTab, SystemType.SType, "
                     "(SELECT count(*) FROM RomPath WHERE RomPath.System = System.SystemID), "
                     "(SELECT count(*) FROM Games WHERE Games.System = System.SystemID) "
                     "FROM System LEFT JOIN SystemType ON SystemType.ID = System.SType ORDER BY System.SystemID"));
  if (!rows)
    return kFailure;
  run.Out() << "ID\tSystem\tEnabled\tType\tRomPaths\tGames\n";
  for (const QVariantList& row : rows->All()) {
    run.Out() << row[0].toLongLong() << '\t' << row[1].toString() << '\t' << (IsTrue(row[2]) ? 1 : 0) << '\t'
              << Shown(row[3]) << '\t' << row[4].toInt() << '\t' << row[5].toInt() << '\n';
  }
  return kSuccess;
}

int RunShow(CliRun& run, Catalogue& catalogue, const QString& name)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const std::optional<Rows> rows = catalogue.Select(run.Feedback(), QStringLiteral("RefreshSettings"),
                                                    QStringLiteral("SELECT * FROM System WHERE SystemID = ?"), {*id});
  if (!rows || rows->IsEmpty())
    return kFailure;
  for (int column = 0; column < rows->Columns().size(); ++column)
    run.Out() << rows->Columns()[column] << '\t' << Shown(rows->Value(0, column)) << '\n';
  for (const QString& folder : RomPathsOf(catalogue, run.Feedback(), *id))
    run.Out() << "RomPath\t" << folder << '\n';
  return kSuccess;
}

int RunSet(CliRun& run, Catalogue& catalogue, const QString& name, const QStringList& assignments)
{
  if (assignments.isEmpty())
    return run.UsageError(QStringLiteral("system set needs COLUMN=VALUE"));
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
  }
  std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  Transaction transaction(catalogue);
  for (const QString& assignment : assignments) {
    const qsizetype equals = assignment.indexOf(QLatin1Char('='));
    if (!SetSystemSetting(catalogue, run.Feedback(), *id, assignment.left(equals), assignment.mid(equals + 1)))
      return kFailure;
  }
  return transaction.Commit() ? kSuccess : kFailure;
}

int RunAddRomPath(CliRun& run, Catalogue& catalogue, const QString& name, const QString& folder)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  const QString absolute = QDir(folder).absolutePath();
  if (!QFileInfo(absolute).isDir())
    run.Err() << "quillon-cli: warning: " << absolute << " is not a folder (yet); its scans will report it\n";
  if (!AddRomPath(catalogue, run.Feedback(), *id, absolute)) {
    if (run.Feedback().SawError())
      return kFailure;
    run.Err() << "quillon-cli: " << name << " already has the ROM folder " << absolute << '\n';
    return kSuccess;
  }
  run.Out() << "Added " << absolute << "/ to " << name << '\n';
  return kSuccess;
}

int RunRemoveRomPath(CliRun& run, Catalogue& catalogue, const QString& name, const QString& folder)
{
  const std::optional<qint64> id = NamedSystem(run, catalogue, name);
  if (!id)
    return kFailure;
  // The folder as stored, or as typed relative to here.
  QString stored = folder;
  if (!RomPathsOf(catalogue, run.Feedback(), *id).contains(Check4Slash(stored)))
    stored = QDir(folder).absolutePath();
  if (!RemoveRomPath(catalogue, run.Feedback(), *id, stored)) {
    if (!run.Feedback().SawError())
      run.Err() << "quillon-cli: " << name << " has no ROM folder " << folder << '\n';
    return kFailure;
  }
  run.Out() << "Removed " << stored << " from " << name << '\n';
  return kSuccess;
}

int RunSystem(CliRun& run)
{
  const QStringList& args = run.Args();
  if (args.isEmpty())
    return run.UsageError(QStringLiteral("system needs a subcommand"));
  const QString sub = args[0];
  const bool known = sub == QStringLiteral("list") || sub == QStringLiteral("show") || sub == QStringLiteral("set") ||
                     sub == QStringLiteral("add-rompath") || sub == QStringLiteral("remove-rompath");
  if (!known)
    return run.UsageError(QStringLiteral("unknown system subcommand '%1'").arg(sub));
  if (sub == QStringLiteral("list")   ? args.size() != 1
      : sub == QStringLiteral("show") ? args.size() != 2
      : sub == QStringLiteral("set")  ? args.size() < 3
                                      : args.size() != 3)
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
  return RunRemoveRomPath(run, *catalogue, args[1], args[2]);
}

}  // namespace

std::vector<CliCommand> SystemCommands()
{
  return {{QStringLiteral("system"),
           {QStringLiteral("system list"), QStringLiteral("system show NAME"),
            QStringLiteral("system set NAME COLUMN=VALUE..."), QStringLiteral("system add-rompath NAME FOLDER"),
            QStringLiteral("system remove-rompath NAME FOLDER")},
           QStringLiteral("Lists the systems; shows or changes one system's settings (an empty VALUE clears the setting); "
                          "adds or removes its ROM folders (games found in a removed folder lose their ROM path)."),
           RunSystem}};
}

}  // namespace quillon::cli
