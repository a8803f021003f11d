#include "identify/Renaming.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/FileWriting.h"
#include "identify/HashCache.h"
#include "identify/RomIndex.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("RenameRoms");
const QString kRomKind = QStringLiteral("rom");
const QString kPictureKind = QStringLiteral("picture");
constexpr int kMostPictures = 1000;

bool Exists(const QString& path)
{
  return QFileInfo::exists(path);
}

QString WithSlash(QString folder)
{
  if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
    folder += QLatin1Char('/');
  return folder;
}

QString NameOnly(const QString& fileName)
{
  return fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

QString BaseNameOf(const QString& fileName)
{
  const QString name = NameOnly(fileName);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.left(dot) : name;
}

QString ExtensionOf(const QString& fileName)
{
  const QString name = NameOnly(fileName);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.mid(dot) : QString();
}

QString SubFolderOf(const QString& fileName)
{
  return fileName.left(fileName.lastIndexOf(QLatin1Char('/')) + 1);
}

struct PictureSettings {
  bool rename = false;
  QString folder;
  QStringList types;
};

// The game's pictures (base.ext, base_1.ext, ...) under the new base name; notes a problem when
// a picture's new name is taken.
void PlanPictures(const PictureSettings& settings, const QString& base, const QString& newBase, const QVariant& image,
                  PlannedRename& rename)
{
  for (int position = 0; position < kMostPictures; ++position) {
    const QString suffix = position == 0 ? QString() : QStringLiteral("_%1").arg(position);
    bool found = false;
    for (const QString& type : settings.types) {
      const QString oldName = base + suffix + QLatin1Char('.') + type;
      const QString newName = newBase + suffix + QLatin1Char('.') + type;
      if (!Exists(settings.folder + oldName))
        continue;
      found = true;
      if (Exists(settings.folder + newName) && rename.problem.isEmpty())
        rename.problem = QStringLiteral("a picture named %1 is already there").arg(newName);
      rename.pictures.emplace_back(settings.folder + oldName, settings.folder + newName);
      if (image.toString() == oldName)
        rename.newImage = newName;
      else if (image.toString() == settings.folder + oldName)
        rename.newImage = settings.folder + newName;
    }
    if (!found && position > 0)
      break;
  }
}

struct JournalRow {
  qint64 id = 0;
  QString kind;
  QString oldPath;
  QString newPath;
  QVariant fileName;
  QVariant image;
  bool done = false;
};

// Does what the row asks unless it is done already; false (with `problem`) when it cannot.
bool CarryOut(JournalRow& row, QString* problem)
{
  const bool oldThere = Exists(row.oldPath);
  const bool newThere = Exists(row.newPath);
  if (!oldThere && newThere) {
    row.done = true;
    return true;
  }
  if (oldThere && !newThere) {
    QString error;
    row.done = RenameWithoutReplacing(row.oldPath, row.newPath, &error);
    if (!row.done)
      *problem = error;
    return row.done;
  }
  *problem =
      oldThere ? QStringLiteral("%1 is already there").arg(row.newPath) : QStringLiteral("%1 is gone").arg(row.oldPath);
  return false;
}

bool ForgetJournal(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  return catalogue.Execute(feedback, kRoutine, QStringLiteral("DELETE FROM RenameJournal WHERE GameID = ?"), {gameId});
}

// The catalogue follows the files: the game's file name (and picture), its cached checksums and
// its result, with the journal entries gone, in one transaction.
bool RecordRenames(Catalogue& catalogue, Feedback& feedback, qint64 gameId, const JournalRow& rom,
                   const QVariant& image)
{
  Transaction transaction(catalogue);
  const bool written =
      catalogue.Execute(
          feedback, kRoutine,
          image.isValid() ? QStringLiteral("UPDATE Games SET FileName = ?, Image = ? WHERE GameID = ?")
                          : QStringLiteral("UPDATE Games SET FileName = ? WHERE GameID = ?"),
          image.isValid() ? QVariantList{rom.fileName, image, gameId} : QVariantList{rom.fileName, gameId}) &&
      MoveCachedFile(catalogue, rom.oldPath, rom.newPath) &&
      catalogue.Execute(feedback, kRoutine,
                        QStringLiteral("UPDATE GameMatch SET FileName = ?, Status = CASE WHEN Status = ? THEN ? "
                                       "ELSE Status END WHERE GameID = ?"),
                        {rom.fileName, qint64(MatchStatus::Rename), qint64(MatchStatus::Verified), gameId}) &&
      ForgetJournal(catalogue, feedback, gameId);
  SqlFailure failure;
  if (written && transaction.Commit(&failure))
    return true;
  if (written)
    ReportError(feedback, failure.number, kRoutine, failure.description);
  return false;
}

// Finishes one game of the journal; false (with `problem`) when its ROM file could not be renamed,
// in which case its pictures get their old names back.
bool FinishGame(Catalogue& catalogue, Feedback& feedback, qint64 gameId, QString* problem)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine,
      QStringLiteral("SELECT ID, Kind, OldPath, NewPath, FileName, Image FROM RenameJournal WHERE GameID = ? "
                     "ORDER BY ID"),
      {gameId});
  if (!rows) {
    *problem = QStringLiteral("the journal could not be read");
    return false;
  }
  std::vector<JournalRow> journal;
  for (const QVariantList& row : rows->All())
    journal.push_back({row[0].toLongLong(), row[1].toString(), row[2].toString(), row[3].toString(), row[4], row[5]});
  const auto rom =
      std::find_if(journal.begin(), journal.end(), [](const JournalRow& row) { return row.kind == kRomKind; });
  if (rom == journal.end() || !CarryOut(*rom, problem)) {
    if (rom == journal.end())
      *problem = QStringLiteral("the journal holds no ROM file");
    for (JournalRow& row : journal) {
      QString ignored;
      if (row.kind == kPictureKind && !Exists(row.oldPath) && Exists(row.newPath))
        RenameWithoutReplacing(row.newPath, row.oldPath, &ignored);
    }
    ForgetJournal(catalogue, feedback, gameId);
    return false;
  }
  QVariant image;
  for (JournalRow& row : journal) {
    if (row.kind != kPictureKind)
      continue;
    QString pictureProblem;
    // A picture that cannot be renamed keeps its name; the game keeps its picture as it was.
    if (CarryOut(row, &pictureProblem) && row.image.isValid() && !row.image.isNull())
      image = row.image;
  }
  if (!RecordRenames(catalogue, feedback, gameId, *rom, image)) {
    *problem = QStringLiteral("the catalogue could not record the new name");
    return false;
  }
  return true;
}

