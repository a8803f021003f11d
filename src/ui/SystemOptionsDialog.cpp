#include "ui/SystemOptionsDialog.h"

#include "catalogue/Catalogue.h"
#include "catalogue/SystemNames.h"
#include "catalogue/SystemSettings.h"
#include "common/Paths.h"
#include "settings/SystemOptions.h"
#include "settings/SystemSites.h"
#include "ui/GameInfoPanel.h"
#include "ui/MainWindow.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kCaption = QStringLiteral("Quillon Options");
const QString kEnterUrl = QStringLiteral("Enter URL:");
const QString kFirstUseHelp = QStringLiteral(
    "No system has a ROM folder yet. Choose a system on the left, press \"Add...\" below and pick the folder that "
    "holds its ROM files, check its file extensions, then press \"Scan Now\" to list its games.");

constexpr int kIdRole = Qt::UserRole;
constexpr int kIsSystemRole = Qt::UserRole + 1;

// The columns whose boxes take whole numbers.
const QStringList kNumberColumns{QStringLiteral("ImageLimit"), QStringLiteral("MinImgWidth"),
                                 QStringLiteral("MinImgHeight"), QStringLiteral("TimeOut"), QStringLiteral("AutoDL")};

QIcon DotIcon(const QColor& fill, const QColor& outline)
{
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(outline, 1.5));
  painter.setBrush(fill);
  painter.drawEllipse(QRectF(3, 3, 10, 10));
  return QIcon(pixmap);
}

QIcon SystemIcon(bool enabled)
{
  static const QIcon kEnabled = DotIcon(QColor(0x3c, 0xb0, 0x43), QColor(0x1e, 0x6b, 0x23));
  static const QIcon kDisabled = DotIcon(Qt::transparent, QColor(0x90, 0x90, 0x90));
  return enabled ? kEnabled : kDisabled;
}

bool IsSystemNode(const QTreeWidgetItem* item)
{
  return item && item->data(0, kIsSystemRole).toBool();
}

qint64 NodeId(const QTreeWidgetItem* item)
{
  return item ? item->data(0, kIdRole).toLongLong() : 0;
}

QPushButton* Button(const QString& objectName, const QString& caption, QWidget* parent)
{
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  return button;
}

QToolButton* BrowseButton(const QString& objectName, QWidget* parent)
{
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setText(QStringLiteral("..."));
  return button;
}

QString Shown(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

}  // namespace

// treSys: systems can be dragged onto a type node (or onto a system of that type) to change
// their type; the dialog rebuilds the tree itself.
class SystemTreeWidget : public QTreeWidget {
 public:
  explicit SystemTreeWidget(QWidget* parent) : QTreeWidget(parent)
  {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
  }

  std::function<void(qint64 systemId, qint64 typeId)> onMove;

  // Wide enough to show every caption whole, in open and closed groups alike.
  void FitToNames()
  {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int widest = 0;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
      int depth = rootIsDecorated() ? 1 : 0;
      for (const QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
        ++depth;
      widest = std::max(widest, indentation() * depth + itemDelegate()->sizeHint(option, indexFromItem(*it)).width());
    }
    setMinimumWidth(widest + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
  }

 protected:
  void dragMoveEvent(QDragMoveEvent* event) override
  {
    QTreeWidget::dragMoveEvent(event);
    if (TypeNodeAt(event->position().toPoint()))
      event->accept();
    else
      event->ignore();
  }

  void dropEvent(QDropEvent* event) override
  {
    QTreeWidgetItem* type = TypeNodeAt(event->position().toPoint());
    QTreeWidgetItem* dragged = currentItem();
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (!type || !IsSystemNode(dragged) || dragged->parent() == type || !onMove)
      return;
    const qint64 systemId = NodeId(dragged);
    const qint64 typeId = NodeId(type);
    // The tree is rebuilt once the drag has ended.
    QTimer::singleShot(0, this, [this, systemId, typeId] { onMove(systemId, typeId); });
  }

 private:
  QTreeWidgetItem* TypeNodeAt(const QPoint& position) const
  {
    QTreeWidgetItem* item = itemAt(position);
    return IsSystemNode(item) ? item->parent() : item;
  }
};

SystemOptionsDialog::SystemOptionsDialog(MainWindow& main, QWidget* parent)
    : QDialog(parent ? parent : &main),
      m_main(main),
      m_chooseFolder([](QWidget* owner, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, title, start);
      })
{
  setObjectName(QStringLiteral("System_Options"));
  setWindowTitle(kCaption);
  setModal(true);
  resize(860, 600);
  BuildControls();
  const bool anyFolder = AnyRomPath(m_main.Connection(), m_main.Feedback());
  BuildTree(m_main.CurrentSystemID());
  // A new user starts where the work is: the ROM folders.
  if (!anyFolder)
    m_tabs->setCurrentWidget(m_tabs->findChild<QWidget*>(QStringLiteral("frmRoms")));
}

