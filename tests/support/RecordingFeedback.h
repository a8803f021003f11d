#pragma once
// A Feedback that remembers everything reported and answers questions from a script.
#include "catalogue/Feedback.h"

#include <QHash>
#include <QList>
#include <QStringList>

namespace quillon::test {

class RecordingFeedback final : public Feedback {
 public:
  struct Status {
    StatusKind kind;
    QString line;  // "Status: " + message
  };

  // Answer for the question with this key; unscripted questions get their fallback.
  void Script(const QString& key, Answer answer) { m_answers.insert(key, answer); }

  void SetStatus(StatusKind kind, const QString& text) override;
  void SetProgressMaximum(int maximum) override;
  void SetProgressValue(int value) override;
  void AddResultLine(const QString& line) override { resultLines << line; }
  void Yield() override { ++yields; }
  Answer Ask(const Question& question) override;
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override;
  // The user cancels once the progress reaches `cancelAtProgress` (0: never).
  bool IsCancelled() override { return cancelAtProgress > 0 && progressValue >= cancelAtProgress; }

  QString LastStatus() const { return statuses.isEmpty() ? QString() : statuses.last().line; }
  QStringList StatusLines() const;
  bool HasError() const;
  QStringList ErrorLines() const;
  void Clear();

  QList<Status> statuses;
  QStringList resultLines;
  QList<Question> questions;
  QStringList messages;
  int progressMaximum = 0;
  int progressValue = 0;
  int progressUpdates = 0;
  int yields = 0;
  int cancelAtProgress = 0;

 private:
  QHash<QString, Answer> m_answers;
};

}  // namespace quillon::test
