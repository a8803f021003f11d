// The main window's system tabs: which systems get one (all with a tab, or only those with games),
// the game count beside each name, and moving between them from the keyboard.
#include "browser/GameList.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Session.h"
#include "catalogue/SystemSettings.h"
#include "ui/GameListPane.h"
#include "ui/MainWindow.h"
#include "ui/StatusFeedback.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QShortcut>
#include <QTabBar>

namespace quillon::ui {

void MainWindow::UpdateTabs()
{
  UpdateTabs(QString());
}

void MainWindow::UpdateTabs(const QString& keep)
{
  const int remembered = m_tabs->currentIndex();
  const bool wasLoading = m_listPane->Loading();
  m_listPane->SetLoading(true);
  while (m_tabs->count() > 0)
    m_tabs->removeTab(0);
  m_enabledSystems = EnabledSystems(m_session.Connection(), *m_feedback);
  m_gameCounts = GameCountsBySystem(m_session.Connection(), *m_feedback).value_or(QHash<qint64, GameCounts>());
  for (const SystemTab& system : SystemsWithTabs())
    ShowTabCount(m_tabs->addTab(system.name), system.systemId);
  int selected = -1;
  for (int i = 0; i < m_tabs->count() && !keep.isEmpty(); ++i) {
    if (TabSystem(i) == keep)
      selected = i;
  }
  if (selected < 0)
    selected = remembered >= 0 && remembered < m_tabs->count() ? remembered : 0;
  m_tabs->setCurrentIndex(selected);
  m_listPane->SetLoading(wasLoading);
  if (!wasLoading)
    OnTabChanged(m_tabs->currentIndex());
}

QList<SystemTab> MainWindow::SystemsWithTabs() const
{
  QList<SystemTab> withGames;
  for (const SystemTab& system : m_enabledSystems) {
    if (m_gameCounts.value(system.systemId).Total() > 0)
      withGames << system;
  }
  const bool only = m_onlySystemsWithGames.value_or(!withGames.isEmpty());
  Action(QStringLiteral("OnlySystemsWithGames"))->setChecked(only);
  // A strip without tabs would leave nothing to choose: while no system has games, all show.
  return only && !withGames.isEmpty() ? withGames : m_enabledSystems;
}

void MainWindow::ShowTabCount(int index, qint64 systemId)
{
  const int count = m_gameCounts.value(systemId).In(m_listPane->View());
  auto* label = qobject_cast<QLabel*>(m_tabs->tabButton(index, QTabBar::RightSide));
  if (!label) {
    label = new QLabel(m_tabs);
    label->setObjectName(QStringLiteral("tabcount"));
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setContentsMargins(2, 0, 0, 0);
  }
  QLocale locale;
  locale.setNumberOptions(QLocale::DefaultNumberOptions);
  label->setText(locale.toString(count));
  label->setToolTip(m_listPane->View() == GameView::Missing ? tr("%n missing game(s)", nullptr, count)
                                                            : tr("%n available game(s)", nullptr, count));
  label->adjustSize();
  // Set again, so that the tab takes the label's new width.
  m_tabs->setTabButton(index, QTabBar::RightSide, nullptr);
  m_tabs->setTabButton(index, QTabBar::RightSide, label);
}

void MainWindow::RefreshTabCounts()
{
  const std::optional<QHash<qint64, GameCounts>> counts = GameCountsBySystem(m_session.Connection(), *m_feedback);
  if (!counts)
    return;
  m_gameCounts = *counts;
  const QList<SystemTab> systems = SystemsWithTabs();
  bool same = systems.size() == m_tabs->count();
  for (int i = 0; same && i < m_tabs->count(); ++i)
    same = TabSystem(i) == systems[i].name;
  if (!same) {
    // The list shown is up to date: only another system's tab brings another list.
    const QString shown = m_settings.name;
    m_listPane->SetLoading(true);
    UpdateTabs(shown);
    m_listPane->SetLoading(false);
    if (TabSystem(m_tabs->currentIndex()) != shown)
      OnTabChanged(m_tabs->currentIndex());
    return;
  }
  for (int i = 0; i < systems.size(); ++i)
    ShowTabCount(i, systems[i].systemId);
}

void MainWindow::ShowOnlySystemsWithGames(bool only)
{
  m_onlySystemsWithGames = only;
  UpdateTabs(m_settings.name);
}

QString MainWindow::TabSystem(int index) const
{
  return index >= 0 && index < m_tabs->count() ? m_tabs->tabText(index) : QString();
}

void MainWindow::BuildTabShortcuts()
{
  const auto add = [this](const QKeySequence& keys, std::function<void()> run) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, std::move(run));
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { StepTab(1); });
  add(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { StepTab(-1); });
  for (int number = 1; number <= 9; ++number)
    add(QKeySequence(Qt::CTRL | (Qt::Key_0 + number)), [this, number] { ShowTabAt(number - 1); });
}

void MainWindow::StepTab(int step)
{
  if (m_tabs->count() > 0)
    ShowTabAt((m_tabs->currentIndex() + step + m_tabs->count()) % m_tabs->count());
}

void MainWindow::ShowTabAt(int index)
{
  if (m_tabs->isEnabled() && !m_listPane->ListBusy() && index >= 0 && index < m_tabs->count())
    m_tabs->setCurrentIndex(index);
}

void MainWindow::OnTabChanged(int index)
{
  if (m_listPane->Loading() || index < 0)
    return;
  m_currentGameId = 0;
  RefreshSettings();
  FilterGenre();
}

void MainWindow::OnTabClicked(int index)
{
  // The tab already shown: only the editor of the active missing-data filter gets the focus.
  if (m_listPane->Loading() || index != m_tabs->currentIndex())
    return;
  m_feedback->SetStatus(StatusKind::Text, QString());
  FilterControl();
}

void MainWindow::ShowTabNamed(const QString& name)
{
  for (int i = 0; i < m_tabs->count(); ++i) {
    if (TabSystem(i).compare(name, Qt::CaseInsensitive) == 0) {
      m_tabs->setCurrentIndex(i);
      return;
    }
  }
}

}  // namespace quillon::ui
