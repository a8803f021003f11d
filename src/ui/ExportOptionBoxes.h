#pragma once
// The check boxes of the export options, each bound to its `Inc` column: filled from the row when
// the dialog loads, stored at once when clicked, and put back by Cancel.
#include "export/ExportOptions.h"

#include <QList>
#include <QString>

class QCheckBox;
class QWidget;

namespace quillon {
class Catalogue;
class Feedback;
}  // namespace quillon

namespace quillon::ui {

struct OptionBox {
  const char* objectName;
  const char* caption;
  const char* column;
};

class ExportOptionBoxes {
 public:
  ExportOptionBoxes(Catalogue& catalogue, Feedback& feedback) : m_catalogue(catalogue), m_feedback(feedback) {}

  // Makes the boxes (children of `parent`) and fills them from `Inc`.
  QList<QCheckBox*> Create(QWidget* parent, const QList<OptionBox>& boxes);
  // Remembers the values shown, for Cancel.
  void Remember();
  // Puts the remembered values back and stores them.
  void Restore();
  // The options as the boxes show them (columns without a box as stored).
  ExportOptions Current() const;

 private:
  void Store(QCheckBox* box);

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  QList<QCheckBox*> m_boxes;
  QList<bool> m_remembered;
  ExportOptions m_loaded;
};

}  // namespace quillon::ui
