#pragma once
// System_Options ("Quillon Options"): the systems grouped by type on the left, the selected
// system's settings on three tabs on the right. Every change is written at once; closing tells the
// window what changed, so it takes the changes in.
#include "ui/UiContext.h"

#include <QDialog>
#include <QHash>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace quillon::ui {

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

  // How a folder is chosen (title, start folder -> folder, empty when cancelled): the toolkit's
  // folder dialog unless replaced (tests answer it directly).
  using FolderChooser = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
  void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

 public slots:
  // Closing: refused while no system is enabled; otherwise the host takes the changes in.
  void reject() override;

 private:
  void BuildControls();
  QWidget* BuildGeneralTab();
  QWidget* BuildRomsTab();
  QWidget* BuildImagesTab();
  QWidget* BuildFrontendNames(QWidget* page);
  void ShowShippedNames(qint64 systemId);
  QLineEdit* AddTextSetting(const QString& objectName, const QString& column, QWidget* parent);
  QCheckBox* AddCheckSetting(const QString& objectName, const QString& caption, const QString& column, QWidget* parent,
                             const QString& toolTip = {});

  // UpdateTabs of this dialog: the tree of types and systems; the node of `selectId` is selected.
  void BuildTree(qint64 selectId);
  void OnNodeClicked(QTreeWidgetItem* item);
  void ShowSystem(qint64 systemId);
  void Write(const QString& column, const QString& typed);
  void RenameSystem();
  void EnableSystem(bool enabled);
  void ChooseFile(QLineEdit* box, const QString& column, const QString& title, const QString& filter);
  void ChooseImageFolder();
  QString DefaultImageFilter() const;

  void UpdateRomPathList();
  void AddRomFolder();
  void RemoveRomFolder();
  void UpdateImageURLList(qint64 selectId = 0);
  void OnSiteSelectionChanged();
  void UpdateIgnoreList();
  void AddSite();
  void RemoveSite();
  void AddIgnore();
  void RemoveIgnore();
  qint64 SelectedSiteId() const;
  QString AskUrl(const QString& title);

  void ShowFirstUseHelp();
  void ScanNow();
  SystemOptionsChanges Changes();
  QTreeWidgetItem* NodeOfSystem(qint64 systemId) const;

  UiContext m_context;
  SystemOptionsHost& m_host;
  FolderChooser m_chooseFolder;
  qint64 m_curSys = 0;
  QString m_shownName;
  bool m_updateList = false;
  bool m_tabsChanged = false;
  bool m_filling = false;

  SystemTreeWidget* m_tree = nullptr;
  QTabWidget* m_tabs = nullptr;
  QHash<QString, QLineEdit*> m_textSettings;   // column -> box
  QHash<QString, QCheckBox*> m_checkSettings;  // column -> check box
  QLineEdit* m_name = nullptr;
  QCheckBox* m_enabled = nullptr;
  QGroupBox* m_goodTool = nullptr;
  QLabel* m_firstUse = nullptr;
  QListWidget* m_romPaths = nullptr;
  QPushButton* m_removeRomPath = nullptr;
  QPushButton* m_scanNow = nullptr;
  QListWidget* m_sites = nullptr;
  QPushButton* m_removeSite = nullptr;
  QListWidget* m_ignore = nullptr;
  QPushButton* m_addIgnore = nullptr;
  QPushButton* m_removeIgnore = nullptr;
};

}  // namespace quillon::ui