void SystemOptionsDialog::BuildControls()
{
  auto* layout = new QVBoxLayout(this);
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  m_tree = new SystemTreeWidget(splitter);
  m_tree->setObjectName(QStringLiteral("treSys"));
  m_tree->setHeaderHidden(true);
  m_tree->setToolTip(tr("Drag a system onto another group to move it there"));
  m_tree->onMove = [this](qint64 systemId, qint64 typeId) { MoveSystem(systemId, typeId); };
  connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { OnNodeClicked(item); });

  m_tabs = new QTabWidget(splitter);
  m_tabs->setObjectName(QStringLiteral("tbsSystems"));
  m_tabs->addTab(BuildGeneralTab(), QStringLiteral("&General"));
  m_tabs->addTab(BuildRomsTab(), QStringLiteral("&Roms"));
  m_tabs->addTab(BuildImagesTab(), QStringLiteral("&Images"));
  splitter->addWidget(m_tree);
  splitter->addWidget(m_tabs);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 5);
  layout->addWidget(splitter, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  QPushButton* close = Button(QStringLiteral("cmdclose"), QStringLiteral("&Close"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &SystemOptionsDialog::reject);
  buttons->addWidget(close);
  layout->addLayout(buttons);
}

QLineEdit* SystemOptionsDialog::AddTextSetting(const QString& objectName, const QString& column, QWidget* parent)
{
  auto* box = new QLineEdit(parent);
  box->setObjectName(objectName);
  if (kNumberColumns.contains(column))
    box->setValidator(new QIntValidator(0, column == QStringLiteral("AutoDL") ? 100 : 99999, box));
  connect(box, &QLineEdit::textEdited, this, [this, column](const QString& text) { Write(column, text); });
  m_textSettings.insert(column, box);
  return box;
}

QCheckBox* SystemOptionsDialog::AddCheckSetting(const QString& objectName, const QString& caption,
                                                const QString& column, QWidget* parent, const QString& toolTip)
{
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(objectName);
  box->setToolTip(toolTip);
  connect(box, &QCheckBox::clicked, this,
          [this, column](bool on) { Write(column, on ? QStringLiteral("1") : QStringLiteral("0")); });
  m_checkSettings.insert(column, box);
  return box;
}

QWidget* SystemOptionsDialog::BuildGeneralTab()
{
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("framegen"));
  auto* layout = new QVBoxLayout(page);

  auto* system = new QGroupBox(QStringLiteral("System"), page);
  auto* systemLayout = new QGridLayout(system);
  m_name = new QLineEdit(system);
  m_name->setObjectName(QStringLiteral("txtsystem"));
  m_name->setToolTip(tr("The system's name; press Enter to rename it"));
  connect(m_name, &QLineEdit::editingFinished, this, &SystemOptionsDialog::RenameSystem);
  m_enabled = new QCheckBox(QStringLiteral("Enabled"), system);
  m_enabled->setObjectName(QStringLiteral("chkenabled"));
  m_enabled->setToolTip(tr("The system has a tab in the main window and takes part in scans of all systems"));
  connect(m_enabled, &QCheckBox::clicked, this, &SystemOptionsDialog::EnableSystem);
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
  layout->addWidget(system);

  auto* emulator = new QGroupBox(QStringLiteral("Emulator"), page);
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
  layout->addWidget(emulator);

  auto* row = new QHBoxLayout;
  auto* scanner = new QGroupBox(QStringLiteral("Rom Scanner"), page);
  auto* scannerLayout = new QVBoxLayout(scanner);
  scannerLayout->addWidget(AddCheckSetting(QStringLiteral("chkdontrename"), QStringLiteral("Don't Rename Roms"),
                                           QStringLiteral("Rename"), scanner,
                                           QStringLiteral("Does not rename roms while scanning. (Slow)")));
  scannerLayout->addWidget(AddCheckSetting(QStringLiteral("Chkrenimg"), QStringLiteral("Rename Images"),
                                           QStringLiteral("RenameImages"), scanner,
                                           QStringLiteral("Rename images to match rom filename.")));
  row->addWidget(scanner, 1);

  m_goodTool = new QGroupBox(QStringLiteral("GoodTool"), page);
  m_goodTool->setObjectName(QStringLiteral("frmgoodtool"));
  auto* goodLayout = new QHBoxLayout(m_goodTool);
  QLineEdit* shortName = AddTextSetting(QStringLiteral("txtgoodtool"), QStringLiteral("SystemShortName"), m_goodTool);
  shortName->setToolTip(tr("The system's GoodTools program is \"Good\" + this name + \".exe\""));
  goodLayout->addWidget(new QLabel(QStringLiteral("Good"), m_goodTool));
  goodLayout->addWidget(shortName, 1);
  goodLayout->addWidget(new QLabel(QStringLiteral(".exe"), m_goodTool));
  row->addWidget(m_goodTool, 1);
  layout->addLayout(row);

  auto* exports = new QGroupBox(QStringLiteral("Export Settings"), page);
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
  layout->addWidget(exports);
  layout->addWidget(BuildFrontendNames(page));
  layout->addStretch(1);
  return page;
}

