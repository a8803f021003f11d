#pragma once
// frmRefLists: the reference lists of one system (name, version, entries, format), with Import
// (DAT files and Mame software lists, from a file dialog that starts in the mame-data folder when
// it is installed) and Remove.
#include <QDialog>
#include <QStringList>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

inline const QString kRemoveListQuestionKey = QStringLiteral("remove-list");

class ReferenceListsDialog final : public QDialog {
  Q_OBJECT

 public:
  ReferenceListsDialog(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QString& systemName,
                       QWidget* parent = nullptr);

  // How Import asks for files; a file dialog unless set (tests answer it themselves).
  void SetFileChooser(std::function<QStringList()> chooser) { m_chooseFiles = std::move(chooser); }
  // Imports files as Import does after its dialog; true when every file was imported.
  bool ImportFiles(const QStringList& files);
  // Removes the list shown in `row` (asking first); true when it was removed.
  bool RemoveRow(int row);
  // True once a list was imported or removed (the game list's results may have changed).
  bool Changed() const { return m_changed; }
  QTreeWidget& Lists() { return *m_lists; }

 private:
  void Refresh();
  void OnImport();
  QStringList ChooseFiles();

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  qint64 m_systemId;
  std::function<QStringList()> m_chooseFiles;
  QTreeWidget* m_lists = nullptr;
  QPushButton* m_removeButton = nullptr;
  bool m_changed = false;
};

}  // namespace quillon::ui
