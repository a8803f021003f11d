#pragma once
// What the panes of the options dialog share: text boxes and check boxes bound to a column of the
// shown system's row, written as the user changes them and never while the pane fills them, and
// the file and folder choosers behind their "..." buttons.
#include "catalogue/Catalogue.h"
#include "ui/UiContext.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quillon::ui {

// How a folder is chosen (title, start folder -> folder, empty when cancelled).
using FolderChooser = std::function<QString(QWidget* parent, const QString& title, const QString& start)>;

class SystemSettingsPane : public QWidget {
  Q_OBJECT

 public:
  SystemSettingsPane(UiContext context, QWidget* parent);

  // Shows a system's settings from its row of System; writes nothing.
  virtual void ShowSystem(qint64 systemId, const Rows& record);
  qint64 SystemId() const { return m_systemId; }

  // The toolkit's folder dialog unless replaced (tests answer it directly).
  void SetFolderChooser(FolderChooser chooser) { m_chooseFolder = std::move(chooser); }

 protected:
  QLineEdit* AddTextSetting(const QString& objectName, const QString& column, QWidget* parent);
  QCheckBox* AddCheckSetting(const QString& objectName, const QString& caption, const QString& column, QWidget* parent,
                             const QString& toolTip = {});
  QLineEdit* TextSetting(const QString& column) const { return m_textSettings.value(column); }
  // Writes one setting of the shown system, unless the pane is filling its boxes.
  void Write(const QString& column, const QString& typed);
  bool Filling() const { return m_filling; }
  // Lets the user pick a file for a box and writes it.
  void ChooseFile(QLineEdit* box, const QString& column, const QString& title, const QString& filter);
  QString ChooseFolder(const QString& title, const QString& start) { return m_chooseFolder(this, title, start); }

  UiContext m_context;

 private:
  FolderChooser m_chooseFolder;
  qint64 m_systemId = 0;
  bool m_filling = false;
  QHash<QString, QLineEdit*> m_textSettings;   // column -> box
  QHash<QString, QCheckBox*> m_checkSettings;  // column -> check box

  friend class PaneFilling;
};

// The pane fills its boxes while this lives: what they report is no edit of the user's.
class PaneFilling {
 public:
  explicit PaneFilling(SystemSettingsPane& pane) : m_pane(pane), m_was(pane.m_filling) { m_pane.m_filling = true; }
  ~PaneFilling() { m_pane.m_filling = m_was; }
  PaneFilling(const PaneFilling&) = delete;
  PaneFilling& operator=(const PaneFilling&) = delete;

 private:
  SystemSettingsPane& m_pane;
  bool m_was;
};

QPushButton* PaneButton(const QString& objectName, const QString& caption, QWidget* parent);
QToolButton* BrowseButton(const QString& objectName, QWidget* parent);

}  // namespace quillon::ui
