#include "ui/SystemImagesPane.h"

#include "common/Paths.h"
#include "settings/SystemSites.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kEnterUrl = QStringLiteral("Enter URL:");

}  // namespace

SystemImagesPane::SystemImagesPane(UiContext context, QWidget* parent) : SystemSettingsPane(context, parent)
{
  setObjectName(QStringLiteral("frmImg"));
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(BuildPictureFolder());
  auto* lists = new QHBoxLayout;
  lists->addWidget(BuildSiteList(), 1);
  lists->addWidget(BuildIgnoreList(), 1);
  layout->addLayout(lists, 1);
  layout->addWidget(AddCheckSetting(QStringLiteral("chkappend"), QStringLiteral("&Append Rom Name To Search URL"),
                                    QStringLiteral("AppendFullName"), this));
  layout->addLayout(BuildSearchLimits());
}

QLayout* SystemImagesPane::BuildPictureFolder()
{
  auto* pictures = new QGridLayout;
  QLineEdit* folder = AddTextSetting(QStringLiteral("txtimagepath"), QStringLiteral("DefaultImagePath"), this);
  QToolButton* chooseFolder = BrowseButton(QStringLiteral("cmdimagefile"), this);
  connect(chooseFolder, &QToolButton::clicked, this, &SystemImagesPane::ChooseImageFolder);
  QLineEdit* types = AddTextSetting(QStringLiteral("txtdefimg"), QStringLiteral("DefaultImageType"), this);
  types->setToolTip(tr("Picture extensions separated by \";\" (for example jpg;png)"));
  QLineEdit* fallback = AddTextSetting(QStringLiteral("txtdefaultimage"), QStringLiteral("DefaultImage"), this);
  fallback->setToolTip(tr("The picture a game gets when the image search finds none"));
  QToolButton* chooseFallback = BrowseButton(QStringLiteral("cmddefaultimage"), this);
  connect(chooseFallback, &QToolButton::clicked, this, [this, fallback] {
    ChooseFile(fallback, QStringLiteral("DefaultImage"), QStringLiteral("Default Image"), DefaultImageFilter());
  });
  pictures->addWidget(new QLabel(QStringLiteral("Default Image Path:"), this), 0, 0);
  pictures->addWidget(folder, 0, 1);
  pictures->addWidget(chooseFolder, 0, 2);
  pictures->addWidget(new QLabel(QStringLiteral("Default Image Types"), this), 1, 0);
  pictures->addWidget(types, 1, 1);
  pictures->addWidget(new QLabel(QStringLiteral("Default Image"), this), 2, 0);
  pictures->addWidget(fallback, 2, 1);
  pictures->addWidget(chooseFallback, 2, 2);
  return pictures;
}

QWidget* SystemImagesPane::BuildSiteList()
{
  auto* sites = new QGroupBox(QStringLiteral("Image Search URL"), this);
  auto* sitesLayout = new QVBoxLayout(sites);
  m_sites = new QListWidget(sites);
  m_sites->setObjectName(QStringLiteral("lstImgURL"));
  m_sites->setToolTip(tr("Sites used to download cover art"));
  connect(m_sites, &QListWidget::itemSelectionChanged, this, &SystemImagesPane::OnSiteSelectionChanged);
  auto* siteButtons = new QHBoxLayout;
  QPushButton* addSite = PaneButton(QStringLiteral("Command1"), tr("Add..."), sites);
  m_removeSite = PaneButton(QStringLiteral("cmdremImgURL"), tr("Remove"), sites);
  connect(addSite, &QPushButton::clicked, this, &SystemImagesPane::AddSite);
  connect(m_removeSite, &QPushButton::clicked, this, &SystemImagesPane::RemoveSite);
  siteButtons->addWidget(addSite);
  siteButtons->addWidget(m_removeSite);
  siteButtons->addStretch(1);
  sitesLayout->addWidget(m_sites, 1);
  sitesLayout->addLayout(siteButtons);
  return sites;
}

QWidget* SystemImagesPane::BuildIgnoreList()
{
  auto* ignore = new QGroupBox(QStringLiteral("Ignore List"), this);
  auto* ignoreLayout = new QVBoxLayout(ignore);
  m_ignore = new QListWidget(ignore);
  m_ignore->setObjectName(QStringLiteral("lstignore"));
  m_ignore->setToolTip(tr("URLs ignored when downloading, per site"));
  connect(m_ignore, &QListWidget::itemSelectionChanged, this,
          [this] { m_removeIgnore->setEnabled(!m_ignore->selectedItems().isEmpty()); });
  auto* ignoreButtons = new QHBoxLayout;
  m_addIgnore = PaneButton(QStringLiteral("cmdaddignore"), tr("Add..."), ignore);
  m_removeIgnore = PaneButton(QStringLiteral("cmdremignore"), tr("Remove"), ignore);
  connect(m_addIgnore, &QPushButton::clicked, this, &SystemImagesPane::AddIgnore);
  connect(m_removeIgnore, &QPushButton::clicked, this, &SystemImagesPane::RemoveIgnore);
  ignoreButtons->addWidget(m_addIgnore);
  ignoreButtons->addWidget(m_removeIgnore);
  ignoreButtons->addStretch(1);
  ignoreLayout->addWidget(m_ignore, 1);
  ignoreLayout->addLayout(ignoreButtons);
  return ignore;
}

