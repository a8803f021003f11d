#include "ui/SystemOptionsDialog.h"

#include "catalogue/SystemSettings.h"
#include "settings/SystemOptions.h"
#include "settings/SystemRows.h"
#include "ui/NewSystemDialog.h"
#include "ui/StatusFeedback.h"
#include "ui/SystemGeneralPane.h"
#include "ui/SystemImagesPane.h"
#include "ui/SystemRomsPane.h"
#include "ui/SystemTreeWidget.h"
#include "ui/WindowSettings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kCaption = QStringLiteral("Quillon Options");
const QString kGeometryKey = QStringLiteral("Options/geometry");
const QString kSplitterKey = QStringLiteral("Options/splitter");

}  // namespace

SystemOptionsDialog::SystemOptionsDialog(UiContext context, SystemOptionsHost& host, qint64 currentSystemId,
                                         QWidget* parent)
    : QDialog(parent), m_context(context), m_host(host)
{
  setObjectName(QStringLiteral("System_Options"));
  setWindowTitle(kCaption);
  setModal(true);
  resize(860, 600);
  BuildControls();
  const WindowSettings remembered(m_context.folder);
  remembered.RestoreGeometry(this, kGeometryKey);
  m_splitter->restoreState(remembered.Value(kSplitterKey).toByteArray());
  const bool anyFolder = AnyRomPath(m_context.catalogue, m_context.feedback);
  BuildTree(currentSystemId);
  // A new user starts where the work is: the ROM folders.
  if (!anyFolder)
    m_tabs->setCurrentWidget(m_roms);
}

void SystemOptionsDialog::BuildControls()
{
  auto* layout = new QVBoxLayout(this);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->setObjectName(QStringLiteral("optionsSplitter"));
  splitter->setChildrenCollapsible(false);
  m_splitter = splitter;
  m_tree = new SystemTreeWidget(splitter);
  connect(m_tree, &SystemTreeWidget::systemChosen, this, &SystemOptionsDialog::ShowSystem);
  connect(m_tree, &SystemTreeWidget::systemMoved, this, &SystemOptionsDialog::MoveSystem);

  m_tabs = new QTabWidget(splitter);
  m_tabs->setObjectName(QStringLiteral("tbsSystems"));
  m_general = new SystemGeneralPane(m_context, this);
  connect(m_general, &SystemGeneralPane::systemRenamed, this, [this](qint64 systemId, const QString& name) {
    m_tabsChanged = true;
    m_tree->ShowRenamed(systemId, name);
  });
  connect(m_general, &SystemGeneralPane::systemEnabled, this, [this](qint64 systemId, bool enabled) {
    m_tabsChanged = true;
    m_tree->ShowEnabled(systemId, enabled);
  });
  m_tabs->addTab(m_general, QStringLiteral("&General"));
  m_roms = new SystemRomsPane(m_context, this);
  connect(m_roms, &SystemRomsPane::romFoldersChanged, this, [this] {
    m_updateList = true;
    ShowTabGainedWithFolder();
  });
  connect(m_roms, &SystemRomsPane::scanNowClicked, this, &SystemOptionsDialog::ScanNow);
  m_tabs->addTab(m_roms, QStringLiteral("&Roms"));
  m_images = new SystemImagesPane(m_context, this);
  m_tabs->addTab(m_images, QStringLiteral("&Images"));
  splitter->addWidget(m_tree);
  splitter->addWidget(m_tabs);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 5);
  layout->addWidget(splitter, 1);

  auto* buttons = new QHBoxLayout;
  QPushButton* add = PaneButton(QStringLiteral("cmdnewsystem"), QStringLiteral("&New System..."), this);
  add->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, &SystemOptionsDialog::NewSystemClicked);
  buttons->addWidget(add);
  QPushButton* remove = PaneButton(QStringLiteral("cmddeletesystem"), QStringLiteral("&Delete System"), this);
  remove->setAutoDefault(false);
  connect(remove, &QPushButton::clicked, this, &SystemOptionsDialog::DeleteSystemClicked);
  buttons->addWidget(remove);
  buttons->addStretch(1);
  QPushButton* close = PaneButton(QStringLiteral("cmdclose"), QStringLiteral("&Close"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &SystemOptionsDialog::reject);
  buttons->addWidget(close);
  layout->addLayout(buttons);
}

void SystemOptionsDialog::SetFolderChooser(const FolderChooser& chooser)
{
  m_roms->SetFolderChooser(chooser);
  m_images->SetFolderChooser(chooser);
}