std::optional<PictureSettings> PictureSettingsOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine,
      QStringLiteral("SELECT RenameImages, DefaultImagePath, DefaultImageType FROM System WHERE SystemID = ?"),
      {systemId});
  if (!rows)
    return std::nullopt;
  PictureSettings settings;
  if (rows->IsEmpty())
    return settings;
  settings.folder = WithSlash(rows->Value(0, 1).toString());
  settings.rename = IsTrue(rows->Value(0, 0)) && !rows->Value(0, 1).toString().isEmpty();
  for (const QString& type : rows->Value(0, 2).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts))
    settings.types << type.trimmed();
  return settings;
}

}  // namespace

std::vector<PlannedRename> PlanRenames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool* ok)
{
  *ok = false;
  std::vector<PlannedRename> plan;
  const std::optional<PictureSettings> pictures = PictureSettingsOf(catalogue, feedback, systemId);
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine,
      QStringLiteral("SELECT Games.GameID, Games.FileName, Games.Image, RomPath.RomPath, GameMatch.StandardName "
                     "FROM GameMatch INNER JOIN Games ON Games.GameID = GameMatch.GameID "
                     "INNER JOIN RomPath ON RomPath.PathID = Games.RomPath "
                     "WHERE Games.System = ? AND GameMatch.FileName = Games.FileName AND GameMatch.Status IN (?, ?) "
                     "ORDER BY Games.GameID"),
      {systemId, qint64(MatchStatus::Rename), qint64(MatchStatus::BadDump)});
  if (!pictures || !rows)
    return plan;
  HashCache cache(catalogue);
  QSet<QString> taken;
  for (const QVariantList& row : rows->All()) {
    PlannedRename rename;
    rename.gameId = row[0].toLongLong();
    rename.oldFileName = row[1].toString();
    rename.folder = WithSlash(row[3].toString());
    rename.standardName = row[4].toString();
    const QString base = BaseNameOf(rename.oldFileName);
    const QString newBase = FileSafeName(rename.standardName);
    if (newBase.isEmpty() || base == newBase)
      continue;
    rename.newFileName = SubFolderOf(rename.oldFileName) + newBase + ExtensionOf(rename.oldFileName);
    const std::optional<FileStamp> stamp = StampOf(rename.OldPath());
    if (!stamp)
      rename.problem = QStringLiteral("the file is not on disk");
    else if (!cache.Find(rename.OldPath(), *stamp))
      rename.problem = QStringLiteral("the file changed since it was verified: verify again");
    else if (Exists(rename.NewPath()) || taken.contains(rename.NewPath()))
      rename.problem = QStringLiteral("a file named %1 is already there").arg(NameOnly(rename.newFileName));
    if (pictures->rename)
      PlanPictures(*pictures, base, newBase, row[2], rename);
    if (rename.problem.isEmpty())
      taken.insert(rename.NewPath());
    plan.push_back(std::move(rename));
  }
  *ok = true;
  return plan;
}

