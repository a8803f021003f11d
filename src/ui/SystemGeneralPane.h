#pragma once
// framegen, the General tab of the options: the system's name and tab, its picture and emulator,
// how the scan treats its files, its GoodTools name, what the exports write, and how the front
// ends name it (an empty box keeps the shipped name, which it shows greyed).
#include "ui/SystemSettingsPane.h"

class QGroupBox;

namespace quillon::ui {

class SystemGeneralPane : public SystemSettingsPane {
  Q_OBJECT

 public:
  SystemGeneralPane(UiContext context, QWidget* parent);

  void ShowSystem(qint64 systemId, const Rows& record) override;
  // The system's name as stored.
  QString ShownName() const { return m_shownName; }
  // Stores a name being typed (before a scan reads the systems, and on closing); a refused name
  // gives way to the stored one again.
  void TakeTypedName();

 signals:
  void systemRenamed(qint64 systemId, const QString& name);
  void systemEnabled(qint64 systemId, bool enabled);

 private:
  QWidget* BuildSystemGroup();
  QWidget* BuildEmulatorGroup();
  QWidget* BuildExportGroup();
  QWidget* BuildFrontendNames();
  void ShowShippedNames(qint64 systemId);
  void EnableSystem(bool enabled);

  QString m_shownName;
  QLineEdit* m_name = nullptr;
  QCheckBox* m_enabled = nullptr;
  QGroupBox* m_goodTool = nullptr;
};

}  // namespace quillon::ui
