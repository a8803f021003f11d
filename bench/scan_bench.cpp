// Scan benchmark: 100,000 ROM files with year, region and maker tags in 100 ROM folders of one
// system, scanned end to end through quillon-cli (first scan, then a rescan of the same tree).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <cstdio>

namespace {

const QString kCli = QStringLiteral(QUILLON_BIN_DIR "/quillon-cli");

// CPU seconds used by finished child processes so far: the figure that does not depend on what
// else the machine is doing.
double ChildCpuSeconds()
{
  rusage usage = {};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

bool RunCli(const QStringList& arguments, double* seconds = nullptr, double* cpuSeconds = nullptr)
{
  const double cpuBefore = ChildCpuSeconds();
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  QElapsedTimer timer;
  timer.start();
  process.start(kCli, arguments);
  process.waitForFinished(-1);
  if (seconds)
    *seconds = timer.elapsed() / 1000.0;
  if (cpuSeconds)
    *cpuSeconds = ChildCpuSeconds() - cpuBefore;
  return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
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

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  const int folders = 100;
  const int filesPerFolder = 1000;
  QTemporaryDir work;
  const QString roms = work.filePath(QStringLiteral("roms"));
  const QString data = work.filePath(QStringLiteral("data"));
  QRandomGenerator random(20261206);
  QElapsedTimer timer;
  timer.start();
  for (int folder = 0; folder < folders; ++folder) {
    const QString path = QStringLiteral("%1/folder%2").arg(roms).arg(folder, 3, 10, QLatin1Char('0'));
    QDir().mkpath(path);
    for (int file = 0; file < filesPerFolder; ++file) {
      QFile rom(path + QLatin1Char('/') + RandomName(random, folder * filesPerFolder + file));
      if (!rom.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(rom.fileName()));
        return 1;
      }
    }
  }
  std::printf("generate %d files in %d folders: %.2f s\n", folders * filesPerFolder, folders, timer.elapsed() / 1000.0);
  for (int folder = 0; folder < folders; ++folder) {
    const QString path = QStringLiteral("%1/folder%2").arg(roms).arg(folder, 3, 10, QLatin1Char('0'));
    if (!RunCli({QStringLiteral("--data-dir"), data, QStringLiteral("system"), QStringLiteral("add-rompath"),
                 QStringLiteral("SNES"), path})) {
      std::fprintf(stderr, "add-rompath failed\n");
      return 1;
    }
  }
  const QStringList scan{QStringLiteral("--data-dir"), data, QStringLiteral("scan"), QStringLiteral("--system"),
                         QStringLiteral("SNES")};
  double first = 0;
  double second = 0;
  double firstCpu = 0;
  double secondCpu = 0;
  const bool firstOk = RunCli(scan, &first, &firstCpu);
  std::printf("first scan, 100,000 files (quillon-cli scan): %.2f s (%.2f s CPU)%s\n", first, firstCpu,
              firstOk ? "" : " (FAILED)");
  const bool secondOk = RunCli(scan, &second, &secondCpu);
  std::printf("rescan of the same tree (quillon-cli scan): %.2f s (%.2f s CPU)%s\n", second, secondCpu,
              secondOk ? "" : " (FAILED)");
  return firstOk && secondOk ? 0 : 1;
}
