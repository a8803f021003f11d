#include "ui/FrontendExportDialog.h"

#include "catalogue/Feedback.h"
#include "catalogue/SystemSettings.h"

#include <QButtonGroup>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

constexpr int kSystemIdRole = Qt::UserRole;

// The window's feedback, with the progress also on the dialog's own bar and the result lines kept
// for the summary.
class DialogFeedback final : public Feedback {
 public:
  DialogFeedback(Feedback& window, QProgressBar* bar) : m_window(window), m_bar(bar) {}

  void SetStatus(StatusKind kind, const QString& text) override { m_window.SetStatus(kind, text); }
  void SetProgressMaximum(int maximum) override
  {
    m_bar->setMaximum(std::max(maximum, 1));
    m_window.SetProgressMaximum(maximum);
  }
  void SetProgressValue(int value) override
  {
    m_bar->setValue(std::clamp(value, 0, m_bar->maximum()));
    m_window.SetProgressValue(value);
  }
  void AddResultLine(const QString& line) override { lines << line; }
  void Yield() override { m_window.Yield(); }
  Answer Ask(const Question& question) override { return m_window.Ask(question); }
  void ShowMessage(const QString& title, const QString& text, MessageIcon icon) override
  {
    m_window.ShowMessage(title, text, icon);
  }

  QStringList lines;

 private:
  Feedback& m_window;
  QProgressBar* m_bar;
};

QString DestinationCaption(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return QStringLiteral("ES-DE data folder:");
    case FrontendFormat::Pegasus:
      return QStringLiteral("In this folder (one sub-folder per system):");
    case FrontendFormat::RetroArch:
      return QStringLiteral("RetroArch folder:");
  }
  return {};
}

QRadioButton* Option(const QString& objectName, const QString& caption, QWidget* parent)
{
  auto* option = new QRadioButton(caption, parent);
  option->setObjectName(objectName);
  return option;
}

}  // namespace

QString FrontendActionName(FrontendFormat format)
{
  switch (format) {
    case FrontendFormat::Esde:
      return QStringLiteral("ExportEsde");
    case FrontendFormat::Pegasus:
      return QStringLiteral("ExportPegasus");
    case FrontendFormat::RetroArch:
      return QStringLiteral("ExportRetroArch");
  }
  return {};
}

QString FrontendActionCaption(FrontendFormat format)
{
  return FrontendName(format) + QStringLiteral("...");
}

FrontendExportDialog::FrontendExportDialog(FrontendFormat format, FrontendExportContext context, QWidget* parent)
    : QDialog(parent),
      m_format(format),
      m_context(std::move(context)),
      m_chooseFolder([](QWidget* owner, const QString& title, const QString& start) {
        return QFileDialog::getExistingDirectory(owner, title, start);
      })
{
  setObjectName(QStringLiteral("frmFrontendExport"));
  setWindowTitle(QStringLiteral("Export to ") + FrontendName(format));
  setModal(true);
  resize(720, 520);

  auto* top = new QHBoxLayout;
  top->addWidget(BuildSystems(), 2);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildDestination());
  right->addWidget(BuildChoices());
  right->addStretch(1);
  top->addLayout(right, 3);

  m_progress = new QProgressBar(this);
  m_progress->setObjectName(QStringLiteral("prgexport"));
  m_progress->setValue(0);
  m_summary = new QPlainTextEdit(this);
  m_summary->setObjectName(QStringLiteral("txtsummary"));
  m_summary->setReadOnly(true);
  m_summary->setPlaceholderText(tr("What was written, and the games left out and why, show here."));

  m_export = new QPushButton(tr("&Export"), this);
  m_export->setObjectName(QStringLiteral("cmdexport"));
  m_export->setDefault(true);
  m_close = new QPushButton(tr("&Close"), this);
  m_close->setObjectName(QStringLiteral("cmdclose"));
  m_close->setAutoDefault(false);
  connect(m_export, &QPushButton::clicked, this, &FrontendExportDialog::Export);
  connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_export);
  buttons->addWidget(m_close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(m_progress);
  layout->addWidget(m_summary, 1);
  layout->addLayout(buttons);
  FillSystems();
  UpdateDestination();
}

QWidget* FrontendExportDialog::BuildSystems()
{
  auto* group = new QGroupBox(tr("Systems"), this);
  auto* layout = new QVBoxLayout(group);
  m_systems = new QListWidget(group);
  m_systems->setObjectName(QStringLiteral("lstsystems"));
  m_systems->setToolTip(tr("The systems whose games go out; systems without a tab are not listed"));
  layout->addWidget(m_systems);
  return group;
}

QWidget* FrontendExportDialog::BuildDestination()
{
  auto* group = new QGroupBox(tr("Destination"), this);
  auto* layout = new QGridLayout(group);
  m_destination = new QLineEdit(group);
  m_destination->setObjectName(QStringLiteral("txtdest"));
  m_destination->setText(DefaultFrontendDestination(m_format));
  m_chooseDestination = new QToolButton(group);
  m_chooseDestination->setObjectName(QStringLiteral("cmddest"));
  m_chooseDestination->setText(QStringLiteral("..."));
  connect(m_chooseDestination, &QToolButton::clicked, this, &FrontendExportDialog::ChooseDestination);
  int row = 0;
  if (m_format == FrontendFormat::Pegasus) {
    m_romFolders = Option(QStringLiteral("optromfolders"), tr("In each system's ROM folders"), group);
    m_romFolders->setToolTip(tr("Pegasus reads the folders listed in its game_dirs.txt"));
    m_ownFolder = Option(QStringLiteral("optfolder"), DestinationCaption(m_format), group);
    m_romFolders->setChecked(true);
    connect(m_romFolders, &QRadioButton::toggled, this, &FrontendExportDialog::UpdateDestination);
    layout->addWidget(m_romFolders, row++, 0, 1, 2);
    layout->addWidget(m_ownFolder, row++, 0, 1, 2);
  } else {
    layout->addWidget(new QLabel(DestinationCaption(m_format), group), row++, 0, 1, 2);
  }
  layout->addWidget(m_destination, row, 0);
  layout->addWidget(m_chooseDestination, row, 1);
  return group;
}

