#include "catalogue/StructureUpgrade.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/LaterSteps.h"
#include "catalogue/Revision.h"
#include "catalogue/SchemaChanges.h"
#include "catalogue/StructureUpgradeSteps.h"

namespace quillon {

namespace {

struct NumberedKey {
  const char* table;
  const char* key;
};

constexpr NumberedKey kNumberedKeys[] = {
    {"Manufacturer", "ManufacturerID"}, {"[Year]", "YearID"},   {"Genres", "GenreID"}, {"Games", "GameID"},
    {"Country", "CountryID"},           {"System", "SystemID"}, {"dURL", "ID"},
};

struct Step {
  int progress;
  const char* number;
  void (*change)(upgrade::StepRun&);
};

constexpr Step kSteps[] = {
    {15, "1", upgrade::AddImageSearchColumns},
    {25, "2", upgrade::AddCloneColumn},
    {35, "3", upgrade::AddResumePositionColumn},
    {45, "4", upgrade::AddDefaultImageColumn},
    {55, "5", upgrade::AddGenreLinks},
    {65, "6", upgrade::AddZincSystem},
    {75, "7", upgrade::AddSitesOptionsAndGenreRework},
    {85, "8", upgrade::AddEmulatorColumns},
    {90, "9", upgrade::AddMeedioQuery},
    {95, "10", upgrade::AddSystemImageColumn},
    {95, "11", upgrade::AddRecurseColumn},
};

// Runs one step in a transaction of its own, so an interrupted step leaves nothing behind.
void RunStep(upgrade::StepRun& run, const Step& step)
{
  run.SetStep(QString::fromLatin1(step.number));
  Transaction transaction(run.Db());
  step.change(run);
  run.Commit(transaction);
}

void RunSteps(Catalogue& catalogue, Feedback& feedback, UpgradeDisplay& display, UpgradeResult& result)
{
  result.stepsRan = true;
  upgrade::StepRun run(catalogue, feedback, display, result);
  for (const Step& step : kSteps) {
    display.ShowProgress(step.progress);
    RunStep(run, step);
    feedback.Yield();
  }
  // A revision stored over a failed step would keep that step from ever running again.
  if (result.failures > 0)
    return;
  result.revisionStored = SetRevision(catalogue, feedback, kCurrentRevision);
  if (!result.revisionStored)
    ++result.failures;
}

bool StoreRevision(Catalogue& catalogue, Feedback& feedback, const QString& routine, const QString& revision)
{
  const std::optional<QVariant> rows =
      catalogue.SelectValue(feedback, routine, QStringLiteral("SELECT count(*) FROM Version"));
  if (!rows)
    return false;
  if (rows->toLongLong() == 0)
    return catalogue.Execute(feedback, routine, QStringLiteral("INSERT INTO Version (Revision) VALUES (?)"),
                             {revision});
  return catalogue.Execute(feedback, routine, QStringLiteral("UPDATE Version SET Revision = ?"), {revision});
}

}  // namespace

void RenumberKeys(Catalogue& catalogue)
{
  SilentFeedback ignored;
  for (const NumberedKey& pair : kNumberedKeys) {
    const QString table = QString::fromLatin1(pair.table);
    const QString key = QString::fromLatin1(pair.key);
    const std::optional<Rows> last =
        catalogue.TrySelect(QStringLiteral("SELECT Max(%1) AS LastID FROM %2").arg(key, table), {}, nullptr);
    if (!last || last->IsEmpty())
      continue;
    // An empty table starts again at 1.
    const qint64 seed = last->Value(0, 0).toLongLong() + 1;
    // Only a seed that differs is written, so a start with nothing to renumber writes nothing.
    if (NextKey(catalogue, table, key) != seed)
      ChangeSeed(catalogue, ignored, table, key, seed);
  }
}

bool SetRevision(Catalogue& catalogue, Feedback& feedback, const QString& revision)
{
  const QString routine = QStringLiteral("SetRevision");
  Transaction transaction(catalogue);
  const std::optional<SqlFailure> probe =
      upgrade::PrepareFailure(catalogue, QStringLiteral("SELECT Revision FROM Version"));
  bool stored = false;
  if (!probe) {
    stored = StoreRevision(catalogue, feedback, routine, revision);
  } else if (probe->IsMissingTable()) {
    stored = catalogue.Execute(feedback, routine, QStringLiteral("CREATE TABLE Version (Revision TEXT)")) &&
             StoreRevision(catalogue, feedback, routine, revision);
  } else if (probe->IsMissingColumn()) {
    stored = catalogue.Execute(feedback, routine, QStringLiteral("ALTER TABLE Version ADD COLUMN Revision TEXT")) &&
             StoreRevision(catalogue, feedback, routine, revision);
  } else {
    ReportError(feedback, probe->number, routine, probe->description);
  }
  if (!stored)
    return false;
  SqlFailure failure;
  if (transaction.Commit(&failure))
    return true;
  ReportError(feedback, failure.number, routine, failure.description);
  return false;
}

bool UpdateGenreSummary(Catalogue& catalogue, Feedback& feedback, const QString& routine)
{
  // A game's first link is its earliest row in SubGenres.
  return catalogue.Execute(feedback, routine, QStringLiteral("UPDATE Games SET Genre = 0")) &&
         catalogue.Execute(
             feedback, routine,
             QStringLiteral("UPDATE Games SET Genre = summary.gen "
                            "FROM (SELECT links.GameID AS GameID, "
                            "CASE WHEN firstLink.GenreID = 1 THEN -1 ELSE links.cgen END AS gen "
                            "FROM (SELECT GameID, count(GenreID) AS cgen, min(rowid) AS firstRow "
                            "FROM SubGenres GROUP BY GameID) AS links "
                            "INNER JOIN SubGenres AS firstLink ON firstLink.rowid = links.firstRow) AS summary "
                            "WHERE Games.GameID = summary.GameID"));
}

UpgradeResult UpdateDb(Catalogue& catalogue, Feedback& feedback, UpgradeDisplay& display)
{
  UpgradeResult result;
  display.ShowLabel(kLoadingLabel);
  display.ShowProgress(0);
  feedback.Yield();
  RenumberKeys(catalogue);
  display.ShowProgress(10);
  result.revisionBefore = GetRevision(catalogue);
  if (result.revisionBefore != kCurrentRevision)
    RunSteps(catalogue, feedback, display, result);
  // Later steps build on the current revision's structure.
  if (result.failures == 0) {
    upgrade::StepRun run(catalogue, feedback, display, result);
    upgrade::RunLaterSteps(run, upgrade::ProgramLaterSteps());
  }
  display.ShowProgress(100);
  return result;
}

}  // namespace quillon
