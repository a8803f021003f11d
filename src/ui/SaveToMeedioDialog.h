#pragma once
// frmSaveH2, "Save to H2 Options": which systems the Meedio export writes and which fields it
// fills (the options of `Inc`); OK asks for the library file and runs the export.
#include "ui/ExportDialogs.h"
#include "ui/ExportOptionBoxes.h"

#include <QDialog>

class QRadioButton;

namespace quillon::ui {

class SaveToMeedioDialog : public QDialog {
  Q_OBJECT

 public:
  SaveToMeedioDialog(ExportContext context, QWidget* parent = nullptr);

  // The outcome of the last export OK started (Cancelled when the file dialog was cancelled).
  const ExportResult& Result() const { return m_result; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Activate();
  void OnOk();
  void OnCancel();

  ExportContext m_context;
  ExportOptionBoxes m_options;
  QRadioButton* m_currentSystem = nullptr;
  QRadioButton* m_allSystems = nullptr;
  ExportResult m_result;
};

}  // namespace quillon::ui
