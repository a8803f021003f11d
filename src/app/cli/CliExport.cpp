// quillon-cli export-my, export-meedio and options: the two exports and their options in `Inc`.
#include "app/cli/CliArgs.h"
#include "app/cli/CliCommands.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Lookups.h"
#include "catalogue/SystemSettings.h"
#include "export/MeedioExport.h"
#include "export/MyExport.h"
#include "settings/SystemOptions.h"

#include <QDir>
#include <QFileInfo>

namespace quillon::cli {

namespace {

const QString kSystem = QStringLiteral("--system");
const QString kAllSystems = QStringLiteral("--all-systems");
const QString kGenre = QStringLiteral("--genre");
const QString kAllGenres = QStringLiteral("--all-genres");
const QString kSeparateFiles = QStringLiteral("--separate-files");
const QString kAutoSave = QStringLiteral("--auto-save");
const QString kOverwrite = QStringLiteral("--overwrite");

int CountOf(const CliArgs& args, const QStringList& options)
{
  int count = 0;
  for (const QString& option : options)
    count += args.Has(option) ? 1 : 0;
  return count;
}

// The chosen systems: the named one (its key and name as stored) or all.
struct SystemChoice {
  SystemScope scope = SystemScope::Current;
  qint64 id = 0;
  QString name;
};

std::optional<SystemChoice> ChosenSystem(CliRun& run, Catalogue& catalogue, const CliArgs& args)
{
  if (args.Has(kAllSystems))
    return SystemChoice{SystemScope::All, 0, {}};
  const QString typed = args.Value(kSystem);
  const std::optional<qint64> id = SystemIdByName(catalogue, run.Feedback(), typed);
  if (!id) {
    run.Err() << "quillon-cli: no system named \"" << typed << "\" (see 'quillon-cli system list')\n";
    return std::nullopt;
  }
  const std::optional<QString> name = SystemNameOf(catalogue, run.Feedback(), *id, QStringLiteral("GetSysID"));
  if (!name)
    return std::nullopt;
  return SystemChoice{SystemScope::Current, *id, *name};
}

// The save dialog of a run without a window: the first file is OUTPUT (or, when OUTPUT is a
// folder, the proposed name in it); every further file takes the name the dialog proposes, in the
// folder of the previous file. Asked again for the same file (its overwrite was refused), it
// cancels, since nobody can type another name.
class CliFileChooser {
 public:
  CliFileChooser(const QString& output, bool outputIsFolder) : m_output(output), m_outputIsFolder(outputIsFolder) {}

  std::optional<QString> operator()(const FileChoice& choice)
  {
    if (m_asked && choice.proposedName == m_lastProposal) {
      m_refused = m_lastPath;
      return std::nullopt;
    }
    QString path;
    if (!m_asked && !m_outputIsFolder) {
      path = WithDefaultSuffix(m_output, choice.defaultSuffix);
    } else {
      const QString folder = m_asked ? choice.initialFolder : m_output;
      path = QDir(folder).filePath(WithDefaultSuffix(choice.proposedName, choice.defaultSuffix));
    }
    m_asked = true;
    m_lastProposal = choice.proposedName;
    m_lastPath = QFileInfo(path).absoluteFilePath();
    return m_lastPath;
  }

  // The file whose overwrite was refused, when that ended the run.
  QString Refused() const { return m_refused; }

