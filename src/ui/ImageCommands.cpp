#include "ui/ImageCommands.h"

#include "ui/ImageBrowser.h"

#include <QPointer>

namespace quillon::ui {

void RunImageCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
                     const SystemSettings& settings, ImageCommand command, QWidget* parent,
                     const ThumbnailSource& thumbnails)
{
  if (parent) {
    ImageBrowser* open = parent->findChild<ImageBrowser*>(QStringLiteral("frmBrowser"), Qt::FindDirectChildrenOnly);
    if (open && open->Search().IsRunning()) {
      open->raise();
      open->activateWindow();
      return;
    }
  }
  const bool resume = AskResumeBatch(catalogue, feedback, settings.systemId, command);
  QPointer<ImageBrowser> browser = new ImageBrowser(host, catalogue, feedback, dataFolder, settings, parent);
  browser->Search().SetThumbnails(thumbnails);
  browser->Run(command, resume);
  if (browser)
    browser->deleteLater();
}

}  // namespace quillon::ui
