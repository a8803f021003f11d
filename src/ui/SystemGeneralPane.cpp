#include "ui/SystemGeneralPane.h"

#include "catalogue/SystemNames.h"
#include "settings/SystemOptions.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::ui {

SystemGeneralPane::SystemGeneralPane(UiContext context, QWidget* parent) : SystemSettingsPane(context, parent)
{
  setObjectName(QStringLiteral("framegen"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildSystemGroup());
  layout->addWidget(BuildEmulatorGroup());

  auto* row = new QHBoxLayout;
  auto* scanner = new QGroupBox(QStringLiteral("Rom Scanner"), this);
  auto* scannerLayout = new QVBoxLayout(scanner);
  scannerLayout->addWidget(AddCheckSetting(QStringLiteral("chkdontrename"), QStringLiteral("Don't Rename Roms"),
                                           QStringLiteral("Rename"), scanner,
                                           QStringLiteral("Does not rename roms while scanning. (Slow)")));
  scannerLayout->addWidget(AddCheckSetting(QStringLiteral("Chkrenimg"), QStringLiteral("Rename Images"),
                                           QStringLiteral("RenameImages"), scanner,
                                           QStringLiteral("Rename images to match rom filename.")));
  row->addWidget(scanner, 1);

  m_goodTool = new QGroupBox(QStringLiteral("GoodTool"), this);
  m_goodTool->setObjectName(QStringLiteral("frmgoodtool"));
  auto* goodLayout = new QHBoxLayout(m_goodTool);
  QLineEdit* shortName = AddTextSetting(QStringLiteral("txtgoodtool"), QStringLiteral("SystemShortName"), m_goodTool);
  shortName->setToolTip(tr("The system's GoodTools program is \"Good\" + this name + \".exe\""));
  goodLayout->addWidget(new QLabel(QStringLiteral("Good"), m_goodTool));
  goodLayout->addWidget(shortName, 1);
  goodLayout->addWidget(new QLabel(QStringLiteral(".exe"), m_goodTool));
  row->addWidget(m_goodTool, 1);
  layout->addLayout(row);

  layout->addWidget(BuildExportGroup());
  layout->addWidget(BuildFrontendNames());
  layout->addStretch(1);
}

QWidget* SystemGeneralPane::BuildSystemGroup()
{
  auto* system = new QGroupBox(QStringLiteral("System"), this);
  auto* systemLayout = new QGridLayout(system);
  m_name = new QLineEdit(system);
  m_name->setObjectName(QStringLiteral("txtsystem"));
  m_name->setToolTip(tr("The system's name; press Enter to rename it"));
  connect(m_name, &QLineEdit::editingFinished, this, &SystemGeneralPane::TakeTypedName);
  m_enabled = new QCheckBox(QStringLiteral("Enabled"), system);
  m_enabled->setObjectName(QStringLiteral("chkenabled"));
  m_enabled->setToolTip(tr("The system has a tab in the main window and takes part in scans of all systems"));
  connect(m_enabled, &QCheckBox::clicked, this, &SystemGeneralPane::EnableSystem);
  QLineEdit* image = AddTextSetting(QStringLiteral("txtsysimg"), QStringLiteral("SysImg"), system);
  QToolButton* chooseImage = BrowseButton(QStringLiteral("cmdsysimg"), system);
  connect(chooseImage, &QToolButton::clicked, this, [this, image] {
    ChooseFile(image, QStringLiteral("SysImg"), tr("Select System Image"), tr("All Files (*)"));
  });
  systemLayout->addWidget(m_name, 0, 0, 1, 2);
  systemLayout->addWidget(m_enabled, 0, 2);
  systemLayout->addWidget(new QLabel(QStringLiteral("Image"), system), 1, 0);
  systemLayout->addWidget(image, 1, 1);
  systemLayout->addWidget(chooseImage, 1, 2);
  return system;
}

QWidget* SystemGeneralPane::BuildEmulatorGroup()
{
  auto* emulator = new QGroupBox(QStringLiteral("Emulator"), this);
  auto* emulatorLayout = new QHBoxLayout(emulator);
  QLineEdit* program = AddTextSetting(QStringLiteral("txtemu"), QStringLiteral("Emulator"), emulator);
  program->setToolTip(tr("The emulator program of the system, with its options"));
  QToolButton* chooseProgram = BrowseButton(QStringLiteral("cmdemu"), emulator);
  connect(chooseProgram, &QToolButton::clicked, this, [this, program] {
    ChooseFile(program, QStringLiteral("Emulator"), QStringLiteral("Select Emulator"),
               tr("Emulators (*.exe);;All Files (*)"));
  });
  emulatorLayout->addWidget(program, 1);
  emulatorLayout->addWidget(chooseProgram);
  return emulator;
}

QWidget* SystemGeneralPane::BuildExportGroup()
{
  auto* exports = new QGroupBox(QStringLiteral("Export Settings"), this);
  auto* exportLayout = new QVBoxLayout(exports);
  exportLayout->addWidget(AddCheckSetting(QStringLiteral("chkfullrom"), QStringLiteral("Use Full Rom Path"),
                                          QStringLiteral("FullRomPath"), exports,
                                          tr("Exports write the full ROM path, else the file name only")));
  exportLayout->addWidget(AddCheckSetting(QStringLiteral("chkfullimage"), QStringLiteral("Use Full Image Path"),
                                          QStringLiteral("FullImagePath"), exports,
                                          tr("Exports write the full picture path, else the file name only")));
  exportLayout->addWidget(AddCheckSetting(QStringLiteral("chkdroproms"), QStringLiteral("Drop Roms w/o Images"),
                                          QStringLiteral("DropRoms"), exports,
                                          tr("Exports leave out games without picture")));
  return exports;
}

// How ES-DE, Pegasus, RetroArch and Mame name the system.
QWidget* SystemGeneralPane::BuildFrontendNames()
{
  auto* names = new QGroupBox(QStringLiteral("Front-end Names"), this);
  auto* layout = new QGridLayout(names);
  const QList<std::tuple<const char*, const char*, QString>> boxes{
      {"txtesdename", "ES-DE", kEsdeNameColumn},
      {"txtpegasusname", "Pegasus", kPegasusNameColumn},
      {"txtretroarchname", "RetroArch", kRetroArchNameColumn},
      {"txtsoftwarelists", "Mame Lists", kSoftwareListsColumn},
      {"txtretroarchcore", "RetroArch Core", kRetroArchCoreColumn},
      {"txtretroarchcorename", "Core Name", kRetroArchCoreNameColumn}};
  int index = 0;
  for (const auto& [name, caption, column] : boxes) {
    QLineEdit* box = AddTextSetting(QString::fromLatin1(name), column, names);
    layout->addWidget(new QLabel(QString::fromLatin1(caption), names), index / 2, (index % 2) * 3);
    layout->addWidget(box, index / 2, (index % 2) * 3 + 1);
    ++index;
  }
  QLineEdit* core = TextSetting(kRetroArchCoreColumn);
  QToolButton* chooseCore = BrowseButton(QStringLiteral("cmdretroarchcore"), names);
  connect(chooseCore, &QToolButton::clicked, this, [this, core] {
    ChooseFile(core, kRetroArchCoreColumn, tr("Select RetroArch Core"), tr("Cores (*.so);;All Files (*)"));
  });
  layout->addWidget(chooseCore, 2, 2);
  TextSetting(kSoftwareListsColumn)->setToolTip(tr("Mame software lists, separated by \";\""));
  return names;
}

void SystemGeneralPane::ShowSystem(qint64 systemId, const Rows& record)
{
  SystemSettingsPane::ShowSystem(systemId, record);
  const PaneFilling filling(*this);
  const QVariant name = record.Value(0, QStringLiteral("System"));
  m_shownName = name.isNull() ? QString() : name.toString();
  m_name->setText(m_shownName);
  m_enabled->setChecked(IsTrue(record.Value(0, QStringLiteral("EnableTab"))));
  m_goodTool->setEnabled(UsesGoodTool(m_shownName));
  ShowShippedNames(systemId);
}

void SystemGeneralPane::ShowShippedNames(qint64 systemId)
{
  const SystemNames shipped = ShippedSystemNames(systemId).value_or(SystemNames{});
  const QString none = tr("none: set one to export");
  const QList<QPair<QString, QString>> placeholders{
      {kEsdeNameColumn, shipped.esde.isEmpty() ? none : shipped.esde},
      {kPegasusNameColumn, shipped.pegasus.isEmpty() ? none : shipped.pegasus},
      {kRetroArchNameColumn, shipped.retroArch.isEmpty() ? none : shipped.retroArch},
      {kSoftwareListsColumn, shipped.softwareLists.join(QLatin1Char(';'))},
      {kRetroArchCoreColumn, tr("RetroArch chooses")},
      {kRetroArchCoreNameColumn, tr("from the core's file")}};
  for (const auto& [column, text] : placeholders)
    TextSetting(column)->setPlaceholderText(text);
}

void SystemGeneralPane::TakeTypedName()
{
  const QString name = m_name->text().trimmed();
  if (Filling() || SystemId() == 0 || name == m_shownName)
    return;
  if (!SetSystemSetting(m_context.catalogue, m_context.feedback, SystemId(), QStringLiteral("System"), name)) {
    m_name->setText(m_shownName);
    return;
  }
  m_shownName = name;
  m_name->setText(name);
  m_goodTool->setEnabled(UsesGoodTool(name));
  emit systemRenamed(SystemId(), name);
}

void SystemGeneralPane::EnableSystem(bool enabled)
{
  if (Filling() || SystemId() == 0)
    return;
  // Passing through no enabled system is allowed here; closing checks that one is left.
  if (!SetSystemEnabled(m_context.catalogue, m_context.feedback, SystemId(), enabled, false)) {
    m_enabled->setChecked(!enabled);
    return;
  }
  emit systemEnabled(SystemId(), enabled);
}

}  // namespace quillon::ui
