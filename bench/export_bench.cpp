// Export benchmark: a catalogue of 50,000 games in 5 systems, of which the 10,000 games of one
// system are selected. Times the .my export (one file; one file per genre) and the Meedio export
// of that system into a library that already holds 50,000 items. One line per operation.
#include "BenchCatalogue.h"
#include "BenchStopwatch.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "export/MeedioExport.h"
#include "export/MyExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

using namespace quillon;
using quillon::bench::Stopwatch;

namespace {

constexpr int kSystems = 5;
constexpr int kGamesPerSystem = 10000;
constexpr qint64 kSelectedSystem = 3;
constexpr int kGenres = 41;

const char* const kWords[] = {"Super", "Mega",  "Quest", "Fighter", "Racer", "Star",   "Dragon", "Ninja",
                              "Tower", "Blast", "Hyper", "World",   "Zone",  "Legend", "Force",  "Turbo"};

void Line(const char* operation, const Stopwatch& watch, const QString& detail = {})
{
  std::printf("%-52s %9.1f ms wall %9.1f ms cpu  %s\n", operation, double(watch.Wall()) / 1e6,
              double(watch.Cpu()) / 1e6, qPrintable(detail));
  std::fflush(stdout);
}

int Fail(const QString& what)
{
  std::fprintf(stderr, "failed: %s\n", qPrintable(what));
  return 1;
}

QString Title(QRandomGenerator& random, int i)
{
  QString title;
  for (int w = 0; w < 3; ++w)
    title += QString::fromLatin1(kWords[random.bounded(16)]) + QLatin1Char(' ');
  return title + QString::number(i) + QStringLiteral(" (USA)");
}

// 50,000 games in systems 1 to 5 with one to three genres each; only system 3 is selected.
bool FillCatalogue(Catalogue& catalogue)
{
  Transaction transaction(catalogue);
  SqlFailure failure;
  catalogue.TryExecute(
      QStringLiteral("UPDATE System SET EnableTab = (SystemID <= 5), FullRomPath = 1, "
                     "FullImagePath = 1, DefaultImagePath = '/pictures/', Emulator = '/usr/bin/emu -f'"),
      {}, &failure);
  QSqlQuery path =
      catalogue.Prepare(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (?, ?, ?)"), &failure);
  for (int system = 1; system <= kSystems; ++system) {
    path.addBindValue(system);
    path.addBindValue(QStringLiteral("/roms/system %1/").arg(system));
    path.addBindValue(system);
    if (!path.exec())
      return false;
  }
  QSqlQuery game = catalogue.Prepare(
      QStringLiteral("INSERT INTO Games (GameID, FullName, FileName, System, RomPath, Country, Year, Manufacturer, "
                     "Image, Description, Rating, Selected, Available) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1)"),
      &failure);
  QSqlQuery link = catalogue.Prepare(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"), &failure);
  QRandomGenerator random(7);
  int id = 0;
  for (int system = 1; system <= kSystems; ++system) {
    for (int i = 0; i < kGamesPerSystem; ++i) {
      ++id;
      const QVariantList values{id,
                                Title(random, i),
                                QStringLiteral("game %1.zip").arg(id),
                                system,
                                system,
                                1 + random.bounded(12),
                                1 + random.bounded(60),
                                1 + random.bounded(300),
                                QStringLiteral("game %1.png").arg(id),
                                QStringLiteral("An overview of game %1.\r\nIt has two lines.").arg(id),
                                random.bounded(6),
                                system == kSelectedSystem ? 1 : 0};
      for (const QVariant& value : values)
        game.addBindValue(value);
      if (!game.exec())
        return false;
      for (int g = 0, links = 1 + int(random.bounded(3)); g < links; ++g) {
        link.addBindValue(id);
        link.addBindValue(1 + (id * 7 + g * 13) % kGenres);
        if (!link.exec())
          return false;
      }
    }
  }
  return transaction.Commit();
}

ExportOptions AllOptions()
{
  ExportOptions options;
  options.incC = options.incG = options.incM = options.incO = options.incR = options.incS = options.incY = true;
  options.alpha = options.incQ = true;
  return options;
}

void TimeMyExport(Catalogue& catalogue, const char* operation, GenreScope genres, const QString& file)
{
  SilentFeedback feedback;
  const MyExportRequest request{SystemScope::All, kSelectedSystem,        genres, {}, true,
                                AllOptions(),     QStringLiteral("first")};
  Stopwatch watch;
  watch.Start();
  const ExportResult result = ExportToMy(catalogue, feedback, request, [&](const FileChoice&) { return file; });
  Line(operation, watch,
       result.Succeeded() ? QStringLiteral("%1 records, %2 files").arg(result.records).arg(result.files.size())
                          : QStringLiteral("FAILED: ") + result.error);
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const DataFolder folder(dir.filePath(QStringLiteral("data")));
  std::unique_ptr<Catalogue> catalogue = bench::FreshCatalogue(folder);
  if (!catalogue)
    return 1;

  Stopwatch timer;
  timer.Start();
  if (!FillCatalogue(*catalogue))
    return Fail(QStringLiteral("cannot fill the catalogue"));
  Line("fill the catalogue: 50,000 games, 10,000 selected", timer);

  const QString output = dir.filePath(QStringLiteral("my"));
  QDir().mkpath(output);
  TimeMyExport(*catalogue, ".my export, 10,000 games in one file", GenreScope::AllInOneFile,
               output + QStringLiteral("/all.my"));
  TimeMyExport(*catalogue, ".my export, one file per genre (auto-save)", GenreScope::SeparateFiles,
               output + QStringLiteral("/first.my"));

  // A library holding every system's games: 50,000 items.
  SilentFeedback feedback;
  const QString library = dir.filePath(QStringLiteral("library.mlf"));
  catalogue->TryExecute(QStringLiteral("UPDATE Games SET Selected = 1"), {}, nullptr);
  timer.Start();
  ExportResult built =
      ExportToH2(*catalogue, feedback, folder, H2ExportRequest{SystemScope::All, 0, AllOptions(), library});
  if (!built.Succeeded())
    return Fail(built.error);
  Line("build a library of 50,000 items (5 systems)", timer,
       QStringLiteral("%1 MB").arg(QFileInfo(library).size() / 1048576.0, 0, 'f', 1));
  catalogue->TryExecute(QStringLiteral("UPDATE Games SET Selected = (System = ?)"), {kSelectedSystem}, nullptr);

  timer.Start();
  const ExportResult result = ExportToH2(*catalogue, feedback, folder,
                                         H2ExportRequest{SystemScope::Current, kSelectedSystem, AllOptions(), library});
  if (!result.Succeeded())
    return Fail(result.error);
  Line("Meedio export, 10,000 games into 50,000 items", timer, QStringLiteral("%1 games").arg(result.records));
  return 0;
}