bool JournalRename(Catalogue& catalogue, Feedback& feedback, const PlannedRename& rename)
{
  Transaction transaction(catalogue);
  const QString insert = QStringLiteral(
      "INSERT INTO RenameJournal (GameID, Kind, OldPath, NewPath, FileName, Image) VALUES (?, ?, ?, ?, ?, ?)");
  bool written =
      catalogue.Execute(feedback, kRoutine, insert,
                        {rename.gameId, kRomKind, rename.OldPath(), rename.NewPath(), rename.newFileName, QVariant()});
  for (const auto& [oldPath, newPath] : rename.pictures) {
    // The picture the game shows carries the game's new picture text.
    const bool shown = rename.newImage.isValid() &&
                       (rename.newImage.toString() == newPath || rename.newImage.toString() == NameOnly(newPath));
    written = written && catalogue.Execute(feedback, kRoutine, insert,
                                           {rename.gameId, kPictureKind, oldPath, newPath, QVariant(),
                                            shown ? rename.newImage : QVariant()});
  }
  SqlFailure failure;
  if (written && transaction.Commit(&failure))
    return true;
  if (written)
    ReportError(feedback, failure.number, kRoutine, failure.description);
  return false;
}

int FinishInterruptedRenames(Catalogue& catalogue, Feedback& feedback, QStringList* problems)
{
  const std::optional<Rows> games =
      catalogue.Select(feedback, kRoutine, QStringLiteral("SELECT DISTINCT GameID FROM RenameJournal ORDER BY GameID"));
  if (!games)
    return 0;
  int finished = 0;
  for (const QVariantList& row : games->All()) {
    QString problem;
    if (FinishGame(catalogue, feedback, row[0].toLongLong(), &problem))
      ++finished;
    else if (problems)
      *problems << problem;
  }
  return finished;
}

RenameSummary RenameToStandardNames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool dryRun)
{
  RenameSummary summary;
  if (!dryRun)
    summary.finished = FinishInterruptedRenames(catalogue, feedback, &summary.problems);
  bool planned = false;
  summary.renames = PlanRenames(catalogue, feedback, systemId, &planned);
  if (!planned) {
    summary.error = QStringLiteral("the results of the last verification could not be read");
    return summary;
  }
  summary.ok = true;
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Renaming the ROM files..."));
  feedback.SetProgressMaximum(static_cast<int>(summary.renames.size()));
  int position = 0;
  for (PlannedRename& rename : summary.renames) {
    feedback.SetProgressValue(++position);
    feedback.Yield();
    // Each file is renamed with its rows, so stopping between two files leaves nothing half done.
    if (feedback.IsCancelled()) {
      summary.cancelled = true;
      break;
    }
    if (!rename.problem.isEmpty()) {
      summary.problems << rename.oldFileName + QStringLiteral(": ") + rename.problem;
      continue;
    }
    if (dryRun)
      continue;
    QString problem;
    if (!JournalRename(catalogue, feedback, rename))
      problem = QStringLiteral("the journal could not be written");
    else if (FinishGame(catalogue, feedback, rename.gameId, &problem))
      ++summary.renamed;
    if (!problem.isEmpty()) {
      rename.problem = problem;
      summary.problems << rename.oldFileName + QStringLiteral(": ") + problem;
    }
  }
  feedback.SetProgressValue(0);
  const QString done = summary.cancelled ? QStringLiteral("Renamed %1 files before the renaming was cancelled.")
                                         : QStringLiteral("Renamed %1 files.");
  feedback.SetStatus(StatusKind::Text,
                     dryRun ? QStringLiteral("%1 files would be renamed.")
                                  .arg(summary.renames.size() - static_cast<size_t>(summary.problems.size()))
                            : done.arg(summary.renamed));
  return summary;
}

}  // namespace quillon
