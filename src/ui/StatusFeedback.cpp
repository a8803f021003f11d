#include "ui/StatusFeedback.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

namespace quillon::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
  switch (icon) {
    case MessageIcon::None:
      return QMessageBox::NoIcon;
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::Critical:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QString BoxText(QString text)
{
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

}  // namespace

StatusFeedback::StatusFeedback(QWidget* dialogParent, QLabel* statusLabel, QProgressBar* progressBar)
    : m_dialogParent(dialogParent), m_statusLabel(statusLabel), m_progressBar(progressBar)
{
}

void StatusFeedback::SetStatus(StatusKind kind, const QString& text)
{
  if (!m_statusLabel)
    return;
  m_statusLabel->setText(StatusLine(kind, text));
  m_statusLabel->repaint();
}

void StatusFeedback::SetProgressMaximum(int maximum)
{
  if (m_progressBar)
    m_progressBar->setMaximum(std::max(maximum, 1));
}

void StatusFeedback::SetProgressValue(int value)
{
  if (m_progressBar)
    m_progressBar->setValue(std::clamp(value, m_progressBar->minimum(), m_progressBar->maximum()));
}

void StatusFeedback::AddResultLine(const QString&)
{
  // The main window has no results list; the scanner dialog shows its own.
}

void StatusFeedback::Yield()
{
  // Work that yields after every file would spend more time in the event loop than on the files;
  // a window is responsive enough when its events run every few milliseconds.
  constexpr qint64 kEventInterval = 15;
  if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventInterval)
    return;
  QApplication::processEvents();
  m_sinceEvents.start();
}

Answer StatusFeedback::Ask(const Question& question)
{
  QMessageBox box(BoxIcon(question.icon), question.title, BoxText(question.text), QMessageBox::NoButton,
                  m_dialogParent);
  switch (question.buttons) {
    case QuestionButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case QuestionButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case QuestionButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    case QMessageBox::Ok:
      return Answer::Ok;
    default:
      return Answer::Cancel;
  }
}

void StatusFeedback::ShowMessage(const QString& title, const QString& text, MessageIcon icon)
{
  QMessageBox box(BoxIcon(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title, BoxText(text),
                  QMessageBox::Ok, m_dialogParent);
  box.exec();
}

}  // namespace quillon::ui
