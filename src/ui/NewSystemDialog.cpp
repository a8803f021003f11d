#include "ui/NewSystemDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace quillon::ui {

NewSystemDialog::NewSystemDialog(const QList<QPair<qint64, QString>>& types, QWidget* parent) : QDialog(parent)
{
  setObjectName(QStringLiteral("NewSystem"));
  setWindowTitle(QStringLiteral("New System"));
  auto* form = new QFormLayout(this);
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("txtnewsystem"));
  form->addRow(QStringLiteral("&Name"), m_name);
  m_type = new QComboBox(this);
  m_type->setObjectName(QStringLiteral("cmbnewsystemtype"));
  for (const auto& [key, name] : types)
    m_type->addItem(name, key);
  form->addRow(QStringLiteral("&Type"), m_type);
  m_shortName = new QLineEdit(this);
  m_shortName->setObjectName(QStringLiteral("txtnewshortname"));
  m_shortName->setPlaceholderText(QStringLiteral("the name without blanks"));
  form->addRow(QStringLiteral("&Short name"), m_shortName);
  m_extensions = new QLineEdit(this);
  m_extensions->setObjectName(QStringLiteral("txtnewextensions"));
  m_extensions->setPlaceholderText(QStringLiteral("zip"));
  m_extensions->setToolTip(QStringLiteral("ROM extensions separated by \";\", such as cue;m3u;chd"));
  form->addRow(QStringLiteral("&Extensions"), m_extensions);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  m_ok->setObjectName(QStringLiteral("cmdnewsystemok"));
  m_ok->setEnabled(false);
  form->addRow(buttons);
  connect(m_name, &QLineEdit::textChanged, this,
          [this](const QString& text) { m_ok->setEnabled(!text.trimmed().isEmpty() && m_type->count() > 0); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

NewSystem NewSystemDialog::Chosen() const
{
  NewSystem system;
  system.name = m_name->text().trimmed();
  system.typeId = m_type->currentData().toLongLong();
  system.shortName = m_shortName->text().trimmed();
  system.extensions = m_extensions->text().trimmed();
  return system;
}

}  // namespace quillon::ui
