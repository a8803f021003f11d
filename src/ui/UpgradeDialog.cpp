#include "ui/UpgradeDialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace quillon::ui {

UpgradeDialog::UpgradeDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
  setObjectName(QStringLiteral("frmUpdateDb"));
  setWindowTitle(QApplication::applicationDisplayName());
  setWindowModality(Qt::ApplicationModal);
  m_caption = new QLabel(this);
  m_caption->setObjectName(QStringLiteral("lblCaption"));
  m_caption->setAlignment(Qt::AlignCenter);
  m_caption->setMinimumWidth(260);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("ProgressBar"));
  m_progress->setRange(0, 100);
  m_progress->setValue(0);
  m_progress->setVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_caption);
  layout->addWidget(m_progress);
  ShowLabel(kVerifyingLabel);
}

UpgradeResult UpgradeDialog::Run(Catalogue& catalogue, Feedback& feedback)
{
  m_running = true;
  show();
  QApplication::processEvents();
  const UpgradeResult result = UpdateDb(catalogue, feedback, *this);
  m_running = false;
  accept();
  return result;
}

void UpgradeDialog::ShowLabel(const QString& text)
{
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  m_caption->setText(shown);
  m_caption->repaint();
}

void UpgradeDialog::ShowProgress(int percent)
{
  m_progress->setVisible(true);
  m_progress->setValue(percent);
  m_progress->repaint();
}

void UpgradeDialog::closeEvent(QCloseEvent* event)
{
  if (m_running)
    event->ignore();
  else
    QDialog::closeEvent(event);
}

void UpgradeDialog::reject()
{
  if (!m_running)
    QDialog::reject();
}

}  // namespace quillon::ui
