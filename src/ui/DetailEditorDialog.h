#pragma once
// detaileditor: the countries, genres and makers in a grid, with New, Delete and the Batch Update
// that moves every game of one entry to another. Closing refreshes what the main window shows of
// each section that changed.
#include "settings/LookupTables.h"

#include <QDialog>
#include <QSet>

class QComboBox;
class QPushButton;
class QTabBar;
class QTableView;

namespace quillon::ui {

class LookupGridModel;
class MainWindow;

class DetailEditorDialog : public QDialog {
  Q_OBJECT

 public:
  explicit DetailEditorDialog(MainWindow& main, QWidget* parent = nullptr);
  ~DetailEditorDialog() override;

  LookupKind Section() const;
  // Whether a section's data changed while the dialog was open.
  bool Changed(LookupKind kind) const { return m_changed.contains(kind); }
  bool AnyChanged() const { return !m_changed.isEmpty(); }

  void done(int result) override;

 private:
  void BuildControls();
  void LoadSection();
  void FillCombos();
  void OnCurrentCellChanged(const QModelIndex& current, const QModelIndex& previous);
  void OnSaved(qint64 id);
  void SelectEntry(qint64 id);
  void NewEntry();
  void DeleteEntry();
  void BatchUpdate();
  void MarkChanged();
  void RefreshMainWindow();

  MainWindow& m_main;
  QSet<LookupKind> m_changed;
  bool m_closed = false;
  QTabBar* m_tabs = nullptr;
  QTableView* m_grid = nullptr;
  LookupGridModel* m_model = nullptr;
  QPushButton* m_new = nullptr;
  QPushButton* m_delete = nullptr;
  QComboBox* m_from = nullptr;
  QComboBox* m_to = nullptr;
};

// Opens the editor modally over the main window (Edit > Detail Editor). Returns whether any
// data changed; the main window has then been refreshed already.
bool RunDetailEditor(MainWindow& main);

}  // namespace quillon::ui
