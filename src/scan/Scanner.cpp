#include "scan/Scanner.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "scan/GameMatching.h"
#include "scan/GoodTools.h"
#include "scan/RomDiscovery.h"

#include <QFileInfo>
#include <QHash>

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
    BulkStatement games(catalogue, QStringLiteral("SELECT GameID, FileName, Year, Manufacturer, Country, Image "
                                                  "FROM Games WHERE System = ?"));
    games.Bind(1, systemId);
    while (games.Next()) {
      const qint64 gameId = games.Int(0);
      StoredGame game{games.Text(1), games.Value(2), games.Value(3), games.Value(4), games.Text(5), 0};
      m_names.Add(game.fileName, gameId);
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
    for (const BulkStatement* statement : {&games, &links}) {
      if (!statement->IsValid() || statement->Failed()) {
        const SqlFailure failure = statement->Failure();
        ReportError(feedback, failure.number, kRoutine, failure.description);
        return false;
      }
    }
    return true;
  }

  qint64 FindGameByName(const QString& key) const { return m_names.FindGameByName(key); }
  const StoredGame* Game(qint64 gameId) const
  {
    const auto it = m_games.constFind(gameId);
    return it == m_games.constEnd() ? nullptr : &*it;
  }

  void Apply(const FoundGame& found, qint64 gameId)
  {
    StoredGame& game = m_games[gameId];
    if (found.gameId != 0)
      m_names.Remove(game.fileName, gameId);
    game = {found.fileName,       found.values.year,  found.values.manufacturer,
            found.values.country, found.values.image, found.genreCount};
    m_names.Add(game.fileName, gameId);
  }

 private:
  QHash<qint64, StoredGame> m_games;
  GameNameIndex m_names;
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
    CountMissingGames();
    m_feedback.SetStatus(StatusKind::Done);
    m_feedback.AddResultLine(QStringLiteral("Done."));
    m_feedback.SetProgressValue(0);
    return m_summary;
  }

 private:
  void StartSystem(const ScanRow& row)
  {
    ++m_summary.systems;
    m_scannedSystems << row.systemId;
    m_feedback.AddResultLine(row.systemName);
    if (m_options.systemStarted)
      m_options.systemStarted(row.systemName);
    const bool reset =
        m_catalogue.Execute(m_feedback, kRoutine, QStringLiteral("UPDATE Games SET Available = 0 WHERE System = ?"),
                            {row.systemId}) &&
        m_catalogue.Execute(m_feedback, kRoutine,
                            QStringLiteral("UPDATE System SET ResumePosition = 0 WHERE SystemID = ?"), {row.systemId});
    if (!reset)
      ++m_summary.errors;
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
    if (row.romFolder.isEmpty())
      return;
    if (row.romTypes.isEmpty()) {
      m_feedback.SetStatus(StatusKind::Error, QStringLiteral("Check Default Rom Types."));
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
    GoodToolsLeftovers leftovers;
    const bool batchPass = BatchPassApplies(row.shortName, row.dontRename, m_options.quick) && m_goodToolsInstalled;
    if (batchPass)
      leftovers = RunBatchPass(m_dataFolder, row.shortName, romFolders, m_feedback);
    QStringList foundRoms;
    FindRoms(row.romFolder, ExtensionList(row.romTypes), row.recurse, m_feedback, foundRoms);
    m_summary.filesFound += static_cast<int>(foundRoms.size());
    m_feedback.SetProgressMaximum(std::max<int>(static_cast<int>(foundRoms.size()), 1));
    m_feedback.SetProgressValue(0);
    if (!foundRoms.isEmpty()) {
      std::vector<FoundGame> changes;
      changes.reserve(static_cast<size_t>(foundRoms.size()));
      for (int i = 0; i < foundRoms.size(); ++i) {
        changes.push_back(MatchFile(row, foundRoms[i]));
        m_feedback.SetProgressValue(i + 1);
        if (i > 9 && i % 10 == 0)
          m_feedback.Yield();
      }
      m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Saving changes, please wait..."));
      WriteFolder(row, changes);
    }
    m_feedback.SetStatus(StatusKind::Text, QStringLiteral("Cleaning up, please wait..."));
    if (!row.dontRename)
      CleanUpBatchPass(leftovers);
    else
      CleanUpTempFolder(m_dataFolder);
  }

  // The walk's own report on the status line for a folder that cannot be read.
  void FindRomsReport(const ScanRow& row)
  {
    QStringList none;
    FindRoms(row.romFolder, {}, false, m_feedback, none);
  }

  FoundGame MatchFile(const ScanRow& row, const QString& foundPath)
  {
    QString nameFile = foundPath;
    if (row.dontRename && !m_options.quick && m_goodToolsInstalled) {
      const QString renamed = RunPerFilePass(m_dataFolder, row.shortName, foundPath, m_feedback);
      if (!renamed.isEmpty())
        nameFile = renamed;
    }
    DerivedGame derived = DeriveGame(m_tags, nameFile, false);
    derived.image = m_pictures.Find(foundPath, nameFile, row.renameImages);
    FoundGame found;
    found.fileName = foundPath.mid(row.romFolder.size());
    found.fullName = derived.fullName;
    const qint64 gameId = m_games.FindGameByName(MatchKey(nameFile));
    const StoredGame* stored = gameId > 0 ? m_games.Game(gameId) : nullptr;
    if (stored) {
      found.gameId = gameId;
      found.fileNameChanged = stored->fileName != found.fileName;
      found.values = MergeDerived({stored->year, stored->manufacturer, stored->country, stored->image}, derived);
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

  void WriteFolder(const ScanRow& row, const std::vector<FoundGame>& changes)
  {
    SqlFailure failure;
    Transaction transaction(m_catalogue);
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
      AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folder's changes could not be saved.")
                                                 : failure.description);
      m_summary.gamesAdded -= static_cast<int>(newGames.size());
      m_summary.gamesUpdated -= static_cast<int>(written.size() - static_cast<size_t>(newGames.size()));
      // The catalogue is as it was before the folder; so is the memory of it.
      m_allLinked = false;
      m_systemLoaded = m_games.Load(m_catalogue, m_feedback, row.systemId);
      return;
    }
    for (const auto& [change, gameId] : written)
      m_games.Apply(*change, gameId);
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
};

}  // namespace

ScanSummary RunScan(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, const DataFolder& dataFolder,
                    const ScanOptions& options)
{
  return ScanRun(catalogue, lookups, feedback, dataFolder, options).Run();
}

}  // namespace quillon
