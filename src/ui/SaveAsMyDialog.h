#pragma once
// frmSaveAs, "Save as .My Options": which systems and genres the .my export writes, in one file
// or one per genre, and which record lines (the options of `Inc`).
#include "ui/ExportDialogs.h"
#include "ui/ExportOptionBoxes.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace quillon::ui {

class SaveAsMyDialog : public QDialog {
  Q_OBJECT

 public:
  SaveAsMyDialog(ExportContext context, QWidget* parent = nullptr);

  // The outcome of the last export OK started.
  const ExportResult& Result() const { return m_result; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Activate();
  void OnOk();
  void OnCancel();
  void UpdateAutoSave();

  ExportContext m_context;
  ExportOptionBoxes m_options;
  QRadioButton* m_currentSystem = nullptr;
  QRadioButton* m_allSystems = nullptr;
  QRadioButton* m_currentGenre = nullptr;
  QRadioButton* m_allGenres = nullptr;
  QRadioButton* m_separateFiles = nullptr;
  QCheckBox* m_autoSave = nullptr;
  ExportResult m_result;
};

}  // namespace quillon::ui
