#include "scan/Scanner.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "common/Paths.h"
#include "names/FileNameTags.h"
#include "scan/GameMatching.h"
#include "scan/GoodTools.h"
#include "scan/RomDiscovery.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <set>
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

// A game of the system as the scan keeps it in memory between its folders.
struct StoredGame {
  QString fileName;
  qint64 folder = 0;  // the PathID of a ROM folder of the system, 0 when the game has none of them
  bool available = false;
  bool taken = false;  // a file of this scan was found to be this game
  QVariant year;
  QVariant manufacturer;
  QVariant country;
  QString image;
  int genreCount = 0;
};

// A change the current folder makes, written when the folder ends.
struct FoundGame {
  qint64 gameId = 0;  // 0 for a new game
  bool fileNameChanged = true;
  QString fullName;
  QString fileName;
  StoredValues values;
  int genreCount = 0;
};

// The games of the system being scanned, in memory, so the files of a folder are matched without
// statements. What a folder writes is applied here too, so the next folder sees the catalogue as
// it then is.
class SystemGames {
 public:
  bool Load(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
  {
    m_games.clear();
    m_names = GameNameIndex();
    m_byFolder.clear();
    BulkStatement folders(catalogue, QStringLiteral("SELECT PathID FROM RomPath WHERE System = ?"));
    folders.Bind(1, systemId);
    QSet<qint64> systemFolders;
    while (folders.Next())
      systemFolders.insert(folders.Int(0));
    BulkStatement games(
        catalogue, QStringLiteral("SELECT GameID, FileName, RomPath, Available, Year, Manufacturer, Country, Image "
                                  "FROM Games WHERE System = ?"));
    games.Bind(1, systemId);
    while (games.Next()) {
      const qint64 gameId = games.Int(0);
      const qint64 folder = systemFolders.contains(games.Int(2)) ? games.Int(2) : 0;
      StoredGame game{games.Text(1),  folder,         games.Int(3) != 0, false, games.Value(4),
                      games.Value(5), games.Value(6), games.Text(7),     0};
      m_names.Add(game.fileName, gameId);
      m_byFolder[folder] << gameId;
      m_games.insert(gameId, std::move(game));
    }
    // One pass over the link index is cheaper than a search per game; other systems' games are
    // passed over here.
    BulkStatement links(catalogue, QStringLiteral("SELECT GameID, count(*) FROM SubGenres GROUP BY GameID"));
    while (links.Next()) {
      const auto it = m_games.find(links.Int(0));
      if (it != m_games.end())
        it->genreCount = static_cast<int>(links.Int(1));
    }
    for (const BulkStatement* statement : {&folders, &games, &links}) {
      if (!statement->IsValid() || statement->Failed()) {
        const SqlFailure failure = statement->Failure();
        ReportError(feedback, failure.number, kRoutine, failure.description);
        return false;
      }
    }
    return true;
  }

  // The game a found file of the ROM folder `pathId` belongs to, looked up under each of
  // `fileNames` (paths relative to the folder) in turn: the game of this folder stored under that
  // very path, else the first game (in key order) with that base name. A game goes to one file of
  // a scan: one that another file took already is passed over. 0 when none; the game found is
  // taken.
  qint64 Take(qint64 pathId, const QStringList& fileNames)
  {
    qint64 gameId = 0;
    for (qsizetype i = 0; gameId == 0 && i < fileNames.size(); ++i) {
      gameId = FirstFree(
          fileNames[i], [&](const StoredGame& game) { return game.folder == pathId && game.fileName == fileNames[i]; });
    }
    for (qsizetype i = 0; gameId == 0 && i < fileNames.size(); ++i)
      gameId = FirstFree(fileNames[i], [](const StoredGame&) { return true; });
    if (gameId != 0)
      m_games[gameId].taken = true;
    return gameId;
  }

  const StoredGame* Game(qint64 gameId) const
  {
    const auto it = m_games.constFind(gameId);
    return it == m_games.constEnd() ? nullptr : &*it;
  }

  // The available games that a scan of the ROM folder `pathId` did not find: those of the folder
  // and those of no folder of the system, but not those below `keptFolders` (paths relative to
  // the ROM folder, which could not be read).
  QList<qint64> MissingAfter(qint64 pathId, const QStringList& keptFolders) const
  {
    QList<qint64> missing;
    for (const qint64 folder : {pathId, qint64(0)}) {
      for (const qint64 gameId : m_byFolder.value(folder)) {
        const StoredGame& game = *m_games.constFind(gameId);
        // The lists keep games that moved on to another folder.
        if (game.folder != folder || !game.available || game.taken)
          continue;
        const bool kept =
            folder == pathId && std::any_of(keptFolders.begin(), keptFolders.end(),
                                            [&](const QString& kept) { return game.fileName.startsWith(kept); });
        if (!kept)
          missing << gameId;
      }
    }
    return missing;
  }

  void Apply(const FoundGame& found, qint64 gameId, qint64 pathId)
  {
    const bool isNew = found.gameId == 0;
    StoredGame& game = m_games[gameId];
    const bool renamed = isNew || game.fileName != found.fileName;
    if (!isNew && renamed)
      m_names.Remove(game.fileName, gameId);
    if (renamed)
      m_names.Add(found.fileName, gameId);
    if (isNew || game.folder != pathId)
      m_byFolder[pathId] << gameId;
    game = {found.fileName,
            pathId,
            true,
            true,
            found.values.year,
            found.values.manufacturer,
            found.values.country,
            found.values.image,
            found.genreCount};
  }

  void MarkMissing(qint64 gameId) { m_games[gameId].available = false; }

 private:
  template <typename Wanted>
  qint64 FirstFree(const QString& fileName, const Wanted& wanted) const
  {
    const std::set<qint64>* candidates = m_names.GamesNamed(MatchKey(fileName));
    if (!candidates)
      return 0;
    for (const qint64 gameId : *candidates) {
      const StoredGame& game = *m_games.constFind(gameId);
      if (!game.taken && wanted(game))
        return gameId;
    }
    return 0;
  }

  QHash<qint64, StoredGame> m_games;
  GameNameIndex m_names;
  QHash<qint64, QList<qint64>> m_byFolder;
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
        m_tags(lookups)
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
        previousSystem = row.systemId;
        StartSystem(row);
      }
      ScanFolder(row);
      m_feedback.Yield();
    }
    ReportPassedOver();
    CountMissingGames();
    m_feedback.SetStatus(StatusKind::Done);
    m_feedback.AddResultLine(QStringLiteral("Done."));
    m_feedback.SetProgressValue(0);
    return m_summary;
  }

 private:
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
    m_systemLoaded = m_games.Load(m_catalogue, m_feedback, row.systemId);
    if (!m_systemLoaded)
      ++m_summary.errors;
    m_goodToolsInstalled = QFileInfo::exists(GoodToolsProgram(m_dataFolder, row.shortName));
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

  void ScanFolder(const ScanRow& row)
  {
    if (row.imageFolder.isNull()) {
      m_feedback.SetStatus(StatusKind::Error, QStringLiteral("Check image path."));
      m_pictures = PictureFolder();
    } else {
      m_pictures = PictureFolder(row.imageFolder.toString(),
                                 row.imageTypes.isEmpty() ? QStringList() : ExtensionList(row.imageTypes));
    }
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
    QStringList romFolders;
    if (row.recurse)
      GetSubFolders(row.romFolder, m_feedback, romFolders);
    BatchPassResult batchPass;
    if (BatchPassApplies(row.shortName, row.dontRename, m_options.quick) && m_goodToolsInstalled)
      batchPass = RunBatchPass(m_dataFolder, row.shortName, romFolders, m_feedback);
    QStringList foundRoms;
    PassedOver passedOver;
    FindRoms(row.romFolder, ExtensionList(row.romTypes), row.recurse, m_feedback, foundRoms, &passedOver);
    m_unstorableNames += passedOver.unstorableNames;
    m_caseMismatches += passedOver.caseMismatches;
    if (passedOver.unreadableFolders.contains(Check4Slash(row.romFolder))) {
      AddErrorLine(QStringLiteral("Check rom path."));
    } else {
      for (const QString& folder : std::as_const(passedOver.unreadableFolders))
        AddErrorLine(QStringLiteral("Cannot read ") + folder + QStringLiteral("; its games are left as they were."));
      MatchAndWrite(row, foundRoms, batchPass.renamedFrom, passedOver.unreadableFolders);
    }
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Cleaning up, please wait..."));
    if (!row.dontRename)
      CleanUpBatchPass(batchPass.leftovers);
    else
      CleanUpTempFolder(m_dataFolder);
  }

  void MatchAndWrite(const ScanRow& row, const QStringList& foundRoms, const QHash<QString, QString>& renamedFrom,
                     const QStringList& unreadableFolders)
  {
    m_summary.filesFound += static_cast<int>(foundRoms.size());
    m_feedback.SetProgressMaximum(std::max<int>(static_cast<int>(foundRoms.size()), 1));
    m_feedback.SetProgressValue(0);
    std::vector<FoundGame> changes;
    changes.reserve(static_cast<size_t>(foundRoms.size()));
    for (int i = 0; i < foundRoms.size(); ++i) {
      changes.push_back(MatchFile(row, foundRoms[i], renamedFrom));
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
    found.fileName = foundPath.mid(row.romFolder.size());
    found.fullName = derived.fullName;
    QStringList lookedUp{formerPath.mid(row.romFolder.size())};
    if (formerPath != foundPath)
      lookedUp << found.fileName;
    const qint64 gameId = m_games.Take(row.pathId, lookedUp);
    const StoredGame* stored = gameId > 0 ? m_games.Game(gameId) : nullptr;
    if (stored) {
      found.gameId = gameId;
      found.fileNameChanged = stored->fileName != found.fileName;
      found.values = MergeDerived({stored->year, stored->manufacturer, stored->country, stored->image}, derived);
      // The game's picture, renamed after the file's standard name, stays its picture.
      if (!renamedPicture.isEmpty() && stored->image == renamedPicture)
        found.values.image = derived.image;
      found.genreCount = stored->genreCount;
    } else {
      found.values = {derived.year, derived.manufacturer, derived.country, derived.image};
      // The "[Unknown]" link every new game gets after the folder makes one.
      found.genreCount = 1;
    }
    m_feedback.AddResultLine(QStringLiteral("          Found - ") + QFileInfo(nameFile).fileName() +
                             (derived.image.isEmpty() ? QString() : QStringLiteral(", ") + derived.image));
    return found;
  }

  // Writes what the folder's files gave and marks `missing` unavailable, all in one transaction:
  // whenever the scan stops, each game is as it was or as the scan found it.
  void WriteFolder(const ScanRow& row, const std::vector<FoundGame>& changes, const QList<qint64>& missing)
  {
    SqlFailure failure;
    Transaction transaction(m_catalogue);
    const bool reset = MarkMissing(missing, &failure) &&
                       m_catalogue.TryExecute(QStringLiteral("UPDATE System SET ResumePosition = 0 WHERE SystemID = ?"),
                                              {row.systemId}, &failure);
    if (!reset) {
      FolderNotSaved(row, failure);
      return;
    }
    // FileName is indexed: it is written only when it changed, so a rescan does not rebuild the index.
    BulkStatement update(m_catalogue,
                         QStringLiteral("UPDATE Games SET Year = ?, Manufacturer = ?, Country = ?, Image = ?, "
                                        "Genre = ?, RomPath = ?, Available = 1, Selected = 1, Edited = 1 "
                                        "WHERE GameID = ?"));
    BulkStatement rename(m_catalogue, QStringLiteral("UPDATE Games SET FileName = ? WHERE GameID = ?"));
    BulkStatement insert(m_catalogue,
                         QStringLiteral("INSERT INTO Games (FullName, FileName, Country, Image, Year, Manufacturer, "
                                        "RomPath, Genre, System, Available, Selected, Edited) "
                                        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 1)"));
    std::vector<std::pair<const FoundGame*, qint64>> written;
    QList<qint64> newGames;
    for (const FoundGame& change : changes) {
      const QVariant image = change.values.image.isEmpty() ? QVariant() : QVariant(change.values.image);
      BulkStatement& statement = change.gameId != 0 ? update : insert;
      if (change.gameId != 0) {
        update.Bind(1, change.values.year);
        update.Bind(2, change.values.manufacturer);
        update.Bind(3, change.values.country);
        update.Bind(4, image);
        update.Bind(5, change.genreCount);
        update.Bind(6, row.pathId);
        update.Bind(7, change.gameId);
        if (change.fileNameChanged) {
          rename.Bind(1, change.fileName);
          rename.Bind(2, change.gameId);
          if (!rename.Execute()) {
            AddErrorLine(rename.Failure().description);
            continue;
          }
        }
      } else {
        insert.Bind(1, change.fullName);
        insert.Bind(2, change.fileName);
        insert.Bind(3, change.values.country);
        insert.Bind(4, image);
        insert.Bind(5, change.values.year);
        insert.Bind(6, change.values.manufacturer);
        insert.Bind(7, row.pathId);
        insert.Bind(8, change.genreCount);
        insert.Bind(9, row.systemId);
      }
      if (!statement.Execute()) {
        AddErrorLine(statement.Failure().description);
        continue;
      }
      const qint64 gameId = change.gameId != 0 ? change.gameId : insert.LastInsertId();
      if (change.gameId == 0) {
        newGames << gameId;
        ++m_summary.gamesAdded;
      } else {
        ++m_summary.gamesUpdated;
      }
      written.emplace_back(&change, gameId);
    }
    if (!LinkGamesWithoutGenre(newGames, &failure) || !transaction.Commit(&failure)) {
      m_summary.gamesAdded -= static_cast<int>(newGames.size());
      m_summary.gamesUpdated -= static_cast<int>(written.size() - static_cast<size_t>(newGames.size()));
      FolderNotSaved(row, failure);
      return;
    }
    for (const qint64 gameId : missing)
      m_games.MarkMissing(gameId);
    for (const auto& [change, gameId] : written)
      m_games.Apply(*change, gameId, row.pathId);
  }

  bool MarkMissing(const QList<qint64>& missing, SqlFailure* failure)
  {
    BulkStatement mark(m_catalogue, QStringLiteral("UPDATE Games SET Available = 0 WHERE GameID = ?"));
    for (const qint64 gameId : missing) {
      mark.Bind(1, gameId);
      if (!mark.Execute()) {
        *failure = mark.Failure();
        return false;
      }
    }
    return true;
  }

  // The folder's transaction was rolled back: the catalogue is as it was before the folder, and so
  // is the memory of it.
  void FolderNotSaved(const ScanRow& row, const SqlFailure& failure)
  {
    AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folder's changes could not be saved.")
                                               : failure.description);
    m_allLinked = false;
    m_systemLoaded = m_games.Load(m_catalogue, m_feedback, row.systemId);
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
    BulkStatement link(m_catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"));
    for (const qint64 gameId : newGames) {
      link.Bind(1, gameId);
      link.Bind(2, genreId);
      if (!link.Execute()) {
        *failure = link.Failure();
        return false;
      }
    }
    return true;
  }

  Catalogue& m_catalogue;
  Lookups& m_lookups;
  Feedback& m_feedback;
  const DataFolder& m_dataFolder;
  const ScanOptions& m_options;
  FileNameTags m_tags;
  SystemGames m_games;
  PictureFolder m_pictures;
  ScanSummary m_summary;
  QList<qint64> m_scannedSystems;
  bool m_systemLoaded = false;
  bool m_goodToolsInstalled = false;
  bool m_allLinked = false;
  QStringList m_unstorableNames;
  QStringList m_caseMismatches;
};

}  // namespace

ScanSummary RunScan(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                    const ScanOptions& options)
{
  return ScanRun(catalogue, lookups, feedback, dataFolder, options).Run();
}

}  // namespace quillon
