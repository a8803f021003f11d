// Game list benchmark: an arcade system with 50,000 games (a full arcade list is about 45,000)
// shown in the main window: the first list (query, colours, model reset, first page painted, best
// of three windows), filter changes and a tab switch, a name search typed one character at a
// time, and the box-art grid: its first screen with thumbnails already cached, and the covers it
// keeps in memory while it is scrolled through.
#include "BenchCatalogue.h"

#include "browser/CoverThumbnails.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Session.h"
#include "catalogue/StructureUpgrade.h"
#include "ui/ClickableLabel.h"
#include "ui/CoverLoader.h"
#include "ui/GameGridView.h"
#include "ui/GameListModel.h"
#include "ui/GameListPane.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

constexpr int kGames = 50000;
// Games share this many different covers, named c0.png ...
constexpr int kCovers = 1000;
// How many games the memory measure scrolls the grid through.
constexpr int kScrolledGames = 6000;

bool Fill(quillon::Catalogue& catalogue, const QString& coverFolder)
{
  quillon::SqlFailure failure;
  const QStringList statements{
      QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID IN (1, 3) THEN 1 ELSE 0 END"),
      QStringLiteral("UPDATE System SET DefaultImagePath = ? WHERE SystemID = 1"),
      QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/arcade/', 1)"),
      QStringLiteral(
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
          "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Clone, Country, Year, "
          "Manufacturer, Image, Description, Genre, Selected) "
          "SELECT i, 'Machine ' || (i * 7919 % %1), 'm' || i || '.zip', 1, 1, i % 10 <> 0, i % 4 = 0, 1 + i % 5, "
          "1 + i % 60, 1 + i % 400, CASE WHEN i % 3 = 0 THEN NULL ELSE 'c' || (i % %2) || '.png' END, "
          "CASE WHEN i % 2 = 0 THEN 'text' END, 1, i % 7 = 0 FROM n")
          .arg(kGames)
          .arg(kCovers),
      QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, 1 + GameID % 40 FROM Games"),
      // A few dozen games on a second system, so that switching tabs has somewhere to go.
      QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Available, Genre) "
                     "SELECT 'Console game ' || GameID, 'c' || GameID || '.smc', 3, NULL, 0, 1 FROM Games "
                     "WHERE GameID <= 40")};
  for (const QString& statement : statements) {
    const QVariantList binds = statement.contains(QLatin1Char('?')) ? QVariantList{coverFolder} : QVariantList{};
    if (!catalogue.TryExecute(statement, binds, &failure)) {
      std::fprintf(stderr, "%s\n", qPrintable(failure.description));
      return false;
    }
  }
  return true;
}

// Covers of box proportions, each in a colour of its own, and their thumbnails made once (the
// grid's first screen is measured with thumbnails already cached).
bool MakeCovers(const QString& folder, const QString& thumbnails)
{
  QImage cover(300, 420, QImage::Format_RGB32);
  for (int i = 0; i < kCovers; ++i) {
    cover.fill(QColor::fromHsv(i * 37 % 360, 160, 200));
    QPainter painter(&cover);
    painter.drawText(cover.rect(), Qt::AlignCenter, QString::number(i));
    painter.end();
    const QString path = folder + QStringLiteral("c%1.png").arg(i);
    if (!cover.save(path) || quillon::LoadThumbnail(path, thumbnails).isNull())
      return false;
  }
  return true;
}

double Seconds(const std::function<void()>& action)
{
  QElapsedTimer timer;
  timer.start();
  action();
  QApplication::processEvents();
  return timer.nsecsElapsed() / 1e9;
}

void Time(const char* what, const std::function<void()>& action)
{
  std::printf("%s: %.3f s\n", what, Seconds(action));
  std::fflush(stdout);
}

// Lets the grid ask for the covers on screen and waits until the workers have brought them.
void WaitForCovers(quillon::ui::GameListPane& pane)
{
  pane.Grid().repaint();
  QApplication::processEvents();
  while (pane.Covers().PendingCount() > 0)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  pane.Grid().repaint();
}

void TypeSearch(quillon::ui::MainWindow& window, const QString& text)
{
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("txtsearch"));
  double worst = 0;
  double total = 0;
  for (const QChar c : text) {
    const double seconds = Seconds([&] {
      search->setText(search->text() + c);
      window.repaint();
    });
    worst = std::max(worst, seconds);
    total += seconds;
  }
  std::printf("search typed (\"%s\"), %d rows found: worst character %.3f s, mean %.3f s\n", qPrintable(text),
              window.ListPane().Model().rowCount(), worst, total / text.size());
  Time("search cleared", [&] {
    search->clear();
    window.repaint();
  });
}

