#pragma once
// frmRoms, the Roms tab of the options: the system's ROM folders and file extensions, whether the
// scan looks into subfolders, and Scan Now. While no system has a ROM folder it says what to do
// first, and Scan Now waits.
#include "ui/SystemSettingsPane.h"

class QLabel;
class QListWidget;

namespace quillon::ui {

class SystemRomsPane : public SystemSettingsPane {
  Q_OBJECT

 public:
  SystemRomsPane(UiContext context, QWidget* parent);

  void ShowSystem(qint64 systemId, const Rows& record) override;

 signals:
  // A ROM folder was added or removed.
  void romFoldersChanged();
  void scanNowClicked();

 private:
  void UpdateRomPathList();
  void ShowFirstUseHelp();
  void AddRomFolder();
  void RemoveRomFolder();

  QLabel* m_firstUse = nullptr;
  QListWidget* m_romPaths = nullptr;
  QPushButton* m_removeRomPath = nullptr;
  QPushButton* m_scanNow = nullptr;
};

}  // namespace quillon::ui
