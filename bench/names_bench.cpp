// File-name analysis at scan scale: 100,000 generated ROM names through the tag look-ups, the
// text routines, and the country repair over 100,000 catalogue games. One line per operation:
// name, count, total milliseconds, microseconds per item.
#include "BenchCatalogue.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "names/FileNameTags.h"
#include "names/FixCountries.h"
#include "names/Similarity.h"
#include "names/TextCleaning.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace quillon;

namespace {

constexpr int kNames = 100000;

QStringList GeneratedNames(int count)
{
  static const QStringList titles = {
      QStringLiteral("Street Fighter EX"), QStringLiteral("Tetris"),  QStringLiteral("Super Mario Bros. 3"),
      QStringLiteral("Bob's \"Game\""),    QStringLiteral("Pac-Man"), QStringLiteral("Sonic the Hedgehog 2"),
      QStringLiteral("Final Fight"),       QStringLiteral("Out Run")};
  static const QStringList years = {QStringLiteral("(1987)"), QStringLiteral("(1996)"), QStringLiteral("(1996-1998)"),
                                    QStringLiteral("(199x)"), QStringLiteral("(19xx)"), QString()};
  static const QStringList regions = {QStringLiteral("(U)"),   QStringLiteral("(J)"),  QStringLiteral("(E)"),
                                      QStringLiteral("(JUE)"), QStringLiteral("(Br)"), QString()};
  static const QStringList makers = {QStringLiteral("(Capcom)"), QStringLiteral("(Sega)"),
                                     QStringLiteral("(Namco)"),  QStringLiteral("(Atari (license))"),
                                     QStringLiteral("(Nobody)"), QString()};
  static const QStringList flags = {QStringLiteral("[!]"), QStringLiteral("[b1]"), QStringLiteral("(V1.1)"), QString()};
  QRandomGenerator random(7);
  QStringList names;
  names.reserve(count);
  for (int i = 0; i < count; ++i) {
    names << titles[random.bounded(titles.size())] + QStringLiteral(" %1 ").arg(i) +
                 years[random.bounded(years.size())] + makers[random.bounded(makers.size())] +
                 regions[random.bounded(regions.size())] + flags[random.bounded(flags.size())] + QStringLiteral(".zip");
  }
  return names;
}

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

std::vector<std::pair<qint64, QStringList>> CountryCodes(Catalogue& catalogue)
{
  std::vector<std::pair<qint64, QStringList>> codes;
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("SELECT CountryID, goodcode FROM Country"), {}, nullptr);
  for (const QVariantList& row : rows ? rows->All() : std::vector<QVariantList>{}) {
    QStringList pieces = row[1].toString().split(QLatin1Char(';'));
    pieces.removeLast();
    codes.emplace_back(row[0].toLongLong(), pieces);
  }
  return codes;
}

// For contrast: the three look-ups as walks over every year, every code and every maker.
qint64 PlainAnalysis(Lookups& lookups, const std::vector<std::pair<qint64, QStringList>>& countryCodes,
                     const QString& name)
{
  qint64 year = kUnknownYear;
  for (int y = 1960; y <= 2020; ++y) {
    if (name.contains(QLatin1Char('(') + QString::number(y)))
      year = lookups.GetYear(QString::number(y), true).toLongLong();
  }
  qint64 country = kUnknownCountry;
  for (const auto& [key, pieces] : countryCodes) {
    for (const QString& piece : pieces) {
      if (name.contains(QLatin1Char('(') + piece + QLatin1Char(')'))) {
        country = key;
        break;
      }
    }
  }
  qint64 maker = kUnknownManufacturer;
  const PairTable& cache = lookups.ManufacturerCache();
  for (int i = 0; i < cache.Count(); ++i) {
    if (name.contains(QLatin1Char('(') + cache.Second(i).toString() + QLatin1Char(')')))
      maker = lookups.GetManf(cache.Second(i), true).toLongLong();
  }
  return year + country + maker;
}

void FillGames(Catalogue& catalogue, const QStringList& names)
{
  Transaction transaction(catalogue);
  SqlFailure failure;
  QSqlQuery insert = catalogue.Prepare(
      QStringLiteral("INSERT INTO Games (FullName, FileName, System, Country) VALUES (?, ?, 3, 1)"), &failure);
  for (const QString& name : names) {
    insert.bindValue(0, ScannedFullName(name));
    insert.bindValue(1, name);
    insert.exec();
  }
  transaction.Commit();
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
  catalogue->TryExecute(QStringLiteral("INSERT INTO Manufacturer (Manufacturer) VALUES ('Atari (license)')"), {},
                        nullptr);
  SilentFeedback feedback;
  Lookups lookups(*catalogue, feedback);
  FileNameTags tags(lookups);
  const QStringList names = GeneratedNames(kNames);
  // The first calls build the caches and read the country codes.
  tags.CheckYear(names[0]);
  tags.CheckCountry(names[0]);
  tags.GetManfFromName(names[0]);

  const std::vector<std::pair<qint64, QStringList>> countryCodes = CountryCodes(*catalogue);
  qint64 sink = 0;
  Time("CheckYear", kNames, [&] {
    for (const QString& name : names)
      sink += tags.CheckYear(name);
  });
  Time("CheckCountry", kNames, [&] {
    for (const QString& name : names)
      sink += tags.CheckCountry(name);
  });
  Time("GetManfFromName", kNames, [&] {
    for (const QString& name : names)
      sink += tags.GetManfFromName(name);
  });
  Time("full name + year + country + maker (a scan's)", kNames, [&] {
    for (const QString& name : names)
      sink +=
          ScannedFullName(name).size() + tags.CheckYear(name) + tags.CheckCountry(name) + tags.GetManfFromName(name);
  });
  constexpr int kPlainNames = kNames / 10;
  Time("plain loops over every year, code and maker", kPlainNames, [&] {
    for (int i = 0; i < kPlainNames; ++i)
      sink += PlainAnalysis(lookups, countryCodes, names[i]);
  });
  const QStringList makerNames = {QStringLiteral("CAPCOM"), QStringLiteral("sega"), QStringLiteral("Namco"),
                                  QStringLiteral("Atari (license)")};
  Time("GetManf by name", kNames, [&] {
    for (int i = 0; i < kNames; ++i)
      sink += lookups.GetManf(makerNames[i % makerNames.size()], true).toLongLong();
  });
  Time("StripCharacters", kNames, [&] {
    for (const QString& name : names)
      sink += StripCharacters(name).size();
  });
  Time("Compare (words)", kNames, [&] {
    for (const QString& name : names)
      sink += static_cast<qint64>(
          Compare(name, QStringLiteral("Street Fighter EX 2"), QStringLiteral(" "), CompareMode::IgnoreCase) * 100);
  });

  PairTable links;
  for (int game = 0; game < kNames; ++game)
    links.Append(game, 1 + game % 7);
  Time("GetGCount on 100,000 links", kNames, [&] {
    for (int game = kNames - 1; game >= 0; --game)
      sink += GetGCount(game, links, feedback);
  });

  FillGames(*catalogue, names);
  Time("FixCountries over 100,000 games", kNames, [&] { sink += FixCountries(*catalogue, feedback); });

  std::fprintf(stderr, "(checksum %lld)\n", static_cast<long long>(sink));
  return 0;
}
