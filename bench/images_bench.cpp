// The image search at library scale, without the network: scoring the links of result pages,
// ranking a large match grid, walking a list of 100,000 games of which 1,000 are ticked, and
// finding a game's first picture in a folder of 20,000 pictures. One line per operation: name,
// count, total milliseconds, microseconds per item.
#include "BenchCatalogue.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/SystemSettings.h"
#include "images/ImageSearch.h"
#include "images/ImageSearchRules.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace quillon;

namespace {

constexpr int kGames = 100000;
constexpr int kTickedEvery = 100;
constexpr int kLinks = 100000;
constexpr int kMatches = 2000;
constexpr int kPictures = 20000;

void Report(const char* operation, int count, qint64 nanoseconds)
{
  std::printf("%-48s %8d items %10.1f ms %8.3f us/item\n", operation, count, nanoseconds / 1e6,
              nanoseconds / 1e3 / count);
  std::fflush(stdout);
}

template <typename Work>
void Time(const char* operation, int count, Work work)
{
  QElapsedTimer timer;
  timer.start();
  work();
  Report(operation, count, timer.nsecsElapsed());
}

QString LinkText(int i)
{
  static const QStringList words = {QStringLiteral("Street"), QStringLiteral("Fighter"),  QStringLiteral("Sonic"),
                                    QStringLiteral("the"),    QStringLiteral("Hedgehog"), QStringLiteral("2"),
                                    QStringLiteral("II"),     QStringLiteral("(U)"),      QStringLiteral("[!].zip")};
  QStringList text;
  for (int word = 0; word < 2 + i % 5; ++word)
    text << words[(i * 7 + word * 3) % words.size()];
  return text.join(QLatin1Char(' '));
}

// The list of a system with every hundredth game ticked.
class BenchList final : public ImageSearchView {
 public:
  explicit BenchList(std::vector<ListedGame> games) : m_games(std::move(games)) {}
  int ListCount() override { return static_cast<int>(m_games.size()); }
  ListedGame ListedGameAt(int position) override { return m_games[static_cast<size_t>(position - 1)]; }
  int SelectedPosition() override { return m_selected; }
  void SelectPosition(int position) override { m_selected = position; }

 private:
  std::vector<ListedGame> m_games;
  int m_selected = 0;
};

std::vector<ListedGame> FillGames(Catalogue& catalogue)
{
  std::vector<ListedGame> games;
  Transaction transaction(catalogue);
  SqlFailure failure;
  QSqlQuery insert = catalogue.Prepare(
      QStringLiteral("INSERT INTO Games (FullName, FileName, System, Selected) VALUES (?, ?, 3, ?)"), &failure);
  for (int i = 0; i < kGames; ++i) {
    const QString name = LinkText(i) + QStringLiteral(" %1").arg(i);
    const bool ticked = i % kTickedEvery == 0;
    insert.bindValue(0, name);
    insert.bindValue(1, name + QStringLiteral(".zip"));
    insert.bindValue(2, ticked ? 1 : 0);
    insert.exec();
    games.push_back({insert.lastInsertId().toLongLong(), name, ticked});
  }
  transaction.Commit();
  return games;
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const DataFolder folder(dir.path());
  std::unique_ptr<Catalogue> catalogue = bench::FreshCatalogue(folder);
  if (!catalogue)
    return 1;
  SilentFeedback feedback;
  qint64 sink = 0;

  Time("LinkScore of result links", kLinks, [&] {
    for (int i = 0; i < kLinks; ++i)
      sink += IsMatchScore(
          LinkScore(QStringLiteral("Sonic the Hedgehog 2"), QStringLiteral("Sonic 2 (U) [!].zip"), LinkText(i)));
  });
  Time("match grid: add and sort", kMatches, [&] {
    MatchGrid grid;
    for (int i = 0; i < kMatches; ++i)
      grid.AddMatch(QStringLiteral("http://x/%1").arg(i), 0.5F + (i % 50) / 100.0F, LinkText(i), QStringLiteral("x"),
                    1);
    grid.SortByScore();
    sink += grid.RowCount();
  });

  // A site without address is passed over, so each ticked game ends without a page.
  catalogue->TryExecute(QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (3, NULL)"), {}, nullptr);
  BenchList list(FillGames(*catalogue));
  const std::optional<SystemSettings> settings = LoadSystemSettings(*catalogue, feedback, QStringLiteral("SNES"));
  Time("AutoImageDL walk, 1 in 100 ticked", kGames, [&] {
    ImageSearch search(*catalogue, feedback, folder, settings.value_or(SystemSettings{}), list);
    sink += static_cast<qint64>(search.Run(ImageCommand::SelectedGames, false).games.size());
  });

  const QString pictures = dir.path() + QStringLiteral("/pictures/");
  QDir().mkpath(pictures);
  for (int i = 0; i < kPictures; ++i)
    QFile(pictures + QStringLiteral("Game %1.png").arg(i)).open(QIODevice::WriteOnly);
  constexpr int kLookups = 100;
  Time("PictureBaseExists in 20,000 pictures", kLookups, [&] {
    for (int i = 0; i < kLookups; ++i)
      sink += PictureBaseExists(pictures + QStringLiteral("Game %1").arg(kPictures - 1 - i)) ? 1 : 0;
  });
  std::printf("(checksum %lld)\n", static_cast<long long>(sink));
  return 0;
}
