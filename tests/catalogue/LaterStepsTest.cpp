// Structure changes made after the current revision: each runs once per catalogue, together with
// its record, and a failed one runs again at the next start.
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/LaterSteps.h"
#include "catalogue/Revision.h"
#include "catalogue/StructureUpgrade.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::upgrade;

namespace {

void AddNotesTable(StepRun& run)
{
  run.Announce(kUpdatingLabel);
  if (!run.Db().Execute(run.Reporter(), kUpgradeRoutine, QStringLiteral("CREATE TABLE Notes (Text TEXT)")))
    run.CountFailure();
}

void AddNoteRow(StepRun& run)
{
  run.Announce(kUpdatingLabel);
  if (!run.Db().Execute(run.Reporter(), kUpgradeRoutine, QStringLiteral("INSERT INTO Notes (Text) VALUES ('x')")))
    run.CountFailure();
}

// Changes a row, then fails: the change must not stay.
void ChangeThenFail(StepRun& run)
{
  run.Announce(kUpdatingLabel);
  run.Db().Execute(run.Reporter(), kUpgradeRoutine, QStringLiteral("UPDATE System SET System = 'changed'"));
  run.Db().Execute(run.Reporter(), kUpgradeRoutine, QStringLiteral("INSERT INTO NoSuchTable VALUES (1)"));
  run.CountFailure();
}

struct Run {
  UpgradeResult result;
  RecordingFeedback feedback;
};

void RunSteps(TestCatalogue& t, std::span<const LaterStep> steps, Run& out)
{
  SilentUpgradeDisplay display;
  StepRun run(t.Db(), out.feedback, display, out.result);
  RunLaterSteps(run, steps);
}

// A catalogue brought to the current structure, as every start does.
void UpgradeToCurrent(TestCatalogue& t)
{
  SilentUpgradeDisplay display;
  RecordingFeedback feedback;
  UpdateDb(t.Db(), feedback, display);
}

// The recorded steps of this test, numbered apart from the program's own.
QList<int> RecordedTestSteps(TestCatalogue& t)
{
  QList<int> steps = RecordedLaterSteps(t.Db());
  steps.removeIf([](int step) { return step < 900; });
  return steps;
}

}  // namespace

class LaterStepsTest : public QObject {
  Q_OBJECT

 private slots:
  void EachStepRunsOnceAndIsRecorded()
  {
    TestCatalogue t;
    UpgradeToCurrent(t);
    QCOMPARE(GetRevision(t.Db()), kCurrentRevision);

    static constexpr LaterStep kSteps[] = {{901, AddNotesTable}, {902, AddNoteRow}};
    Run first;
    RunSteps(t, kSteps, first);
    QVERIFY2(!first.feedback.HasError(), qPrintable(first.feedback.ErrorLines().join('\n')));
    QCOMPARE(first.result.changedSteps, QStringList({"901", "902"}));
    QCOMPARE(RecordedTestSteps(t), QList<int>({901, 902}));

    t.Reopen();
    Run second;
    RunSteps(t, kSteps, second);
    QVERIFY(second.result.changedSteps.isEmpty());
    QCOMPARE(t.Value("SELECT count(*) FROM Notes").toInt(), 1);
    // The revision older catalogues and their peers know stays as it was.
    QCOMPARE(GetRevision(t.Db()), kCurrentRevision);
  }

  void FailedStepLeavesNothingAndRunsAgain()
  {
    TestCatalogue t;
    UpgradeToCurrent(t);
    const QString systems = t.Value("SELECT group_concat(System) FROM System").toString();

    static constexpr LaterStep kFailing[] = {{901, ChangeThenFail}, {902, AddNotesTable}};
    Run first;
    RunSteps(t, kFailing, first);
    QCOMPARE(first.result.failures, 1);
    QVERIFY(first.feedback.HasError());
    QCOMPARE(t.Value("SELECT group_concat(System) FROM System").toString(), systems);
    // A later step does not wait for an earlier one that failed.
    QCOMPARE(RecordedTestSteps(t), QList<int>({902}));

    static constexpr LaterStep kMended[] = {{901, AddNoteRow}, {902, AddNotesTable}};
    Run second;
    RunSteps(t, kMended, second);
    QCOMPARE(second.result.failures, 0);
    QCOMPARE(RecordedTestSteps(t), QList<int>({901, 902}));
    QCOMPARE(t.Value("SELECT count(*) FROM Notes").toInt(), 1);
  }
};

QUILLON_TEST_CLASS(LaterStepsTest)
#include "LaterStepsTest.moc"
