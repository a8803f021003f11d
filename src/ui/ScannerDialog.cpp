#include "ui/ScannerDialog.h"

#include "scan/Scanner.h"
#include "ui/CommandHost.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kIdlePrompt =
    QStringLiteral("Press 'Scan Now' to begin searching for games,\r\nor 'Setup' to change your options.");

QString Shown(QString text)
{
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// What the scan reports while this dialog runs it: everything reaches the main window as before;
// the result lines and the progress of the folder being scanned are shown in the dialog as well.
class ScanFeedback final : public Feedback {
 public:
  ScanFeedback(Feedback& main, std::function<void(const QString&)> addLine, QProgressBar& progress)
      : m_main(main), m_addLine(std::move(addLine)), m_progress(progress)
  {
  }

  void SetStatus(StatusKind kind, const QString& text) override { m_main.SetStatus(kind, text); }
  void SetProgressMaximum(int maximum) override
  {
    m_main.SetProgressMaximum(maximum);
    m_progress.setMaximum(std::max(maximum, 1));
  }
  void SetProgressValue(int value) override
  {
    m_main.SetProgressValue(value);
    m_progress.setValue(std::clamp(value, 0, m_progress.maximum()));
  }
  void AddResultLine(const QString& line) override { m_addLine(line); }
  void Yield() override { m_main.Yield(); }
  Answer Ask(const Question& question) override { return m_main.Ask(question); }
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override
  {
    m_main.ShowMessage(title, text, icon);
  }

 private:
  Feedback& m_main;
  std::function<void(const QString&)> m_addLine;
  QProgressBar& m_progress;
};

}  // namespace

ScannerDialog::ScannerDialog(UiContext context, CommandHost& host, const QString& currentSystem, bool quick,
                             bool autoScan, QWidget* parent)
    : QDialog(parent), m_context(context), m_host(host), m_systemName(currentSystem), m_autoScan(autoScan)
{
  setObjectName(QStringLiteral("NewScanner"));
  setWindowTitle(QStringLiteral("Rom Scanner"));
  setModal(true);
  resize(640, 460);
  setMinimumSize(460, 320);

  auto* layout = new QVBoxLayout(this);
  auto* options = new QGroupBox(tr("Scan"), this);
  auto* optionsLayout = new QHBoxLayout(options);
  m_allSystems = new QRadioButton(QStringLiteral("All Systems"), options);
  m_allSystems->setObjectName(QStringLiteral("optAllSys"));
  m_currentSystem = new QRadioButton(QStringLiteral("Current System"), options);
  m_currentSystem->setObjectName(QStringLiteral("optCurSys"));
  m_currentSystem->setChecked(true);
  m_quick = new QCheckBox(QStringLiteral("Quick Scan"), options);
  m_quick->setObjectName(QStringLiteral("chkQuick"));
  m_quick->setChecked(quick);
  m_quick->setToolTip(tr("Scan without letting the GoodTools programs rename the ROM files"));
  optionsLayout->addWidget(m_allSystems);
  optionsLayout->addWidget(m_currentSystem);
  optionsLayout->addStretch(1);
  optionsLayout->addWidget(m_quick);
  layout->addWidget(options);

  m_status = new QLabel(this);
  m_status->setObjectName(QStringLiteral("lblStatus"));
  m_status->setMinimumHeight(m_status->fontMetrics().height() * 2 + 4);
  layout->addWidget(m_status);
  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("prgScan"));
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  m_progress->setTextVisible(false);
  layout->addWidget(m_progress);

  m_results = new QListView(this);
  m_results->setObjectName(QStringLiteral("lstresults"));
  m_resultsModel = new QStringListModel(this);
  m_results->setModel(m_resultsModel);
  m_results->setUniformItemSizes(true);
  m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_results->setFont(QFont(QStringLiteral("Monospace")));
  layout->addWidget(m_results, 1);

  auto* buttons = new QHBoxLayout;
  m_scanNow = new QPushButton(QStringLiteral("&Scan Now"), this);
  m_scanNow->setObjectName(QStringLiteral("cmdScanNow"));
  m_scanNow->setDefault(true);
  m_setup = new QPushButton(QStringLiteral("S&etup"), this);
  m_setup->setObjectName(QStringLiteral("cmdSetup"));
  m_setup->setEnabled(false);
  m_close = new QPushButton(QStringLiteral("&Close"), this);
  m_close->setObjectName(QStringLiteral("cmdclose"));
  buttons->addWidget(m_scanNow);
  buttons->addWidget(m_setup);
  buttons->addStretch(1);
  buttons->addWidget(m_close);
  layout->addLayout(buttons);

  connect(m_scanNow, &QPushButton::clicked, this, &ScannerDialog::ScanNow);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_setup, &QPushButton::clicked, this, [this] {
    reject();
    if (m_openSetup)
      m_openSetup();
  });
  ShowIdlePrompt();
}