QLayout* SystemImagesPane::BuildSearchLimits()
{
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
    QLineEdit* box = AddTextSetting(QString::fromLatin1(name), QString::fromLatin1(column), this);
    box->setToolTip(tr(tip));
    search->addWidget(new QLabel(QString::fromLatin1(caption), this), index / 2, (index % 2) * 2);
    search->addWidget(box, index / 2, (index % 2) * 2 + 1);
    ++index;
  }
  // A page is given at least a second: "0" is stored, and shown, as 1.
  QLineEdit* timeOut = TextSetting(QStringLiteral("TimeOut"));
  connect(timeOut, &QLineEdit::editingFinished, this, [timeOut] {
    if (timeOut->text() == QStringLiteral("0"))
      timeOut->setText(QStringLiteral("1"));
  });
  search->addWidget(AddCheckSetting(QStringLiteral("chkIgnoreMultiples"), QStringLiteral("Ignore Multiples"),
                                    QStringLiteral("IgnoreMultiples"), this,
                                    tr("Never ask: take the best match or pass the game over")),
                    index / 2, 0, 1, 2);
  return search;
}

void SystemImagesPane::ShowSystem(qint64 systemId, const Rows& record)
{
  SystemSettingsPane::ShowSystem(systemId, record);
  const PaneFilling filling(*this);
  UpdateImageURLList();
}

void SystemImagesPane::ChooseImageFolder()
{
  QLineEdit* box = TextSetting(QStringLiteral("DefaultImagePath"));
  const QString start = box->text().isEmpty() ? QDir::homePath() : box->text();
  const QString chosen = ChooseFolder(QStringLiteral("Select Image Folder"), start);
  if (chosen.isEmpty())
    return;
  box->setText(Check4Slash(chosen));
  Write(QStringLiteral("DefaultImagePath"), box->text());
}

QString SystemImagesPane::DefaultImageFilter() const
{
  QStringList patterns;
  for (const QString& type : TextSetting(QStringLiteral("DefaultImageType"))->text().split(QLatin1Char(';'))) {
    if (!type.trimmed().isEmpty())
      patterns << QStringLiteral("*.") + type.trimmed();
  }
  const QString all = tr("All Files (*)");
  if (patterns.isEmpty())
    return all;
  return QStringLiteral("Images (") + patterns.join(QLatin1Char(' ')) + QStringLiteral(");;") + all;
}

void SystemImagesPane::UpdateImageURLList(qint64 selectId)
{
  m_sites->blockSignals(true);
  m_sites->clear();
  for (const ImageSite& site :
       ImageSitesOf(m_context.catalogue, m_context.feedback, SystemId()).value_or(QList<ImageSite>())) {
    auto* item = new QListWidgetItem(site.url, m_sites);
    item->setData(Qt::UserRole, site.id);
    if (site.id == selectId)
      m_sites->setCurrentItem(item);
  }
  m_sites->blockSignals(false);
  OnSiteSelectionChanged();
}

qint64 SystemImagesPane::SelectedSiteId() const
{
  const QList<QListWidgetItem*> selected = m_sites->selectedItems();
  return selected.isEmpty() ? 0 : selected.first()->data(Qt::UserRole).toLongLong();
}

void SystemImagesPane::OnSiteSelectionChanged()
{
  const bool chosen = SelectedSiteId() != 0;
  m_removeSite->setEnabled(chosen);
  m_addIgnore->setEnabled(chosen);
  UpdateIgnoreList();
}

void SystemImagesPane::UpdateIgnoreList()
{
  m_ignore->clear();
  m_removeIgnore->setEnabled(false);
  const qint64 siteId = SelectedSiteId();
  if (siteId == 0)
    return;
  m_ignore->addItems(
      IgnoredUrlsOf(m_context.catalogue, m_context.feedback, SystemId(), siteId).value_or(QStringList()));
}

QString SystemImagesPane::AskUrl(const QString& title)
{
  bool ok = false;
  const QString url = QInputDialog::getText(this, title, kEnterUrl, QLineEdit::Normal, QString(), &ok);
  return ok ? url.trimmed() : QString();
}

void SystemImagesPane::AddSite()
{
  const QString url = AskUrl(QStringLiteral("Image Search URL"));
  if (url.isEmpty() || SystemId() == 0)
    return;
  const std::optional<qint64> added = AddImageSite(m_context.catalogue, m_context.feedback, SystemId(), url);
  UpdateImageURLList(added.value_or(ImageSiteId(m_context.catalogue, m_context.feedback, SystemId(), url).value_or(0)));
}

void SystemImagesPane::RemoveSite()
{
  const QList<QListWidgetItem*> selected = m_sites->selectedItems();
  if (selected.isEmpty())
    return;
  RemoveImageSite(m_context.catalogue, m_context.feedback, SystemId(), selected.first()->text());
  UpdateImageURLList();
}

void SystemImagesPane::AddIgnore()
{
  const qint64 siteId = SelectedSiteId();
  if (siteId == 0)
    return;
  const QString url = AskUrl(QStringLiteral("Ignore Image URL"));
  if (url.isEmpty())
    return;
  AddIgnoredUrl(m_context.catalogue, m_context.feedback, SystemId(), siteId, url);
  UpdateIgnoreList();
}

void SystemImagesPane::RemoveIgnore()
{
  const QList<QListWidgetItem*> selected = m_ignore->selectedItems();
  const qint64 siteId = SelectedSiteId();
  if (selected.isEmpty() || siteId == 0)
    return;
  RemoveIgnoredUrl(m_context.catalogue, m_context.feedback, SystemId(), siteId, selected.first()->text());
  UpdateIgnoreList();
}

}  // namespace quillon::ui
