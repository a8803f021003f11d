#include "ui/SystemRomsPane.h"

#include "catalogue/SystemSettings.h"
#include "settings/SystemOptions.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kFirstUseHelp = QStringLiteral(
    "No system has a ROM folder yet. Choose a system on the left, press \"Add...\" below and pick the folder that "
    "holds its ROM files, check its file extensions, then press \"Scan Now\" to list its games.");

}  // namespace

SystemRomsPane::SystemRomsPane(UiContext context, QWidget* parent) : SystemSettingsPane(context, parent)
{
  setObjectName(QStringLiteral("frmRoms"));
  auto* layout = new QVBoxLayout(this);
  m_firstUse = new QLabel(kFirstUseHelp, this);
  m_firstUse->setObjectName(QStringLiteral("lblfirstuse"));
  m_firstUse->setWordWrap(true);
  m_firstUse->setFrameShape(QFrame::StyledPanel);
  m_firstUse->setMargin(6);
  layout->addWidget(m_firstUse);

  layout->addWidget(AddCheckSetting(QStringLiteral("chkrecurse"), QStringLiteral("Scan Subfolders"),
                                    QStringLiteral("Recurse"), this,
                                    tr("The scanner also looks in the folders inside each ROM folder")));
  layout->addWidget(new QLabel(QStringLiteral("Rom Paths:"), this));
  auto* folders = new QHBoxLayout;
  m_romPaths = new QListWidget(this);
  m_romPaths->setObjectName(QStringLiteral("lstrompaths"));
  m_romPaths->setToolTip(tr("The folders the scanner looks in for this system's ROM files"));
  folders->addWidget(m_romPaths, 1);
  auto* folderButtons = new QVBoxLayout;
  QPushButton* add = PaneButton(QStringLiteral("cmdaddrompath"), tr("Add..."), this);
  m_removeRomPath = PaneButton(QStringLiteral("cmdremrompath"), tr("Remove"), this);
  m_removeRomPath->setEnabled(false);
  connect(add, &QPushButton::clicked, this, &SystemRomsPane::AddRomFolder);
  connect(m_removeRomPath, &QPushButton::clicked, this, &SystemRomsPane::RemoveRomFolder);
  connect(m_romPaths, &QListWidget::itemSelectionChanged, this,
          [this] { m_removeRomPath->setEnabled(!m_romPaths->selectedItems().isEmpty()); });
  folderButtons->addWidget(add);
  folderButtons->addWidget(m_removeRomPath);
  folderButtons->addStretch(1);
  folders->addLayout(folderButtons);
  layout->addLayout(folders, 1);

  auto* extensions = new QFormLayout;
  QLineEdit* types = AddTextSetting(QStringLiteral("txtcustomext"), QStringLiteral("DefaultRomType"), this);
  types->setToolTip(tr("One file extension, or several separated by \";\" (for example smc;sfc;zip)"));
  extensions->addRow(QStringLiteral("Default File Extensions"), types);
  layout->addLayout(extensions);

  auto* scanRow = new QHBoxLayout;
  scanRow->addStretch(1);
  m_scanNow = PaneButton(QStringLiteral("cmdAutoScan"), tr("Scan Now"), this);
  m_scanNow->setToolTip(tr("Scan the ROM folders of all enabled systems now"));
  m_scanNow->setAutoDefault(false);
  connect(m_scanNow, &QPushButton::clicked, this, &SystemRomsPane::scanNowClicked);
  scanRow->addWidget(m_scanNow);
  layout->addLayout(scanRow);
}

void SystemRomsPane::ShowSystem(qint64 systemId, const Rows& record)
{
  SystemSettingsPane::ShowSystem(systemId, record);
  const PaneFilling filling(*this);
  UpdateRomPathList();
}

void SystemRomsPane::UpdateRomPathList()
{
  m_romPaths->clear();
  m_romPaths->addItems(RomPathsOf(m_context.catalogue, m_context.feedback, SystemId()));
  m_removeRomPath->setEnabled(false);
  ShowFirstUseHelp();
}

void SystemRomsPane::ShowFirstUseHelp()
{
  const bool anyFolder = AnyRomPath(m_context.catalogue, m_context.feedback);
  m_firstUse->setVisible(!anyFolder);
  m_scanNow->setEnabled(anyFolder);
}

void SystemRomsPane::AddRomFolder()
{
  const QString start = m_romPaths->count() > 0 ? m_romPaths->item(m_romPaths->count() - 1)->text() : QDir::homePath();
  const QString folder = ChooseFolder(QStringLiteral("Select Rom Folder"), start);
  if (folder.isEmpty() || SystemId() == 0)
    return;
  if (AddRomPath(m_context.catalogue, m_context.feedback, SystemId(), folder))
    emit romFoldersChanged();
  UpdateRomPathList();
}

void SystemRomsPane::RemoveRomFolder()
{
  const QList<QListWidgetItem*> selected = m_romPaths->selectedItems();
  if (selected.isEmpty())
    return;
  if (RemoveRomPath(m_context.catalogue, m_context.feedback, SystemId(), selected.first()->text()))
    emit romFoldersChanged();
  UpdateRomPathList();
}

}  // namespace quillon::ui
