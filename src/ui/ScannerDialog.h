#pragma once
// NewScanner ("Rom Scanner"): scans the ROM folders of the current system or of all systems, lists
// what it finds with the progress of each folder, then rebuilds the main window's list and shows a
// summary of the scan until the user closes the dialog or scans again.
#include "ui/UiContext.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QStringList>

#include <functional>

class QCheckBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStringListModel;

namespace quillon {
struct ScanSummary;
}

namespace quillon::ui {

class CommandHost;

class ScannerDialog : public QDialog {
  Q_OBJECT

 public:
  // `currentSystem` is the name of the system "Current System" scans. `quick` ticks "Quick Scan"
  // (no GoodTools pass). With `autoScan` the scan of all systems starts at once.
  ScannerDialog(UiContext context, CommandHost& host, const QString& currentSystem, bool quick, bool autoScan,
                QWidget* parent);

  // What Setup opens (the system options); Setup is disabled without it.
  void SetSetupAction(std::function<void()> openSetup);
  bool IsScanning() const { return m_scanning; }
  QStringList ResultLines() const;

 public slots:
  void ScanNow();

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void ShowIdlePrompt();
  void ShowSummary(const ScanSummary& summary);
  void AddResultLine(const QString& line);
  void FlushResults();
  void SetButtonsEnabled(bool enabled);

  UiContext m_context;
  CommandHost& m_host;
  QString m_systemName;
  bool m_autoScan;
  bool m_autoStarted = false;
  bool m_scanning = false;
  QRadioButton* m_allSystems = nullptr;
  QRadioButton* m_currentSystem = nullptr;
  QCheckBox* m_quick = nullptr;
  QPushButton* m_scanNow = nullptr;
  QPushButton* m_setup = nullptr;
  QPushButton* m_close = nullptr;
  QListView* m_results = nullptr;
  QStringListModel* m_resultsModel = nullptr;
  QLabel* m_status = nullptr;
  QProgressBar* m_progress = nullptr;
  QStringList m_pending;
  QElapsedTimer m_sinceFlush;
  std::function<void()> m_openSetup;
};

}  // namespace quillon::ui
