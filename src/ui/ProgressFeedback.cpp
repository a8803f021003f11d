#include "ui/ProgressFeedback.h"

#include <utility>

namespace quillon::ui {

ProgressFeedback::ProgressFeedback(Feedback& window, QProgressDialog& progress, bool showsSteps)
    : m_window(window), m_progress(progress), m_showsSteps(showsSteps)
{
}

void ProgressFeedback::SetStatus(StatusKind kind, const QString& text)
{
  constexpr qint64 kShownEveryMs = 15;
  if (kind == StatusKind::Text && m_sinceShown.isValid() && m_sinceShown.elapsed() < kShownEveryMs) {
    m_pending = text;
    return;
  }
  m_pending.reset();
  m_window.SetStatus(kind, text);
  m_sinceShown.start();
}

void ProgressFeedback::SetProgressMaximum(int maximum)
{
  m_window.SetProgressMaximum(maximum);
  if (m_showsSteps && maximum > 0)
    m_progress.setMaximum(maximum);
}

void ProgressFeedback::SetProgressValue(int value)
{
  m_window.SetProgressValue(value);
  // The dialog shows itself once the work looks like lasting longer than its minimum duration.
  if (m_showsSteps && value > 0 && value <= m_progress.maximum())
    m_progress.setValue(value);
}

void ProgressFeedback::Yield()
{
  // Taken out first: SetStatus empties m_pending before it passes the text on.
  if (const std::optional<QString> pending = std::exchange(m_pending, std::nullopt))
    SetStatus(StatusKind::Text, *pending);
  m_window.Yield();
}

}  // namespace quillon::ui
