#include "scan/Scanner.h"

#include "catalogue/DeliveredSystems.h"
#include "common/Paths.h"
#include "scan/GoodTools.h"
#include "scan/MultiFileGames.h"
#include "scan/RomDiscovery.h"
#include "scan/ScanRun.h"

#include <QFileInfo>

#include <algorithm>

namespace quillon {

namespace scanning {

namespace {

std::optional<std::vector<ScanRow>> ReadScanRows(Catalogue& catalogue, Feedback& feedback, const ScanOptions& options)
{
  QString sql = QStringLiteral(
      "SELECT System.SystemID, System.Recurse, System.SystemShortName, System.System, System.Rename, "
      "RomPath.PathID, RomPath.RomPath, System.RenameImages, System.DefaultImagePath, System.DefaultImageType, "
      "System.DefaultRomType FROM System INNER JOIN RomPath ON System.SystemID = RomPath.System WHERE ");
  QVariantList binds;
  if (options.allSystems) {
    sql += QStringLiteral("System.EnableTab <> 0");
  } else {
    sql += QStringLiteral("System.System = ?");
    binds << options.systemName;
  }
  // A system's folders come together, in the order they were added.
  sql += QStringLiteral(" ORDER BY System.SystemID, RomPath.PathID");
  const std::optional<Rows> rows = catalogue.Select(feedback, kRoutine, sql, binds);
  if (!rows)
    return std::nullopt;
  std::vector<ScanRow> scanRows;
  for (const QVariantList& row : rows->All()) {
    ScanRow scanRow;
    scanRow.systemId = row[0].toLongLong();
    // "Scan Subfolders": only an explicit false stops the descent.
    scanRow.recurse = row[1].isNull() || IsTrue(row[1]);
    scanRow.shortName = row[2].toString();
    scanRow.systemName = row[3].toString();
    scanRow.dontRename = IsTrue(row[4]);
    scanRow.pathId = row[5].toLongLong();
    scanRow.romFolder = row[6].toString();
    scanRow.renameImages = IsTrue(row[7]);
    scanRow.imageFolder = row[8];
    scanRow.imageTypes = row[9].toString();
    scanRow.romTypes = row[10].toString();
    scanRows.push_back(std::move(scanRow));
  }
  return scanRows;
}

// A derived key replaces the stored one when it is known and differs, or when nothing is stored.
std::optional<qint64> Replacement(const StoredKey& stored, qint64 derived, qint64 unknown)
{
  if (stored.isNull || (derived != unknown && stored.value != derived))
    return derived;
  return std::nullopt;
}

QString FileNameOf(const QString& path)
{
  return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

ScanSummary ScanRun::Run()
{
  const std::optional<std::vector<ScanRow>> rows = ReadScanRows(m_catalogue, m_feedback, m_options);
  if (!rows)
    return m_summary;
  m_lookups.EnsureManufacturers();
  if (rows->empty())
    m_feedback.SetStatus(StatusKind::Error, QStringLiteral("No games available. Check rom path."));
  qint64 previousSystem = -1;
  for (const ScanRow& row : *rows) {
    if (row.systemId != previousSystem) {
      if (previousSystem >= 0)
        EndSystem();
      previousSystem = row.systemId;
      StartSystem(row);
    }
    ScanFolder(row);
    m_feedback.Yield();
  }
  if (previousSystem >= 0)
    EndSystem();
  CommitBatch();
  ReportPassedOver();
  if (m_missingCounted)
    m_summary.gamesMissing = m_missingGames;
  else
    CountMissingGames();
  m_feedback.SetStatus(StatusKind::Done);
  m_feedback.AddResultLine(QStringLiteral("Done."));
  m_feedback.SetProgressValue(0);
  return m_summary;
}

void ScanRun::StartSystem(const ScanRow& row)
{
  ++m_summary.systems;
  m_scannedSystems << row.systemId;
  m_feedback.AddResultLine(row.systemName);
  if (m_options.systemStarted)
    m_options.systemStarted(row.systemName);
  m_systemId = row.systemId;
  m_systemLoaded = m_games.Load(m_catalogue, m_feedback, kRoutine, row.systemId);
  if (!m_systemLoaded)
    ++m_summary.errors;
  m_goodToolsInstalled = QFileInfo::exists(GoodToolsProgram(m_dataFolder, row.shortName));
  m_picturesListed = false;
  LoadIncompleteGames(row.systemId);
}

void ScanRun::LoadIncompleteGames(qint64 systemId)
{
  m_incompleteGames.clear();
  if (!m_statements.storeReason.IsValid())
    return;
  const std::optional<Rows> rows = m_catalogue.Select(
      m_feedback, kRoutine,
      QStringLiteral("SELECT GameID FROM %1 WHERE GameID IN (SELECT GameID FROM Games WHERE System = ?)")
          .arg(kMissingFilesTable),
      {systemId});
  if (!rows) {
    ++m_summary.errors;
    return;
  }
  for (const QVariantList& game : rows->All())
    m_incompleteGames.insert(game.value(0).toLongLong());
}

void ScanRun::EndSystem()
{
  if (m_systemLoaded)
    m_missingGames += m_games.CountUnavailable();
  else
    m_missingCounted = false;
}

void ScanRun::CountMissingGames()
{
  for (const qint64 systemId : m_scannedSystems) {
    const std::optional<QVariant> missing = m_catalogue.SelectValue(
        m_feedback, kRoutine, QStringLiteral("SELECT count(*) FROM Games WHERE System = ? AND Available = 0"),
        {systemId});
    m_summary.gamesMissing += missing ? missing->toInt() : 0;
  }
}

void ScanRun::AddErrorLine(const QString& text)
{
  ++m_summary.errors;
  m_feedback.AddResultLine(QStringLiteral("     Error - ") + text);
}

void ScanRun::ListPictures(const ScanRow& row)
{
  if (m_picturesListed)
    return;
  m_picturesListed = true;
  if (row.imageFolder.isNull())
    m_pictures = PictureFolder();
  else
    m_pictures = PictureFolder(row.imageFolder.toString(),
                               row.imageTypes.isEmpty() ? QStringList() : ExtensionList(row.imageTypes));
}

void ScanRun::ScanFolder(const ScanRow& row)
{
  if (row.imageFolder.isNull())
    m_feedback.SetStatus(StatusKind::Error, QStringLiteral("Check image path."));
  ListPictures(row);
  m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Scanning ") + row.romFolder);
  m_feedback.AddResultLine(QStringLiteral("     Scanning ") + row.romFolder);
  if (row.romFolder.isEmpty()) {
    AddErrorLine(QStringLiteral("Check rom path."));
    return;
  }
  if (row.romTypes.isEmpty()) {
    m_feedback.SetStatus(StatusKind::Error, QStringLiteral("Check Default Rom Types."));
    AddErrorLine(QStringLiteral("Check Default Rom Types."));
    return;
  }
  ++m_summary.folders;
  const QFileInfo folderInfo(row.romFolder);
  if (!folderInfo.isDir() || !folderInfo.isReadable()) {
    FindRomsReport(row);
    AddErrorLine(QStringLiteral("Check rom path."));
    return;
  }
  if (!m_systemLoaded) {
    AddErrorLine(QStringLiteral("The system's games could not be read."));
    return;
  }
  // Only the batch pass needs the list of subfolders.
  BatchPassResult batchPass;
  if (BatchPassApplies(row.shortName, row.dontRename, m_options.quick) && m_goodToolsInstalled) {
    QStringList romFolders;
    if (row.recurse)
      GetSubFolders(row.romFolder, m_feedback, romFolders);
    batchPass = RunBatchPass(m_dataFolder, row.shortName, romFolders, m_feedback);
  }
  QStringList foundRoms;
  PassedOver passedOver;
  const QStringList extensions = ExtensionList(row.romTypes);
  FindRoms(row.romFolder, extensions, row.recurse, m_feedback, foundRoms, &passedOver);
  const QHash<QString, QString> incomplete =
      GroupMultiFileGames(row.romFolder, foundRoms, extensions.contains(QStringLiteral("m3u"), Qt::CaseInsensitive));
  m_unstorableNames += passedOver.unstorableNames;
  m_caseMismatches += passedOver.caseMismatches;
  m_brokenLinks += passedOver.brokenLinks;
  if (passedOver.unreadableFolders.contains(Check4Slash(row.romFolder))) {
    AddErrorLine(QStringLiteral("Check rom path."));
  } else {
    for (const QString& folder : std::as_const(passedOver.unreadableFolders))
      AddErrorLine(QStringLiteral("Cannot read ") + folder + QStringLiteral("; its games are left as they were."));
    MatchAndWrite(row, foundRoms, incomplete, batchPass.renamedFrom, passedOver.unreadableFolders);
  }
  m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Cleaning up, please wait..."));
  if (!row.dontRename)
    CleanUpBatchPass(batchPass.leftovers);
  else
    CleanUpTempFolder(m_dataFolder);
}

void ScanRun::MatchAndWrite(const ScanRow& row, const QStringList& foundRoms, const QHash<QString, QString>& incomplete,
                            const QHash<QString, QString>& renamedFrom, const QStringList& unreadableFolders)
{
  m_summary.filesFound += static_cast<int>(foundRoms.size());
  m_feedback.SetProgressMaximum(std::max<int>(static_cast<int>(foundRoms.size()), 1));
  m_feedback.SetProgressValue(0);
  std::vector<FoundGame> changes;
  changes.reserve(static_cast<size_t>(foundRoms.size()));
  for (int i = 0; i < foundRoms.size(); ++i) {
    changes.push_back(MatchFile(row, foundRoms[i], renamedFrom));
    if (!incomplete.isEmpty())
      MarkIncomplete(changes.back(), incomplete.value(foundRoms[i]));
    m_feedback.SetProgressValue(i + 1);
    if (i > 9 && i % 10 == 0)
      m_feedback.Yield();
  }
  m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Saving changes, please wait..."));
  QStringList keptFolders;
  for (const QString& folder : unreadableFolders)
    keptFolders << folder.mid(Check4Slash(row.romFolder).size());
  WriteFolder(row, changes, m_games.MissingAfter(row.pathId, keptFolders));
}

void ScanRun::MarkIncomplete(FoundGame& found, const QString& reason)
{
  if (reason.isEmpty())
    return;
  found.incomplete = reason;
  found.unchanged = false;
  m_feedback.AddResultLine(QStringLiteral("          Incomplete - ") + reason);
}

void ScanRun::ReportPassedOver()
{
  if (!m_unstorableNames.isEmpty()) {
    m_summary.errors += static_cast<int>(m_unstorableNames.size());
    m_feedback.AddResultLine(
        QStringLiteral("     Error - %1 file(s) not added: their names are not valid UTF-8 text. Rename them:")
            .arg(m_unstorableNames.size()));
    for (const QString& name : std::as_const(m_unstorableNames))
      m_feedback.AddResultLine(QStringLiteral("          ") + name);
  }
  if (!m_caseMismatches.isEmpty()) {
    m_summary.skippedForCase = static_cast<int>(m_caseMismatches.size());
    const QString example = m_caseMismatches.first().mid(m_caseMismatches.first().lastIndexOf(QLatin1Char('.')) + 1);
    m_feedback.AddResultLine(
        QStringLiteral("     %1 file(s) skipped: their extensions differ from the system's ROM extensions only in "
                       "letter case. To scan them, add each extension as written (such as \"%2\") to the "
                       "system's Default File Extensions:")
            .arg(m_caseMismatches.size())
            .arg(example));
    for (const QString& name : std::as_const(m_caseMismatches))
      m_feedback.AddResultLine(QStringLiteral("          ") + name);
  }
  if (!m_brokenLinks.isEmpty()) {
    m_feedback.AddResultLine(
        QStringLiteral("     %1 link(s) passed over: they lead to nothing (was the file they name moved?):")
            .arg(m_brokenLinks.size()));
    for (const QString& link : std::as_const(m_brokenLinks))
      m_feedback.AddResultLine(QStringLiteral("          ") + link);
  }
}

void ScanRun::FindRomsReport(const ScanRow& row)
{
  QStringList none;
  FindRoms(row.romFolder, {}, false, m_feedback, none);
}

FoundGame ScanRun::MatchFile(const ScanRow& row, const QString& foundPath, const QHash<QString, QString>& renamedFrom)
{
  const QString formerPath = renamedFrom.value(foundPath, foundPath);
  QString nameFile = foundPath;
  if (row.dontRename && !m_options.quick && m_goodToolsInstalled) {
    const QString renamed = RunPerFilePass(m_dataFolder, row.shortName, foundPath, m_feedback);
    if (!renamed.isEmpty())
      nameFile = renamed;
  }
  DerivedGame derived = DeriveGame(m_tags, nameFile, false);
  QString renamedPicture;
  derived.image = m_pictures.Find(formerPath, nameFile, row.renameImages, &renamedPicture);
  FoundGame found;
  found.fullName = derived.fullName;
  GameUpdate& update = found.update;
  update.fileName = foundPath.mid(row.romFolder.size());
  update.image = derived.image;
  QStringList lookedUp{formerPath.mid(row.romFolder.size())};
  if (formerPath != foundPath)
    lookedUp << update.fileName;
  found.position = m_games.Take(row.pathId, lookedUp);
  if (found.position >= 0) {
    const KnownGame& stored = m_games.Game(found.position);
    found.fileNameChanged = !m_games.HasFileName(found.position, update.fileName);
    update.year = Replacement(stored.Year(), derived.year, kUnknownYear);
    update.manufacturer = Replacement(stored.Manufacturer(), derived.manufacturer, kUnknownManufacturer);
    update.country = Replacement(stored.Country(), derived.country, kUnknownCountry);
    update.keepImage = stored.imageHasText;
    // The game's picture, renamed after the file's standard name, stays its picture.
    if (!renamedPicture.isEmpty() && stored.imageHasText && StoredImage(stored.gameId) == renamedPicture)
      update.keepImage = false;
    update.genreCount = stored.genreCount;
    found.unchanged = !found.fileNameChanged && m_games.IsUnchanged(found.position, row.pathId, update);
  } else {
    update.year = derived.year;
    update.manufacturer = derived.manufacturer;
    update.country = derived.country;
    // The "[Unknown]" link every new game gets after the folder makes one.
    update.genreCount = 1;
  }
  m_feedback.AddResultLine(QStringLiteral("          Found - ") + FileNameOf(nameFile) +
                           (derived.image.isEmpty() ? QString() : QStringLiteral(", ") + derived.image));
  return found;
}

QString ScanRun::StoredImage(qint64 gameId)
{
  BulkStatement& imageOf = m_statements.imageOf;
  imageOf.Reset();
  imageOf.Bind(1, gameId);
  const QString image = imageOf.Next() ? imageOf.Text(0) : QString();
  imageOf.Reset();
  return image;
}

void ScanRun::WriteFolder(const ScanRow& row, const std::vector<FoundGame>& changes, const std::vector<int>& missing)
{
  BeginBatch();
  SqlFailure failure;
  Transaction transaction(m_catalogue);
  if (!MarkMissing(missing, &failure) || !ResetResumePosition(row.systemId, &failure)) {
    FolderNotSaved(failure);
    return;
  }
  std::vector<std::pair<const FoundGame*, qint64>> written;
  QList<qint64> newGames;
  std::vector<const FoundGame*> toInsert;
  const auto insertWaiting = [&] {
    InsertGames(row, toInsert, written, newGames);
    toInsert.clear();
  };
  for (const FoundGame& change : changes) {
    if (change.position < 0) {
      toInsert.push_back(&change);
      continue;
    }
    // Rows are written in the order of the files, and so are the lines of any failures.
    if (!change.unchanged)
      insertWaiting();
    if (UpdateGame(row, change))
      written.emplace_back(&change, m_games.Game(change.position).gameId);
  }
  insertWaiting();
  if (!RecordIncomplete(written, missing, &failure) || !LinkGamesWithoutGenre(newGames, &failure) ||
      !transaction.Commit(&failure)) {
    FolderNotSaved(failure);
    return;
  }
  const int added = static_cast<int>(newGames.size());
  const int updated = static_cast<int>(written.size()) - added;
  m_summary.gamesAdded += added;
  m_summary.gamesUpdated += updated;
  m_batchAdded += added;
  m_batchUpdated += updated;
  for (const int position : missing)
    m_games.MarkMissing(position);
  for (const auto& [change, gameId] : written) {
    const int position = m_games.Apply(change->position, gameId, row.pathId, change->update);
    if (!change->incomplete.isEmpty())
      m_games.MarkMissing(position);
  }
  NoteIncomplete(written, missing);
  if (m_batchAge.elapsed() >= kBatchMilliseconds)
    CommitBatch();
}

}  // namespace scanning

ScanSummary RunScan(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                    const ScanOptions& options)
{
  return scanning::ScanRun(catalogue, lookups, feedback, dataFolder, options).Run();
}

}  // namespace quillon
