// quillon-cli import-dat, dat-lists, verify and rename: ROM files identified by their contents
// against DAT files and Mame software lists, and renamed to the lists' standard names.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "catalogue/SystemNames.h"
#include "identify/ReferenceLists.h"
#include "identify/Renaming.h"
#include "identify/Verification.h"
#include "settings/SystemOptions.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace quillon::cli {

namespace {

const QString kSystemOption = QStringLiteral("--system");

// The system named by --system; prints why and gives nullopt when there is none.
std::optional<qint64> NamedSystem(CliRun& run, Catalogue& catalogue, const CliArgs& args)
{
  const QString name = args.Value(kSystemOption);
  const std::optional<qint64> system = SystemIdByName(catalogue, run.Feedback(), name);
  if (!system)
    run.Err() << "quillon-cli: no system named \"" << name << "\"\n";
  return system;
}

// The catalogue and system of a command that takes --system NAME and no other words. Without a
// catalogue, `exitCode` is how the command ends (the reason was printed).
struct SystemTarget {
  Catalogue* catalogue = nullptr;
  qint64 systemId = 0;
  int exitCode = kSuccess;
};

SystemTarget OpenSystemTarget(CliRun& run, const CliArgs& args, const QString& command)
{
  SystemTarget target;
  if (!args.Ok()) {
    target.exitCode = run.UsageError(args.Error());
    return target;
  }
  if (!args.Has(kSystemOption) || !args.Positional().isEmpty()) {
    target.exitCode = run.UsageError(command + QStringLiteral(" needs --system NAME and no other words"));
    return target;
  }
  Catalogue* catalogue = run.OpenCatalogue();
  const std::optional<qint64> system = catalogue ? NamedSystem(run, *catalogue, args) : std::nullopt;
  if (!system) {
    target.exitCode = kFailure;
    return target;
  }
  target.catalogue = catalogue;
  target.systemId = *system;
  return target;
}

void PrintList(CliRun& run, const ListSummary& list)
{
  run.Out() << list.name << '\t' << list.version << '\t' << list.entries << '\t' << list.format << '\n';
}

int RunImportDat(CliRun& run)
{
  const CliArgs args(run.Args(), {}, {kSystemOption, QStringLiteral("--list"), QStringLiteral("--hash-folder")});
  if (!args.Ok())
    return run.UsageError(args.Error());
  QStringList files;
  for (const QString& file : args.Positional())
    files << QFileInfo(file).absoluteFilePath();
  const QString hashFolder =
      args.Has(QStringLiteral("--hash-folder")) ? args.Value(QStringLiteral("--hash-folder")) : kMameHashFolder;
  for (const QString& list : args.Values(QStringLiteral("--list")))
    files << MameSoftwareListFile(list, hashFolder);
  if (!args.Has(kSystemOption))
    return run.UsageError(QStringLiteral("import-dat needs --system NAME and a FILE or --list NAME"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<qint64> system = NamedSystem(run, *catalogue, args);
  if (!system)
    return kFailure;
  // Without files or lists, the system's own Mame software lists.
  if (files.isEmpty()) {
    const std::optional<SystemNames> names = SystemNamesOf(*catalogue, run.Feedback(), *system);
    if (!names)
      return kFailure;
    for (const QString& list : names->softwareLists)
      files << MameSoftwareListFile(list, hashFolder);
    if (files.isEmpty()) {
      run.Err() << "quillon-cli: the system has no Mame software lists; give a FILE or --list NAME\n";
      return kFailure;
    }
  }
  int failures = 0;
  for (const QString& file : files) {
    const ListImport imported = ImportReferenceList(*catalogue, run.Feedback(), *system, file);
    if (!imported.ok) {
      run.Err() << "quillon-cli: " << imported.error << '\n';
      ++failures;
      continue;
    }
    PrintList(run, imported.list);
    run.Err() << (imported.replaced ? "Replaced" : "Added") << " the list \"" << imported.list.name << "\" ("
              << imported.list.entries << " entries).\n";
  }
  return failures == 0 ? kSuccess : kFailure;
}

int RunDatLists(CliRun& run)
{
  const CliArgs args(run.Args(), {}, {kSystemOption, QStringLiteral("--remove")});
  const SystemTarget target = OpenSystemTarget(run, args, QStringLiteral("dat-lists"));
  if (!target.catalogue)
    return target.exitCode;
  Catalogue* catalogue = target.catalogue;
  const qint64 system = target.systemId;
  if (args.Has(QStringLiteral("--remove"))) {
    const QString name = args.Value(QStringLiteral("--remove"));
    if (!RemoveReferenceList(*catalogue, run.Feedback(), system, name)) {
      run.Err() << "quillon-cli: the system has no list named \"" << name << "\"\n";
      return kFailure;
    }
    run.Err() << "Removed the list \"" << name << "\".\n";
  }
  const std::optional<std::vector<ListSummary>> lists = ListsOfSystem(*catalogue, run.Feedback(), system);
  if (!lists)
    return kFailure;
  for (const ListSummary& list : *lists)
    PrintList(run, list);
  return kSuccess;
}

QJsonObject VerdictObject(const GameVerdict& game)
{
  return {{QStringLiteral("GameID"), game.gameId},
          {QStringLiteral("FileName"), game.fileName},
          {QStringLiteral("Status"), MatchStatusText(game.status)},
          {QStringLiteral("StandardName"), game.standardName},
          {QStringLiteral("List"), game.listName},
          {QStringLiteral("Candidates"), QJsonArray::fromStringList(game.candidates)},
          {QStringLiteral("Filled"), QJsonArray::fromStringList(game.filled)}};
}

void PrintVerdictsJson(CliRun& run, const VerifySummary& summary)
{
  QJsonArray games;
  for (const GameVerdict& game : summary.games)
    games.append(VerdictObject(game));
  QJsonObject counts;
  for (const MatchStatus status : {MatchStatus::Verified, MatchStatus::Rename, MatchStatus::BadDump,
                                   MatchStatus::NotInList, MatchStatus::Ambiguous})
    counts.insert(MatchStatusText(status), summary.CountOf(status));
  const QJsonObject document{{QStringLiteral("games"), games},
                             {QStringLiteral("counts"), counts},
                             {QStringLiteral("have"), summary.have},
                             {QStringLiteral("missing"), summary.missing},
                             {QStringLiteral("listEntries"), summary.listEntries},
                             {QStringLiteral("notOnDisk"), summary.notOnDisk},
                             {QStringLiteral("filesRead"), summary.filesRead}};
  run.Out() << QJsonDocument(document).toJson(QJsonDocument::Indented);
}

void PrintVerdictsTsv(CliRun& run, const VerifySummary& summary)
{
  for (const GameVerdict& game : summary.games) {
    const QString name = game.standardName.isEmpty() ? game.candidates.join(QStringLiteral(" | ")) : game.standardName;
    run.Out() << game.gameId << '\t' << game.fileName << '\t' << MatchStatusText(game.status) << '\t' << name << '\t'
              << game.filled.join(QLatin1Char(',')) << '\n';
  }
  run.Out() << "# have " << summary.have << " / missing from the list " << summary.missing << '\n';
}

int RunVerify(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--json"), QStringLiteral("--sha1")}, {kSystemOption});
  const SystemTarget target = OpenSystemTarget(run, args, QStringLiteral("verify"));
  if (!target.catalogue)
    return target.exitCode;
  Catalogue* catalogue = target.catalogue;
  const qint64 system = target.systemId;
  VerifyOptions options;
  options.confirmSha1 = args.Has(QStringLiteral("--sha1"));
  const VerifySummary summary = VerifySystem(*catalogue, run.Feedback(), system, options);
  if (!summary.ok) {
    run.Err() << "quillon-cli: " << summary.error << '\n';
    return kFailure;
  }
  if (args.Has(QStringLiteral("--json")))
    PrintVerdictsJson(run, summary);
  else
    PrintVerdictsTsv(run, summary);
  run.Out().flush();
  for (const QString& unreadable : summary.unreadable)
    run.Err() << "quillon-cli: cannot read " << unreadable << '\n';
  return summary.unreadable.isEmpty() ? kSuccess : kFailure;
}

int RunRename(CliRun& run)
{
  const CliArgs args(run.Args(), {QStringLiteral("--dry-run")}, {kSystemOption});
  const SystemTarget target = OpenSystemTarget(run, args, QStringLiteral("rename"));
  if (!target.catalogue)
    return target.exitCode;
  Catalogue* catalogue = target.catalogue;
  const qint64 system = target.systemId;
  if (!HasVerificationResults(*catalogue, system)) {
    run.Err() << "quillon-cli: the system's ROM files were not verified yet: run 'quillon-cli verify' first\n";
    return kFailure;
  }
  const bool dryRun = args.Has(QStringLiteral("--dry-run"));
  const RenameSummary summary = RenameToStandardNames(*catalogue, run.Feedback(), system, dryRun);
  if (!summary.ok) {
    run.Err() << "quillon-cli: " << summary.error << '\n';
    return kFailure;
  }
  for (const PlannedRename& rename : summary.renames) {
    if (rename.problem.isEmpty())
      run.Out() << rename.oldFileName << '\t' << rename.newFileName << '\n';
  }
  run.Out().flush();
  for (const QString& problem : summary.problems)
    run.Err() << "quillon-cli: not renamed: " << problem << '\n';
  if (summary.finished > 0)
    run.Err() << "Finished " << summary.finished << " renames of an interrupted run.\n";
  return summary.problems.isEmpty() ? kSuccess : kFailure;
}

}  // namespace

std::vector<CliCommand> IdentifyCommands()
{
  return {{QStringLiteral("import-dat"),
           {QStringLiteral("import-dat --system NAME [FILE...] [--list SOFTWARELIST...] [--hash-folder DIR]")},
           QStringLiteral("Imports reference lists for a system: Logiqx XML or clrmamepro DAT files, or Mame software "
                          "lists by name (--list nes reads nes.xml of the mame-data package); without either, the "
                          "system's own software lists. A list of the same name is replaced. Prints name, version, "
                          "entries and format of each."),
           RunImportDat},
          {QStringLiteral("dat-lists"),
           {QStringLiteral("dat-lists --system NAME [--remove LISTNAME]")},
           QStringLiteral("Prints the system's reference lists (name, version, entries, format), after removing one "
                          "when asked."),
           RunDatLists},
          {QStringLiteral("verify"),
           {QStringLiteral("verify --system NAME [--json] [--sha1]")},
           QStringLiteral("Identifies the system's ROM files by their contents and fills what the lists know and the "
                          "games lack. Prints GameID, file name, result (verified, rename needed, bad dump, not in "
                          "list, ambiguous), standard name and the columns filled, then the have / missing counts. "
                          "Zip members are known by their archive's directory; --sha1 reads them to compare SHA-1s."),
           RunVerify},
          {QStringLiteral("rename"),
           {QStringLiteral("rename --system NAME [--dry-run]")},
           QStringLiteral("Renames the verified ROM files (and their pictures when the system renames pictures) to "
                          "their standard names, never over an existing file, and finishes an interrupted run. "
                          "Prints each old and new file name; --dry-run changes nothing."),
           RunRename}};
}

}  // namespace quillon::cli