// How ES-DE, Pegasus, RetroArch and Mame name the system; an empty box keeps the shipped name,
// which shows greyed in it.
QWidget* SystemOptionsDialog::BuildFrontendNames(QWidget* page)
{
  auto* names = new QGroupBox(QStringLiteral("Front-end Names"), page);
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
  QLineEdit* core = m_textSettings.value(kRetroArchCoreColumn);
  QToolButton* chooseCore = BrowseButton(QStringLiteral("cmdretroarchcore"), names);
  connect(chooseCore, &QToolButton::clicked, this, [this, core] {
    ChooseFile(core, kRetroArchCoreColumn, tr("Select RetroArch Core"), tr("Cores (*.so);;All Files (*)"));
  });
  layout->addWidget(chooseCore, 2, 2);
  m_textSettings.value(kSoftwareListsColumn)->setToolTip(tr("Mame software lists, separated by \";\""));
  return names;
}

void SystemOptionsDialog::ShowShippedNames(qint64 systemId)
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
    m_textSettings.value(column)->setPlaceholderText(text);
}

QWidget* SystemOptionsDialog::BuildRomsTab()
{
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("frmRoms"));
  auto* layout = new QVBoxLayout(page);
  m_firstUse = new QLabel(kFirstUseHelp, page);
  m_firstUse->setObjectName(QStringLiteral("lblfirstuse"));
  m_firstUse->setWordWrap(true);
  m_firstUse->setFrameShape(QFrame::StyledPanel);
  m_firstUse->setMargin(6);
  layout->addWidget(m_firstUse);

  layout->addWidget(AddCheckSetting(QStringLiteral("chkrecurse"), QStringLiteral("Scan Subfolders"),
                                    QStringLiteral("Recurse"), page,
                                    tr("The scanner also looks in the folders inside each ROM folder")));
  layout->addWidget(new QLabel(QStringLiteral("Rom Paths:"), page));
  auto* folders = new QHBoxLayout;
  m_romPaths = new QListWidget(page);
  m_romPaths->setObjectName(QStringLiteral("lstrompaths"));
  m_romPaths->setToolTip(tr("The folders the scanner looks in for this system's ROM files"));
  folders->addWidget(m_romPaths, 1);
  auto* folderButtons = new QVBoxLayout;
  QPushButton* add = Button(QStringLiteral("cmdaddrompath"), tr("Add..."), page);
  m_removeRomPath = Button(QStringLiteral("cmdremrompath"), tr("Remove"), page);
  m_removeRomPath->setEnabled(false);
  connect(add, &QPushButton::clicked, this, &SystemOptionsDialog::AddRomFolder);
  connect(m_removeRomPath, &QPushButton::clicked, this, &SystemOptionsDialog::RemoveRomFolder);
  connect(m_romPaths, &QListWidget::itemSelectionChanged, this,
          [this] { m_removeRomPath->setEnabled(!m_romPaths->selectedItems().isEmpty()); });
  folderButtons->addWidget(add);
  folderButtons->addWidget(m_removeRomPath);
  folderButtons->addStretch(1);
  folders->addLayout(folderButtons);
  layout->addLayout(folders, 1);

  auto* extensions = new QFormLayout;
  QLineEdit* types = AddTextSetting(QStringLiteral("txtcustomext"), QStringLiteral("DefaultRomType"), page);
  types->setToolTip(tr("One file extension, or several separated by \";\" (for example smc;sfc;zip)"));
  extensions->addRow(QStringLiteral("Default File Extensions"), types);
  layout->addLayout(extensions);

  auto* scanRow = new QHBoxLayout;
  scanRow->addStretch(1);
  m_scanNow = Button(QStringLiteral("cmdAutoScan"), tr("Scan Now"), page);
  m_scanNow->setToolTip(tr("Scan the ROM folders of all enabled systems now"));
  m_scanNow->setAutoDefault(false);
  connect(m_scanNow, &QPushButton::clicked, this, &SystemOptionsDialog::ScanNow);
  scanRow->addWidget(m_scanNow);
  layout->addLayout(scanRow);
  return page;
}

