#pragma once
// detaileditor: the countries, genres and makers in a grid, with New, Delete and the Batch Update
// that moves every game of one entry to another. Closing tells the window which sections changed,
// so it refreshes what it shows of them.
#include "settings/LookupTables.h"
#include "ui/StatusFeedback.h"
#include "ui/UiContext.h"

#include <QDialog>
#include <QSet>

class QComboBox;
class QPushButton;
class QTabBar;
class QTableView;

namespace quillon::ui {

class LookupGridModel;

// What the editor tells the window that opened it.
class DetailEditorHost {
 public:
  virtual ~DetailEditorHost() = default;

  // The editor closed after changing these sections: the lookup caches and what the window shows
  // of them are refreshed.
  virtual void LookupSectionsChanged(const QSet<LookupKind>& sections) = 0;
};

class DetailEditorDialog : public QDialog {
  Q_OBJECT

 public:
  DetailEditorDialog(UiContext context, DetailEditorHost& host, QWidget* parent);

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

  UiContext m_context;
  DetailEditorHost& m_host;
  // Questions and messages of the editor appear over it.
  DialogParentScope m_dialogParent;
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

// Opens the editor modally over `parent` (Edit > Detail Editor). Returns whether any data changed;
// the host has been told already.
bool RunDetailEditor(UiContext context, DetailEditorHost& host, QWidget* parent);

}  // namespace quillon::ui
