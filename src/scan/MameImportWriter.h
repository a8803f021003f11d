#pragma once
// Writes the machines of a Mame list into the arcade system: one Games row per driver, found by
// its file name (driver + ".zip") or added, then the clone marks. The caller holds the
// transaction; rows go through statements prepared once.
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace quillon {

class Catalogue;
class Feedback;
class Lookups;
struct SqlFailure;

inline const QString kMameImportRoutine = QStringLiteral("MameImport");

// What one import did, for the summary.
struct MameImportCounts {
  int added = 0;
  int updated = 0;
  int clonesMarked = 0;
  int skipped = 0;  // devices, BIOS sets and machines that cannot run
  int failed = 0;   // machines whose row could not be written
};

class MameImportWriter {
 public:
  MameImportWriter(Catalogue& catalogue, Lookups& lookups, Feedback& feedback);
  // Brings the lookup caches back in step with the catalogue when this import added years or
  // makers (committed or rolled back: the caller's transaction has ended by then).
  ~MameImportWriter();
  MameImportWriter(const MameImportWriter&) = delete;
  MameImportWriter& operator=(const MameImportWriter&) = delete;

  // Loads the arcade games by file name, the arcade system's RemoveText and the statements.
  // False with `failure` filled when that fails.
  bool Prepare(SqlFailure* failure);

  // Adds or updates the game of one driver, with "Adding " or "Updating " + title as status (the
  // first machine's, then at most a few a second). A row that cannot be written is reported and
  // counted, and the import goes on.
  void WriteGame(const QString& driver, const QString& description, const QString& year, const QString& manufacturer);
  void CountSkipped() { ++m_counts.skipped; }
  // The status after the last machine: how many games were added and updated.
  void ShowCounts();

  // Marks the games of the clone drivers, and clears the mark of the machines written that are no
  // longer clones; drivers not in the catalogue change nothing. False with `failure` filled when a
  // statement fails (the pass stops there).
  bool MarkClones(const QStringList& cloneDrivers, SqlFailure* failure);

  const MameImportCounts& Counts() const { return m_counts; }
  // Rows written or refused: zero means the list named no game at all.
  int GamesSeen() const { return m_counts.added + m_counts.updated + m_counts.failed; }

 private:
  bool LoadArcadeGames(SqlFailure* failure);
  QString TitleOf(const QString& description) const;
  qint64 YearKey(const QString& year);
  qint64 ManufacturerKey(const QString& manufacturer);
  qint64 AddName(QSqlQuery& insert, const QString& name);
  bool UpdateGame(qint64 gameId, const QString& fileName, qint64 year, qint64 maker, const QString& title);
  bool AddGame(const QString& fileName, qint64 year, qint64 maker, const QString& title);
  void ReportRowFailure(const QString& driver, const QSqlQuery& query);
  void ShowMachineStatus(const QString& text);
  bool ClearFormerClones(const QSet<QString>& cloneFileNames, SqlFailure* failure);

  Catalogue& m_catalogue;
  Lookups& m_lookups;
  Feedback& m_feedback;
  bool m_removeText = false;
  qint64 m_unknownGenre = 1;
  QHash<QString, qint64> m_gameByFileName;  // first arcade game of each file name
  QSet<QString> m_markedClones;             // file names of arcade games marked as clones before
  QSet<QString> m_listedFileNames;          // file names of the machines this list named
  QHash<QString, qint64> m_addedYears;      // names this import added, by name as compared
  QHash<QString, qint64> m_addedMakers;
  QSqlQuery m_update;
  QSqlQuery m_insert;
  QSqlQuery m_link;
  QSqlQuery m_deleteGame;
  QSqlQuery m_markClone;
  QSqlQuery m_clearClone;
  QSqlQuery m_addYear;
  QSqlQuery m_addManufacturer;
  MameImportCounts m_counts;
  QElapsedTimer m_sinceStatus;
};

}  // namespace quillon