QWidget* SystemOptionsDialog::BuildImagesTab()
{
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("frmImg"));
  auto* layout = new QVBoxLayout(page);

  auto* pictures = new QGridLayout;
  QLineEdit* folder = AddTextSetting(QStringLiteral("txtimagepath"), QStringLiteral("DefaultImagePath"), page);
  QToolButton* chooseFolder = BrowseButton(QStringLiteral("cmdimagefile"), page);
  connect(chooseFolder, &QToolButton::clicked, this, &SystemOptionsDialog::ChooseImageFolder);
  QLineEdit* types = AddTextSetting(QStringLiteral("txtdefimg"), QStringLiteral("DefaultImageType"), page);
  types->setToolTip(tr("Picture extensions separated by \";\" (for example jpg;png)"));
  QLineEdit* fallback = AddTextSetting(QStringLiteral("txtdefaultimage"), QStringLiteral("DefaultImage"), page);
  fallback->setToolTip(tr("The picture a game gets when the image search finds none"));
  QToolButton* chooseFallback = BrowseButton(QStringLiteral("cmddefaultimage"), page);
  connect(chooseFallback, &QToolButton::clicked, this, [this, fallback] {
    ChooseFile(fallback, QStringLiteral("DefaultImage"), QStringLiteral("Default Image"), DefaultImageFilter());
  });
  pictures->addWidget(new QLabel(QStringLiteral("Default Image Path:"), page), 0, 0);
  pictures->addWidget(folder, 0, 1);
  pictures->addWidget(chooseFolder, 0, 2);
  pictures->addWidget(new QLabel(QStringLiteral("Default Image Types"), page), 1, 0);
  pictures->addWidget(types, 1, 1);
  pictures->addWidget(new QLabel(QStringLiteral("Default Image"), page), 2, 0);
  pictures->addWidget(fallback, 2, 1);
  pictures->addWidget(chooseFallback, 2, 2);
  layout->addLayout(pictures);

  auto* lists = new QHBoxLayout;
  auto* sites = new QGroupBox(QStringLiteral("Image Search URL"), page);
  auto* sitesLayout = new QVBoxLayout(sites);
  m_sites = new QListWidget(sites);
  m_sites->setObjectName(QStringLiteral("lstImgURL"));
  m_sites->setToolTip(tr("Sites used to download cover art"));
  connect(m_sites, &QListWidget::itemSelectionChanged, this, &SystemOptionsDialog::OnSiteSelectionChanged);
  auto* siteButtons = new QHBoxLayout;
  QPushButton* addSite = Button(QStringLiteral("Command1"), tr("Add..."), sites);
  m_removeSite = Button(QStringLiteral("cmdremImgURL"), tr("Remove"), sites);
  connect(addSite, &QPushButton::clicked, this, &SystemOptionsDialog::AddSite);
  connect(m_removeSite, &QPushButton::clicked, this, &SystemOptionsDialog::RemoveSite);
  siteButtons->addWidget(addSite);
  siteButtons->addWidget(m_removeSite);
  siteButtons->addStretch(1);
  sitesLayout->addWidget(m_sites, 1);
  sitesLayout->addLayout(siteButtons);
  lists->addWidget(sites, 1);

  auto* ignore = new QGroupBox(QStringLiteral("Ignore List"), page);
  auto* ignoreLayout = new QVBoxLayout(ignore);
  m_ignore = new QListWidget(ignore);
  m_ignore->setObjectName(QStringLiteral("lstignore"));
  m_ignore->setToolTip(tr("URLs ignored when downloading, per site"));
  connect(m_ignore, &QListWidget::itemSelectionChanged, this,
          [this] { m_removeIgnore->setEnabled(!m_ignore->selectedItems().isEmpty()); });
  auto* ignoreButtons = new QHBoxLayout;
  m_addIgnore = Button(QStringLiteral("cmdaddignore"), tr("Add..."), ignore);
  m_removeIgnore = Button(QStringLiteral("cmdremignore"), tr("Remove"), ignore);
  connect(m_addIgnore, &QPushButton::clicked, this, &SystemOptionsDialog::AddIgnore);
  connect(m_removeIgnore, &QPushButton::clicked, this, &SystemOptionsDialog::RemoveIgnore);
  ignoreButtons->addWidget(m_addIgnore);
  ignoreButtons->addWidget(m_removeIgnore);
  ignoreButtons->addStretch(1);
  ignoreLayout->addWidget(m_ignore, 1);
  ignoreLayout->addLayout(ignoreButtons);
  lists->addWidget(ignore, 1);
  layout->addLayout(lists, 1);

  layout->addWidget(AddCheckSetting(QStringLiteral("chkappend"), QStringLiteral("&Append Rom Name To Search URL"),
                                    QStringLiteral("AppendFullName"), page));
  auto* search = new QGridLayout;
  const std::tuple<const char*, const char*, const char*, const char*> numbers[] = {
      {"txtImgLimit", "Image Limit", "ImageLimit", "The most pictures taken per game; 0 takes all"},
      {"txtMinWid", "Minimum Width", "MinImgWidth", "Smaller pictures are passed over"},
      {"txtMinHgt", "Minimum Height", "MinImgHeight", "Smaller pictures are passed over"},
      {"txttimeout", "Time Out (sec)", "TimeOut", "Seconds to wait for a result page"},
      {"txtAutoDL", "Auto DL (%)", "AutoDL",
       "Images are downloaded automatically from the first site whose match reaches this percentage"},
      {"txtImageFilter", "Image Filter", "ImageFilter",
       "Which pictures of a match page to take, as numbers separated by \";\"; empty takes all"}};
  int index = 0;
  for (const auto& [name, caption, column, tip] : numbers) {
    QLineEdit* box = AddTextSetting(QString::fromLatin1(name), QString::fromLatin1(column), page);
    box->setToolTip(tr(tip));
    search->addWidget(new QLabel(QString::fromLatin1(caption), page), index / 2, (index % 2) * 2);
    search->addWidget(box, index / 2, (index % 2) * 2 + 1);
    ++index;
  }
  // A page is given at least a second: "0" is stored, and shown, as 1.
  QLineEdit* timeOut = m_textSettings.value(QStringLiteral("TimeOut"));
  connect(timeOut, &QLineEdit::editingFinished, this, [timeOut] {
    if (timeOut->text() == QStringLiteral("0"))
      timeOut->setText(QStringLiteral("1"));
  });
  search->addWidget(AddCheckSetting(QStringLiteral("chkIgnoreMultiples"), QStringLiteral("Ignore Multiples"),
                                    QStringLiteral("IgnoreMultiples"), page,
                                    tr("Never ask: take the best match or pass the game over")),
                    index / 2, 0, 1, 2);
  layout->addLayout(search);
  return page;
}

