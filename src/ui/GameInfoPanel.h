#pragma once
// frmgameinfo ("Game Information"): the current game's details, every edit written at once, its
// genres, emulator, and pictures.
#include "browser/ChoiceLists.h"
#include "browser/GameList.h"
#include "catalogue/SystemSettings.h"
#include "ui/UiContext.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QSlider;
class QToolButton;
class QPushButton;

namespace quillon::ui {

class CompletingComboBox;
class PictureBox;

// What the panel asks of the window it sits in.
class GameInfoHost {
 public:
  virtual ~GameInfoHost() = default;

  // The game list is being rebuilt: what the panel shows meanwhile is no edit of the user's.
  virtual bool ListBusy() const = 0;
  // Whether the country, year and maker boxes open their lists as they take the focus: not while
  // a missing-data filter leads the focus to them, nor while the window loads.
  virtual bool OpenListsOnFocus() const = 0;
  // The current system's settings: its picture folder and picture types.
  virtual const SystemSettings& CurrentSettings() const = 0;
  // The system had no picture folder; `folder` was made and stored as its folder.
  virtual void ImageFolderStored(const QString& folder) = 0;
};

class GameInfoPanel : public QGroupBox {
  Q_OBJECT

 public:
  GameInfoPanel(UiContext context, GameInfoHost& host, QWidget* parent = nullptr);

  // ViewGameInfo: shows a game; 0 shows the empty, disabled panel.
  void ViewGameInfo(qint64 gameId);
  // Fills the country, year and maker combos from their lists.
  void FillCombos();
  // Fills the genre check list (index 0 is "[Unknown]").
  void FillGenres(const QList<GenreChoice>& genres);
  // FilterControl: the editor of the active missing-data filter gets the focus.
  void FocusEditorFor(const QString& missingFilter);
  void SetLocked(bool locked);
  // What the shown values lack (ColorCode).
  MissingData ShownMissingData() const;

  // The shown game's values, for the windows that work on it.
  QString FullName() const;
  QString FileName() const;
  QString ImageText() const;
  // Shows a picture; a relative path is taken in the system's picture folder (UpdateImage).
  void UpdateImage(const QString& path, const QString& caption = {});
  // Takes a picture file for the shown game (Add_Image).
  void AddImageFile(const QString& path);
  // Writes a picture path as the game's picture and shows it.
  void SetImageText(const QString& path);
  // Paints a picture file into the picture box, storing nothing.
  void PaintPicture(const QString& path);
  // Starts the shown game with its emulator (the Play button); says so when it has none.
  void Play();
  bool CanPlay() const;

 signals:
  // The full name being typed (the list row follows it).
  void fullNameTyped(const QString& name);
  // An edit was written: the list row's colour may change.
  void edited();

 private:
  void ShowMissingFiles(const QString& reason);
  void BuildControls();
  void Write(const QString& column, const QVariant& value);
  void OnGenreChanged(QListWidgetItem* item);
  void ApplyGenreLinks(const QList<qint64>& links);
  void OnCountryChosen();
  void OnYearChosen();
  void OnManufacturerChosen();
  void OnImageTextChanged(const QString& text);
  void ChooseEmulator();
  void PlayGame();
  void ChoosePicture();
  void StepPicture(int step);
  void DeleteShownPicture();
  void PreviewPicture();
  // "2 of 3" beside the arrows, for the picture named in the picture text.
  void ShowPicturePlace();
  void ShowPicture(const QString& path);
  bool Busy() const;
  // The current system's settings after a picture command; a new picture folder is passed on.
  void KeepImageFolder(const SystemSettings& settings);

  UiContext m_context;
  GameInfoHost& m_host;
  qint64 m_gameId = 0;
  bool m_filling = false;
  QLineEdit* m_fullName = nullptr;
  QLineEdit* m_fileName = nullptr;
  QLabel* m_missingFiles = nullptr;  // why the game is incomplete; shown only then
  QLineEdit* m_emulator = nullptr;
  QToolButton* m_chooseEmulator = nullptr;
  QPushButton* m_play = nullptr;
  CompletingComboBox* m_country = nullptr;
  CompletingComboBox* m_year = nullptr;
  CompletingComboBox* m_manufacturer = nullptr;
  QLineEdit* m_image = nullptr;
  QToolButton* m_chooseImage = nullptr;
  QPlainTextEdit* m_overview = nullptr;
  QSlider* m_rating = nullptr;
  QLabel* m_ratingLabel = nullptr;
  QListWidget* m_genres = nullptr;
  PictureBox* m_picture = nullptr;
  QList<QToolButton*> m_pictureButtons;
  QLabel* m_picturePlace = nullptr;
};

}  // namespace quillon::ui
