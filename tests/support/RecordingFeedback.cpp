#include "RecordingFeedback.h"

namespace quillon::test {

void RecordingFeedback::SetStatus(StatusKind kind, const QString& text)
{
  statuses.append({kind, StatusLine(kind, text)});
}

void RecordingFeedback::SetProgressMaximum(int maximum)
{
  progressMaximum = maximum;
}

void RecordingFeedback::SetProgressValue(int value)
{
  progressValue = value;
  ++progressUpdates;
}

Answer RecordingFeedback::Ask(const Question& question)
{
  questions.append(question);
  return m_answers.value(question.key, question.fallback);
}

void RecordingFeedback::ShowMessage(const QString& title, const QString& text, MessageIcon)
{
  messages << (title.isEmpty() ? text : title + QStringLiteral(": ") + text);
}

QStringList RecordingFeedback::StatusLines() const
{
  QStringList lines;
  for (const Status& status : statuses)
    lines << status.line;
  return lines;
}

bool RecordingFeedback::HasError() const
{
  for (const Status& status : statuses) {
    if (status.kind == StatusKind::Error)
      return true;
  }
  return false;
}

QStringList RecordingFeedback::ErrorLines() const
{
  QStringList lines;
  for (const Status& status : statuses) {
    if (status.kind == StatusKind::Error)
      lines << status.line;
  }
  return lines;
}

void RecordingFeedback::Clear()
{
  statuses.clear();
  resultLines.clear();
  questions.clear();
  messages.clear();
  progressMaximum = progressValue = progressUpdates = yields = 0;
}

}  // namespace quillon::test