void SystemOptionsDialog::BuildTree(qint64 selectId)
{
  const std::optional<QList<SystemTypeNode>> tree = SystemTree(m_main.Connection(), m_main.Feedback());
  if (!tree)
    return;
  const bool wasFilling = m_filling;
  m_filling = true;
  m_tree->clear();
  const QIcon typeIcon = style()->standardIcon(QStyle::SP_DirIcon);
  QTreeWidgetItem* selected = nullptr;
  QTreeWidgetItem* first = nullptr;
  for (const SystemTypeNode& type : *tree) {
    auto* typeItem = new QTreeWidgetItem(m_tree, {type.name});
    typeItem->setIcon(0, typeIcon);
    typeItem->setData(0, kIdRole, type.typeId);
    typeItem->setData(0, kIsSystemRole, false);
    typeItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsDropEnabled);
    for (const SystemNode& system : type.systems) {
      auto* item = new QTreeWidgetItem(typeItem, {system.name});
      item->setIcon(0, SystemIcon(system.enabled));
      item->setData(0, kIdRole, system.systemId);
      item->setData(0, kIsSystemRole, true);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled);
      if (system.systemId == selectId)
        selected = item;
      if (!first)
        first = item;
    }
  }
  m_filling = wasFilling;
  m_tree->FitToNames();
  // Without a current system the first one is shown, so there is always one to set up.
  if (!selected)
    selected = first;
  if (selected) {
    selected->parent()->setExpanded(true);
    m_tree->setCurrentItem(selected);
    m_tree->scrollToItem(selected);
    ShowSystem(NodeId(selected));
  }
}

