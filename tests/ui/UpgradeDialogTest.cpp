// The upgrade's progress dialog: what it shows while the upgrade runs, and that it closes itself.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/Feedback.h"
#include "catalogue/Revision.h"
#include "ui/UpgradeDialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <algorithm>

using namespace quillon;
using namespace quillon::test;

namespace {

// Looks at the dialog each time the upgrade lets events run, and tries to close it.
class WatchingFeedback final : public Feedback {
 public:
  explicit WatchingFeedback(ui::UpgradeDialog& dialog) : m_dialog(dialog) {}

  void SetStatus(StatusKind kind, const QString& text) override { statuses << StatusLine(kind, text); }
  void SetProgressMaximum(int) override {}
  void SetProgressValue(int) override {}
  void AddResultLine(const QString&) override {}
  void Yield() override
  {
    labels << m_dialog.findChild<QLabel*>("lblCaption")->text();
    progress << m_dialog.findChild<QProgressBar*>("ProgressBar")->value();
    shownModal = shownModal && m_dialog.isVisible() && m_dialog.isModal();
    m_dialog.close();
    QTest::keyClick(&m_dialog, Qt::Key_Escape);
  }
  Answer Ask(const Question& question) override { return question.fallback; }
  void ShowMessage(const QString&, const QString&, MessageIcon) override {}

  QStringList statuses;
  QStringList labels;
  QList<int> progress;
  bool shownModal = true;

 private:
  ui::UpgradeDialog& m_dialog;
};

}  // namespace

class UpgradeDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void ShowsEachStageAndClosesItself()
  {
    TestCatalogue t;
    ui::UpgradeDialog dialog;
    QCOMPARE(dialog.findChild<QLabel*>("lblCaption")->text(), "Verifying Database Structure,\nPlease wait....");
    WatchingFeedback feedback(dialog);
    QVERIFY(dialog.Run(t.Db(), feedback).revisionStored);
    QVERIFY(feedback.statuses.isEmpty());
    QVERIFY(feedback.shownModal);
    QCOMPARE(feedback.labels.first(), "Loading,\nPlease wait...");
    QVERIFY(feedback.labels.contains("Adding Zinc Support,\nPlease wait..."));
    QCOMPARE(feedback.progress.first(), 0);
    QVERIFY(std::is_sorted(feedback.progress.begin(), feedback.progress.end()));
    QCOMPARE(dialog.findChild<QProgressBar*>("ProgressBar")->value(), 100);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(GetRevision(t.Db()), kCurrentRevision);
  }
};

QUILLON_TEST_CLASS(UpgradeDialogTest)
#include "UpgradeDialogTest.moc"
