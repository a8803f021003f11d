#include "images/SiteLists.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "images/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace quillon {

namespace {

const QString kImportRoutine = QStringLiteral("ImportSiteURLs");
const QString kExportRoutine = QStringLiteral("ExportSiteURLs");
const QString kLineBreak = QStringLiteral("\r\n");

QString SiteKey(char letter, qint64 system)
{
  return QLatin1Char(letter) + QString::number(system);
}

// A line holding "[" would end its section for every line below it, and a line break would start
// a new line: such characters of an address are written percent-encoded, as the web reads them.
QString IniSafeAddress(QString address)
{
  address.replace(QLatin1Char('['), QStringLiteral("%5B"));
  address.replace(QLatin1Char(']'), QStringLiteral("%5D"));
  address.replace(QLatin1Char('\r'), QStringLiteral("%0D"));
  address.replace(QLatin1Char('\n'), QStringLiteral("%0A"));
  return address;
}

// Why a file's text is no site list; empty when it has a "Site" section to import.
QString SiteListProblem(const QString& text, const IniReader& reader)
{
  if (text.contains(QChar(0)))
    return QStringLiteral("it is not a text file, so it holds no site list");
  if (!reader.HasSection(kSiteSection))
    return QStringLiteral("it holds no [Site] section, so it is no site list");
  return {};
}

Question OverwriteQuestion()
{
  Question question;
  question.key = kOverwriteSitesQuestion;
  question.title = kSiteListDialogTitle;
  question.text = kOverwriteSitesText;
  question.buttons = QuestionButtons::YesNoCancel;
  question.icon = MessageIcon::Question;
  question.fallback = Answer::Cancel;
  return question;
}

// The keys of the systems the catalogue has, ascending: the site-list files cover each of them.
std::optional<QList<qint64>> SystemKeys(Catalogue& catalogue, Feedback& feedback, const QString& routine)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, routine, QStringLiteral("SELECT SystemID FROM System ORDER BY SystemID"));
  if (!rows)
    return std::nullopt;
  QList<qint64> keys;
  for (const QVariantList& row : rows->All())
    keys << row.value(0).toLongLong();
  return keys;
}

bool ClearSystem(Catalogue& catalogue, Feedback& feedback, qint64 system)
{
  return catalogue.Execute(feedback, kImportRoutine, QStringLiteral("DELETE FROM ImageURL WHERE SystemID = ?"),
                           {system}) &&
         catalogue.Execute(feedback, kImportRoutine, QStringLiteral("DELETE FROM IgnoreList WHERE SystemID = ?"),
                           {system});
}

// What an import added or an export wrote, for the status line.
struct SiteCounts {
  int sites = 0;
  int ignored = 0;
};

QString CountsText(const SiteCounts& counts)
{
  return QStringLiteral("%1 site(s) and %2 ignored address(es)").arg(counts.sites).arg(counts.ignored);
}

// Adds a site and its ignored addresses; false after reporting a failure.
bool AddSite(Catalogue& catalogue, Feedback& feedback, qint64 system, const QString& address, const QString& ignored,
             SiteCounts& added)
{
  if (!catalogue.Execute(feedback, kImportRoutine, QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (?, ?)"),
                         {system, address}))
    return false;
  ++added.sites;
  const qint64 siteId = catalogue.LastInsertId();
  // Every non-empty piece is one ignored address (an empty line must not hide the ones after it).
  for (const QString& piece : ignored.split(kIniValueSeparator)) {
    if (piece.isEmpty())
      continue;
    if (!catalogue.Execute(feedback, kImportRoutine,
                           QStringLiteral("INSERT INTO IgnoreList (SystemID, URL, SiteURL) VALUES (?, ?, ?)"),
                           {system, piece, siteId}))
      return false;
    ++added.ignored;
  }
  return true;
}

enum class SystemImport { Done, Duplicate, Failed };

SystemImport ImportSystem(Catalogue& catalogue, Feedback& feedback, const IniReader& reader, qint64 system,
                          SiteCounts& added)
{
  for (char letter = 'a'; letter <= 'z'; ++letter) {
    const QString key = SiteKey(letter, system);
    const QString address = reader.Value(kSiteSection, key);
    if (address.isEmpty())
      continue;
    if (address.contains(kIniValueSeparator))
      return SystemImport::Duplicate;
    if (!AddSite(catalogue, feedback, system, address, reader.Value(kIgnoreListSection, key), added))
      return SystemImport::Failed;
  }
  return SystemImport::Done;
}

// The lines of both sections for one system, oldest site first (letter a).
struct ExportLines {
  QStringList sites;
  QStringList ignored;
  int leftOut = 0;
};

bool CollectSystem(Catalogue& catalogue, Feedback& feedback, qint64 system, ExportLines& lines)
{
  const std::optional<Rows> sites =
      catalogue.Select(feedback, kExportRoutine,
                       QStringLiteral("SELECT ID, URL FROM ImageURL WHERE SystemID = ? ORDER BY ID"), {system});
  if (!sites)
    return false;
  // The newest 26 sites take the letters a to z; older ones have no letter left.
  const int first = std::max(0, sites->Count() - kSitesPerSystem);
  lines.leftOut += first;
  char letter = 'a';
  for (int row = first; row < sites->Count(); ++row, ++letter) {
    const QString key = SiteKey(letter, system);
    lines.sites << key + QLatin1Char('=') + IniSafeAddress(sites->Value(row, 1).toString());
    const std::optional<Rows> ignored = catalogue.Select(
        feedback, kExportRoutine, QStringLiteral("SELECT URL FROM IgnoreList WHERE SiteURL = ? ORDER BY ID"),
        {sites->Value(row, 0)});
    if (!ignored)
      return false;
    for (const QVariantList& entry : ignored->All())
      lines.ignored << key + QLatin1Char('=') + IniSafeAddress(entry.value(0).toString());
  }
  return true;
}

