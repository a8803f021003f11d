#pragma once
// AutoImageDL: the image search over one game or the ticked games of the list. For each game it
// sends the game's name to every search site of the system, scores the result links, and then
// downloads the pictures of the best match, lets the user choose a match, or falls back to the
// system's default picture.
//
// The batch runs on the caller's thread. Its waits are polling loops that run pending events, so
// a window stays responsive and its buttons (Select, Skip, Close) reach the batch at any moment
// through the methods below; they only leave word for the batch, which acts on it in its loops.
#include "catalogue/DataFolder.h"
#include "catalogue/SystemSettings.h"
#include "images/ImageSearchRules.h"
#include "images/PageLoader.h"
#include "images/Thumbnails.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class QEventLoop;

namespace quillon {

class Catalogue;
class Feedback;

// One row of the game list the batch walks.
struct ListedGame {
  qint64 gameId = 0;
  QString listText;  // the row's text (the full name)
  bool checked = false;
};

// What the batch drives: the game list (positions count from 1, as the resume position does)
// and whatever shows the search. Only the list is required; a front end without a window keeps
// the rest as it is.
class ImageSearchView {
 public:
  virtual ~ImageSearchView() = default;

  virtual int ListCount() = 0;
  virtual ListedGame ListedGameAt(int position) = 0;
  // The position of the list's selected row; 0 when none is.
  virtual int SelectedPosition() = 0;

  // Selects the row and brings it into view.
  virtual void SelectPosition(int /*position*/) {}
  virtual void ShowGame(qint64 /*gameId*/) {}
  virtual void LockControls(bool /*lock*/) {}
  virtual void ShowCaption(const QString& /*caption*/) {}
  virtual void ShowGrid(const MatchGrid& /*grid*/, int /*selectedRow*/) {}
  virtual void SetGridEnabled(bool /*enabled*/) {}
  virtual void SetSelectEnabled(bool /*enabled*/) {}  // cmdsel and cmdview
  virtual void SetSkipEnabled(bool /*enabled*/) {}
  // A downloaded picture, shown but not stored.
  virtual void ShowPicture(const QString& /*path*/) {}
  // The game's picture was stored in the catalogue (`path` is the file, resolved).
  virtual void PictureStored(qint64 /*gameId*/, const QString& /*path*/) {}
  // The system had no picture folder; this one was made and stored as its folder.
  virtual void ImageFolderStored(const QString& /*folder*/) {}
  // True when a user can pick a match from the grid; otherwise the batch never asks.
  virtual bool CanChoose() { return false; }
  // True while the search window is on screen.
  virtual bool IsShown() { return false; }
};

// How one game ended.
enum class GameResult { Pictures, NoPictures, DefaultImage, NoMatch, NoResults, PassedOver, Skipped };
QString GameResultText(GameResult result);

struct GameOutcome {
  qint64 gameId = 0;
  QString fullName;
  GameResult result = GameResult::NoResults;
  QStringList pictures;  // the files kept, in download order
  int downloads = 0;     // pictures downloaded, kept or not
  bool pictureStored = false;
};

struct BatchOutcome {
  // false: the system has no search site ("Check Image Settings.") or its picture folder is missing
  bool started = false;
  bool closed = false;  // stopped by Close or because the program is ending
  std::vector<GameOutcome> games;
};

enum class ImageCommand { CurrentGame, SelectedGames, SelectedGamesWithoutImages };

// For the two commands over the ticked games: asks "Resume previous search?" (key
// "images.resume") when a resume position is stored; true means resume.
bool AskResumeBatch(Catalogue& catalogue, Feedback& feedback, qint64 systemId, ImageCommand command);

struct ImageSearchLimits {
  // Navigations of a match page before the game is given up; 0: until Skip or Close.
  int maxMatchNavigations = 0;
  int pollMs = 100;
  WebLimits web;
};

class ImageSearch : public QObject {
  Q_OBJECT

 public:
  ImageSearch(Catalogue& catalogue, Feedback& feedback, const DataFolder& dataFolder, SystemSettings settings,
              ImageSearchView& view, QObject* parent = nullptr);
  ~ImageSearch() override;