QTreeWidgetItem* SystemOptionsDialog::NodeOfSystem(qint64 systemId) const
{
  for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* type = m_tree->topLevelItem(i);
    for (int j = 0; j < type->childCount(); ++j) {
      if (NodeId(type->child(j)) == systemId)
        return type->child(j);
    }
  }
  return nullptr;
}

void SystemOptionsDialog::SelectSystem(qint64 systemId)
{
  if (QTreeWidgetItem* item = NodeOfSystem(systemId)) {
    item->parent()->setExpanded(true);
    m_tree->setCurrentItem(item);
  }
}

void SystemOptionsDialog::MoveSystem(qint64 systemId, qint64 typeId)
{
  if (SetSystemType(m_main.Connection(), m_main.Feedback(), systemId, typeId))
    BuildTree(systemId);
}

void SystemOptionsDialog::OnNodeClicked(QTreeWidgetItem* item)
{
  if (m_filling || !IsSystemNode(item))
    return;
  ShowSystem(NodeId(item));
}

void SystemOptionsDialog::ShowSystem(qint64 systemId)
{
  const std::optional<Rows> rows =
      m_main.Connection().Select(m_main.Feedback(), QStringLiteral("treSys_NodeClick"),
                                 QStringLiteral("SELECT * FROM System WHERE SystemID = ?"), {systemId});
  if (!rows || rows->IsEmpty())
    return;
  m_filling = true;
  m_curSys = systemId;
  m_shownName = Shown(rows->Value(0, QStringLiteral("System")));
  m_name->setText(m_shownName);
  m_enabled->setChecked(IsTrue(rows->Value(0, QStringLiteral("EnableTab"))));
  for (auto it = m_textSettings.cbegin(); it != m_textSettings.cend(); ++it)
    it.value()->setText(Shown(rows->Value(0, it.key())));
  for (auto it = m_checkSettings.cbegin(); it != m_checkSettings.cend(); ++it)
    it.value()->setChecked(IsTrue(rows->Value(0, it.key())));
  m_goodTool->setEnabled(UsesGoodTool(m_shownName));
  ShowShippedNames(systemId);
  UpdateRomPathList();
  UpdateImageURLList();
  m_filling = false;
}

void SystemOptionsDialog::Write(const QString& column, const QString& typed)
{
  if (m_filling || m_curSys == 0)
    return;
  SetSystemSetting(m_main.Connection(), m_main.Feedback(), m_curSys, column, typed);
}

void SystemOptionsDialog::RenameSystem()
{
  const QString name = m_name->text().trimmed();
  if (m_filling || m_curSys == 0 || name == m_shownName)
    return;
  if (!SetSystemSetting(m_main.Connection(), m_main.Feedback(), m_curSys, QStringLiteral("System"), name)) {
    m_name->setText(m_shownName);
    return;
  }
  m_shownName = name;
  m_name->setText(name);
  m_tabsChanged = true;
  m_goodTool->setEnabled(UsesGoodTool(name));
  if (QTreeWidgetItem* item = NodeOfSystem(m_curSys)) {
    item->setText(0, name);
    m_tree->FitToNames();
    m_tree->setCurrentItem(item);
  }
}

