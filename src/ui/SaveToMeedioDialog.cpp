#include "ui/SaveToMeedioDialog.h"

#include "catalogue/Feedback.h"
#include "export/MeedioExport.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QList<OptionBox> kMeedioOptionBoxes = {
    {"chkcountry", "Country", "IncC"},
    {"chkyear", "Year", "IncY"},
    {"chkman", "Manufacturer", "IncM"},
    {"chkrating", "Rating", "IncR"},
    {"Chkov", "Overview", "IncO"},
    {"chksys", "System", "IncS"},
    {"chkgenre", "Genre", "IncG"},
    {"chkshort", "Use Short Filenames", "SFile"},
    {"chkquotes", "Add Quotes To Filename", "IncQ"},
    {"chkexclude", "Exclude [Unknown]", "ExUnk"},
};

}  // namespace

SaveToMeedioDialog::SaveToMeedioDialog(ExportContext context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_options(*m_context.catalogue, *m_context.feedback)
{
  setObjectName(QStringLiteral("frmSaveH2"));
  setWindowTitle(QStringLiteral("Save to H2 Options"));
  setModal(true);

  auto* systems = new QGroupBox(QStringLiteral("Systems"), this);
  auto* systemsLayout = new QVBoxLayout(systems);
  m_currentSystem = new QRadioButton(QStringLiteral("Current System ()"), systems);
  m_currentSystem->setObjectName(QStringLiteral("optCurSys"));
  m_allSystems = new QRadioButton(QStringLiteral("All Systems"), systems);
  m_allSystems->setObjectName(QStringLiteral("optAllSys"));
  systemsLayout->addWidget(m_currentSystem);
  systemsLayout->addWidget(m_allSystems);
  systemsLayout->addStretch(1);

  auto* include = new QGroupBox(QStringLiteral("Include"), this);
  auto* includeLayout = new QGridLayout(include);
  const QList<QCheckBox*> boxes = m_options.Create(include, kMeedioOptionBoxes);
  for (int i = 0; i < boxes.size(); ++i)
    includeLayout->addWidget(boxes[i], i / 2, i % 2);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Command1"));
  connect(ok, &QPushButton::clicked, this, &SaveToMeedioDialog::OnOk);
  connect(cancel, &QPushButton::clicked, this, &SaveToMeedioDialog::OnCancel);

  auto* options = new QHBoxLayout;
  options->addWidget(systems);
  options->addWidget(include);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(options);
  layout->addLayout(buttons);
  Activate();
}

void SaveToMeedioDialog::showEvent(QShowEvent* event)
{
  Activate();
  QDialog::showEvent(event);
}

void SaveToMeedioDialog::Activate()
{
  m_currentSystem->setText(QStringLiteral("Current System (") + m_context.currentSystem + QLatin1Char(')'));
  m_currentSystem->setChecked(true);
  m_options.Remember();
}

void SaveToMeedioDialog::OnCancel()
{
  m_options.Restore();
  reject();
}

void SaveToMeedioDialog::OnOk()
{
  hide();
  const std::optional<QString> library = m_context.chooseFile(
      FileChoice{kExportToMeedioTitle, kMeedioFileFilter, kMeedioSuffix, DocumentsFolder(), QString()});
  if (!library || library->isEmpty()) {
    m_context.feedback->SetStatus(StatusKind::Text, kMeedioChoiceCancelledText);
    m_result = ExportResult{ExportResult::Outcome::Cancelled, 0, {}, {}};
    reject();
    return;
  }
  H2ExportRequest request;
  request.systems = m_allSystems->isChecked() ? SystemScope::All : SystemScope::Current;
  request.currentSystemId = m_context.currentSystemId;
  request.options = m_options.Current();
  request.library = *library;
  if (m_context.lockControls)
    m_context.lockControls(true);
  m_result = ExportToH2(*m_context.catalogue, *m_context.feedback, m_context.folder, request);
  if (m_context.lockControls)
    m_context.lockControls(false);
  accept();
}

}  // namespace quillon::ui
