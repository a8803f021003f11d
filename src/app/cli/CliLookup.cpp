// quillon-cli lookup: the countries, genres and makers games refer to.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "catalogue/Lookups.h"
#include "settings/LookupTables.h"

namespace quillon::cli {

namespace {

std::optional<LookupEntry> NamedEntry(CliRun& run, Catalogue& catalogue, LookupKind kind, const QString& name)
{
  const std::optional<LookupEntry> entry = LookupEntryNamed(catalogue, run.Feedback(), kind, name);
  if (!entry && !run.Feedback().SawError())
    run.Err() << "quillon-cli: no " << SectionOf(kind).name << " named \"" << name
              << "\" (see 'quillon-cli lookup list " << SectionOf(kind).name << "')\n";
  return entry;
}

int RunList(CliRun& run, Catalogue& catalogue, LookupKind kind)
{
  const std::optional<QList<LookupEntry>> entries = LookupEntries(catalogue, run.Feedback(), kind);
  if (!entries)
    return kFailure;
  const bool codes = SectionOf(kind).hasGoodCode;
  run.Out() << (codes ? "ID\tName\tGoodCode\n" : "ID\tName\n");
  for (const LookupEntry& entry : *entries) {
    run.Out() << entry.id << '\t' << entry.name;
    if (codes)
      run.Out() << '\t' << entry.goodCode;
    run.Out() << '\n';
  }
  return kSuccess;
}

int RunAdd(CliRun& run, Catalogue& catalogue, LookupKind kind, const QString& name, const QString& code)
{
  const std::optional<qint64> id = AddLookupEntry(catalogue, run.Feedback(), kind, name, code);
  if (!id)
    return kFailure;
  run.Out() << "Added " << SectionOf(kind).name << ' ' << *id << ' ' << name.trimmed() << '\n';
  return kSuccess;
}

int RunRename(CliRun& run, Catalogue& catalogue, LookupKind kind, const QString& name, const QString& newName)
{
  const std::optional<LookupEntry> entry = NamedEntry(run, catalogue, kind, name);
  if (!entry || !RenameLookupEntry(catalogue, run.Feedback(), kind, entry->id, newName))
    return kFailure;
  run.Out() << "Renamed " << entry->name << " to " << newName.trimmed() << '\n';
  return kSuccess;
}

int RunDelete(CliRun& run, Catalogue& catalogue, LookupKind kind, const QString& name, bool yes)
{
  const std::optional<LookupEntry> entry = NamedEntry(run, catalogue, kind, name);
  if (!entry)
    return kFailure;
  run.Feedback().SetAnswer(kDeleteLookupQuestion, yes ? Answer::Yes : Answer::No);
  switch (DeleteLookupEntry(catalogue, run.Feedback(), kind, entry->id)) {
    case LookupDeletion::Deleted:
      run.Out() << "Deleted " << SectionOf(kind).name << ' ' << entry->name << '\n';
      return kSuccess;
    case LookupDeletion::Declined:
      run.Err() << "quillon-cli: " << entry->name << " is in use and was kept; --yes deletes it and gives its games "
                << "[Unknown]\n";
      return kFailure;
    case LookupDeletion::Refused:
    case LookupDeletion::Failed:
      break;
  }
  return kFailure;
}

int RunMove(CliRun& run, Catalogue& catalogue, LookupKind kind, const QString& from, const QString& to)
{
  Lookups lookups(catalogue, run.Feedback());
  const std::optional<int> moved = MoveLookupGames(catalogue, lookups, run.Feedback(), kind, from, to);
  if (!moved)
    return kFailure;
  run.Out() << "Moved " << *moved << " game(s) from " << from.trimmed() << " to " << to.trimmed() << '\n';
  run.Feedback().SetStatus(StatusKind::Done, {});
  return kSuccess;
}

int RunLookup(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--yes")}, {QStringLiteral("--code")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  const QStringList& words = args.Positional();
  if (words.size() < 2)
    return run.UsageError(QStringLiteral("lookup needs an action and country, genre or manufacturer"));
  const QString action = words[0];
  const std::optional<LookupKind> kind = LookupKindNamed(words[1]);
  if (!kind)
    return run.UsageError(QStringLiteral("'%1' is not country, genre or manufacturer").arg(words[1]));
  static const QHash<QString, int> kArity{{QStringLiteral("list"), 2},
                                          {QStringLiteral("add"), 3},
                                          {QStringLiteral("rename"), 4},
                                          {QStringLiteral("delete"), 3},
                                          {QStringLiteral("move"), 4}};
  if (!kArity.contains(action))
    return run.UsageError(QStringLiteral("unknown lookup action '%1'").arg(action));
  if (words.size() != kArity.value(action))
    return run.UsageError(QStringLiteral("wrong arguments for lookup %1").arg(action));
  if (args.Has(QStringLiteral("--yes")) && action != QStringLiteral("delete"))
    return run.UsageError(QStringLiteral("--yes belongs to lookup delete"));
  if (args.Has(QStringLiteral("--code")) && (action != QStringLiteral("add") || *kind != LookupKind::Country))
    return run.UsageError(QStringLiteral("--code belongs to lookup add country"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  if (action == QStringLiteral("list"))
    return RunList(run, *catalogue, *kind);
  if (action == QStringLiteral("add"))
    return RunAdd(run, *catalogue, *kind, words[2], args.Value(QStringLiteral("--code")));
  if (action == QStringLiteral("rename"))
    return RunRename(run, *catalogue, *kind, words[2], words[3]);
  if (action == QStringLiteral("delete"))
    return RunDelete(run, *catalogue, *kind, words[2], args.Has(QStringLiteral("--yes")));
  return RunMove(run, *catalogue, *kind, words[2], words[3]);
}

}  // namespace

std::vector<CliCommand> LookupCommands()
{
  return {{QStringLiteral("lookup"),
           {QStringLiteral("lookup list KIND"), QStringLiteral("lookup add KIND NAME [--code CODES]"),
            QStringLiteral("lookup rename KIND NAME NEW-NAME"), QStringLiteral("lookup delete KIND NAME [--yes]"),
            QStringLiteral("lookup move KIND FROM TO")},
           QStringLiteral("Lists and edits the countries, genres and makers (KIND: country, genre or manufacturer). "
                          "Names are unique ignoring case; the [Unknown] entries cannot be changed. An entry that "
                          "games use is deleted only with --yes, and its games get [Unknown]. move gives every game "
                          "of FROM the entry TO instead (a new genre or maker name is added; FROM stays); --code "
                          "gives a new country its GoodTools codes."),
           RunLookup}};
}

}  // namespace quillon::cli