void SystemOptionsDialog::EnableSystem(bool enabled)
{
  if (m_filling || m_curSys == 0)
    return;
  // Passing through no enabled system is allowed here; closing checks that one is left.
  if (!SetSystemEnabled(m_main.Connection(), m_main.Feedback(), m_curSys, enabled, false)) {
    m_enabled->setChecked(!enabled);
    return;
  }
  m_tabsChanged = true;
  if (QTreeWidgetItem* item = NodeOfSystem(m_curSys))
    item->setIcon(0, SystemIcon(enabled));
}

void SystemOptionsDialog::ChooseFile(QLineEdit* box, const QString& column, const QString& title, const QString& filter)
{
  const QString start = box->text().isEmpty() ? QDir::homePath() : QFileInfo(box->text()).absolutePath();
  const QString chosen = QFileDialog::getOpenFileName(this, title, start, filter);
  if (chosen.isEmpty())
    return;
  box->setText(chosen);
  Write(column, chosen);
}

void SystemOptionsDialog::ChooseImageFolder()
{
  QLineEdit* box = m_textSettings.value(QStringLiteral("DefaultImagePath"));
  const QString start = box->text().isEmpty() ? QDir::homePath() : box->text();
  const QString chosen = m_chooseFolder(this, QStringLiteral("Select Image Folder"), start);
  if (chosen.isEmpty())
    return;
  box->setText(Check4Slash(chosen));
  Write(QStringLiteral("DefaultImagePath"), box->text());
}

QString SystemOptionsDialog::DefaultImageFilter() const
{
  QStringList patterns;
  for (const QString& type : m_textSettings.value(QStringLiteral("DefaultImageType"))->text().split(QLatin1Char(';'))) {
    if (!type.trimmed().isEmpty())
      patterns << QStringLiteral("*.") + type.trimmed();
  }
  const QString all = tr("All Files (*)");
  if (patterns.isEmpty())
    return all;
  return QStringLiteral("Images (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;") + all;
}

void SystemOptionsDialog::UpdateRomPathList()
{
  m_romPaths->clear();
  m_romPaths->addItems(RomPathsOf(m_main.Connection(), m_main.Feedback(), m_curSys));
  m_removeRomPath->setEnabled(false);
  ShowFirstUseHelp();
}

void SystemOptionsDialog::ShowFirstUseHelp()
{
  const bool anyFolder = AnyRomPath(m_main.Connection(), m_main.Feedback());
  m_firstUse->setVisible(!anyFolder);
  m_scanNow->setEnabled(anyFolder);
}

void SystemOptionsDialog::AddRomFolder()
{
  const QString start = m_romPaths->count() > 0 ? m_romPaths->item(m_romPaths->count() - 1)->text() : QDir::homePath();
  const QString folder = m_chooseFolder(this, QStringLiteral("Select Rom Folder"), start);
  if (folder.isEmpty() || m_curSys == 0)
    return;
  if (AddRomPath(m_main.Connection(), m_main.Feedback(), m_curSys, folder))
    m_updateList = true;
  UpdateRomPathList();
}

void SystemOptionsDialog::RemoveRomFolder()
{
  const QList<QListWidgetItem*> selected = m_romPaths->selectedItems();
  if (selected.isEmpty())
    return;
  if (RemoveRomPath(m_main.Connection(), m_main.Feedback(), m_curSys, selected.first()->text()))
    m_updateList = true;
  UpdateRomPathList();
}

void SystemOptionsDialog::UpdateImageURLList(qint64 selectId)
{
  m_sites->blockSignals(true);
  m_sites->clear();
  for (const ImageSite& site :
       ImageSitesOf(m_main.Connection(), m_main.Feedback(), m_curSys).value_or(QList<ImageSite>())) {
    auto* item = new QListWidgetItem(site.url, m_sites);
    item->setData(Qt::UserRole, site.id);
    if (site.id == selectId)
      m_sites->setCurrentItem(item);
  }
  m_sites->blockSignals(false);
  OnSiteSelectionChanged();
}

qint64 SystemOptionsDialog::SelectedSiteId() const
{
  const QList<QListWidgetItem*> selected = m_sites->selectedItems();
  return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toLongLong();
}

void SystemOptionsDialog::OnSiteSelectionChanged()
{
  const bool chosen = SelectedSiteId() != 0;
  m_removeSite->setEnabled(chosen);
  m_addIgnore->setEnabled(chosen);
  UpdateIgnoreList();
}

