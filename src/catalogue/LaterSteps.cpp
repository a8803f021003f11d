#include "catalogue/LaterSteps.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon::upgrade {

namespace {

const QString kCreateUpgrades = QStringLiteral("CREATE TABLE IF NOT EXISTS Upgrades (Step INTEGER PRIMARY KEY)");

bool RunOneLaterStep(StepRun& run, const LaterStep& step)
{
  run.SetStep(QString::number(step.number));
  const int failuresBefore = run.Failures();
  Transaction transaction(run.Db());
  if (!run.Db().Execute(run.Reporter(), kUpgradeRoutine, kCreateUpgrades)) {
    run.CountFailure();
    return false;
  }
  step.change(run);
  if (run.Failures() != failuresBefore)
    return false;
  if (!run.Db().Execute(run.Reporter(), kUpgradeRoutine, QStringLiteral("INSERT INTO Upgrades (Step) VALUES (?)"),
                        {step.number})) {
    run.CountFailure();
    return false;
  }
  return run.Commit(transaction);
}

}  // namespace

std::span<const LaterStep> ProgramLaterSteps()
{
  // Each new step is appended here with the next number.
  static constexpr LaterStep kSteps[] = {
      {13, AddSystemNameColumns}, {14, AddReferenceListTables}, {15, AddGameCountIndex}, {16, AddDeliveredSystems}};
  return kSteps;
}

QList<int> RecordedLaterSteps(Catalogue& catalogue)
{
  QList<int> numbers;
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("SELECT Step FROM Upgrades ORDER BY Step"), {}, nullptr);
  if (!rows)
    return numbers;
  for (const QVariantList& row : rows->All())
    numbers << row.value(0).toInt();
  return numbers;
}

void RunLaterSteps(StepRun& run, std::span<const LaterStep> steps)
{
  const QList<int> recorded = RecordedLaterSteps(run.Db());
  for (const LaterStep& step : steps) {
    if (recorded.contains(step.number))
      continue;
    RunOneLaterStep(run, step);
    run.Reporter().Yield();
  }
}

}  // namespace quillon::upgrade
