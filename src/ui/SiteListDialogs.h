#pragma once
// The File menu's site-list commands: Export > Image Site URLs and Import > Image Site URLs, each
// with its file dialog ("Quillon", "*.ini") starting in the data folder's URL folder.
#include <QString>

#include <functional>

class QWidget;

namespace quillon {
class Catalogue;
class DataFolder;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

class ImageSearchHost;

// Asks for a file, starting in `folder`; an empty result means the dialog was cancelled.
using SiteListFileChooser = std::function<QString(QWidget* parent, const QString& folder)>;

QString ChooseSiteListToSave(QWidget* parent, const QString& folder);
QString ChooseSiteListToOpen(QWidget* parent, const QString& folder);

// The main window's controls are locked while a command runs; a cancelled dialog ends it silently.
void ExportSiteListCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback,
                           const DataFolder& dataFolder, QWidget* parent,
                           const SiteListFileChooser& choose = ChooseSiteListToSave);
void ImportSiteListCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback,
                           const DataFolder& dataFolder, QWidget* parent,
                           const SiteListFileChooser& choose = ChooseSiteListToOpen);

}  // namespace quillon::ui
