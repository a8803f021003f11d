#pragma once
// frmgames ("Available Games" / "Missing Games", with how many games it shows of how many): one
// system's game list with what narrows it — the name search, the genre combo, the legend whose
// names pick a missing-data filter, the check-all box — and the check marks, written at once. The
// games show as a list with optional columns or as a grid of covers, over one model and one
// selection. The window sets the system, the view, the menu's clone marks and the verification
// filter; the pane tells it which row is current and when it rebuilt the list.
#include "browser/ChoiceLists.h"
#include "browser/GameList.h"
#include "ui/UiContext.h"

#include <QGroupBox>

#include <optional>

class QCheckBox;
class QFrame;
class QLineEdit;
class QStackedWidget;

namespace quillon::ui {

class ClickableLabel;
class CompletingComboBox;
class CoverLoader;
class GameGridView;
class GameListModel;
class GameListView;
class GameViewEvents;

class GameListPane : public QGroupBox {
  Q_OBJECT

 public:
  explicit GameListPane(UiContext context, QWidget* parent = nullptr);
  ~GameListPane() override;

  // The filters the window sets.
  void SetSystem(qint64 systemId) { m_systemId = systemId; }
  // The view shows in the pane's title at once.
  void SetView(GameView view);
  GameView View() const { return m_view; }
  void SetCloneMarks(const CloneMarks& marks) { m_clones = marks; }
  void SetMatchStatus(std::optional<int> status) { m_matchStatus = status; }
  // The legend's filter: one of kMissingFilters, or empty.
  QString MissingFilter() const { return m_missingFilter; }

  // The genre combo's entries: "all genres", then these; a typed text that still names one stays.
  void SetGenres(const QList<GenreChoice>& genres);
  void ShowAllGenres();
  QString GenreFilterText() const;
  // The genre after the "all genres" entry; empty without one.
  QString FirstListedGenre() const;

  // FilterGenre: the system's games through the filters. `refreshOnly` queries without replacing
  // the rows. False when the typed genre names none, or the query failed: the list stays then.
  bool FilterGenre(bool refreshOnly);

  // The name search over the rows of the list; it stays when the list is rebuilt.
  void SetSearchText(const QString& text);
  QString SearchText() const;
  void FocusSearch();

  // The box-art grid in place of the list.
  void ShowPictures(bool pictures);
  bool PicturesShown() const { return m_picturesShown; }
  // The optional columns: which are shown, their widths and the column sorted by.
  void SetColumnShown(int column, bool shown);
  bool ColumnShown(int column) const;
  QByteArray ColumnState() const;
  void RestoreColumnState(const QByteArray& state);

  // While the list is rebuilt or every mark written, row changes are not the user's.
  bool ListBusy() const { return m_listBusy; }
  // While the window loads, clicks on the filters wait.
  bool Loading() const { return m_loading; }
  void SetLoading(bool loading) { m_loading = loading; }
  void SetLocked(bool locked);

  GameListModel& Model() { return *m_model; }
  const GameListModel& Model() const { return *m_model; }
  GameListView& List() { return *m_list; }
  GameGridView& Grid() { return *m_grid; }
  CoverLoader& Covers() { return *m_covers; }
  // The current row; -1 without one.
  int CurrentRow() const;
  const GameRow* CurrentGame() const;
  // Makes the row current (and says so even when it was already).
  void SelectRow(int row);
  void RenameCurrentRow(const QString& name);
  // The keys of the ticked rows the list shows, in list order.
  QList<qint64> TickedGameIds() const;

 signals:
  // The row whose details the window shows now.
  void currentRowChanged(int row);
  // The rows were replaced; the first is made current after this.
  void listReplaced(int rows);
  // FilterGenre has done its work.
  void listFiltered(bool refreshOnly);
  // The search changed which rows show; the current game stays current when it still shows.
  void searchApplied(int rows);
  // Every mark is being written: the window's controls wait meanwhile.
  void lockWanted(bool lock);
  void contextMenuWanted(const QPoint& globalPosition, int row);
  void deletePressed();
  void playWanted(int row);
  void filesDropped(const QStringList& paths);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildSearchRow();
  QWidget* BuildLegend();
  void BuildViews();
  void ConnectViewEvents(GameViewEvents* events, bool forGrid);
  void SetUpColumns();
  void CreateList(std::vector<GameRow> rows, int viewCount);
  // cmdsall: ticked, and captioned "Uncheck All", exactly when every row is ticked.
  void ShowCheckAllState(bool allTicked);
  // The view's caption with how many games show of how many the view has.
  void ShowCaption();
  void ShowPaletteColours();
  bool WriteCheckMark(qint64 gameId, bool selected);
  void ClearLegendFilter();
  void OnLegendClicked(const QString& filter, ClickableLabel* label);
  void OnGenreActivated();
  void OnGenreEntered();
  void OnCheckAllClicked();
  void OnSearchEdited(const QString& text);
  void OnSortChanged(int column, Qt::SortOrder order);
  void OnCurrentChanged(const QModelIndex& current);
  void ShowColumnMenu(const QPoint& position);
  void ScrollToCurrent();
  bool KeyRepeating() const;

  UiContext m_context;
  qint64 m_systemId = 0;
  GameView m_view = GameView::Available;
  CloneMarks m_clones;
  std::optional<int> m_matchStatus;
  QString m_missingFilter;
  int m_viewCount = 0;
  bool m_listBusy = false;
  bool m_loading = false;
  bool m_picturesShown = false;

  QLineEdit* m_search = nullptr;
  CompletingComboBox* m_genreCombo = nullptr;
  QCheckBox* m_checkAll = nullptr;
  QStackedWidget* m_views = nullptr;
  GameListView* m_list = nullptr;
  GameGridView* m_grid = nullptr;
  GameViewEvents* m_listEvents = nullptr;
  GameViewEvents* m_gridEvents = nullptr;
  GameListModel* m_model = nullptr;
  CoverLoader* m_covers = nullptr;
  QList<ClickableLabel*> m_legendLabels;
  QList<std::pair<QFrame*, QString>> m_swatches;
};

}  // namespace quillon::ui
