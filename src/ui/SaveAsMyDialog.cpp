#include "ui/SaveAsMyDialog.h"

#include "export/MyExport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QList<OptionBox> kMyOptionBoxes = {
    {"chkcountry", "Country", "IncC"},
    {"chkyear", "Year", "IncY"},
    {"chkman", "Manufacturer", "IncM"},
    {"chkrating", "Rating", "IncR"},
    {"Chkov", "Overview", "IncO"},
    {"chksys", "System", "IncS"},
    {"chkgenre", "Genre", "IncG"},
    {"chkshort", "Use Short Filenames", "SFile"},
    {"chkexclude", "Exclude [Unknown]", "ExUnk"},
    {"chkalpha", "Alphabetize", "Alpha"},
};

QRadioButton* Option(const char* objectName, const QString& caption, QWidget* parent)
{
  auto* option = new QRadioButton(caption, parent);
  option->setObjectName(QString::fromLatin1(objectName));
  return option;
}

}  // namespace

SaveAsMyDialog::SaveAsMyDialog(ExportContext context, QWidget* parent)
    : QDialog(parent), m_context(std::move(context)), m_options(*m_context.catalogue, *m_context.feedback)
{
  setObjectName(QStringLiteral("frmSaveAs"));
  setWindowTitle(QStringLiteral("Save as .My Options"));
  setModal(true);

  auto* systems = new QGroupBox(QStringLiteral("Systems"), this);
  auto* systemsLayout = new QVBoxLayout(systems);
  m_currentSystem = Option("optCurSys", QStringLiteral("Current System ()"), systems);
  m_allSystems = Option("optAllSys", QStringLiteral("All Systems"), systems);
  systemsLayout->addWidget(m_currentSystem);
  systemsLayout->addWidget(m_allSystems);

  auto* genres = new QGroupBox(QStringLiteral("Genres"), this);
  auto* genresLayout = new QVBoxLayout(genres);
  m_currentGenre = Option("optCurGen", QStringLiteral("Current Genre ()"), genres);
  m_allGenres = Option("optAllGen", QStringLiteral("All Genres (1 My file)"), genres);
  m_separateFiles = Option("optallsepfile", QStringLiteral("All Genres (Separate My files)"), genres);
  m_autoSave = new QCheckBox(QStringLiteral("Auto Save"), genres);
  m_autoSave->setObjectName(QStringLiteral("chkautosave"));
  for (QWidget* widget : {static_cast<QWidget*>(m_currentGenre), static_cast<QWidget*>(m_allGenres),
                          static_cast<QWidget*>(m_separateFiles), static_cast<QWidget*>(m_autoSave)})
    genresLayout->addWidget(widget);
  for (QRadioButton* option : {m_currentGenre, m_allGenres, m_separateFiles})
    connect(option, &QRadioButton::toggled, this, &SaveAsMyDialog::UpdateAutoSave);

  auto* include = new QGroupBox(QStringLiteral("Include"), this);
  auto* includeLayout = new QGridLayout(include);
  const QList<QCheckBox*> boxes = m_options.Create(include, kMyOptionBoxes);
  for (int i = 0; i < boxes.size(); ++i)
    includeLayout->addWidget(boxes[i], i / 2, i % 2);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OKButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cancel->setObjectName(QStringLiteral("Command1"));
  connect(ok, &QPushButton::clicked, this, &SaveAsMyDialog::OnOk);
  connect(cancel, &QPushButton::clicked, this, &SaveAsMyDialog::OnCancel);

  auto* options = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addWidget(systems);
  left->addWidget(genres);
  options->addLayout(left);
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

void SaveAsMyDialog::showEvent(QShowEvent* event)
{
  Activate();
  QDialog::showEvent(event);
}

void SaveAsMyDialog::Activate()
{
  m_currentSystem->setText(QStringLiteral("Current System (") + m_context.currentSystem + QLatin1Char(')'));
  m_currentSystem->setChecked(true);
  const bool allGenres = m_context.genreFilter == kAllGenresFilter || m_context.genreFilter.isEmpty();
  if (allGenres) {
    m_currentGenre->setText(QStringLiteral("Current Genre (All)"));
    m_currentGenre->setEnabled(false);
    if (m_currentGenre->isChecked() || !(m_allGenres->isChecked() || m_separateFiles->isChecked()))
      m_allGenres->setChecked(true);
  } else {
    m_currentGenre->setText(QStringLiteral("Current Genre (") + m_context.genreFilter + QLatin1Char(')'));
    m_currentGenre->setEnabled(true);
    m_currentGenre->setChecked(true);
  }
  UpdateAutoSave();
  m_options.Remember();
}

void SaveAsMyDialog::UpdateAutoSave()
{
  m_autoSave->setEnabled(m_separateFiles->isChecked());
}

void SaveAsMyDialog::OnCancel()
{
  m_options.Restore();
  reject();
}

void SaveAsMyDialog::OnOk()
{
  MyExportRequest request;
  request.systems = m_allSystems->isChecked() ? SystemScope::All : SystemScope::Current;
  request.currentSystemId = m_context.currentSystemId;
  request.genres = m_currentGenre->isChecked() ? GenreScope::Current
                   : m_allGenres->isChecked()  ? GenreScope::AllInOneFile
                                               : GenreScope::SeparateFiles;
  request.currentGenre = m_context.genreFilter;
  request.autoSave = m_autoSave->isEnabled() && m_autoSave->isChecked();
  request.options = m_options.Current();
  request.proposedName = ProposedMyFileName(MyNameInputs{request.systems, request.genres, m_context.currentSystem,
                                                         m_context.genreFilter, m_context.firstListedGenre,
                                                         m_context.firstSystemTab, m_context.firstGenreByName});
  hide();
  if (m_context.lockControls)
    m_context.lockControls(true);
  m_result = ExportToMy(*m_context.catalogue, *m_context.feedback, request, m_context.chooseFile);
  if (m_context.lockControls)
    m_context.lockControls(false);
  accept();
}

}  // namespace quillon::ui
