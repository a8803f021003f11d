// Scan benchmark: ROM files with year, region and maker tags, 1,000 to a ROM folder of one system,
// scanned end to end through quillon-cli: a first scan into a new catalogue, then a rescan of the
// unchanged tree. Each scan is given with its elapsed and processor time and its peak memory, and
// as a ratio to a reference taken in the same run: `find` over the tree plus one SQLite bulk
// insert of the names into a new table, the least a scan must do.
//
//   scan_bench [--cli PROGRAM]... [FILES...]
//     FILES     sizes to run, in files (default 100000 300000)
//     --cli     a quillon-cli to measure (default: the one built with this benchmark); given more
//               than once, each scans the same tree into a catalogue of its own, one after the
//               other, so builds can be compared in one run
#include "BenchCatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

extern char** environ;

namespace {

constexpr int kFilesPerFolder = 1000;
const QString kBuiltCli = QStringLiteral(QUILLON_BIN_DIR "/quillon-cli");

// What one run of a program cost.
struct Cost {
  bool ok = false;
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMb = 0;
};

double Seconds(const timeval& time)
{
  return time.tv_sec + time.tv_usec / 1e6;
}

// Runs a program with its output thrown away and measures it alone (wait4 gives the child's own
// processor time and peak resident memory).
Cost Run(const QString& program, const QStringList& arguments)
{
  std::vector<QByteArray> storage{QFile::encodeName(program)};
  for (const QString& argument : arguments)
    storage.push_back(argument.toUtf8());
  std::vector<char*> argv;
  for (QByteArray& text : storage)
    argv.push_back(text.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  Cost cost;
  QElapsedTimer timer;
  timer.start();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return cost;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid)
    return cost;
  cost.seconds = timer.elapsed() / 1000.0;
  cost.cpuSeconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  cost.peakMb = usage.ru_maxrss / 1024.0;
  cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return cost;
}

double CpuSecondsOfThisProcess()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

QString RandomName(QRandomGenerator& random, int index)
{
  static const char* makers[] = {"Capcom", "Namco", "Taito", "Konami", "Sega", "Nintendo", "Hudson Soft", "Irem"};
  static const char* regions[] = {"U", "E", "J", "JU", "UE", "F", "G", "K"};
  QString name = QStringLiteral("Game Title %1").arg(index);
  if (random.bounded(4) != 0)
    name += QStringLiteral(" (%1)").arg(1975 + random.bounded(45));
  if (random.bounded(3) != 0)
    name += QStringLiteral("(%1)").arg(QString::fromLatin1(makers[random.bounded(8)]));
  name += QStringLiteral(" (%1)").arg(QString::fromLatin1(regions[random.bounded(8)]));
  if (random.bounded(5) == 0)
    name += QStringLiteral(" [!]");
  return name + QStringLiteral(".smc");
}

// Folders `first` .. `last` - 1 of 1,000 files each, under `roms`.
QStringList MakeFolders(const QString& roms, int first, int last)
{
  QRandomGenerator random(20261206 + first);
  QStringList folders;
  for (int folder = first; folder < last; ++folder) {
    const QString path = QStringLiteral("%1/folder%2/").arg(roms).arg(folder, 3, 10, QLatin1Char('0'));
    QDir().mkpath(path);
    for (int file = 0; file < kFilesPerFolder; ++file) {
      const QByteArray name = QFile::encodeName(path + RandomName(random, folder * kFilesPerFolder + file));
      const int descriptor = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
      if (descriptor < 0 || ::close(descriptor) != 0) {
        std::fprintf(stderr, "cannot create %s\n", name.constData());
        return {};
      }
    }
    folders << path;
  }
  return folders;
}

// The names under `folders`, relative to their folder.
QStringList NamesIn(const QStringList& folders)
{
  QStringList names;
  for (const QString& folder : folders) {
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
      names << it.next().mid(folder.size());
  }
  return names;
}

// One prepared INSERT of every name into a new table, in one transaction.
Cost BulkInsert(const QString& file, const QStringList& names)
{
  Cost cost;
  const double cpuBefore = CpuSecondsOfThisProcess();
  QElapsedTimer timer;
  timer.start();
  sqlite3* database = nullptr;
  sqlite3_stmt* insert = nullptr;
  if (sqlite3_open(QFile::encodeName(file).constData(), &database) == SQLITE_OK &&
      sqlite3_exec(database, "CREATE TABLE Names (Name TEXT); BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK &&
      sqlite3_prepare_v2(database, "INSERT INTO Names (Name) VALUES (?)", -1, &insert, nullptr) == SQLITE_OK) {
    cost.ok = true;
    for (const QString& name : names) {
      const QByteArray text = name.toUtf8();
      sqlite3_bind_text(insert, 1, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
      cost.ok = sqlite3_step(insert) == SQLITE_DONE && cost.ok;
      sqlite3_reset(insert);
    }
    cost.ok = sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK && cost.ok;
  }
  sqlite3_finalize(insert);
  sqlite3_close(database);
  cost.seconds = timer.elapsed() / 1000.0;
  cost.cpuSeconds = CpuSecondsOfThisProcess() - cpuBefore;
  return cost;
}

bool AddRomFolders(const QString& data, const QStringList& folders, const QString& romTypes = {})
{
  const std::unique_ptr<quillon::Catalogue> catalogue = quillon::bench::FreshCatalogue(quillon::DataFolder(data));
  if (!catalogue)
    return false;
  quillon::SqlFailure failure;
  if (!romTypes.isEmpty() &&
      !catalogue->TryExecute(QStringLiteral("UPDATE System SET DefaultRomType = ? WHERE SystemID = 3"), {romTypes},
                             &failure)) {
    std::fprintf(stderr, "%s\n", qPrintable(failure.description));
    return false;
  }
  for (const QString& folder : folders) {
    if (!catalogue->TryExecute(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, 3)"), {folder},
                               &failure)) {
      std::fprintf(stderr, "%s\n", qPrintable(failure.description));
      return false;
    }
  }
  return true;
}

void Print(const char* what, const Cost& cost, const Cost& reference)
{
  std::printf("  %-34s %6.2f s (%5.2f s CPU) = %5.1f x reference (%4.1f x in CPU), peak %4.0f MB%s\n", what,
              cost.seconds, cost.cpuSeconds, cost.seconds / reference.seconds, cost.cpuSeconds / reference.cpuSeconds,
              cost.peakMb, cost.ok ? "" : " (FAILED)");
}

// A first scan and a rescan of the data folder's SNES system, each printed against the reference.
// The catalogue's own upgrade at its first opening is not part of the scan.
bool ScanTwice(const QString& program, const QString& data, const char* first, const char* again, const Cost& reference)
{
  Run(program, {QStringLiteral("--data-dir"), data, QStringLiteral("info")});
  const QStringList scan{QStringLiteral("--data-dir"), data, QStringLiteral("scan"), QStringLiteral("--system"),
                         QStringLiteral("SNES")};
  const Cost firstCost = Run(program, scan);
  Print(first, firstCost, reference);
  const Cost againCost = Run(program, scan);
  Print(again, againCost, reference);
  return firstCost.ok && againCost.ok;
}

bool Measure(const QString& work, const QStringList& folders, const QStringList& programs)
{
  const int files = static_cast<int>(folders.size()) * kFilesPerFolder;
  std::printf("%d files in %d ROM folders\n", files, static_cast<int>(folders.size()));
  QStringList findArguments = folders;
  findArguments << QStringLiteral("-type") << QStringLiteral("f");
  const Cost find = Run(QStringLiteral("/usr/bin/find"), findArguments);
  const Cost insert = BulkInsert(work + QStringLiteral("/names%1.sqlite").arg(files), NamesIn(folders));
  const Cost reference{find.ok && insert.ok, find.seconds + insert.seconds, find.cpuSeconds + insert.cpuSeconds, 0};
  std::printf("  %-34s %6.2f s (%5.2f s CPU)\n", "find", find.seconds, find.cpuSeconds);
  std::printf("  %-34s %6.2f s (%5.2f s CPU)\n", "bulk insert of the names", insert.seconds, insert.cpuSeconds);
  std::printf("  %-34s %6.2f s (%5.2f s CPU)%s\n", "reference: find + insert", reference.seconds, reference.cpuSeconds,
              reference.ok ? "" : " (FAILED)");
  bool ok = reference.ok;
  for (int i = 0; i < programs.size(); ++i) {
    const QString data = work + QStringLiteral("/data%1-%2").arg(files).arg(i);
    if (!AddRomFolders(data, folders))
      return false;
    if (programs.size() > 1)
      std::printf("  %s\n", qPrintable(programs[i]));
    ok = ScanTwice(programs[i], data, "first scan (quillon-cli scan)", "rescan of the unchanged tree", reference) && ok;
  }
  return ok;
}

// `games` disc games in one folder: a cue sheet naming two tracks whose names differ from its own.
QString MakeDiscFolder(const QString& roms, int games)
{
  const QString folder = roms + QStringLiteral("/discs/");
  QDir().mkpath(folder);
  for (int game = 0; game < games; ++game) {
    const QString name = QStringLiteral("Disc Game %1 (USA)").arg(game, 5, 10, QLatin1Char('0'));
    QFile cue(folder + name + QStringLiteral(".cue"));
    if (!cue.open(QIODevice::WriteOnly))
      return {};
    for (int track = 1; track <= 2; ++track) {
      const QString trackName = QStringLiteral("DG%1 T%2.bin").arg(game).arg(track);
      cue.write("FILE \"" + trackName.toUtf8() + "\" BINARY\r\n  TRACK 0" + QByteArray::number(track) +
                " MODE2/2352\r\n    INDEX 01 00:00:00\r\n");
      QFile bin(folder + trackName);
      if (!bin.open(QIODevice::WriteOnly))
        return {};
    }
  }
  return folder;
}

// A folder of disc games: every sheet is read, and its tracks are no games of their own.
bool MeasureDiscs(const QString& work, const QString& roms, const QStringList& programs)
{
  constexpr int kDiscGames = 10000;
  const QString folder = MakeDiscFolder(roms, kDiscGames);
  if (folder.isEmpty())
    return false;
  std::printf("%d disc games (a cue and two tracks each, %d files) in one ROM folder\n", kDiscGames, kDiscGames * 3);
  const Cost find = Run(QStringLiteral("/usr/bin/find"), {folder, QStringLiteral("-type"), QStringLiteral("f")});
  QStringList sheets;
  for (int game = 0; game < kDiscGames; ++game)
    sheets << QStringLiteral("Disc Game %1 (USA).cue").arg(game, 5, 10, QLatin1Char('0'));
  const Cost insert = BulkInsert(work + QStringLiteral("/discnames.sqlite"), sheets);
  const Cost reference{find.ok && insert.ok, find.seconds + insert.seconds, find.cpuSeconds + insert.cpuSeconds, 0};
  std::printf("  %-34s %6.2f s (%5.2f s CPU)%s\n", "reference: find + insert", reference.seconds, reference.cpuSeconds,
              reference.ok ? "" : " (FAILED)");
  bool ok = reference.ok;
  for (int i = 0; i < programs.size(); ++i) {
    const QString data = work + QStringLiteral("/discdata-%1").arg(i);
    if (!AddRomFolders(data, {folder}, QStringLiteral("cue;m3u;chd")))
      return false;
    ok = ScanTwice(programs[i], data, "first scan of the disc games", "rescan of the disc games", reference) && ok;
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QList<int> sizes;
  QStringList programs;
  const QStringList arguments = app.arguments().mid(1);
  for (int i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("--cli") && i + 1 < arguments.size())
      programs << arguments[++i];
    else
      sizes << arguments[i].toInt();
  }
  if (sizes.isEmpty())
    sizes = {100000, 300000};
  if (programs.isEmpty())
    programs << kBuiltCli;
  std::sort(sizes.begin(), sizes.end());
  QTemporaryDir work;
  const QString roms = work.filePath(QStringLiteral("roms"));
  QStringList folders;
  bool ok = true;
  for (const int size : sizes) {
    // Larger sizes add folders to the tree of the smaller ones.
    const int wanted = std::max(1, size / kFilesPerFolder);
    QElapsedTimer timer;
    timer.start();
    if (wanted > folders.size()) {
      const QStringList added = MakeFolders(roms, static_cast<int>(folders.size()), wanted);
      if (added.isEmpty())
        return 1;
      folders += added;
      std::printf("generated %d more files: %.1f s\n", static_cast<int>(added.size()) * kFilesPerFolder,
                  timer.elapsed() / 1000.0);
    }
    ok = Measure(work.path(), folders.mid(0, wanted), programs) && ok;
  }
  ok = MeasureDiscs(work.path(), roms, programs) && ok;
  return ok ? 0 : 1;
}