void ScannerDialog::SetSetupAction(std::function<void()> openSetup)
{
  m_openSetup = std::move(openSetup);
  m_setup->setEnabled(static_cast<bool>(m_openSetup) && !m_scanning);
}

QStringList ScannerDialog::ResultLines() const
{
  return m_resultsModel->stringList() + m_pending;
}

void ScannerDialog::ShowIdlePrompt()
{
  m_status->setText(Shown(kIdlePrompt));
  m_currentSystem->setText(QStringLiteral("Current System (") + m_systemName + QLatin1Char(')'));
}

void ScannerDialog::showEvent(QShowEvent* event)
{
  QDialog::showEvent(event);
  m_resultsModel->setStringList({});
  if (m_autoScan && !m_autoStarted) {
    m_autoStarted = true;
    m_allSystems->setChecked(true);
    m_currentSystem->hide();
    SetButtonsEnabled(false);
    QTimer::singleShot(0, this, &ScannerDialog::ScanNow);
  }
}

void ScannerDialog::reject()
{
  // The scan runs inside this dialog; it cannot be left half way.
  if (!m_scanning)
    QDialog::reject();
}

void ScannerDialog::SetButtonsEnabled(bool enabled)
{
  m_scanNow->setEnabled(enabled);
  m_setup->setEnabled(enabled && static_cast<bool>(m_openSetup));
  m_close->setEnabled(enabled);
}

void ScannerDialog::AddResultLine(const QString& line)
{
  m_pending << line;
  // Lines reach the list in batches, so a scan of many files is not slowed by its own list.
  if (!m_sinceFlush.isValid() || m_sinceFlush.elapsed() > 50)
    FlushResults();
}

void ScannerDialog::FlushResults()
{
  m_sinceFlush.start();
  if (m_pending.isEmpty())
    return;
  const int first = m_resultsModel->rowCount();
  m_resultsModel->insertRows(first, static_cast<int>(m_pending.size()));
  for (int i = 0; i < m_pending.size(); ++i)
    m_resultsModel->setData(m_resultsModel->index(first + i), m_pending[i]);
  m_pending.clear();
  m_results->scrollToBottom();
}

void ScannerDialog::ScanNow()
{
  if (m_scanning)
    return;
  m_scanning = true;
  SetButtonsEnabled(false);
  m_resultsModel->setStringList({});
  m_progress->setRange(0, 1);
  m_progress->setValue(0);
  ScanFeedback feedback(
      m_context.feedback, [this](const QString& line) { AddResultLine(line); }, *m_progress);
  ScanOptions options;
  options.allSystems = m_allSystems->isChecked();
  options.systemName = m_systemName;
  options.quick = m_quick->isChecked();
  options.systemStarted = [this](const QString& system) {
    m_status->setText(QStringLiteral("Please wait, \nSearching for available ") + system + QStringLiteral(" games..."));
    m_status->repaint();
  };
  ScanSummary summary;
  {
    const DialogParentScope questionsOverScanner(m_context.feedback, this);
    summary = RunScan(m_context.catalogue, m_context.lookups, feedback, m_context.folder, options);
    FlushResults();
  }

  m_host.RefreshList();
  feedback.Yield();
  // The dialog stays open with what the scan did, so its list can be read.
  ShowSummary(summary);
  m_scanning = false;
  SetButtonsEnabled(true);
}

void ScannerDialog::ShowSummary(const ScanSummary& summary)
{
  m_progress->setRange(0, 1);
  m_progress->setValue(1);
  QString text = tr("Done: %1 folder(s) scanned, %2 file(s) found.\n"
                    "%3 game(s) added, %4 updated, %5 missing, %6 error(s).")
                     .arg(summary.folders)
                     .arg(summary.filesFound)
                     .arg(summary.gamesAdded)
                     .arg(summary.gamesUpdated)
                     .arg(summary.gamesMissing)
                     .arg(summary.errors);
  if (summary.skippedForCase > 0)
    text +=
        tr("\n%1 file(s) skipped for the letter case of their extension (see the list).").arg(summary.skippedForCase);
  m_status->setText(text);
}

}  // namespace quillon::ui
