#pragma once
// The steps of the structure upgrade and what they share. Used by the upgrade driver only.
#include "catalogue/StructureUpgrade.h"

#include <QString>

#include <optional>

namespace quillon {

class Transaction;
struct SqlFailure;

namespace upgrade {

enum class ProbeOutcome { Present, Missing, Failed };

// Which failures of a probe mean that the piece of structure it looks for is missing; any other
// failure is reported.
enum MissingWhen { kColumnMissing = 1, kTableMissing = 2, kColumnOrTableMissing = 3 };

// The failure of preparing `sql`, or nullopt when it prepares. Preparing resolves every table and
// column name without reading a row, so probes stay cheap on large catalogues.
std::optional<SqlFailure> PrepareFailure(Catalogue& catalogue, const QString& sql);

// One run of the steps: the catalogue, where reports and labels go, and what the steps did.
class StepRun {
 public:
  StepRun(Catalogue& catalogue, Feedback& feedback, UpgradeDisplay& display, UpgradeResult& result);

  Catalogue& Db() { return m_catalogue; }
  Feedback& Reporter() { return m_feedback; }

  // The step (or part of step 7) now running, as a probe's error source names it.
  void SetStep(const QString& number) { m_step = number; }

  ProbeOutcome Probe(const QString& sql, int missingWhen);
  // Reports a probe's failure as number + " - (" + source + ") " + description, and counts it.
  void ReportProbeFailure(const SqlFailure& failure);
  // "SELECT column FROM table" as a probe.
  ProbeOutcome ProbeColumn(const QString& table, const QString& column, int missingWhen);

  // Shows the step's label before its first change, and notes that the step changed something.
  void Announce(const QString& label);
  // Counts a failure that was already reported.
  void CountFailure() { ++m_result.failures; }
  int Failures() const { return m_result.failures; }
  // Commits the step's transaction, reporting a failure.
  bool Commit(Transaction& transaction);

  // Adds a column when its probe finds it missing. `fill`, when given, is run right after (the
  // column's first value in every row); the column and its value are added together or not at all.
  void AddColumnIfMissing(const QString& label, const QString& table, const QString& column, const QString& typeWord,
                          int size, int missingWhen, const QString& fill = {});

 private:
  Catalogue& m_catalogue;
  Feedback& m_feedback;
  UpgradeDisplay& m_display;
  UpgradeResult& m_result;
  QString m_step;
};

// The routine name in reports of statements the steps run themselves.
inline const QString kUpgradeRoutine = QStringLiteral("UpdateDb");

void AddImageSearchColumns(StepRun& run);          // 1
void AddCloneColumn(StepRun& run);                 // 2
void AddResumePositionColumn(StepRun& run);        // 3
void AddDefaultImageColumn(StepRun& run);          // 4
void AddGenreLinks(StepRun& run);                  // 5
void AddZincSystem(StepRun& run);                  // 6
void AddSitesOptionsAndGenreRework(StepRun& run);  // 7
void AddEmulatorColumns(StepRun& run);             // 8
void AddMeedioQuery(StepRun& run);                 // 9
void AddSystemImageColumn(StepRun& run);           // 10
void AddRecurseColumn(StepRun& run);               // 11
void AddSystemNameColumns(StepRun& run);           // 13, a later step
void AddReferenceListTables(StepRun& run);         // 14, a later step
void AddGameCountIndex(StepRun& run);              // 15, a later step
void AddDeliveredSystems(StepRun& run);            // 16, a later step

}  // namespace upgrade
}  // namespace quillon