  void SetLimits(const ImageSearchLimits& limits) { m_limits = limits; }
  // Box art by standard name, asked before the system's sites for every identified game; a
  // system with such a source needs no site of its own.
  void SetThumbnails(ThumbnailSource source) { m_thumbnails = std::move(source); }

  BatchOutcome AutoImageDL(bool selectedOnly, bool withoutImageOnly, bool resumeBatch);
  BatchOutcome Run(ImageCommand command, bool resumeBatch);

  bool IsRunning() const { return m_running; }
  const MatchGrid& Grid() const { return m_grid; }
  // The settings as the batch holds them (the picture folder may have been set).
  const SystemSettings& Settings() const { return m_settings; }

  // The window's controls.
  void SetSelectedRow(int row);
  // cmdsel, or a double click: loads the selected match's page while the user chooses.
  void Select();
  // cmdSkip: gives the game its default picture when it has none and ends it.
  void Skip();
  // cmdclose: stores the list's selected position to resume from, and stops the batch.
  void Close();
  // The window goes away otherwise: stops the batch without storing a position.
  void Abort();

 private:
  struct Site {
    qint64 id = 0;
    QString address;
  };
  struct Game {
    qint64 gameId = 0;
    QString listText;
    QString fullName;
    QString uniqueName;
    QString imagePath;  // resolved; empty when the game has no picture file
  };

  // False (reported) when the system's picture folder is set but missing: nothing could be saved.
  bool PictureFolderExists();
  bool ReadBatchSettings();
  std::optional<std::vector<Site>> ReadSites();
  std::optional<Game> ReadGame(const ListedGame& listed);
  void RunGame(Game& game, GameOutcome& outcome);
  bool TakeThumbnail(Game& game, GameOutcome& outcome);
  void SearchSite(const Site& site, const Game& game);
  void NavigateResults(const QString& address);
  void WaitForResultPage(const QString& address, qint64 siteId, const Game& game);
  void ProcessResultPage(const PageDocument& document, qint64 siteId, const Game& game);
  void Decide(Game& game, GameOutcome& outcome);
  void AwaitChoice(Game& game, GameOutcome& outcome);
  void LoadMatchPage(int row, Game& game, GameOutcome& outcome);
  void NavigateMatch(const QString& address);
  void CollectPictures(const PageDocument& document, int row, Game& game, GameOutcome& outcome);
  bool DownloadPicture(const QString& src, const QString& file);
  QStringList IgnoredPictures(const QString& siteId);
  QVariant ImageFilter();
  QString ImageFolder();
  void StorePicture(Game& game, const QString& picture, GameOutcome& outcome);
  void UseDefaultImage(Game& game, GameOutcome& outcome);

  // One poll: runs pending events for up to the poll interval, or until Wake. False when the
  // program is ending (no event loop runs any more).
  bool Pause();
  void Wake();

  Catalogue& m_catalogue;
  Feedback& m_feedback;
  DataFolder m_dataFolder;
  SystemSettings m_settings;
  ImageSearchView& m_view;
  ImageSearchLimits m_limits;
  ThumbnailSource m_thumbnails;

  PageLoader m_resultLoader;  // the sites' result pages
  PageLoader m_matchLoader;   // the chosen match's page and its pictures
  bool m_resultComplete = false;
  bool m_matchComplete = false;
  bool m_matchFailed = false;

  std::vector<Site> m_sites;
  bool m_ignoreMultiples = false;
  int m_timeOut = 0;
  MatchGrid m_grid;
  int m_selectedRow = 0;

  // The batch's flags; the buttons set them, the loops read them.
  bool m_running = false;
  bool m_pageDone = false;
  bool m_gameDone = false;
  bool m_closing = false;
  bool m_allowRenavigate = false;
  bool m_choosing = false;
  bool m_skipRequested = false;
  int m_selectRequested = -1;

  QEventLoop* m_waitLoop = nullptr;
  bool m_wakePending = false;
};

}  // namespace quillon
