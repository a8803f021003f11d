#pragma once
// The command-line Feedback: statuses and messages on stderr, a progress bar on stderr when it is
// a terminal, result lines on stdout, and questions answered from the command's flags.
#include "catalogue/Feedback.h"

#include <QHash>
#include <QTextStream>

namespace quillon::cli {

class CliFeedback final : public Feedback {
 public:
  CliFeedback(QTextStream& out, QTextStream& err);

  // The answer the command's flags give to the question with this key.
  void SetAnswer(const QString& questionKey, Answer answer) { m_answers.insert(questionKey, answer); }
  void SetShowProgress(bool show) { m_showProgress = show; }
  // The last status line written (tests and commands read it).
  QString LastStatus() const { return m_lastStatus; }
  bool SawError() const { return m_sawError; }

  void SetStatus(StatusKind kind, const QString& text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressValue(int value) override;
  void AddResultLine(const QString& line) override;
  void Yield() override {}
  Answer Ask(const Question& question) override;
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override;

  // Wipes the progress bar's line, when one is drawn, so that the next text starts on a clean line.
  void ClearProgressLine();

 private:
  QTextStream& m_out;
  QTextStream& m_err;
  QHash<QString, Answer> m_answers;
  bool m_showProgress = false;
  bool m_progressShown = false;
  int m_maximum = 0;
  int m_lastDrawn = -1;
  QString m_lastStatus;
  bool m_sawError = false;
};

}  // namespace quillon::cli
