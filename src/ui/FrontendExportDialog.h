#pragma once
// The export dialog of File > Export > "ES-DE...", "Pegasus..." and "RetroArch...": which systems,
// where the files go, what happens to the pictures and which games; then the run with its progress
// and a summary of what was written and what was left out, and why.
#include "export/frontends/FrontendExport.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

// What the dialog needs from the window that opens it.
struct FrontendExportContext {
  Catalogue* catalogue = nullptr;
  Feedback* feedback = nullptr;  // the window's status line and messages
  qint64 currentSystemId = 0;    // ticked in the system list at first
  std::function<void(bool lock)> lockControls;
};

// The menu action of a format: "ExportEsde", "ExportPegasus", "ExportRetroArch".
QString FrontendActionName(FrontendFormat format);
// Its caption: "ES-DE...", "Pegasus...", "RetroArch...".
QString FrontendActionCaption(FrontendFormat format);

class FrontendExportDialog : public QDialog {
  Q_OBJECT

 public:
  FrontendExportDialog(FrontendFormat format, FrontendExportContext context, QWidget* parent = nullptr);

  // How a folder is chosen (title, start folder -> folder, empty when cancelled): the toolkit's
  // folder dialog unless replaced (tests answer it directly).
  using FolderChooser = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;
  void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

  // Runs the export with the choices shown (what the Export button does).
  void Export();
  const FrontendExportResult& Result() const { return m_result; }

 private:
  QWidget* BuildSystems();
  QWidget* BuildDestination();
  QWidget* BuildChoices();
  void FillSystems();
  void ChooseDestination();
  void UpdateDestination();
  FrontendExportRequest Request() const;
  void SetRunning(bool running);

  FrontendFormat m_format;
  FrontendExportContext m_context;
  FolderChooser m_chooseFolder;
  FrontendExportResult m_result;

  QListWidget* m_systems = nullptr;
  QRadioButton* m_romFolders = nullptr;  // Pegasus only
  QRadioButton* m_ownFolder = nullptr;   // Pegasus only
  QLineEdit* m_destination = nullptr;
  QToolButton* m_chooseDestination = nullptr;
  QButtonGroup* m_media = nullptr;
  QRadioButton* m_allGames = nullptr;
  QProgressBar* m_progress = nullptr;
  QPlainTextEdit* m_summary = nullptr;
  QPushButton* m_export = nullptr;
  QPushButton* m_close = nullptr;
};

// Opens the dialog modally.
void RunFrontendExport(FrontendFormat format, FrontendExportContext context, QWidget* parent);

}  // namespace quillon::ui