void SystemOptionsDialog::UpdateIgnoreList()
{
  m_ignore->clear();
  m_removeIgnore->setEnabled(false);
  const qint64 siteId = SelectedSiteId();
  if (siteId == 0)
    return;
  m_ignore->addItems(IgnoredUrlsOf(m_main.Connection(), m_main.Feedback(), m_curSys, siteId).value_or(QStringList()));
}

QString SystemOptionsDialog::AskUrl(const QString& title)
{
  bool ok = false;
  const QString url = QInputDialog::getText(this, title, kEnterUrl, QLineEdit::Normal, QString(), &ok);
  return ok ? url.trimmed() : QString();
}

void SystemOptionsDialog::AddSite()
{
  const QString url = AskUrl(QStringLiteral("Image Search URL"));
  if (url.isEmpty() || m_curSys == 0)
    return;
  const std::optional<qint64> added = AddImageSite(m_main.Connection(), m_main.Feedback(), m_curSys, url);
  UpdateImageURLList(added.value_or(ImageSiteId(m_main.Connection(), m_main.Feedback(), m_curSys, url).value_or(0)));
}

void SystemOptionsDialog::RemoveSite()
{
  const QList<QListWidgetItem*> selected = m_sites->selectedItems();
  if (selected.isEmpty())
    return;
  RemoveImageSite(m_main.Connection(), m_main.Feedback(), m_curSys, selected.first()->text());
  UpdateImageURLList();
}

void SystemOptionsDialog::AddIgnore()
{
  const qint64 siteId = SelectedSiteId();
  if (siteId == 0)
    return;
  const QString url = AskUrl(QStringLiteral("Ignore Image URL"));
  if (url.isEmpty())
    return;
  AddIgnoredUrl(m_main.Connection(), m_main.Feedback(), m_curSys, siteId, url);
  UpdateIgnoreList();
}

void SystemOptionsDialog::RemoveIgnore()
{
  const QList<QListWidgetItem*> selected = m_ignore->selectedItems();
  const qint64 siteId = SelectedSiteId();
  if (selected.isEmpty() || siteId == 0)
    return;
  RemoveIgnoredUrl(m_main.Connection(), m_main.Feedback(), m_curSys, siteId, selected.first()->text());
  UpdateIgnoreList();
}

void SystemOptionsDialog::ScanNow()
{
  // A name being typed is taken before the scan reads the systems.
  RenameSystem();
  m_main.OpenScanner(true, true, this);
}

void SystemOptionsDialog::reject()
{
  RenameSystem();
  const std::optional<int> enabled = EnabledSystemCount(m_main.Connection(), m_main.Feedback());
  if (enabled && *enabled == 0) {
    QMessageBox::critical(this, kCaption, kOneSystemEnabledText);
    return;
  }
  ApplyToMainWindow();
  m_updateList = false;
  QDialog::reject();
}

void SystemOptionsDialog::ApplyToMainWindow()
{
  // Renamed or (dis)abled systems change the tabs, which the settings are looked up by.
  if (m_updateList || m_tabsChanged)
    m_main.UpdateTabs();
  if (m_updateList)
    ShowEditedSystemTab();
  m_main.RefreshSettings();
  m_main.Details().ViewGameInfo(m_main.CurrentGameID());
  m_main.Feedback().Yield();
}

void SystemOptionsDialog::ShowEditedSystemTab()
{
  // After a first setup the main window shows a system with ROM folders, the one set up here
  // when it has a tab.
  if (m_main.CurrentSettings().hasRomPath || RomPathsOf(m_main.Connection(), m_main.Feedback(), m_curSys).isEmpty())
    return;
  auto* tabs = m_main.findChild<QTabBar*>(QStringLiteral("tbsSys"));
  if (!tabs)
    return;
  for (int i = 0; i < tabs->count(); ++i) {
    if (tabs->tabText(i).compare(m_shownName, Qt::CaseInsensitive) == 0) {
      tabs->setCurrentIndex(i);
      return;
    }
  }
}

void RunSystemOptions(MainWindow& main)
{
  SystemOptionsDialog dialog(main);
  dialog.exec();
}

void OfferFirstSetup(MainWindow& main)
{
  if (!AnyRomPath(main.Connection(), main.Feedback()))
    RunSystemOptions(main);
}

}  // namespace quillon::ui
