#pragma once
// The main window's image commands (Scan > Images and the list's Download submenu): the resume
// question, then the image search window with its batch.
#include "images/ImageSearch.h"

class QWidget;

namespace quillon::ui {

class ImageSearchHost;

// Runs one image command. For the two commands over the ticked games the user is first asked
// "Resume previous search?" when an interrupted search left a position. While a search window is
// open, a further command only brings it to the front. Identified games are first looked up on
// the thumbnail server of `thumbnails` when it is usable.
void RunImageCommand(ImageSearchHost& host, Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder,
                     const SystemSettings& settings, ImageCommand command, QWidget* parent,
                     const ThumbnailSource& thumbnails = {});

}  // namespace quillon::ui
