#include "ui/SystemSettingsPane.h"

#include "settings/SystemOptions.h"
#include "ui/StatusFeedback.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace quillon::ui {

namespace {

// The columns whose boxes take whole numbers.
const QStringList kNumberColumns{QStringLiteral("ImageLimit"), QStringLiteral("MinImgWidth"),
                                 QStringLiteral("MinImgHeight"), QStringLiteral("TimeOut"), QStringLiteral("AutoDL")};

QString Shown(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

}  // namespace

QPushButton* PaneButton(const QString& objectName, const QString& caption, QWidget* parent)
{
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(objectName);
  return button;
}

QToolButton* BrowseButton(const QString& objectName, QWidget* parent)
{
  auto* button = new QToolButton(parent);
  button->setObjectName(objectName);
  button->setText(QStringLiteral("..."));
  return button;
}

SystemSettingsPane::SystemSettingsPane(UiContext context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_chooseFolder([](QWidget* owner, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, title, start);
      })
{
}

void SystemSettingsPane::ShowSystem(qint64 systemId, const Rows& record)
{
  const PaneFilling filling(*this);
  m_systemId = systemId;
  for (auto it = m_textSettings.cbegin(); it != m_textSettings.cend(); ++it)
    it.value()->setText(Shown(record.Value(0, it.key())));
  for (auto it = m_checkSettings.cbegin(); it != m_checkSettings.cend(); ++it)
    it.value()->setChecked(IsTrue(record.Value(0, it.key())));
}

QLineEdit* SystemSettingsPane::AddTextSetting(const QString& objectName, const QString& column, QWidget* parent)
{
  auto* box = new QLineEdit(parent);
  box->setObjectName(objectName);
  if (kNumberColumns.contains(column))
    box->setValidator(new QIntValidator(0, column == QStringLiteral("AutoDL") ? 100 : 99999, box));
  connect(box, &QLineEdit::textEdited, this, [this, column](const QString& text) { Write(column, text); });
  m_textSettings.insert(column, box);
  return box;
}

QCheckBox* SystemSettingsPane::AddCheckSetting(const QString& objectName, const QString& caption, const QString& column,
                                               QWidget* parent, const QString& toolTip)
{
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(objectName);
  box->setToolTip(toolTip);
  connect(box, &QCheckBox::clicked, this,
          [this, column](bool on) { Write(column, on ? QStringLiteral("1") : QStringLiteral("0")); });
  m_checkSettings.insert(column, box);
  return box;
}

void SystemSettingsPane::Write(const QString& column, const QString& typed)
{
  if (m_filling || m_systemId == 0)
    return;
  SetSystemSetting(m_context.catalogue, m_context.feedback, m_systemId, column, typed);
}

void SystemSettingsPane::ChooseFile(QLineEdit* box, const QString& column, const QString& title, const QString& filter)
{
  const QString start = box->text().isEmpty() ? QDir::homePath() : QFileInfo(box->text()).absolutePath();
  const QString chosen = QFileDialog::getOpenFileName(this, title, start, filter);
  if (chosen.isEmpty())
    return;
  box->setText(chosen);
  Write(column, chosen);
}

}  // namespace quillon::ui
