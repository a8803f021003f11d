#pragma once
// The two export dialogs of the File menu: frmSaveAs ("Save as .My Options") and frmSaveH2
// ("Save to H2 Options"). Each is started by one entry function the main window calls from its
// menu action with an ExportContext of its current state.
#include "catalogue/DataFolder.h"
#include "export/ExportFiles.h"

#include <QString>

#include <functional>

class QWidget;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

// What the export dialogs take from the main window.
struct ExportContext {
  Catalogue* catalogue = nullptr;
  Feedback* feedback = nullptr;
  DataFolder folder;
  qint64 currentSystemId = 0;
  QString currentSystem;     // the current tab's caption
  QString genreFilter;       // the genre filter's text
  QString firstListedGenre;  // the genre filter's entry after the "all" entry
  QString firstSystemTab;
  QString firstGenreByName;
  std::function<void(bool lock)> lockControls;
  FileChooser chooseFile;  // the save dialog
};

// The genre filter's text when it shows every genre.
inline const QString kAllGenresFilter = QStringLiteral("[-------------------ALL------------------]");

// A modal save dialog for a FileChoice; nullopt when cancelled.
std::optional<QString> ShowSaveDialog(QWidget* parent, const FileChoice& choice);

// The menu commands "Save as .My" (action "SaveAsMy") and "Save to Meedio" ("exporth2menu").
void RunSaveAsMyCommand(ExportContext context, QWidget* parent);
void RunSaveToMeedioCommand(ExportContext context, QWidget* parent);

}  // namespace quillon::ui
