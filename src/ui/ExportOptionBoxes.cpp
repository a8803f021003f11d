#include "ui/ExportOptionBoxes.h"

#include "export/ExportOptions.h"

#include <QCheckBox>

namespace quillon::ui {

namespace {

const char* const kColumnProperty = "incColumn";

}  // namespace

QList<QCheckBox*> ExportOptionBoxes::Create(QWidget* parent, const QList<OptionBox>& boxes)
{
  const std::optional<ExportOptions> options = LoadExportOptions(m_catalogue, m_feedback);
  m_loaded = options.value_or(ExportOptions{});
  for (const OptionBox& option : boxes) {
    auto* box = new QCheckBox(QString::fromLatin1(option.caption), parent);
    box->setObjectName(QString::fromLatin1(option.objectName));
    const QString column = QString::fromLatin1(option.column);
    box->setProperty(kColumnProperty, column);
    if (options)
      box->setChecked(*options->Field(column));
    QObject::connect(box, &QCheckBox::clicked, box, [this, box] { Store(box); });
    m_boxes << box;
  }
  Remember();
  return m_boxes;
}

void ExportOptionBoxes::Remember()
{
  m_remembered.clear();
  for (QCheckBox* box : m_boxes)
    m_remembered << box->isChecked();
}

void ExportOptionBoxes::Restore()
{
  for (int i = 0; i < m_boxes.size() && i < m_remembered.size(); ++i) {
    m_boxes[i]->setChecked(m_remembered[i]);
    Store(m_boxes[i]);
  }
}

ExportOptions ExportOptionBoxes::Current() const
{
  ExportOptions options = m_loaded;
  for (QCheckBox* box : m_boxes)
    *options.Field(box->property(kColumnProperty).toString()) = box->isChecked();
  return options;
}

void ExportOptionBoxes::Store(QCheckBox* box)
{
  StoreExportOption(m_catalogue, m_feedback, box->property(kColumnProperty).toString(), box->isChecked());
}

}  // namespace quillon::ui
