// The structure upgrade at catalogue scale: 100,000 games with two genre links each. Times the
// start of an up-to-date catalogue (key renumbering and the revision check, run at every start)
// and the one-time upgrade of the same games from the oldest structure (genre links built from
// the single genre column, the GenresGames rework, Zinc). One line per operation.
#include "BenchCatalogue.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/StructureUpgrade.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

using namespace quillon;

namespace {

constexpr int kGames = 100000;
constexpr int kStarts = 20;

class NoDisplay final : public UpgradeDisplay {
 public:
  void ShowLabel(const QString&) override {}
  void ShowProgress(int) override {}
};

std::unique_ptr<Catalogue> FreshCatalogue(const QTemporaryDir& dir, const QString& name)
{
  return bench::FreshCatalogue(DataFolder(dir.filePath(name)));
}

bool Run(Catalogue& catalogue, const QString& sql)
{
  SqlFailure failure;
  if (catalogue.TryExecute(sql, {}, &failure))
    return true;
  std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(failure.description));
  return false;
}

bool AddGames(Catalogue& catalogue, bool withLinks)
{
  Transaction transaction(catalogue);
  const QString games = QStringLiteral(
                            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                            "INSERT INTO Games (FullName, FileName, System, Genre) "
                            "SELECT 'Game ' || i, 'game' || i || '.zip', 1 + i % 28, 2 + i % 40 FROM n")
                            .arg(kGames);
  if (!Run(catalogue, games))
    return false;
  if (withLinks &&
      !(Run(catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, Genre FROM Games")) &&
        Run(catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, 1 FROM Games"))))
    return false;
  return transaction.Commit();
}

// The oldest structure the steps know, holding the games.
bool MakeOldest(Catalogue& catalogue)
{
  QStringList statements = {
      QStringLiteral("DROP VIEW SaveAsH2"),
      QStringLiteral("DROP VIEW SaveAsMy"),
      QStringLiteral("DROP VIEW File"),
      QStringLiteral("DROP TABLE SubGenres"),
      QStringLiteral("DROP TABLE dURL"),
      QStringLiteral("ALTER TABLE Inc DROP COLUMN IncQ"),
      QStringLiteral("ALTER TABLE Games ADD COLUMN GenresGames TEXT"),
      QStringLiteral("CREATE VIEW File AS SELECT Games.GameID, RomPath.RomPath || Games.FileName AS File "
                     "FROM RomPath INNER JOIN Games ON RomPath.PathID = Games.RomPath")};
  for (const char* column : {"IgnoreMultiples", "ImageFilter", "ResumePosition", "DefaultImage", "Emulator", "SysImg",
                             "Recurse", "dResumePosition", "dIgnoreMultiples", "dAutoDL", "dTimeOut"})
    statements << QStringLiteral("ALTER TABLE System DROP COLUMN ") + QString::fromLatin1(column);
  for (const char* column : {"Clone", "ExtFile", "Edited", "Emulator"})
    statements << QStringLiteral("ALTER TABLE Games DROP COLUMN ") + QString::fromLatin1(column);
  for (const QString& statement : statements) {
    if (!Run(catalogue, statement))
      return false;
  }
  return true;
}

void Report(const char* operation, int count, qint64 nanoseconds)
{
  std::printf("%-48s %8d games %10.1f ms\n", operation, count, nanoseconds / 1e6);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  SilentFeedback feedback;
  NoDisplay display;

  std::unique_ptr<Catalogue> current = FreshCatalogue(dir, QStringLiteral("current"));
  if (!current || !AddGames(*current, true))
    return 1;
  UpdateDb(*current, feedback, display);
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < kStarts; ++i)
    UpdateDb(*current, feedback, display);
  Report("UpdateDb, up to date (per start)", kGames, timer.nsecsElapsed() / kStarts);
  current->TryExecute(QStringLiteral("DELETE FROM Games WHERE GameID = (SELECT max(GameID) FROM Games)"), {}, nullptr);
  timer.restart();
  UpdateDb(*current, feedback, display);
  Report("UpdateDb, renumbering after a deletion", kGames, timer.nsecsElapsed());

  std::unique_ptr<Catalogue> oldest = FreshCatalogue(dir, QStringLiteral("oldest"));
  if (!oldest || !MakeOldest(*oldest) || !AddGames(*oldest, false))
    return 1;
  timer.restart();
  const UpgradeResult result = UpdateDb(*oldest, feedback, display);
  Report("UpdateDb, from the oldest structure", kGames, timer.nsecsElapsed());
  if (!result.revisionStored) {
    std::fprintf(stderr, "the upgrade from the oldest structure did not complete\n");
    return 1;
  }
  return 0;
}
