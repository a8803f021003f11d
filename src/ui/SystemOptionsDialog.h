#pragma once
// System_Options ("Quillon Options"): the systems grouped by type on the left, the selected
// system's settings on three tabs on the right. Every change is written at once; closing tells the
// window what changed, so it takes the changes in.
#include "ui/SystemSettingsPane.h"
#include "ui/UiContext.h"

#include <QDialog>

class QSplitter;
class QTabWidget;

namespace quillon::ui {

class SystemGeneralPane;
class SystemImagesPane;
class SystemRomsPane;
class SystemTreeWidget;

// What changed while the options were open.
struct SystemOptionsChanges {
  bool tabsChanged = false;        // a system renamed, or given or denied its tab
  bool romFoldersChanged = false;  // a ROM folder added or removed (UpdateList)
  // The system shown last, when its ROM folders changed and it has some now: after a first setup
  // the window shows it.
  QString systemWithFolders;
};

// What the options ask of the window that opened them.
class SystemOptionsHost {
 public:
  virtual ~SystemOptionsHost() = default;

  // Scan Now: the scanner over `over`, scanning every system at once.
  virtual void ScanAllSystems(QWidget* over) = 0;
  // The options closed: tabs, settings and the details shown are read again.
  virtual void SystemOptionsClosed(const SystemOptionsChanges& changes) = 0;
};

class SystemOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  // Opens on the system `currentSystemId` (the first one when 0).
  SystemOptionsDialog(UiContext context, SystemOptionsHost& host, qint64 currentSystemId, QWidget* parent);

  // CurSys: the system whose settings are shown.
  qint64 CurSys() const { return m_curSys; }
  // UpdateList: a ROM folder was added or removed while the dialog was open.
  bool UpdateList() const { return m_updateList; }

  // Selects a system's node and shows its settings.
  void SelectSystem(qint64 systemId);
  // Moves a system into another system type (what dropping its node on a type node does).
  void MoveSystem(qint64 systemId, qint64 typeId);

  // How the Roms and Images tabs choose a folder: the toolkit's folder dialog unless replaced
  // (tests answer it directly).
  void SetFolderChooser(const FolderChooser& chooser);

 public slots:
  // Closing: refused while no system is enabled; otherwise the host takes the changes in.
  void reject() override;
  // Closed: the dialog's size and splitter are remembered for the next time.
  void done(int result) override;

 private:
  void BuildControls();
  // UpdateTabs of this dialog: the tree of types and systems; the node of `selectId` is selected.
  void BuildTree(qint64 selectId);
  void ShowSystem(qint64 systemId);
  void ScanNow();
  // "New System...": asks name and type, adds the system and selects it.
  void NewSystemClicked();
  // "Delete System": the shown system, after asking when it has games.
  void DeleteSystemClicked();
  // A system's first ROM folder gave it its tab: the tree and the General tab say so.
  void ShowTabGainedWithFolder();
  SystemOptionsChanges Changes();

  UiContext m_context;
  SystemOptionsHost& m_host;
  qint64 m_curSys = 0;
  bool m_updateList = false;
  bool m_tabsChanged = false;

  QSplitter* m_splitter = nullptr;
  SystemTreeWidget* m_tree = nullptr;
  QTabWidget* m_tabs = nullptr;
  SystemGeneralPane* m_general = nullptr;
  SystemRomsPane* m_roms = nullptr;
  SystemImagesPane* m_images = nullptr;
};

}  // namespace quillon::ui
