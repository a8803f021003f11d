#pragma once
// The small modal dialog of the structure upgrade at start-up: a caption label and a progress
// bar. It runs the upgrade as soon as it shows and closes itself when the upgrade ends.
#include "catalogue/StructureUpgrade.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

class UpgradeDialog final : public QDialog, public UpgradeDisplay {
  Q_OBJECT

 public:
  explicit UpgradeDialog(QWidget* parent = nullptr);

  // Shows the dialog, runs UpdateDb on `catalogue` (failures go to `feedback`, the main window's
  // status line) and closes the dialog again.
  UpgradeResult Run(Catalogue& catalogue, Feedback& feedback);

  void ShowLabel(const QString& text) override;
  void ShowProgress(int percent) override;

 protected:
  // The upgrade cannot be cancelled: closing and Escape are ignored while it runs.
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  QLabel* m_caption = nullptr;
  QProgressBar* m_progress = nullptr;
  bool m_running = false;
};

}  // namespace quillon::ui
