#pragma once
// The main window's Mame command: the user picks the Mame executable, its game list fills the
// arcade system, and the list is rebuilt.
#include "scan/MameImport.h"
#include "ui/UiContext.h"

#include <QString>

class QFileDialog;
class QWidget;

namespace quillon::ui {

class CommandHost;

// The whole command: dialog, import, list rebuild. A cancelled dialog changes nothing.
void RunMameImportCommand(UiContext context, CommandHost& host, QWidget* parent);

// The command after its dialog: imports from `executable` with the window's controls locked; the
// progress dialog opens over `parent`.
MameImportSummary RunMameImport(UiContext context, CommandHost& host, QWidget* parent, const QString& executable);

// The "Import from Mame" file dialog: Windows programs (*.exe) and programs without extension,
// starting in the folder of `mame` on the PATH, else /usr/games.
QFileDialog* CreateMameDialog(QWidget* parent);

}  // namespace quillon::ui
