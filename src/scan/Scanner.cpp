#include "scan/Scanner.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/DeliveredSystems.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "catalogue/MultiRowInsert.h"
#include "common/Paths.h"
#include "names/FileNameTags.h"
#include "scan/GameMatching.h"
#include "scan/GoodTools.h"
#include "scan/MultiFileGames.h"
#include "scan/RomDiscovery.h"
#include "scan/SystemGames.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <vector>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("NewScanner");

// One (system, ROM folder) row of the scan.
struct ScanRow {
  qint64 systemId = 0;
  bool recurse = true;
  QString shortName;
  QString systemName;
  bool dontRename = true;
  qint64 pathId = 0;
  QString romFolder;
  bool renameImages = false;
  QVariant imageFolder;
  QString imageTypes;
  QString romTypes;
};

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

// A found file as its folder will write it.
struct FoundGame {
  int position = -1;  // of the stored game it is (SystemGames), -1 for a new game
  QString fullName;
  GameUpdate update;
  bool fileNameChanged = true;
  bool unchanged = false;  // its row holds all of it already: nothing is written
  QString incomplete;      // why the game lacks a file its sheet names; empty when whole
};

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

// The statements of a scan, prepared once.
struct ScanStatements {
  explicit ScanStatements(Catalogue& catalogue)
      : markMissing(catalogue, QStringLiteral("UPDATE Games SET Available = 0 WHERE GameID = ?")),
        resetResume(catalogue, QStringLiteral("UPDATE System SET ResumePosition = 0 WHERE SystemID = ? AND "
                                              "ResumePosition IS NOT 0")),
        // A key bound as Null and a set keep flag keep what is stored.
        update(catalogue,
               QStringLiteral("UPDATE Games SET Year = coalesce(?, Year), Manufacturer = coalesce(?, Manufacturer), "
                              "Country = coalesce(?, Country), Image = CASE WHEN ? THEN Image ELSE ? END, Genre = ?, "
                              "RomPath = ?, Available = 1, Selected = 1, Edited = 1 WHERE GameID = ?")),
        // FileName is indexed: it is written only when it changed.
        rename(catalogue, QStringLiteral("UPDATE Games SET FileName = ? WHERE GameID = ?")),
        insertGames(catalogue,
                    QStringLiteral("INSERT INTO Games (FullName, FileName, Country, Image, Year, Manufacturer, "
                                   "RomPath, Genre, System, Available, Selected, Edited) VALUES "),
                    QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 1)"), 9),
        linkGames(catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES "),
                  QStringLiteral("(?, ?)"), 2),
        imageOf(catalogue, QStringLiteral("SELECT Image FROM Games WHERE GameID = ?")),
        storeReason(catalogue, QStringLiteral("INSERT OR REPLACE INTO ") + kMissingFilesTable +
                                   QStringLiteral(" (GameID, Reason) VALUES (?, ?)")),
        dropReason(catalogue, QStringLiteral("DELETE FROM ") + kMissingFilesTable + QStringLiteral(" WHERE GameID = ?"))
  {
  }

  BulkStatement markMissing;
  BulkStatement resetResume;
  BulkStatement update;
  BulkStatement rename;
  MultiRowInsert insertGames;
  MultiRowInsert linkGames;
  BulkStatement imageOf;
  // Valid only when the catalogue has the table of missing files.
  BulkStatement storeReason;
  BulkStatement dropReason;
};

class ScanRun {
 public:
  ScanRun(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
          const ScanOptions& options)
      : m_catalogue(catalogue),
        m_lookups(lookups),
        m_feedback(feedback),
        m_dataFolder(dataFolder),
        m_options(options),
        m_tags(lookups),
        m_statements(catalogue)
  {
  }

  ScanSummary Run()
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

 private:
  // Folders are written each in a transaction of its own, nested in one that is committed about
  // once a second: a commit waits for the disk, which a folder of a thousand files outlasts many
  // times over. Whenever a scan stops, each folder is still as it was or as the scan found it.
  static constexpr qint64 kBatchMilliseconds = 1000;

