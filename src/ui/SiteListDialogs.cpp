#include "ui/SiteListDialogs.h"

#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "images/SiteLists.h"
#include "ui/ImageSearchHost.h"

#include <QFileDialog>
#include <QScopeGuard>

namespace quillon::ui {

namespace {

const QString kSiteListFilter = QStringLiteral("*.ini");

// Runs `work` on the chosen file with the main window's controls locked.
void WithChosenFile(ImageSearchHost& host, Feedback& feedback, const DataFolder& dataFolder, QWidget* parent,
                    const SiteListFileChooser& choose, const QString& routine,
                    const std::function<void(const QString&)>& work)
{
  host.LockControls(true, QString());
  const auto unlock = qScopeGuard([&host] { host.LockControls(false, QString()); });
  const QString folder = EnsureSiteListFolder(dataFolder);
  if (folder.isEmpty()) {
    ReportError(feedback, kPathNotFound, routine, QStringLiteral("Cannot make the folder ") + dataFolder.UrlFolder());
    return;
  }
  const QString file = choose(parent, folder);
  if (file.isEmpty())
    return;
  work(file);
}

}  // namespace

QString ChooseSiteListToSave(QWidget* parent, const QString& folder)
{
  return QFileDialog::getSaveFileName(parent, kSiteListDialogTitle, folder, kSiteListFilter);
}

QString ChooseSiteListToOpen(QWidget* parent, const QString& folder)
{
  return QFileDialog::getOpenFileName(parent, kSiteListDialogTitle, folder, kSiteListFilter);
}

void ExportSiteListCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback,
                           const DataFolder& dataFolder, QWidget* parent, const SiteListFileChooser& choose)
{
  WithChosenFile(host, feedback, dataFolder, parent, choose, QStringLiteral("ExportSiteURLs"),
                 [&](const QString& file) { ExportSiteURLs(catalogue, feedback, file); });
}

void ImportSiteListCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback,
                           const DataFolder& dataFolder, QWidget* parent, const SiteListFileChooser& choose)
{
  WithChosenFile(host, feedback, dataFolder, parent, choose, QStringLiteral("ImportSiteURLs"),
                 [&](const QString& file) { ImportSiteURLs(catalogue, feedback, file); });
}

}  // namespace quillon::ui