QString SectionText(const QString& section, const QStringList& lines)
{
  return QLatin1Char('[') + section + QLatin1Char(']') + kLineBreak + lines.join(kLineBreak);
}

// The finished file: what writing every key below its section header, from the last system and
// site backwards, leaves behind.
QString SiteListText(const ExportLines& lines)
{
  QStringList sections;
  if (!lines.sites.isEmpty())
    sections << SectionText(kSiteSection, lines.sites);
  if (!lines.ignored.isEmpty())
    sections << SectionText(kIgnoreListSection, lines.ignored);
  return sections.isEmpty() ? QString() : sections.join(kLineBreak + kLineBreak) + kLineBreak;
}

}  // namespace

QString EnsureSiteListFolder(const DataFolder& folder)
{
  const QString path = folder.UrlFolder();
  return QDir().mkpath(path) ? path : QString();
}

SiteImportOutcome ImportSiteURLs(Catalogue& catalogue, Feedback& feedback, const QString& file)
{
  if (!QFileInfo(file).isFile()) {
    ReportError(feedback, kFileNotFound, kImportRoutine, QStringLiteral("File not found: ") + file);
    return SiteImportOutcome::Failed;
  }
  IniFileFailure failure;
  const std::optional<QString> text = LoadIniText(file, &failure);
  if (!text) {
    ReportError(feedback, failure.number, kImportRoutine, failure.description);
    return SiteImportOutcome::Failed;
  }
  // The whole file is checked before anything is asked or cleared.
  const IniReader reader(*text);
  const QString problem = SiteListProblem(*text, reader);
  if (!problem.isEmpty()) {
    ReportError(feedback, kInvalidFileFormat, kImportRoutine, file + QStringLiteral(": ") + problem);
    return SiteImportOutcome::Failed;
  }
  const Answer answer = feedback.Ask(OverwriteQuestion());
  if (answer != Answer::Yes && answer != Answer::No)
    return SiteImportOutcome::Cancelled;
  const bool overwrite = answer == Answer::Yes;

  Transaction transaction(catalogue);
  if (!transaction.IsActive()) {
    ReportError(feedback, kPathFileAccessError, kImportRoutine, QStringLiteral("Cannot start a transaction"));
    return SiteImportOutcome::Failed;
  }
  const std::optional<QList<qint64>> systems = SystemKeys(catalogue, feedback, kImportRoutine);
  if (!systems)
    return SiteImportOutcome::Failed;
  SiteCounts added;
  for (const qint64 system : *systems) {
    if (overwrite && !ClearSystem(catalogue, feedback, system))
      return SiteImportOutcome::Failed;
    switch (ImportSystem(catalogue, feedback, reader, system, added)) {
      case SystemImport::Done:
        break;
      case SystemImport::Duplicate:
        feedback.SetStatus(StatusKind::Text, kDuplicateSiteIdsText);
        return SiteImportOutcome::DuplicateSiteIds;
      case SystemImport::Failed:
        return SiteImportOutcome::Failed;
    }
    feedback.Yield();
  }
  SqlFailure commitFailure;
  if (!transaction.Commit(&commitFailure)) {
    ReportError(feedback, commitFailure.number, kImportRoutine, commitFailure.description);
    return SiteImportOutcome::Failed;
  }
  feedback.SetStatus(StatusKind::Text, CountsText(added) + QStringLiteral(" imported."));
  return SiteImportOutcome::Imported;
}

bool ExportSiteURLs(Catalogue& catalogue, Feedback& feedback, const QString& file)
{
  const std::optional<QList<qint64>> systems = SystemKeys(catalogue, feedback, kExportRoutine);
  if (!systems)
    return false;
  ExportLines lines;
  for (const qint64 system : *systems) {
    if (!CollectSystem(catalogue, feedback, system, lines))
      return false;
  }
  // An empty list would only replace the chosen file with nothing.
  if (lines.sites.isEmpty()) {
    feedback.SetStatus(StatusKind::Error, QStringLiteral("There are no image sites to export."));
    return false;
  }
  IniFileFailure failure;
  if (!SaveIniText(file, SiteListText(lines), &failure)) {
    ReportError(feedback, failure.number, kExportRoutine, failure.description);
    return false;
  }
  if (lines.leftOut > 0) {
    feedback.ShowMessage(kSiteListDialogTitle,
                         QStringLiteral("%1 older site(s) were not exported: a site-list file holds at most %2 sites "
                                        "per system.")
                             .arg(lines.leftOut)
                             .arg(kSitesPerSystem),
                         MessageIcon::Warning);
  }
  const SiteCounts written{static_cast<int>(lines.sites.size()), static_cast<int>(lines.ignored.size())};
  feedback.SetStatus(StatusKind::Text, CountsText(written) + QStringLiteral(" exported to ") + file + QLatin1Char('.'));
  return true;
}

}  // namespace quillon