void SystemOptionsDialog::BuildTree(qint64 selectId)
{
  const std::optional<QList<SystemTypeNode>> tree = SystemTree(m_context.catalogue, m_context.feedback);
  if (!tree)
    return;
  if (const std::optional<qint64> shown = m_tree->Fill(*tree, selectId))
    ShowSystem(*shown);
}

void SystemOptionsDialog::SelectSystem(qint64 systemId)
{
  m_tree->SelectSystem(systemId);
}

void SystemOptionsDialog::MoveSystem(qint64 systemId, qint64 typeId)
{
  if (SetSystemType(m_context.catalogue, m_context.feedback, systemId, typeId))
    BuildTree(systemId);
}

void SystemOptionsDialog::ShowSystem(qint64 systemId)
{
  const std::optional<Rows> record =
      SystemRecord(m_context.catalogue, m_context.feedback, systemId, QStringLiteral("treSys_NodeClick"));
  if (!record || record->IsEmpty())
    return;
  m_curSys = systemId;
  m_general->ShowSystem(systemId, *record);
  m_roms->ShowSystem(systemId, *record);
  m_images->ShowSystem(systemId, *record);
}

void SystemOptionsDialog::NewSystemClicked()
{
  m_general->TakeTypedName();
  const std::optional<QList<SystemTypeNode>> tree = SystemTree(m_context.catalogue, m_context.feedback);
  if (!tree)
    return;
  QList<QPair<qint64, QString>> types;
  for (const SystemTypeNode& type : *tree)
    types << qMakePair(type.typeId, type.name);
  NewSystemDialog ask(types, this);
  if (ask.exec() != QDialog::Accepted)
    return;
  const NewSystem system = ask.Chosen();
  if (SystemIdByName(m_context.catalogue, m_context.feedback, system.name)) {
    QMessageBox::warning(this, kCaption, QStringLiteral("Another system is named %1.").arg(system.name));
    return;
  }
  const std::optional<qint64> added = AddSystem(m_context.catalogue, m_context.feedback, system);
  if (!added)
    return;
  m_tabsChanged = true;
  BuildTree(*added);
}

void SystemOptionsDialog::DeleteSystemClicked()
{
  m_general->TakeTypedName();
  const qint64 systemId = m_curSys;
  const std::optional<QString> refusal = DeleteSystemRefusal(m_context.catalogue, m_context.feedback, systemId);
  if (!refusal)
    return;
  if (!refusal->isEmpty()) {
    QMessageBox::warning(this, kCaption, *refusal);
    return;
  }
  if (DeleteSystem(m_context.catalogue, m_context.feedback, systemId) != SystemDeletion::Deleted)
    return;
  // The window rebuilds its tabs and list: the deleted system may be the one it shows.
  m_tabsChanged = true;
  m_updateList = true;
  BuildTree(0);
}

void SystemOptionsDialog::ShowTabGainedWithFolder()
{
  const std::optional<bool> enabled =
      SystemTabEnabled(m_context.catalogue, m_context.feedback, m_curSys, QStringLiteral("UpdateRomPathList"));
  const auto* box = findChild<QCheckBox*>(QStringLiteral("chkenabled"));
  if (!enabled || !*enabled || !box || box->isChecked())
    return;
  m_tabsChanged = true;
  m_tree->ShowEnabled(m_curSys, true);
  ShowSystem(m_curSys);
}

void SystemOptionsDialog::ScanNow()
{
  // A name being typed is taken before the scan reads the systems.
  m_general->TakeTypedName();
  m_host.ScanAllSystems(this);
}

void SystemOptionsDialog::reject()
{
  m_general->TakeTypedName();
  const std::optional<int> enabled = EnabledSystemCount(m_context.catalogue, m_context.feedback);
  if (enabled && *enabled == 0) {
    QMessageBox::critical(this, kCaption, kOneSystemEnabledText);
    return;
  }
  m_host.SystemOptionsClosed(Changes());
  m_updateList = false;
  QDialog::reject();
}

void SystemOptionsDialog::done(int result)
{
  WindowSettings remembered(m_context.folder);
  remembered.SaveGeometry(this, kGeometryKey);
  remembered.SetValue(kSplitterKey, m_splitter->saveState());
  QDialog::done(result);
}

SystemOptionsChanges SystemOptionsDialog::Changes()
{
  SystemOptionsChanges changes;
  changes.tabsChanged = m_tabsChanged;
  changes.romFoldersChanged = m_updateList;
  if (m_updateList && !RomPathsOf(m_context.catalogue, m_context.feedback, m_curSys).isEmpty())
    changes.systemWithFolders = m_general->ShownName();
  return changes;
}

}  // namespace quillon::ui
