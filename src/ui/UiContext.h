#pragma once
// What every window, dialog and pane of the program is built from: the open catalogue, the status
// line with its progress bar and questions, the lookup caches and the data folder. The main window
// makes one for the windows it opens; a test makes its own.
namespace quillon {
class Catalogue;
class DataFolder;
class Lookups;
}  // namespace quillon

namespace quillon::ui {

class StatusFeedback;

struct UiContext {
  Catalogue& catalogue;
  StatusFeedback& feedback;
  Lookups& lookups;
  const DataFolder& folder;
};

}  // namespace quillon::ui
