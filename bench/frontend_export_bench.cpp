// Front-end export benchmark: 10,000 ticked games of one system, each with two genres, a
// two-paragraph overview and a picture of its own. Times each format's text alone (pictures left
// alone), the same export again over its own output (merged, nothing to write), and the export
// with the pictures hard-linked, first and again. One line per operation.
#include "BenchCatalogue.h"
#include "BenchStopwatch.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/StructureUpgrade.h"
#include "export/frontends/FrontendExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

#include <unistd.h>

using namespace quillon;
using quillon::bench::Stopwatch;

namespace {

constexpr int kGames = 10000;
constexpr qint64 kSystem = 3;

const char* const kWords[] = {"Super", "Mega",  "Quest", "Fighter", "Racer", "Star",   "Dragon", "Ninja",
                              "Tower", "Blast", "Hyper", "World",   "Zone",  "Legend", "Force",  "Turbo"};

void Line(const QString& operation, const Stopwatch& watch, const QString& detail = {})
{
  std::printf("%-58s %9.1f ms wall %9.1f ms cpu  %s\n", qPrintable(operation), double(watch.Wall()) / 1e6,
              double(watch.Cpu()) / 1e6, qPrintable(detail));
  std::fflush(stdout);
}

int Fail(const QString& what)
{
  std::fprintf(stderr, "failed: %s\n", qPrintable(what));
  return 1;
}

// The games, and one small PNG per game under `pictures`.
bool FillCatalogue(Catalogue& catalogue, const QString& roms, const QString& pictures)
{
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  QDir().mkpath(pictures);
  const QString first = pictures + QStringLiteral("/0.png");
  if (!image.save(first))
    return false;
  Transaction transaction(catalogue);
  SqlFailure failure;
  catalogue.TryExecute(QStringLiteral("UPDATE System SET EnableTab = 1, RemoveText = 1, Emulator = '/usr/bin/emu -f'"),
                       {}, &failure);
  catalogue.TryExecute(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (1, ?, ?)"),
                       {roms + QLatin1Char('/'), kSystem}, &failure);
  QSqlQuery game = catalogue.Prepare(
      QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Country, Year, Manufacturer, "
                     "Image, Description, Rating, Selected, Available) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, 1, 1)"),
      &failure);
  QSqlQuery link = catalogue.Prepare(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"), &failure);
  QRandomGenerator random(11);
  for (int id = 1; id <= kGames; ++id) {
    const QString picture = pictures + QStringLiteral("/%1.png").arg(id);
    // A file of its own name per game; one picture on disk keeps the fill quick.
    if (::link(QFile::encodeName(first).constData(), QFile::encodeName(picture).constData()) != 0)
      return false;
    QString title;
    for (int w = 0; w < 3; ++w)
      title += QString::fromLatin1(kWords[random.bounded(16)]) + QLatin1Char(' ');
    const QVariantList values{title + QString::number(id) + QStringLiteral(" (USA)"),
                              QStringLiteral("sub %1/%2 & Co (USA).sfc").arg(id % 10).arg(title + QString::number(id)),
                              kSystem,
                              1 + random.bounded(12),
                              1 + random.bounded(60),
                              1 + random.bounded(300),
                              picture,
                              QStringLiteral("Overview of game %1 <with> \"markup\".\r\nA second line.\r\n\r\nA "
                                             "second paragraph.")
                                  .arg(id),
                              random.bounded(11)};
    for (const QVariant& value : values)
      game.addBindValue(value);
    if (!game.exec())
      return false;
    const qint64 gameId = game.lastInsertId().toLongLong();
    for (const int genre : {2 + id % 20, 26}) {
      link.addBindValue(gameId);
      link.addBindValue(genre);
      if (!link.exec())
        return false;
    }
  }
  return transaction.Commit();
}

bool Time(Catalogue& catalogue, const QString& operation, FrontendFormat format, const QString& destination,
          MediaMode media)
{
  SilentFeedback feedback;
  const FrontendExportRequest request{format, {kSystem}, destination, media, false};
  Stopwatch watch;
  watch.Start();
  const FrontendExportResult result = ExportToFrontend(catalogue, feedback, request);
  const PictureCounts& p = result.pictures;
  Line(operation, watch,
       result.Succeeded() ? QStringLiteral("%1 games, %2 file(s) written, pictures: %3 linked %4 copied %5 in place")
                                .arg(result.games)
                                .arg(result.files.size() - result.unchanged.size())
                                .arg(p.linked)
                                .arg(p.copied)
                                .arg(p.current)
                          : QStringLiteral("FAILED: ") + result.error);
  return result.Succeeded();
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
  quillon::bench::SilentUpgradeDisplay display;
  SilentFeedback feedback;
  UpdateDb(*catalogue, feedback, display);

  Stopwatch timer;
  timer.Start();
  if (!FillCatalogue(*catalogue, dir.filePath(QStringLiteral("roms")), dir.filePath(QStringLiteral("pictures"))))
    return Fail(QStringLiteral("cannot fill the catalogue"));
  Line(QStringLiteral("fill: 10,000 ticked games with pictures"), timer);

  const QList<FrontendFormat> formats{FrontendFormat::Esde, FrontendFormat::Pegasus, FrontendFormat::RetroArch};
  bool ok = true;
  for (const FrontendFormat format : formats) {
    const QString name = FrontendName(format);
    const QString text = dir.filePath(QStringLiteral("text-") + name);
    ok &= Time(*catalogue, name + QStringLiteral(": text of 10,000 games"), format, text, MediaMode::None);
    ok &=
        Time(*catalogue, name + QStringLiteral(": the same again (merged, unchanged)"), format, text, MediaMode::None);
    const QString linked = dir.filePath(QStringLiteral("linked-") + name);
    ok &= Time(*catalogue, name + QStringLiteral(": text and 10,000 pictures linked"), format, linked, MediaMode::Link);
    ok &= Time(*catalogue, name + QStringLiteral(": the same again (pictures in place)"), format, linked,
               MediaMode::Link);
  }
  return ok ? 0 : 1;
}