void ScrollThroughGrid(quillon::ui::GameListPane& pane)
{
  QScrollBar* bar = pane.Grid().verticalScrollBar();
  const auto [first, last] = pane.Grid().RowsOnScreen();
  const int onScreen = last - first + 1;
  int mostCovers = 0;
  qint64 mostBytes = 0;
  QElapsedTimer timer;
  timer.start();
  while (pane.Grid().RowsOnScreen().first < kScrolledGames && bar->value() < bar->maximum()) {
    bar->setValue(bar->value() + pane.Grid().viewport()->height());
    WaitForCovers(pane);
    mostCovers = std::max(mostCovers, pane.Covers().CachedCount());
    mostBytes = std::max(mostBytes, pane.Covers().CachedBytes());
  }
  std::printf("grid scrolled through %d games in %.3f s: %d cells on screen, at most %d covers (%.1f MB) in memory\n",
              pane.Grid().RowsOnScreen().first, timer.nsecsElapsed() / 1e9, onScreen, mostCovers,
              mostBytes / 1048576.0);
}

}  // namespace

int main(int argc, char** argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  quillon::SilentFeedback feedback;
  quillon::Session session;
  const QString delivered =
      quillon::DeliveredDataFolder(QCoreApplication::applicationDirPath()) + quillon::kCatalogueFileName;
  const QString covers = dir.filePath(QStringLiteral("covers/"));
  QDir().mkpath(covers);
  if (session.Open(quillon::DataFolder(dir.path()), delivered, feedback, nullptr) != quillon::OpenOutcome::Opened ||
      !Fill(session.Connection(), covers) || !MakeCovers(covers, quillon::ThumbnailFolder(session.Folder())))
    return 1;
  // As the program does before its window opens.
  quillon::bench::SilentUpgradeDisplay display;
  quillon::UpdateDb(session.Connection(), feedback, display);

  double best = 1e9;
  std::unique_ptr<quillon::ui::MainWindow> window;
  for (int attempt = 0; attempt < 3; ++attempt) {
    window = std::make_unique<quillon::ui::MainWindow>(session);
    window->resize(1180, 760);
    best = std::min(best, Seconds([&] {
                      window->Start();
                      window->show();
                    }));
  }
  std::printf("first list of 50,000 games (start-up, query, colours, model, first page painted), best of 3: %.3f s\n",
              best);
  Time("filter by missing year", [&] {
    emit window->findChild<quillon::ui::ClickableLabel*>(QStringLiteral("Label4"))->clicked();
    window->repaint();
  });
  Time("filter off again", [&] {
    emit window->findChild<quillon::ui::ClickableLabel*>(QStringLiteral("Label4"))->clicked();
    window->repaint();
  });
  Time("include clones", [&] {
    window->Action(QStringLiteral("Clones"))->trigger();
    window->repaint();
  });
  TypeSearch(*window, QStringLiteral("machine 4"));
  Time("missing view", [&] {
    window->Action(QStringLiteral("ViewMissing"))->trigger();
    window->repaint();
  });
  Time("genre filter", [&] {
    auto* genre = window->findChild<QComboBox*>(QStringLiteral("cmbgenre"));
    genre->setCurrentIndex(5);
    emit genre->activated(5);
    window->repaint();
  });
  Time("switch to another system and back", [&] {
    auto* tabs = window->findChild<QTabBar*>(QStringLiteral("tbsSys"));
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    window->repaint();
  });
  Time("available view, all genres", [&] {
    auto* genre = window->findChild<QComboBox*>(QStringLiteral("cmbgenre"));
    genre->setCurrentIndex(0);
    window->Action(QStringLiteral("ViewAvailable"))->trigger();
    window->repaint();
  });
  quillon::ui::GameListPane& pane = window->ListPane();
  // The grid on a window of a common desktop size, so that its first screen holds a few rows.
  window->resize(1600, 1000);
  QApplication::processEvents();
  Time("grid view, first screen with cached thumbnails", [&] {
    window->Action(QStringLiteral("ViewPictures"))->trigger();
    WaitForCovers(pane);
  });
  ScrollThroughGrid(pane);
  return 0;
}