QWidget* FrontendExportDialog::BuildChoices()
{
  auto* box = new QWidget(this);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* pictures = new QGroupBox(tr("Pictures"), box);
  auto* picturesLayout = new QVBoxLayout(pictures);
  m_media = new QButtonGroup(this);
  const QList<std::tuple<const char*, QString, MediaMode>> modes{
      {"optcopy", tr("Copy"), MediaMode::Copy},
      {"optlink", tr("Link (copy where links are not allowed)"), MediaMode::Link},
      {"optnone", tr("None"), MediaMode::None}};
  for (const auto& [name, caption, mode] : modes) {
    QRadioButton* option = Option(QString::fromLatin1(name), caption, pictures);
    m_media->addButton(option, static_cast<int>(mode));
    picturesLayout->addWidget(option);
  }
  m_media->button(static_cast<int>(MediaMode::Copy))->setChecked(true);

  auto* games = new QGroupBox(tr("Games"), box);
  auto* gamesLayout = new QVBoxLayout(games);
  QRadioButton* ticked = Option(QStringLiteral("optticked"), tr("Ticked games only"), games);
  m_allGames = Option(QStringLiteral("optallgames"), tr("All games"), games);
  ticked->setChecked(true);
  gamesLayout->addWidget(ticked);
  gamesLayout->addWidget(m_allGames);
  gamesLayout->addStretch(1);

  layout->addWidget(pictures);
  layout->addWidget(games);
  return box;
}

void FrontendExportDialog::FillSystems()
{
  for (const SystemTab& system : EnabledSystems(*m_context.catalogue, *m_context.feedback)) {
    auto* item = new QListWidgetItem(system.name, m_systems);
    item->setData(kSystemIdRole, system.systemId);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(system.systemId == m_context.currentSystemId ? Qt::Checked : Qt::Unchecked);
  }
}

void FrontendExportDialog::ChooseDestination()
{
  const QString chosen =
      m_chooseFolder(this, windowTitle(), m_destination->text().isEmpty() ? QDir::homePath() : m_destination->text());
  if (chosen.isEmpty())
    return;
  m_destination->setText(chosen);
  if (m_ownFolder)
    m_ownFolder->setChecked(true);
}

void FrontendExportDialog::UpdateDestination()
{
  // Choosing a folder stays possible: it switches Pegasus to that folder.
  m_destination->setEnabled(!m_romFolders || !m_romFolders->isChecked());
}

FrontendExportRequest FrontendExportDialog::Request() const
{
  FrontendExportRequest request;
  request.format = m_format;
  for (int row = 0; row < m_systems->count(); ++row) {
    const QListWidgetItem* item = m_systems->item(row);
    if (item->checkState() == Qt::Checked)
      request.systemIds << item->data(kSystemIdRole).toLongLong();
  }
  const bool own = !m_romFolders || !m_romFolders->isChecked();
  request.destination = own ? m_destination->text().trimmed() : QString();
  request.media = static_cast<MediaMode>(m_media->checkedId());
  request.allGames = m_allGames->isChecked();
  return request;
}

void FrontendExportDialog::SetRunning(bool running)
{
  for (QWidget* control :
       {static_cast<QWidget*>(m_export), static_cast<QWidget*>(m_close), static_cast<QWidget*>(m_systems),
        static_cast<QWidget*>(m_destination), static_cast<QWidget*>(m_chooseDestination)})
    control->setEnabled(!running);
  if (!running)
    UpdateDestination();
  if (m_context.lockControls)
    m_context.lockControls(running);
}

void FrontendExportDialog::Export()
{
  const FrontendExportRequest request = Request();
  if (request.systemIds.isEmpty()) {
    m_summary->setPlainText(tr("Tick the systems to export."));
    return;
  }
  if (request.format != FrontendFormat::Pegasus && request.destination.isEmpty()) {
    m_summary->setPlainText(tr("Choose the %1 folder.").arg(FrontendName(m_format)));
    return;
  }
  m_summary->clear();
  m_progress->setValue(0);
  DialogFeedback feedback(*m_context.feedback, m_progress);
  SetRunning(true);
  m_result = ExportToFrontend(*m_context.catalogue, feedback, request);
  SetRunning(false);
  m_progress->setValue(m_result.Succeeded() ? m_progress->maximum() : 0);
  m_summary->setPlainText((FrontendExportSummary(m_format, m_result) + feedback.lines).join(QLatin1Char('\n')));
}

void RunFrontendExport(FrontendFormat format, FrontendExportContext context, QWidget* parent)
{
  FrontendExportDialog dialog(format, std::move(context), parent);
  dialog.exec();
}

}  // namespace quillon::ui
