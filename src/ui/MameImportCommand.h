#pragma once
// The main window's Mame command: the user picks the Mame executable, its game list fills the
// arcade system, and the list is rebuilt.
#include "scan/MameImport.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace quillon::ui {

class MainWindow;

// The whole command: dialog, import, list rebuild. A cancelled dialog changes nothing.
void RunMameImportCommand(MainWindow& window);

// The command after its dialog: imports from `executable` with the window's controls locked.
MameImportSummary RunMameImport(MainWindow& window, const QString& executable);

// The "Import from Mame" file dialog: Windows programs (*.exe) and programs without extension,
// starting in the folder of `mame` on the PATH, else /usr/games.
QFileDialog* CreateMameDialog(QWidget* parent);

}  // namespace quillon::ui