  // Availability is not reset here: each folder marks its own games missing in the transaction
  // that writes what it found, so a folder that cannot be scanned, or a scan that is stopped,
  // leaves games as they were.
  void StartSystem(const ScanRow& row)
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

  // The system's games recorded as incomplete, so the scan can clear a record once a game is whole.
  void LoadIncompleteGames(qint64 systemId)
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

  // The system's missing games are counted from memory; should the memory be incomplete or the
  // changes not saved, they are counted in the catalogue at the end.
  void EndSystem()
  {
    if (m_systemLoaded)
      m_missingGames += m_games.CountUnavailable();
    else
      m_missingCounted = false;
  }

  void CountMissingGames()
  {
    for (const qint64 systemId : m_scannedSystems) {
      const std::optional<QVariant> missing = m_catalogue.SelectValue(
          m_feedback, kRoutine, QStringLiteral("SELECT count(*) FROM Games WHERE System = ? AND Available = 0"),
          {systemId});
      m_summary.gamesMissing += missing ? missing->toInt() : 0;
    }
  }

  void AddErrorLine(const QString& text)
  {
    ++m_summary.errors;
    m_feedback.AddResultLine(QStringLiteral("     Error - ") + text);
  }

  // The picture folder is the system's: it is listed once for all of the system's ROM folders.
  void ListPictures(const ScanRow& row)
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

  void ScanFolder(const ScanRow& row)
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

  void MatchAndWrite(const ScanRow& row, const QStringList& foundRoms, const QHash<QString, QString>& incomplete,
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

  // A game that lacks a file of its sheet is written, then marked missing with the reason.
  void MarkIncomplete(FoundGame& found, const QString& reason)
  {
    if (reason.isEmpty())
      return;
    found.incomplete = reason;
    found.unchanged = false;
    m_feedback.AddResultLine(QStringLiteral("          Incomplete - ") + reason);
  }

  // What the walks passed over, listed once at the end of the scan.
  void ReportPassedOver()
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
  }

  // The walk's own report on the status line for a folder that cannot be read.
  void FindRomsReport(const ScanRow& row)
  {
    QStringList none;
    FindRoms(row.romFolder, {}, false, m_feedback, none);
  }

  // The file's game is looked up under the name the catalogue holds for the file: its own, or
  // the one it had before the batch pass renamed it. The standard name a per-file pass learns
  // gives the game's tags only.
  FoundGame MatchFile(const ScanRow& row, const QString& foundPath, const QHash<QString, QString>& renamedFrom)
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

  QString StoredImage(qint64 gameId)
  {
    BulkStatement& imageOf = m_statements.imageOf;
    imageOf.Reset();
    imageOf.Bind(1, gameId);
    const QString image = imageOf.Next() ? imageOf.Text(0) : QString();
    imageOf.Reset();
    return image;
  }

  // Writes what the folder's files gave and marks `missing` unavailable, all in one transaction:
  // whenever the scan stops, each game is as it was or as the scan found it.
  void WriteFolder(const ScanRow& row, const std::vector<FoundGame>& changes, const std::vector<int>& missing)
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

