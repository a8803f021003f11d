// The status lines of long work reach the window at most every 15 ms; the last one held back is
// shown when the work yields.
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "ui/ProgressFeedback.h"

#include <QProgressDialog>
#include <QTest>
#include <QThread>

using namespace quillon;
using namespace quillon::test;
using namespace quillon::ui;

class ProgressFeedbackTest : public QObject {
  Q_OBJECT

 private slots:
  void HeldBackStatusShownAtTheNextYield()
  {
    RecordingFeedback window;
    QProgressDialog progress;
    ProgressFeedback feedback(window, progress, false);
    // Texts made at run time, so that the one held back is the only owner of its characters.
    for (int i = 1; i <= 3; ++i)
      feedback.SetStatus(StatusKind::Text, QStringLiteral("Machine %1").arg(i));
    QCOMPARE(window.StatusLines(), QStringList{"Status: Machine 1"});
    QThread::msleep(20);
    feedback.Yield();
    QCOMPARE(window.StatusLines(), (QStringList{"Status: Machine 1", "Status: Machine 3"}));
    // Nothing is held back any more: a further yield shows nothing again.
    QThread::msleep(20);
    feedback.Yield();
    QCOMPARE(window.statuses.size(), 2);
    // Other kinds are never held back.
    feedback.SetStatus(StatusKind::Done, QString());
    QCOMPARE(window.LastStatus(), QStringLiteral("Status: Done."));
  }
};

QUILLON_TEST_CLASS(ProgressFeedbackTest)
#include "ProgressFeedbackTest.moc"
