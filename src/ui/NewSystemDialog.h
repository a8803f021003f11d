#pragma once
// "New System": asks the name and type of a system the user adds, and optionally its short name
// and ROM extensions.
#include "settings/SystemRows.h"

#include <QDialog>
#include <QList>
#include <QPair>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace quillon::ui {

class NewSystemDialog : public QDialog {
  Q_OBJECT

 public:
  // `types`: (key, name) of the system types, in the order offered; the first is preselected.
  NewSystemDialog(const QList<QPair<qint64, QString>>& types, QWidget* parent);

  NewSystem Chosen() const;

 private:
  QLineEdit* m_name = nullptr;
  QComboBox* m_type = nullptr;
  QLineEdit* m_shortName = nullptr;
  QLineEdit* m_extensions = nullptr;
  QPushButton* m_ok = nullptr;
};

}  // namespace quillon::ui
