#pragma once
// Long work started from the window: a progress dialog whose Cancel stops the work, and status
// lines forwarded to the window at most every 15 ms (the status line repaints at once, and work
// over tens of thousands of items would spend its time painting).
#include "catalogue/Feedback.h"

#include <QElapsedTimer>
#include <QProgressDialog>

#include <optional>

namespace quillon::ui {

class ProgressFeedback final : public Feedback {
 public:
  // With `showsSteps` the dialog shows the work's own progress and appears once the work has
  // lasted a moment; without, it is a busy indicator the caller shows.
  ProgressFeedback(Feedback& window, QProgressDialog& progress, bool showsSteps);

  void SetStatus(StatusKind kind, const QString& text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressValue(int value) override;
  void AddResultLine(const QString& line) override { m_window.AddResultLine(line); }
  void Yield() override;
  Answer Ask(const Question& question) override { return m_window.Ask(question); }
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override
  {
    m_window.ShowMessage(title, text, icon);
  }
  bool IsCancelled() override { return m_progress.wasCanceled(); }

 private:
  Feedback& m_window;
  QProgressDialog& m_progress;
  bool m_showsSteps;
  QElapsedTimer m_sinceShown;
  std::optional<QString> m_pending;
};

}  // namespace quillon::ui
