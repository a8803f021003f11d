#include "app/cli/CliFeedback.h"

namespace quillon::cli {

namespace {

constexpr int kBarWidth = 40;

QString Flattened(QString text)
{
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text;
}

QString AnswerWord(Answer answer)
{
  switch (answer) {
    case Answer::Yes:
      return QStringLiteral("yes");
    case Answer::No:
      return QStringLiteral("no");
    case Answer::Cancel:
      return QStringLiteral("cancel");
    case Answer::Ok:
      return QStringLiteral("ok");
  }
  return {};
}

}  // namespace

CliFeedback::CliFeedback(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

void CliFeedback::ClearProgressLine()
{
  if (!m_progressShown)
    return;
  m_err << '\r' << QString(kBarWidth + 24, QLatin1Char(' ')) << '\r';
  m_err.flush();
  m_progressShown = false;
}

void CliFeedback::SetStatus(StatusKind kind, const QString& text)
{
  m_out.flush();
  ClearProgressLine();
  m_lastStatus = StatusLine(kind, text);
  if (kind == StatusKind::Error)
    m_sawError = true;
  m_err << Flattened(m_lastStatus) << '\n';
  m_err.flush();
}

void CliFeedback::SetProgressMaximum(int maximum)
{
  m_maximum = maximum;
  m_lastDrawn = -1;
}

void CliFeedback::SetProgressValue(int value)
{
  if (!m_showProgress || m_maximum <= 0)
    return;
  const int filled = std::clamp(value * kBarWidth / m_maximum, 0, kBarWidth);
  if (filled == m_lastDrawn && value != m_maximum)
    return;
  m_lastDrawn = filled;
  m_err << '\r' << '[' << QString(filled, QLatin1Char('#')) << QString(kBarWidth - filled, QLatin1Char(' ')) << "] "
        << value << '/' << m_maximum;
  m_err.flush();
  m_progressShown = true;
}

void CliFeedback::AddResultLine(const QString& line)
{
  ClearProgressLine();
  // Flushed with the next status, so a scan of 100,000 files is not 100,000 writes.
  m_out << line << '\n';
}

Answer CliFeedback::Ask(const Question& question)
{
  ClearProgressLine();
  const Answer answer = m_answers.value(question.key, question.fallback);
  m_err << Flattened(question.text) << " -> " << AnswerWord(answer) << '\n';
  m_err.flush();
  return answer;
}

void CliFeedback::ShowMessage(const QString& title, const QString& text, MessageIcon icon)
{
  ClearProgressLine();
  if (icon == MessageIcon::Critical)
    m_sawError = true;
  if (!title.isEmpty())
    m_err << title << ": ";
  m_err << Flattened(text) << '\n';
  m_err.flush();
}

}  // namespace quillon::cli