 private:
  QString m_output;
  bool m_outputIsFolder;
  bool m_asked = false;
  QString m_lastProposal;
  QString m_lastPath;
  QString m_refused;
};

int Finish(CliRun& run, const ExportResult& result, const QString& refused)
{
  for (const QString& file : result.files)
    run.Out() << file << '\n';
  if (result.outcome == ExportResult::Outcome::Cancelled && !refused.isEmpty())
    run.Err() << "quillon-cli: " << refused << " exists; add --overwrite to replace it\n";
  return result.Succeeded() ? kSuccess : kFailure;
}

int RunExportMy(CliRun& run)
{
  const CliArgs args(run.Args(), {kAllSystems, kAllGenres, kSeparateFiles, kAutoSave, kOverwrite}, {kSystem, kGenre});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return run.UsageError(QStringLiteral("export-my needs one OUTPUT file or folder"));
  if (CountOf(args, {kSystem, kAllSystems}) != 1 || args.Values(kSystem).size() > 1)
    return run.UsageError(QStringLiteral("export-my needs either --system NAME or --all-systems"));
  if (CountOf(args, {kGenre, kAllGenres, kSeparateFiles}) != 1 || args.Values(kGenre).size() > 1)
    return run.UsageError(QStringLiteral("export-my needs one of --genre NAME, --all-genres, --separate-files"));
  if (args.Has(kAutoSave) && !args.Has(kSeparateFiles))
    return run.UsageError(QStringLiteral("--auto-save goes with --separate-files"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<SystemChoice> system = ChosenSystem(run, *catalogue, args);
  const std::optional<ExportOptions> options = LoadExportOptions(*catalogue, run.Feedback());
  if (!system || !options)
    return kFailure;

  MyExportRequest request;
  request.systems = system->scope;
  request.currentSystemId = system->id;
  request.genres = args.Has(kGenre)       ? GenreScope::Current
                   : args.Has(kAllGenres) ? GenreScope::AllInOneFile
                                          : GenreScope::SeparateFiles;
  request.currentGenre = args.Value(kGenre);
  request.autoSave = args.Has(kAutoSave);
  request.options = *options;
  const QString firstGenre = Lookups(*catalogue, run.Feedback()).GetFirstGenre();
  const QList<SystemTab> tabs = EnabledSystems(*catalogue, run.Feedback());
  request.proposedName =
      ProposedMyFileName(MyNameInputs{request.systems, request.genres, system->name, request.currentGenre, firstGenre,
                                      tabs.isEmpty() ? QString() : tabs.first().name, firstGenre});
  if (args.Has(kOverwrite))
    run.Feedback().SetAnswer(kOverwriteQuestionKey, Answer::Yes);

  // A folder as OUTPUT takes the proposed name in it, as the save dialog would offer it there.
  const QString output = args.Positional().first();
  const bool outputIsFolder = output.endsWith(QLatin1Char('/')) || QFileInfo(output).isDir();
  if (outputIsFolder && !QFileInfo(output).isDir()) {
    run.Err() << "quillon-cli: there is no folder " << output << '\n';
    return kFailure;
  }
  CliFileChooser chooser(output, outputIsFolder);
  const ExportResult result =
      ExportToMy(*catalogue, run.Feedback(), request, [&](const FileChoice& choice) { return chooser(choice); });
  return Finish(run, result, chooser.Refused());
}

int RunExportMeedio(CliRun& run)
{
  const CliArgs args(run.Args(), {kAllSystems}, {kSystem});
  if (!args.Ok())
    return run.UsageError(args.Error());
  if (args.Positional().size() != 1)
    return run.UsageError(QStringLiteral("export-meedio needs one LIBRARY file"));
  if (CountOf(args, {kSystem, kAllSystems}) != 1 || args.Values(kSystem).size() > 1)
    return run.UsageError(QStringLiteral("export-meedio needs either --system NAME or --all-systems"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  const std::optional<SystemChoice> system = ChosenSystem(run, *catalogue, args);
  const std::optional<ExportOptions> options = LoadExportOptions(*catalogue, run.Feedback());
  if (!system || !options)
    return kFailure;
  H2ExportRequest request;
  request.systems = system->scope;
  request.currentSystemId = system->id;
  request.options = *options;
  const QString library = args.Positional().first();
  if (library.endsWith(QLatin1Char('/')) || QFileInfo(library).isDir()) {
    run.Err() << "quillon-cli: " << library << " is a folder; export-meedio needs the LIBRARY file (.mlf)\n";
    return kFailure;
  }
  request.library = QFileInfo(WithDefaultSuffix(library, kMeedioSuffix)).absoluteFilePath();
  return Finish(run, ExportToH2(*catalogue, run.Feedback(), run.Folder(), request), {});
}

// "COLUMN=0|1" as the column's name in `Inc` and its value; nullopt when it is not one.
std::optional<std::pair<QString, bool>> OptionAssignment(const QString& text)
{
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  const QString value = text.mid(equals + 1);
  if (equals <= 0 || (value != QStringLiteral("0") && value != QStringLiteral("1")))
    return std::nullopt;
  for (const QString& column : ExportOptionColumns()) {
    if (column.compare(text.left(equals), Qt::CaseInsensitive) == 0)
      return std::make_pair(column, value == QStringLiteral("1"));
  }
  return std::nullopt;
}

int RunOptions(CliRun& run)
{
  const QStringList& args = run.Args();
  const QString sub = args.value(0);
  if (sub != QStringLiteral("show") && sub != QStringLiteral("set"))
    return run.UsageError(QStringLiteral("options needs 'show' or 'set COLUMN=0|1...'"));
  if (sub == QStringLiteral("show") ? args.size() != 1 : args.size() < 2)
    return run.UsageError(QStringLiteral("wrong arguments for options %1").arg(sub));
  std::vector<std::pair<QString, bool>> changes;
  for (const QString& text : args.mid(1)) {
    const std::optional<std::pair<QString, bool>> change = OptionAssignment(text);
    if (!change) {
      return run.UsageError(QStringLiteral("expected COLUMN=0 or COLUMN=1 with COLUMN one of %1, got \"%2\"")
                                .arg(ExportOptionColumns().join(QStringLiteral(", ")), text));
    }
    changes.push_back(*change);
  }
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  if (sub == QStringLiteral("set")) {
    if (!StoreExportOptions(*catalogue, run.Feedback(), changes))
      return kFailure;
  }
  const std::optional<ExportOptions> options = LoadExportOptions(*catalogue, run.Feedback());
  if (!options)
    return kFailure;
  for (const QString& column : ExportOptionColumns())
    run.Out() << column << '\t' << (*options->Field(column) ? 1 : 0) << '\n';
  return kSuccess;
}

}  // namespace

std::vector<CliCommand> ExportCommands()
{
  return {
      {QStringLiteral("export-my"),
       {QStringLiteral("export-my OUTPUT (--system NAME | --all-systems) (--genre NAME | --all-genres | "
                       "--separate-files [--auto-save]) [--overwrite]")},
       QStringLiteral(
           "Writes the selected, available games as MyHTPC .my metafiles, with the record lines the options "
           "choose, to OUTPUT or, when OUTPUT is a folder, to the name the window proposes in it (SYSTEM.my, "
           "SYSTEM_GENRE.my or GENRE.my). With --separate-files one file per system and genre is written: the "
           "first as above, the others SYSTEM_GENRE.my beside it, as the "
           "window's Auto Save does (without a window every save dialog takes its proposed name, so --auto-save "
           "changes nothing here); a genre without games leaves no file. An existing file is replaced only with "
           "--overwrite; otherwise the export stops there. Prints the files written."),
       RunExportMy},
      {QStringLiteral("export-meedio"),
       {QStringLiteral("export-meedio LIBRARY (--system NAME | --all-systems)")},
       QStringLiteral("Replaces the systems' items in a Meedio library (.mlf) by their selected, available games; a "
                      "missing library is made from the template. Prints the library."),
       RunExportMeedio},
      {QStringLiteral("options"),
       {QStringLiteral("options show"), QStringLiteral("options set COLUMN=0|1...")},
       QStringLiteral("Shows or changes the export options (IncC country, IncG genre, IncM manufacturer, IncO "
                      "overview, IncR rating, IncS system, IncY year, IncQ quoted ROM path, ExUnk leave out "
                      "[Unknown], Alpha alphabetic group, SFile absolute file names)."),
       RunOptions},
  };
}

}  // namespace quillon::cli
