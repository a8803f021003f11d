// Game list benchmark: an arcade system with 50,000 games (a full arcade list is about 45,000)
// shown in the main window: the first list (query, colours, model reset, first page painted),
// then filter changes and a tab switch.
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Session.h"
#include "ui/ClickableLabel.h"
#include "ui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTabBar>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kGames = 50000;

bool Fill(quillon::Catalogue& catalogue)
{
  quillon::SqlFailure failure;
  const QStringList statements{
      QStringLiteral("UPDATE System SET EnableTab = CASE WHEN SystemID IN (1, 3) THEN 1 ELSE 0 END"),
      QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, '/roms/arcade/', 1)"),
      QStringLiteral(
          "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
          "INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Available, Clone, Country, Year, "
          "Manufacturer, Image, Description, Genre, Selected) "
          "SELECT i, 'Machine ' || (i * 7919 % %1), 'm' || i || '.zip', 1, 1, i % 10 <> 0, i % 4 = 0, 1 + i % 5, "
          "1 + i % 60, 1 + i % 400, CASE WHEN i % 3 = 0 THEN NULL ELSE 'm' || i || '.png' END, "
          "CASE WHEN i % 2 = 0 THEN 'text' END, 1, i % 7 = 0 FROM n")
          .arg(kGames),
      QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, 1 + GameID % 40 FROM Games")};
  for (const QString& statement : statements) {
    if (!catalogue.TryExecute(statement, {}, &failure)) {
      std::fprintf(stderr, "%s\n", qPrintable(failure.description));
      return false;
    }
  }
  return true;
}

void Time(const char* what, const std::function<void()>& action)
{
  QElapsedTimer timer;
  timer.start();
  action();
  QApplication::processEvents();
  std::printf("%s: %.3f s\n", what, timer.elapsed() / 1000.0);
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
  if (session.Open(quillon::DataFolder(dir.path()), delivered, feedback, nullptr) != quillon::OpenOutcome::Opened ||
      !Fill(session.Connection()))
    return 1;
  quillon::ui::MainWindow window(session);
  window.resize(1180, 760);
  Time("first list of 50,000 games (start-up, query, colours, model, first page painted)", [&] {
    window.Start();
    window.show();
  });
  Time("filter by missing year", [&] {
    emit window.findChild<quillon::ui::ClickableLabel*>(QStringLiteral("Label4"))->clicked();
    window.repaint();
  });
  Time("filter off again", [&] {
    emit window.findChild<quillon::ui::ClickableLabel*>(QStringLiteral("Label4"))->clicked();
    window.repaint();
  });
  Time("include clones", [&] {
    window.Action(QStringLiteral("Clones"))->trigger();
    window.repaint();
  });
  Time("missing view", [&] {
    window.Action(QStringLiteral("ViewMissing"))->trigger();
    window.repaint();
  });
  Time("genre filter", [&] {
    auto* genre = window.findChild<QComboBox*>(QStringLiteral("cmbgenre"));
    genre->setCurrentIndex(5);
    emit genre->activated(5);
    window.repaint();
  });
  Time("switch to another system and back", [&] {
    auto* tabs = window.findChild<QTabBar*>(QStringLiteral("tbsSys"));
    tabs->setCurrentIndex(1);
    tabs->setCurrentIndex(0);
    window.repaint();
  });
  return 0;
}
