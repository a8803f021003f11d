#include "ui/DeleteGameDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::ui {

DeleteGameDialog::DeleteGameDialog(int count, QWidget* parent) : QDialog(parent)
{
  setObjectName(QStringLiteral("delgame"));
  setWindowTitle(QStringLiteral("Delete Game"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      count == 1 ? tr("What should happen to the game?") : tr("What should happen to the %1 ticked games?").arg(count),
      this));
  auto* group = new QButtonGroup(this);
  const std::tuple<const char*, QString, DeleteMode> options[] = {
      {"optcomplete", QStringLiteral("Delete from Computer && Database"), DeleteMode::ComputerAndDatabase},
      {"optdeldb", QStringLiteral("Remove Database Entry"), DeleteMode::Database},
      {"optedit", QStringLiteral("Remove from List, but leave in Database"), DeleteMode::ListOnly}};
  for (const auto& [name, caption, mode] : options) {
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(QString::fromLatin1(name));
    option->setChecked(mode == m_mode);
    group->addButton(option);
    const DeleteMode chosen = mode;
    connect(option, &QRadioButton::toggled, this, [this, chosen](bool on) {
      if (on)
        m_mode = chosen;
    });
    layout->addWidget(option);
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(QStringLiteral("OKButton"));
  QPushButton* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace quillon::ui
