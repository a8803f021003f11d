#include "ui/GameInfoPanel.h"

#include "browser/ChoiceLists.h"
#include "browser/EmulatorLaunch.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"
#include "ui/CompletingComboBox.h"
#include "ui/PictureBox.h"
#include "ui/StatusFeedback.h"

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::ui {

namespace {

const QString kUnknown = QStringLiteral("[Unknown]");

// Calls `action` when the watched widget loses the focus, and passes dropped files on.
class FocusAndDropFilter : public QObject {
 public:
  FocusAndDropFilter(QObject* parent, std::function<void()> onFocusOut,
                     std::function<void(const QStringList&)> onDrop = {})
      : QObject(parent), m_onFocusOut(std::move(onFocusOut)), m_onDrop(std::move(onDrop))
  {
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override
  {
    if (event->type() == QEvent::FocusOut && m_onFocusOut)
      m_onFocusOut();
    if (m_onDrop && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (!DroppedFiles(drag->mimeData()).isEmpty()) {
        drag->acceptProposedAction();
        return true;
      }
    }
    if (m_onDrop && event->type() == QEvent::Drop) {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList files = DroppedFiles(drop->mimeData());
      if (!files.isEmpty()) {
        drop->acceptProposedAction();
        m_onDrop(files);
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_onFocusOut;
  std::function<void(const QStringList&)> m_onDrop;
};

QToolButton* SmallButton(const QString& name, const QString& text, const QString& tip, QWidget* parent)
{
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setToolTip(tip);
  button->setAutoRaise(false);
  return button;
}

// Fills a combo with names, keeping the text it shows.
void FillCombo(QComboBox* combo, const QStringList& names)
{
  const QString text = combo->currentText();
  combo->blockSignals(true);
  combo->clear();
  combo->addItems(names);
  combo->setEditText(text);
  combo->blockSignals(false);
}

}  // namespace

GameInfoPanel::GameInfoPanel(UiContext context, GameInfoHost& host, QWidget* parent)
    : QGroupBox(QStringLiteral("Game Information"), parent), m_context(context), m_host(host)
{
  setObjectName(QStringLiteral("frmgameinfo"));
  BuildControls();
  ViewGameInfo(0);
}

void GameInfoPanel::BuildControls()
{
  auto* layout = new QHBoxLayout(this);
  auto* fields = new QFormLayout;
  fields->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

  m_fullName = new QLineEdit(this);
  m_fullName->setObjectName(QStringLiteral("txtfullname"));
  fields->addRow(QStringLiteral("Full name"), m_fullName);
  m_fileName = new QLineEdit(this);
  m_fileName->setObjectName(QStringLiteral("txtnameunique"));
  m_fileName->setReadOnly(true);
  fields->addRow(QStringLiteral("Filename"), m_fileName);
  m_missingFiles = new QLabel(this);
  m_missingFiles->setObjectName(QStringLiteral("lblmissingfiles"));
  m_missingFiles->setWordWrap(true);
  m_missingFiles->setStyleSheet(QStringLiteral("color: #b00000"));
  m_missingFiles->setVisible(false);
  fields->addRow(QString(), m_missingFiles);

  auto* emulatorRow = new QHBoxLayout;
  m_emulator = new QLineEdit(this);
  m_emulator->setObjectName(QStringLiteral("txtemu"));
  m_emulator->setToolTip(tr("The game's emulator and its options; empty uses the system's"));
  m_chooseEmulator = SmallButton(QStringLiteral("cmdemu"), QStringLiteral("..."), tr("Choose the emulator"), this);
  m_play = new QPushButton(tr("Play"), this);
  m_play->setObjectName(QStringLiteral("cmdplayemu"));
  m_play->setToolTip(QStringLiteral("Loads current game with emulator specified, using short filenames and quotes."));
  m_play->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  emulatorRow->addWidget(m_emulator, 1);
  emulatorRow->addWidget(m_chooseEmulator);
  emulatorRow->addWidget(m_play);
  fields->addRow(QStringLiteral("Emulator"), emulatorRow);

  const auto openOnFocus = [this] { return m_host.OpenListsOnFocus(); };
  m_country = new CompletingComboBox(this);
  m_country->setObjectName(QStringLiteral("cmbcountry"));
  m_country->SetOpenOnFocus(openOnFocus);
  fields->addRow(QStringLiteral("Country"), m_country);
  m_year = new CompletingComboBox(this);
  m_year->setObjectName(QStringLiteral("cmbyear"));
  m_year->SetOpenOnFocus(openOnFocus);
  fields->addRow(QStringLiteral("Production Year"), m_year);
  m_manufacturer = new CompletingComboBox(this);
  m_manufacturer->setObjectName(QStringLiteral("cmbmanf"));
  m_manufacturer->SetOpenOnFocus(openOnFocus);
  fields->addRow(QStringLiteral("Manufacturer"), m_manufacturer);

  auto* imageRow = new QHBoxLayout;
  m_image = new QLineEdit(this);
  m_image->setObjectName(QStringLiteral("txtimage"));
  m_image->setAcceptDrops(true);
  m_chooseImage = SmallButton(QStringLiteral("cmdimage"), QStringLiteral("..."), tr("Choose a picture file"), this);
  imageRow->addWidget(m_image, 1);
  imageRow->addWidget(m_chooseImage);
  fields->addRow(QStringLiteral("Image"), imageRow);

  m_overview = new QPlainTextEdit(this);
  m_overview->setObjectName(QStringLiteral("txtoverview"));
  m_overview->setMinimumHeight(70);
  fields->addRow(QStringLiteral("Overview"), m_overview);

  auto* ratingRow = new QHBoxLayout;
  m_rating = new QSlider(Qt::Horizontal, this);
  m_rating->setObjectName(QStringLiteral("sldrating"));
  m_rating->setRange(0, 10);
  m_rating->setPageStep(1);
  m_rating->setTickPosition(QSlider::TicksBelow);
  m_ratingLabel = new QLabel(QStringLiteral("0"), this);
  m_ratingLabel->setObjectName(QStringLiteral("lblcurrating"));
  m_ratingLabel->setMinimumWidth(m_ratingLabel->fontMetrics().horizontalAdvance(QStringLiteral("10")) + 6);
  ratingRow->addWidget(m_rating, 1);
  ratingRow->addWidget(m_ratingLabel);
  fields->addRow(QStringLiteral("Rating"), ratingRow);

  m_genres = new QListWidget(this);
  m_genres->setObjectName(QStringLiteral("lstgenres"));
  m_genres->setMinimumHeight(90);
  fields->addRow(QStringLiteral("Genres (Max 5)"), m_genres);
  layout->addLayout(fields, 3);

  auto* pictureColumn = new QVBoxLayout;
  m_picture = new PictureBox(this);
  pictureColumn->addWidget(m_picture, 1);
  auto* pictureButtons = new QHBoxLayout;
  m_pictureButtons << SmallButton(QStringLiteral("Image1"), QStringLiteral("<"), tr("Previous picture"), this)
                   << SmallButton(QStringLiteral("Image2"), QStringLiteral(">"), tr("Next picture"), this)
                   << SmallButton(QStringLiteral("Image3"), QStringLiteral("X"), tr("Delete this picture"), this)
                   << SmallButton(QStringLiteral("Image4"), QStringLiteral("+"), tr("Show the picture enlarged"), this);
  m_picturePlace = new QLabel(this);
  m_picturePlace->setObjectName(QStringLiteral("lblimagepos"));
  m_picturePlace->setAlignment(Qt::AlignCenter);
  m_picturePlace->setMinimumWidth(m_picturePlace->fontMetrics().horizontalAdvance(QStringLiteral("88 of 88")) + 8);
  pictureButtons->addStretch(1);
  pictureButtons->addWidget(m_pictureButtons[0]);
  pictureButtons->addWidget(m_picturePlace);
  for (QToolButton* button : m_pictureButtons.mid(1))
    pictureButtons->addWidget(button);
  pictureButtons->addStretch(1);
  pictureColumn->addLayout(pictureButtons);
  layout->addLayout(pictureColumn, 2);

  connect(m_fullName, &QLineEdit::textEdited, this, &GameInfoPanel::fullNameTyped);
  connect(m_fullName, &QLineEdit::editingFinished, this, [this] {
    if (m_fullName->isModified())
      Write(QStringLiteral("FullName"), m_fullName->text());
    m_fullName->setModified(false);
  });
  connect(m_emulator, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_play->setEnabled(!text.isEmpty());
    Write(QStringLiteral("Emulator"), text);
  });
  connect(m_chooseEmulator, &QToolButton::clicked, this, &GameInfoPanel::ChooseEmulator);
  connect(m_play, &QPushButton::clicked, this, &GameInfoPanel::PlayGame);
  connect(m_country, qOverload<int>(&QComboBox::activated), this, &GameInfoPanel::OnCountryChosen);
  connect(m_country, &CompletingComboBox::entered, this, &GameInfoPanel::OnCountryChosen);
  connect(m_year, qOverload<int>(&QComboBox::activated), this, &GameInfoPanel::OnYearChosen);
  connect(m_year, &CompletingComboBox::entered, this, &GameInfoPanel::OnYearChosen);
  connect(m_manufacturer, qOverload<int>(&QComboBox::activated), this, &GameInfoPanel::OnManufacturerChosen);
  connect(m_manufacturer, &CompletingComboBox::entered, this, &GameInfoPanel::OnManufacturerChosen);
  connect(m_image, &QLineEdit::textChanged, this, &GameInfoPanel::OnImageTextChanged);
  connect(m_image, &QLineEdit::textChanged, this, &GameInfoPanel::ShowPicturePlace);
  connect(m_chooseImage, &QToolButton::clicked, this, &GameInfoPanel::ChoosePicture);
  m_overview->installEventFilter(new FocusAndDropFilter(this, [this] {
    if (m_overview->document()->isModified())
      Write(QStringLiteral("Description"), m_overview->toPlainText());
    m_overview->document()->setModified(false);
  }));
  m_image->installEventFilter(
      new FocusAndDropFilter(this, {}, [this](const QStringList& files) { AddImageFile(files.first()); }));
  connect(m_rating, &QSlider::valueChanged, this, [this](int value) {
    m_ratingLabel->setText(QString::number(value));
    Write(QStringLiteral("Rating"), value);
  });
  connect(m_genres, &QListWidget::itemChanged, this, &GameInfoPanel::OnGenreChanged);
  connect(m_picture, &PictureBox::doubleClicked, this, &GameInfoPanel::PreviewPicture);
  connect(m_picture, &PictureBox::filesDropped, this,
          [this](const QStringList& files) { AddImageFile(files.first()); });
  connect(m_pictureButtons[0], &QToolButton::clicked, this, [this] { StepPicture(-1); });
  connect(m_pictureButtons[1], &QToolButton::clicked, this, [this] { StepPicture(1); });
  connect(m_pictureButtons[2], &QToolButton::clicked, this, &GameInfoPanel::DeleteShownPicture);
  connect(m_pictureButtons[3], &QToolButton::clicked, this, &GameInfoPanel::PreviewPicture);
}

void GameInfoPanel::KeepImageFolder(const SystemSettings& settings)
{
  if (settings.imageFolder != m_host.CurrentSettings().imageFolder)
    m_host.ImageFolderStored(settings.imageFolder);
}

bool GameInfoPanel::Busy() const
{
  return m_filling || m_host.ListBusy() || m_gameId == 0;
}

void GameInfoPanel::Write(const QString& column, const QVariant& value)
{
  if (Busy())
    return;
  if (UpdateGameInfo(m_context.catalogue, m_context.feedback, m_gameId, column, value,
                     m_host.CurrentSettings().imageFolder))
    emit edited();
}

void GameInfoPanel::FillCombos()
{
  FillCombo(m_country, DetailChoices(m_context.catalogue, m_context.feedback, DetailChoice::Countries));
  FillCombo(m_year, DetailChoices(m_context.catalogue, m_context.feedback, DetailChoice::Years));
  FillCombo(m_manufacturer, DetailChoices(m_context.catalogue, m_context.feedback, DetailChoice::Manufacturers));
}

void GameInfoPanel::FillGenres(const QList<GenreChoice>& genres)
{
  const bool wasFilling = m_filling;
  m_filling = true;
  m_genres->clear();
  for (const GenreChoice& genre : genres) {
    auto* item = new QListWidgetItem(genre.name, m_genres);
    item->setData(Qt::UserRole, genre.genreId);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  m_filling = wasFilling;
}

void GameInfoPanel::ShowMissingFiles(const QString& reason)
{
  m_missingFiles->setText(reason);
  m_missingFiles->setVisible(!reason.isEmpty());
}

void GameInfoPanel::ViewGameInfo(qint64 gameId)
{
  m_filling = true;
  m_gameId = 0;
  std::optional<GameDetails> details;
  if (gameId != 0)
    details = LoadGameDetails(m_context.catalogue, m_context.feedback, gameId, m_host.CurrentSettings().imageFolder);
  m_picture->Clear();
  if (!details) {
    m_fullName->clear();
    m_fileName->clear();
    ShowMissingFiles({});
    m_emulator->clear();
    m_image->clear();
    m_overview->clear();
    m_country->setEditText({});
    m_year->setEditText({});
    m_manufacturer->setEditText({});
    m_rating->setValue(0);
    ApplyGenreLinks({});
    setEnabled(false);
    m_filling = false;
    return;
  }
  m_gameId = details->gameId;
  m_fullName->setText(details->fullName);
  m_fullName->setModified(false);
  m_fileName->setText(details->fileName);
  ShowMissingFiles(details->missingFiles);
  m_emulator->setText(details->emulator);
  m_play->setEnabled(!details->emulator.isEmpty());
  m_country->setEditText(details->country);
  m_year->setEditText(details->year);
  m_manufacturer->setEditText(details->manufacturer);
  m_image->setText(details->imageText);
  if (!details->imageText.isEmpty())
    ShowPicture(details->imageText);
  m_overview->setPlainText(details->description);
  m_overview->document()->setModified(false);
  m_rating->setValue(details->rating);
  m_ratingLabel->setText(QString::number(details->rating));
  m_context.feedback.SetStatus(StatusKind::Text, QStringLiteral("Updating Genres..."));
  ApplyGenreLinks(details->genreIds);
  m_context.feedback.SetStatus(StatusKind::Text, QString());
  setEnabled(true);
  m_filling = false;
}

void GameInfoPanel::ApplyGenreLinks(const QList<qint64>& links)
{
  const bool wasFilling = m_filling;
  m_filling = true;
  for (int i = 0; i < m_genres->count(); ++i) {
    QListWidgetItem* item = m_genres->item(i);
    item->setCheckState(links.contains(item->data(Qt::UserRole).toLongLong()) ? Qt::Checked : Qt::Unchecked);
  }
  m_filling = wasFilling;
}

void GameInfoPanel::OnGenreChanged(QListWidgetItem* item)
{
  if (Busy())
    return;
  const qint64 genreId = item->data(Qt::UserRole).toLongLong();
  const bool tick = item->checkState() == Qt::Checked;
  const GenreTickOutcome outcome = TickGenre(m_context.catalogue, m_context.feedback, m_gameId, genreId, tick);
  if (!outcome.accepted && tick && outcome.links.size() >= kMaxTickedGenres)
    m_context.feedback.SetStatus(StatusKind::Text, tr("A game can have at most %1 genres.").arg(kMaxTickedGenres));
  ApplyGenreLinks(outcome.links);
  emit edited();
}

void GameInfoPanel::OnCountryChosen()
{
  if (Busy())
    return;
  const QVariant id = m_context.lookups.GetCountry(m_country->currentText(), true);
  if (!id.isValid()) {
    m_context.feedback.SetStatus(StatusKind::Error, tr("There is no country named %1.").arg(m_country->currentText()));
    return;
  }
  Write(QStringLiteral("Country"), id);
}

void GameInfoPanel::OnYearChosen()
{
  if (Busy())
    return;
  const QString text = m_year->currentText().trimmed();
  const QVariant id = m_context.lookups.GetYear(text, true);
  if (!id.isValid())
    return;
  if (!text.isEmpty() && m_year->findText(text, Qt::MatchExactly) < 0)
    m_year->addItem(text);
  Write(QStringLiteral("Year"), id);
}

void GameInfoPanel::OnManufacturerChosen()
{
  if (Busy())
    return;
  const QString text = m_manufacturer->currentText().trimmed();
  const QVariant id = m_context.lookups.GetManf(text, true);
  if (!id.isValid())
    return;
  if (!text.isEmpty() && m_manufacturer->findText(text, Qt::MatchFixedString) < 0)
    m_manufacturer->addItem(text);
  Write(QStringLiteral("Manufacturer"), id);
}

void GameInfoPanel::ChooseEmulator()
{
  const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Select Emulator"),
                                                      QFileInfo(m_emulator->text()).absolutePath(),
                                                      tr("Emulators (*.exe);;All Files (*)"));
  if (chosen.isEmpty())
    return;
  m_emulator->setText(chosen);
  m_play->setEnabled(true);
  Write(QStringLiteral("Emulator"), chosen);
}

bool GameInfoPanel::CanPlay() const
{
  return m_gameId != 0 && !m_emulator->text().isEmpty();
}

void GameInfoPanel::Play()
{
  if (m_gameId == 0)
    return;
  if (!CanPlay()) {
    m_context.feedback.SetStatus(StatusKind::Text,
                                 tr("No emulator is set for this game or its system (File > Settings)."));
    return;
  }
  PlayGame();
}

void GameInfoPanel::PlayGame()
{
  if (m_gameId == 0)
    return;
  const QString rom = RomArgument(m_context.catalogue, m_context.feedback, m_gameId);
  LaunchGame(PlanLaunch(m_emulator->text(), rom), m_context.feedback);
}

void GameInfoPanel::FocusEditorFor(const QString& missingFilter)
{
  setEnabled(m_gameId != 0);
  for (QComboBox* combo :
       {static_cast<QComboBox*>(m_country), static_cast<QComboBox*>(m_year), static_cast<QComboBox*>(m_manufacturer)})
    combo->lineEdit()->deselect();
  if (missingFilter == QStringLiteral("Country")) {
    m_country->setFocus();
    m_country->lineEdit()->selectAll();
  } else if (missingFilter == QStringLiteral("Year")) {
    m_year->setFocus();
    m_year->lineEdit()->selectAll();
  } else if (missingFilter == QStringLiteral("Manf")) {
    m_manufacturer->setFocus();
    m_manufacturer->lineEdit()->selectAll();
  } else if (missingFilter == QStringLiteral("Genre")) {
    m_genres->setFocus();
  } else if (missingFilter == QStringLiteral("Overview")) {
    m_overview->setFocus();
  } else if (missingFilter == QStringLiteral("Image")) {
    m_image->setFocus();
  }
}

void GameInfoPanel::SetLocked(bool locked)
{
  setEnabled(!locked && m_gameId != 0);
}

MissingData GameInfoPanel::ShownMissingData() const
{
  MissingData missing;
  missing.overview = m_overview->toPlainText().isEmpty();
  missing.image = m_image->text().isEmpty();
  missing.country = m_country->currentText() == kUnknown;
  missing.manufacturer = m_manufacturer->currentText() == kUnknown;
  missing.year = m_year->currentText() == kUnknown;
  bool anyTicked = false;
  for (int i = 0; i < m_genres->count(); ++i)
    anyTicked = anyTicked || m_genres->item(i)->checkState() == Qt::Checked;
  missing.genre = !anyTicked || (m_genres->count() > 0 && m_genres->item(0)->checkState() == Qt::Checked);
  return missing;
}

QString GameInfoPanel::FullName() const
{
  return m_fullName->text();
}

QString GameInfoPanel::FileName() const
{
  return m_fileName->text();
}

QString GameInfoPanel::ImageText() const
{
  return m_image->text();
}

}  // namespace quillon::ui
