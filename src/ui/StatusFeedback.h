#pragma once
// The window's Feedback: the status label and progress bar of the main window, pending events
// run on Yield, and message boxes for questions.
#include "catalogue/Feedback.h"

#include <QElapsedTimer>
#include <QPointer>

class QLabel;
class QProgressBar;
class QWidget;

namespace quillon::ui {

class StatusFeedback final : public Feedback {
 public:
  StatusFeedback(QWidget* dialogParent, QLabel* statusLabel, QProgressBar* progressBar);

  void SetDialogParent(QWidget* parent) { m_dialogParent = parent; }
  QWidget* DialogParent() const { return m_dialogParent; }

  void SetStatus(StatusKind kind, const QString& text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressValue(int value) override;
  void AddResultLine(const QString& line) override;
  void Yield() override;
  Answer Ask(const Question& question) override;
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override;

 private:
  QPointer<QWidget> m_dialogParent;
  QPointer<QLabel> m_statusLabel;
  QPointer<QProgressBar> m_progressBar;
  QElapsedTimer m_sinceEvents;
};

// Questions and messages appear over `parent` while this lives, then over the window they
// appeared over before.
class DialogParentScope {
 public:
  DialogParentScope(StatusFeedback& feedback, QWidget* parent)
      : m_feedback(feedback), m_previous(feedback.DialogParent())
  {
    m_feedback.SetDialogParent(parent);
  }
  ~DialogParentScope() { m_feedback.SetDialogParent(m_previous); }
  DialogParentScope(const DialogParentScope&) = delete;
  DialogParentScope& operator=(const DialogParentScope&) = delete;

 private:
  StatusFeedback& m_feedback;
  QPointer<QWidget> m_previous;
};

}  // namespace quillon::ui
