// quillon-cli analyse, compare and fix-countries: the file-name analysis without a window.
#include "app/cli/CliCommands.h"
#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "names/FixCountries.h"
#include "names/Similarity.h"

namespace quillon::cli {

namespace {

// Printed in place of a key when a year is not in the catalogue yet: analyse only reads, so it
// shows the text a scan would add instead of adding it.
const QString kNewKeyMark = QStringLiteral("new");

QString FileNamePart(const QString& path)
{
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString KeyText(const std::optional<qint64>& key)
{
  return key ? QString::number(*key) : kNewKeyMark;
}

QString AnalysisLine(Lookups& lookups, FileNameTags& tags, const QString& path)
{
  const QString name = FileNamePart(path);
  const QString yearText = YearTagText(name);
  const std::optional<qint64> year = lookups.FindYear(yearText);
  const QString yearName = year ? lookups.GetYear(*year).toString() : yearText;
  const qint64 country = tags.CheckCountry(name);
  const QString maker = tags.ManufacturerNameIn(name);
  const std::optional<qint64> manufacturer = lookups.FindManf(maker);
  const QString makerName = manufacturer ? lookups.GetManf(*manufacturer).toString() : maker;
  return QStringList{
      ScannedFullName(name), KeyText(year), yearName, QString::number(country), lookups.GetCountry(country).toString(),
      KeyText(manufacturer), makerName}
      .join(QLatin1Char('\t'));
}

int RunAnalyse(CliRun& run)
{
  if (run.Args().isEmpty())
    return run.UsageError(QStringLiteral("analyse needs at least one file name"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  Lookups lookups(*catalogue, run.Feedback());
  FileNameTags tags(lookups);
  for (const QString& path : run.Args())
    run.Out() << AnalysisLine(lookups, tags, path) << '\n';
  return run.Feedback().SawError() ? kFailure : kSuccess;
}

int RunCompare(CliRun& run)
{
  QStringList texts;
  QString delimiter = QStringLiteral(" ");
  CompareMode mode = CompareMode::IgnoreCase;
  const QStringList& args = run.Args();
  for (int i = 0; i < args.size(); ++i) {
    const QString& argument = args[i];
    if (argument == QStringLiteral("--delimiter") || argument == QStringLiteral("--mode")) {
      if (i + 1 >= args.size())
        return run.UsageError(argument + QStringLiteral(" needs a value"));
      const QString value = args[++i];
      if (argument == QStringLiteral("--delimiter")) {
        delimiter = value;
      } else if (value == QStringLiteral("0") || value == QStringLiteral("1")) {
        mode = value == QStringLiteral("0") ? CompareMode::Exact : CompareMode::IgnoreCase;
      } else {
        return run.UsageError(QStringLiteral("--mode is 0 (exact) or 1 (ignoring case)"));
      }
    } else {
      texts << argument;
    }
  }
  if (texts.size() != 2)
    return run.UsageError(QStringLiteral("compare needs two texts"));
  run.Out() << QString::number(Compare(texts[0], texts[1], delimiter, mode), 'f', 4) << '\n';
  return kSuccess;
}

int RunFixCountries(CliRun& run)
{
  if (!run.Args().isEmpty())
    return run.UsageError(QStringLiteral("fix-countries takes no arguments"));
  Catalogue* catalogue = run.OpenCatalogue();
  if (!catalogue)
    return kFailure;
  if (!FixCountries(*catalogue, run.Feedback()))
    return kFailure;
  run.Feedback().SetStatus(StatusKind::Done, {});
  return kSuccess;
}

}  // namespace

std::vector<CliCommand> NamesCommands()
{
  return {{QStringLiteral("analyse"),
           {QStringLiteral("analyse NAME...")},
           QStringLiteral("Shows what a scan learns from each file name: the full name, then year, country and "
                          "manufacturer as key and name, tab-separated. Reads only: a year not yet in the "
                          "catalogue shows the key 'new' with the text a scan would add."),
           RunAnalyse},
          {QStringLiteral("compare"),
           {QStringLiteral("compare A B [--delimiter D] [--mode 0|1]")},
           QStringLiteral("Prints the similarity score of the candidate B against the title A with four decimals. "
                          "Words are split at D (default a blank; an empty D compares characters); mode 1 "
                          "(default) ignores letter case."),
           RunCompare},
          {QStringLiteral("fix-countries"),
           {QStringLiteral("fix-countries")},
           QStringLiteral("Gives every game the country whose code its file name carries."),
           RunFixCountries}};
}

}  // namespace quillon::cli
