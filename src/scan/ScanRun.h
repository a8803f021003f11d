#pragma once
// The scan loop as one object: what it reads, matches and writes for each (system, ROM folder)
// row. Scanner.cpp walks and matches; ScanWriting.cpp writes each folder's results.
#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "catalogue/MultiRowInsert.h"
#include "names/FileNameTags.h"
#include "scan/GameMatching.h"
#include "scan/Scanner.h"
#include "scan/SystemGames.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>

#include <optional>
#include <vector>

namespace quillon::scanning {

inline const QString kRoutine = QStringLiteral("NewScanner");

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

// A found file as its folder will write it.
struct FoundGame {
  int position = -1;  // of the stored game it is (SystemGames), -1 for a new game
  QString fullName;
  GameUpdate update;
  bool fileNameChanged = true;
  bool unchanged = false;  // its row holds all of it already: nothing is written
  QString incomplete;      // why the game lacks a file its sheet names; empty when whole
};

// The statements of a scan, prepared once.
struct ScanStatements {
  explicit ScanStatements(Catalogue& catalogue);

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

  ScanSummary Run();

 private:
  // Folders are written each in a transaction of its own, nested in one that is committed about
  // once a second: a commit waits for the disk, which a folder of a thousand files outlasts many
  // times over. Whenever a scan stops, each folder is still as it was or as the scan found it.
  static constexpr qint64 kBatchMilliseconds = 1000;

  // Availability is not reset here: each folder marks its own games missing in the transaction
  // that writes what it found, so a folder that cannot be scanned, or a scan that is stopped,
  // leaves games as they were.
  void StartSystem(const ScanRow& row);

  // The system's games recorded as incomplete, so the scan can clear a record once a game is whole.
  void LoadIncompleteGames(qint64 systemId);

  // The system's missing games are counted from memory; should the memory be incomplete or the
  // changes not saved, they are counted in the catalogue at the end.
  void EndSystem();

  void CountMissingGames();

  void AddErrorLine(const QString& text);

  // The picture folder is the system's: it is listed once for all of the system's ROM folders.
  void ListPictures(const ScanRow& row);

  void ScanFolder(const ScanRow& row);

  void MatchAndWrite(const ScanRow& row, const QStringList& foundRoms, const QHash<QString, QString>& incomplete,
                     const QHash<QString, QString>& renamedFrom, const QStringList& unreadableFolders);

  // A game that lacks a file of its sheet is written, then marked missing with the reason.
  void MarkIncomplete(FoundGame& found, const QString& reason);

  // What the walks passed over, listed once at the end of the scan.
  void ReportPassedOver();

  // The walk's own report on the status line for a folder that cannot be read.
  void FindRomsReport(const ScanRow& row);

  // The file's game is looked up under the name the catalogue holds for the file: its own, or
  // the one it had before the batch pass renamed it. The standard name a per-file pass learns
  // gives the game's tags only.
  FoundGame MatchFile(const ScanRow& row, const QString& foundPath, const QHash<QString, QString>& renamedFrom);

  QString StoredImage(qint64 gameId);

  // Writes what the folder's files gave and marks `missing` unavailable, all in one transaction:
  // whenever the scan stops, each game is as it was or as the scan found it.
  void WriteFolder(const ScanRow& row, const std::vector<FoundGame>& changes, const std::vector<int>& missing);

  // Marks the folder's incomplete games missing and stores why; clears the reason of a game that is
  // whole again or no longer found. Part of the folder's transaction.
  bool RecordIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written,
                        const std::vector<int>& missing, SqlFailure* failure);

  void NoteIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written, const std::vector<int>& missing);

  bool MarkGameMissing(qint64 gameId, SqlFailure* failure);

  bool StoreReason(qint64 gameId, const QString& reason, SqlFailure* failure);

  bool DropReason(qint64 gameId, SqlFailure* failure);

  // Writes a found game's row when it changed; false after a failure (listed).
  bool UpdateGame(const ScanRow& row, const FoundGame& change);

  // Adds the new games among the files, in their order; a row that fails is listed.
  void InsertGames(const ScanRow& row, const std::vector<const FoundGame*>& games,
                   std::vector<std::pair<const FoundGame*, qint64>>& written, QList<qint64>& newGames);

  static void BindKey(BulkStatement& statement, int position, const std::optional<qint64>& key);

  static void BindImage(BulkStatement& statement, int position, const QString& image);

  bool MarkMissing(const std::vector<int>& missing, SqlFailure* failure);

  bool ResetResumePosition(qint64 systemId, SqlFailure* failure);

  // The folder's transaction was rolled back: the catalogue is as it was before the folder, and so
  // is the memory of it.
  void FolderNotSaved(const SqlFailure& failure);

  void BeginBatch();

  // A batch that cannot be committed is rolled back: the folders written since the last commit are
  // as they were, which the summary and the memory of the system's games then say too.
  void CommitBatch();

  // Every game without a genre link gets "[Unknown]". The whole catalogue is looked at once per
  // scan; after that only the games the scan adds can lack a link.
  bool LinkGamesWithoutGenre(const QList<qint64>& newGames, SqlFailure* failure);
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
  QStringList m_brokenLinks;
  QSet<qint64> m_incompleteGames;
};

}  // namespace quillon::scanning
