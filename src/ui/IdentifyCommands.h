#pragma once
// The window's commands that identify ROM files by their contents: the system's reference lists
// (import, remove), Verify Roms and Rename to Standard Names, each with its progress on the status
// line and a summary window at the end.
#include "identify/Renaming.h"
#include "identify/Verification.h"

#include <QString>

#include <functional>

class QWidget;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

// What the commands need from the window that starts them.
struct IdentifyContext {
  Catalogue& catalogue;
  Feedback& feedback;
  qint64 systemId = 0;
  QString systemName;
  QWidget* parent = nullptr;
  std::function<void(bool lock)> lockControls;  // the main window's control lock
  std::function<void()> refreshList;            // rebuilds the game list
};

inline const QString kRenameQuestionKey = QStringLiteral("rename-roms");

// Verifies the system's ROM files with the window's controls locked, then rebuilds the list.
VerifySummary VerifyRoms(IdentifyContext& context);
// Renames (or with `dryRun` plans) with the controls locked, then rebuilds the list.
RenameSummary RenameRoms(IdentifyContext& context, bool dryRun);

// The menu commands: the work above followed by its summary window. Renaming first shows how
// many files would be renamed and asks (question key "rename-roms").
void RunVerifyCommand(IdentifyContext& context);
void RunRenameCommand(IdentifyContext& context);
// The system's reference lists in their window.
void RunReferenceListsCommand(IdentifyContext& context);

}  // namespace quillon::ui