  // Marks the folder's incomplete games missing and stores why; clears the reason of a game that is
  // whole again or no longer found. Part of the folder's transaction.
  bool RecordIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written,
                        const std::vector<int>& missing, SqlFailure* failure)
  {
    const bool stored = m_statements.storeReason.IsValid();
    for (const auto& [change, gameId] : written) {
      if (!change->incomplete.isEmpty()) {
        if (!MarkGameMissing(gameId, failure) || (stored && !StoreReason(gameId, change->incomplete, failure)))
          return false;
      } else if (m_incompleteGames.contains(gameId) && !DropReason(gameId, failure)) {
        return false;
      }
    }
    for (const int position : missing) {
      const qint64 gameId = m_games.Game(position).gameId;
      if (m_incompleteGames.contains(gameId) && !DropReason(gameId, failure))
        return false;
    }
    return true;
  }

  void NoteIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written, const std::vector<int>& missing)
  {
    for (const auto& [change, gameId] : written) {
      if (change->incomplete.isEmpty())
        m_incompleteGames.remove(gameId);
      else if (m_statements.storeReason.IsValid())
        m_incompleteGames.insert(gameId);
    }
    for (const int position : missing)
      m_incompleteGames.remove(m_games.Game(position).gameId);
  }

  bool MarkGameMissing(qint64 gameId, SqlFailure* failure)
  {
    BulkStatement& mark = m_statements.markMissing;
    mark.Bind(1, gameId);
    if (mark.Execute())
      return true;
    *failure = mark.Failure();
    return false;
  }

  bool StoreReason(qint64 gameId, const QString& reason, SqlFailure* failure)
  {
    BulkStatement& store = m_statements.storeReason;
    store.Bind(1, gameId);
    store.Bind(2, reason);
    if (store.Execute())
      return true;
    *failure = store.Failure();
    return false;
  }

  bool DropReason(qint64 gameId, SqlFailure* failure)
  {
    BulkStatement& drop = m_statements.dropReason;
    drop.Bind(1, gameId);
    if (drop.Execute())
      return true;
    *failure = drop.Failure();
    return false;
  }

  // Writes a found game's row when it changed; false after a failure (listed).
  bool UpdateGame(const ScanRow& row, const FoundGame& change)
  {
    if (change.unchanged)
      return true;
    const GameUpdate& update = change.update;
    const qint64 gameId = m_games.Game(change.position).gameId;
    BulkStatement& rename = m_statements.rename;
    if (change.fileNameChanged) {
      rename.Bind(1, update.fileName);
      rename.Bind(2, gameId);
      if (!rename.Execute()) {
        AddErrorLine(rename.Failure().description);
        return false;
      }
    }
    BulkStatement& statement = m_statements.update;
    BindKey(statement, 1, update.year);
    BindKey(statement, 2, update.manufacturer);
    BindKey(statement, 3, update.country);
    statement.Bind(4, qint64(update.keepImage ? 1 : 0));
    BindImage(statement, 5, update.image);
    statement.Bind(6, qint64(update.genreCount));
    statement.Bind(7, row.pathId);
    statement.Bind(8, gameId);
    if (!statement.Execute()) {
      AddErrorLine(statement.Failure().description);
      return false;
    }
    return true;
  }

  // Adds the new games among the files, in their order; a row that fails is listed.
  void InsertGames(const ScanRow& row, const std::vector<const FoundGame*>& games,
                   std::vector<std::pair<const FoundGame*, qint64>>& written, QList<qint64>& newGames)
  {
    if (games.empty())
      return;
    const auto bind = [&](BulkStatement& insert, int index, int first) {
      const FoundGame& game = *games[static_cast<size_t>(index)];
      insert.Bind(first, game.fullName);
      insert.Bind(first + 1, game.update.fileName);
      BindKey(insert, first + 2, game.update.country);
      BindImage(insert, first + 3, game.update.image);
      BindKey(insert, first + 4, game.update.year);
      BindKey(insert, first + 5, game.update.manufacturer);
      insert.Bind(first + 6, row.pathId);
      insert.Bind(first + 7, qint64(game.update.genreCount));
      insert.Bind(first + 8, row.systemId);
    };
    const std::vector<std::optional<qint64>> keys =
        m_statements.insertGames.Insert(static_cast<int>(games.size()), bind,
                                        [&](int, const SqlFailure& failure) { AddErrorLine(failure.description); });
    for (size_t i = 0; i < games.size(); ++i) {
      if (!keys[i])
        continue;
      newGames << *keys[i];
      written.emplace_back(games[i], *keys[i]);
    }
  }

  static void BindKey(BulkStatement& statement, int position, const std::optional<qint64>& key)
  {
    if (key)
      statement.Bind(position, *key);
    else
      statement.BindNull(position);
  }

  static void BindImage(BulkStatement& statement, int position, const QString& image)
  {
    if (image.isEmpty())
      statement.BindNull(position);
    else
      statement.Bind(position, image);
  }

  bool MarkMissing(const std::vector<int>& missing, SqlFailure* failure)
  {
    BulkStatement& mark = m_statements.markMissing;
    for (const int position : missing) {
      mark.Bind(1, m_games.Game(position).gameId);
      if (!mark.Execute()) {
        *failure = mark.Failure();
        return false;
      }
    }
    return true;
  }

  bool ResetResumePosition(qint64 systemId, SqlFailure* failure)
  {
    BulkStatement& reset = m_statements.resetResume;
    reset.Bind(1, systemId);
    if (reset.Execute())
      return true;
    *failure = reset.Failure();
    return false;
  }

  // The folder's transaction was rolled back: the catalogue is as it was before the folder, and so
  // is the memory of it.
  void FolderNotSaved(const SqlFailure& failure)
  {
    AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folder's changes could not be saved.")
                                               : failure.description);
    m_allLinked = false;
    m_systemLoaded = m_games.Load(m_catalogue, m_feedback, kRoutine, m_systemId);
  }

  void BeginBatch()
  {
    if (m_batch)
      return;
    m_batch.emplace(m_catalogue);
    m_batchAge.start();
    m_batchAdded = 0;
    m_batchUpdated = 0;
  }

  // A batch that cannot be committed is rolled back: the folders written since the last commit are
  // as they were, which the summary and the memory of the system's games then say too.
  void CommitBatch()
  {
    if (!m_batch)
      return;
    SqlFailure failure;
    const bool committed = !m_batch->IsActive() || m_batch->Commit(&failure);
    m_batch.reset();
    if (committed)
      return;
    m_summary.gamesAdded -= m_batchAdded;
    m_summary.gamesUpdated -= m_batchUpdated;
    m_missingCounted = false;
    AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folders' changes could not be saved.")
                                               : failure.description);
    m_allLinked = false;
    if (m_systemLoaded)
      m_systemLoaded = m_games.Load(m_catalogue, m_feedback, kRoutine, m_systemId);
  }

  // Every game without a genre link gets "[Unknown]". The whole catalogue is looked at once per
  // scan; after that only the games the scan adds can lack a link.
  bool LinkGamesWithoutGenre(const QList<qint64>& newGames, SqlFailure* failure)
  {
    const QVariant unknown = m_lookups.GetGen(kUnknownGenreName, true);
    const qint64 genreId = unknown.isValid() ? unknown.toLongLong() : kUnknownGenre;
    if (!m_allLinked) {
      m_allLinked = m_catalogue.TryExecute(
          QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT Games.GameID, ? FROM Games "
                         "WHERE NOT EXISTS (SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID)"),
          {genreId}, failure);
      return m_allLinked;
    }
    bool linked = true;
    m_statements.linkGames.Insert(
        static_cast<int>(newGames.size()),
        [&](BulkStatement& link, int index, int first) {
          link.Bind(first, newGames[index]);
          link.Bind(first + 1, genreId);
        },
        [&](int, const SqlFailure& linkFailure) {
          if (linked)
            *failure = linkFailure;
          linked = false;
        });
    return linked;
  }

  Catalogue& m_catalogue;
  Lookups& m_lookups;
  Feedback& m_feedback;
  const DataFolder& m_dataFolder;
  const ScanOptions& m_options;
  FileNameTags m_tags;
  ScanStatements m_statements;
  SystemGames m_games;
  qint64 m_systemId = 0;
  PictureFolder m_pictures;
  bool m_picturesListed = false;
  ScanSummary m_summary;
  QList<qint64> m_scannedSystems;
  bool m_systemLoaded = false;
  bool m_goodToolsInstalled = false;
  bool m_allLinked = false;
  std::optional<Transaction> m_batch;
  QElapsedTimer m_batchAge;
  int m_batchAdded = 0;
  int m_batchUpdated = 0;
  int m_missingGames = 0;
  bool m_missingCounted = true;
  QStringList m_unstorableNames;
  QStringList m_caseMismatches;
  QSet<qint64> m_incompleteGames;
};

}  // namespace

ScanSummary RunScan(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                    const ScanOptions& options)
{
  return ScanRun(catalogue, lookups, feedback, dataFolder, options).Run();
}

}  // namespace quillon
