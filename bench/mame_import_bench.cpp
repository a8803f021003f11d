// Mame import benchmark: generates a -listxml of the size of Mame 0.251's (39,400 games and 5,900
// devices, about 270 MB, 26,000 clones, 3,250 makers) and a stand-in executable that prints it,
// then times the stand-in's output alone, the reading alone, an import into the delivered
// catalogue and a second import over it. One line per operation, with the peak memory so far.
//
//   mame_import_bench [MAME]   MAME: a real executable to import from instead of the stand-in
#include "catalogue/Catalogue.h"
#include "catalogue/DataFolder.h"
#include "catalogue/Lookups.h"
#include "common/Processes.h"
#include "scan/MameImport.h"
#include "scan/MameImportProcess.h"
#include "scan/MameImportXml.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

using namespace quillon;

namespace {

constexpr int kGames = 39400;
constexpr int kDevices = 5900;
constexpr int kMakers = 3250;

// Counts statuses instead of showing them, as a front end would receive them.
class CountingFeedback final : public Feedback {
 public:
  void SetStatus(StatusKind kind, const QString&) override
  {
    ++statuses;
    errors += kind == StatusKind::Error ? 1 : 0;
  }
  void SetProgressMaximum(int) override {}
  void SetProgressValue(int) override {}
  void AddResultLine(const QString&) override {}
  void Yield() override {}
  Answer Ask(const Question& question) override { return question.fallback; }
  void ShowMessage(const QString&, const QString&, MessageIcon) override {}

  int statuses = 0;
  int errors = 0;
};

long PeakRssMb()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// Processor time of this process (user and system), in ms: on a shared machine the elapsed time
// also counts the waits for the processor.
qint64 CpuMs()
{
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const auto ms = [](const timeval& time) { return qint64(time.tv_sec) * 1000 + time.tv_usec / 1000; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Wall and processor time of one operation.
class Stopwatch {
 public:
  Stopwatch() : m_cpuStart(CpuMs()) { m_wall.start(); }
  qint64 WallMs() const { return m_wall.elapsed(); }
  qint64 CpuUsedMs() const { return CpuMs() - m_cpuStart; }

 private:
  QElapsedTimer m_wall;
  qint64 m_cpuStart;
};

void PrintLine(const char* operation, const Stopwatch& stopwatch, const QString& detail)
{
  std::printf("%-34s %6lld ms (cpu %6lld ms)  peak RSS %4ld MB  %s\n", operation,
              static_cast<long long>(stopwatch.WallMs()), static_cast<long long>(stopwatch.CpuUsedMs()), PeakRssMb(),
              qPrintable(detail));
  std::fflush(stdout);
}

QByteArray Hex(QRandomGenerator& random, int digits)
{
  QByteArray text;
  for (int i = 0; i < digits; ++i)
    text.append("0123456789abcdef"[random.bounded(16)]);
  return text;
}

QByteArray GameName(int index)
{
  return "g" + QByteArray::number(index);
}

// The maker of a game: a few thousand names, some with parentheses and "&".
QByteArray Maker(int index)
{
  const int maker = index % kMakers;
  if (maker % 7 == 0)
    return "Maker " + QByteArray::number(maker) + " (licensed to Other &amp; Co)";
  return "Maker " + QByteArray::number(maker);
}

QByteArray Year(int index)
{
  const int year = index % 100;
  if (year == 98)
    return "19??";
  if (year == 99)
    return "198?";
  return QByteArray::number(1971 + year);
}

// The details Mame prints after the maker: ROMs, devices, chips, screen, controls, switches.
QByteArray MachineDetails(QRandomGenerator& random)
{
  QByteArray out;
  const int roms = 10 + random.bounded(28);
  for (int r = 0; r < roms; ++r) {
    out += "\t\t<rom name=\"rom" + QByteArray::number(r) + ".bin\" size=\"16384\" crc=\"" + Hex(random, 8) +
           "\" sha1=\"" + Hex(random, 40) + "\" region=\"maincpu\" offset=\"" + QByteArray::number(r * 4000) + "\"/>\n";
  }
  for (int d = 0; d < 12; ++d)
    out += "\t\t<device_ref name=\"device" + QByteArray::number(random.bounded(kDevices)) + "\"/>\n";
  out +=
      "\t\t<chip type=\"cpu\" tag=\"maincpu\" name=\"Zilog Z80\" clock=\"3000000\"/>\n"
      "\t\t<chip type=\"audio\" tag=\"ay1\" name=\"AY-3-8910A PSG\" clock=\"1500000\"/>\n"
      "\t\t<display tag=\"screen\" type=\"raster\" rotate=\"270\" width=\"256\" height=\"224\" "
      "refresh=\"59.637405\" pixclock=\"6000000\" htotal=\"384\" hbend=\"128\" hbstart=\"384\" vtotal=\"262\" "
      "vbend=\"22\" vbstart=\"246\" />\n"
      "\t\t<sound channels=\"1\"/>\n"
      "\t\t<input players=\"2\" coins=\"2\">\n"
      "\t\t\t<control type=\"joy\" player=\"1\" buttons=\"2\" ways=\"8\"/>\n"
      "\t\t</input>\n";
  const int switches = 2 + random.bounded(8);
  for (int s = 0; s < switches; ++s) {
    out += "\t\t<dipswitch name=\"Switch " + QByteArray::number(s) +
           "\" tag=\"DSWA\" mask=\"7\">\n"
           "\t\t\t<diplocation name=\"SWA\" number=\"8\"/>\n";
    for (int v = 0; v < 6; ++v)
      out += "\t\t\t<dipvalue name=\"" + QByteArray::number(v) + " Coins/1 Credit &gt; x\" value=\"" +
             QByteArray::number(v) + "\"/>\n";
    out += "\t\t</dipswitch>\n";
  }
  out +=
      "\t\t<port tag=\":IN0\">\n\t\t</port>\n"
      "\t\t<driver status=\"good\" emulation=\"good\" savestate=\"supported\"/>\n";
  return out;
}

QByteArray GameElement(QRandomGenerator& random, int index)
{
  const bool clone = index % 3 != 0;
  const int parent = index - index % 3;
  QByteArray out = "\t<machine name=\"" + GameName(index) + "\" sourcefile=\"bench/bench.cpp\"";
  if (clone)
    out += " cloneof=\"" + GameName(parent) + "\" romof=\"" + GameName(parent) + "\"";
  out += ">\n\t\t<description>Game " + QByteArray::number(index) + " &quot;Deluxe&quot; \xC2\xA3 Edition (World, rev " +
         QByteArray::number(index % 5) + ")</description>\n\t\t<year>" + Year(index) + "</year>\n\t\t<manufacturer>" +
         Maker(index) + "</manufacturer>\n";
  return out + MachineDetails(random) + "\t</machine>\n";
}

QByteArray DeviceElement(int index)
{
  return "\t<machine name=\"device" + QByteArray::number(index) +
         "\" sourcefile=\"devices/bench.cpp\" isdevice=\"yes\" runnable=\"no\">\n\t\t<description>Device " +
         QByteArray::number(index) + "</description>\n\t\t<sound channels=\"0\"/>\n\t</machine>\n";
}

bool WriteFile(const QString& path, const QByteArray& content)
{
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// The list and a -listfull of the same machines, written as they are made.
bool GenerateLists(const QString& xmlPath, const QString& fullPath, qint64* bytes)
{
  QFile xml(xmlPath);
  QFile full(fullPath);
  if (!xml.open(QIODevice::WriteOnly) || !full.open(QIODevice::WriteOnly))
    return false;
  QRandomGenerator random(251);
  xml.write(
      "<?xml version=\"1.0\"?>\n<!DOCTYPE mame [\n<!ELEMENT mame (machine+)>\n"
      "\t<!ATTLIST mame build CDATA #IMPLIED>\n]>\n\n<mame build=\"0.251 (bench)\" debug=\"no\" "
      "mameconfig=\"10\">\n");
  full.write("Name:             Description:\n");
  for (int i = 0; i < kGames; ++i) {
    xml.write(GameElement(random, i));
    full.write(GameName(i) + " \"Game\"\n");
  }
  for (int i = 0; i < kDevices; ++i) {
    xml.write(DeviceElement(i));
    full.write("device" + QByteArray::number(i) + " \"Device\"\n");
  }
  xml.write("</mame>\n");
  *bytes = xml.size();
  return true;
}

bool WriteStandIn(const QString& path, const QString& xmlPath, const QString& fullPath)
{
  const QByteArray script = "#!/bin/sh\ncase \"$1\" in\n  -listxml) exec cat '" + xmlPath.toUtf8() +
                            "' ;;\n  -listfull) exec cat '" + fullPath.toUtf8() +
                            "' ;;\n  *) echo \"Error: unknown option: $1\" >&2; exit 6 ;;\nesac\n";
  return WriteFile(path, script) && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The three lists of an old build for the same games (-ll, -listgames, -listclones; CR LF), and a
// stand-in that prints them, or, with `flood`, prints 1 GiB of -ll lines.
bool WriteOldBuildStandIn(const QString& path, const QString& folder, bool flood)
{
  QFile list(folder + QStringLiteral("/old-list.txt"));
  QFile years(folder + QStringLiteral("/old-year.txt"));
  QFile clones(folder + QStringLiteral("/old-clones.txt"));
  if (!list.open(QIODevice::WriteOnly) || !years.open(QIODevice::WriteOnly) || !clones.open(QIODevice::WriteOnly))
    return false;
  list.write("Name:     Description:\r\n");
  clones.write("Name:    Clone of:\r\n");
  for (int i = 0; i < kGames; ++i) {
    const QByteArray title = "Game " + QByteArray::number(i) + " (World, rev " + QByteArray::number(i % 5) + ")";
    list.write(GameName(i).leftJustified(10) + "\"" + title + "\"\r\n");
    years.write(Year(i).leftJustified(5) + Maker(i).replace("&amp;", "&").leftJustified(36) + " " + title + "\r\n");
    if (i % 3 != 0)
      clones.write(GameName(i).leftJustified(8) + " " + GameName(i - i % 3) + "\r\n");
  }
  const QByteArray ll = flood ? QByteArray("yes 'g1        \"Game\"' | head -c 1073741824")
                              : "exec cat '" + list.fileName().toUtf8() + "'";
  const QByteArray script = "#!/bin/sh\ncase \"$1\" in\n  -ll) " + ll + " ;;\n  -listgames) exec cat '" +
                            years.fileName().toUtf8() + "' ;;\n  -listclones) exec cat '" + clones.fileName().toUtf8() +
                            "' ;;\n  *) exit 1 ;;\nesac\n";
  return WriteFile(path, script) && QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Returns the elapsed time of the output.
qint64 TimeOutputAlone(const QString& mame, const QString& folder)
{
  SilentFeedback feedback;
  qint64 bytes = 0;
  const Stopwatch timer;
  StreamProgramOutput(ToolInvocation(mame, {QStringLiteral("-listxml")}), folder, feedback, [&](QByteArrayView piece) {
    bytes += piece.size();
    return true;
  });
  PrintLine("mame -listxml output alone", timer, QStringLiteral("%1 MB").arg(bytes / (1024 * 1024)));
  return timer.WallMs();
}

void TimeReadingAlone(const QString& mame, const QString& folder)
{
  SilentFeedback feedback;
  MameXmlReader reader;
  int games = 0;
  const Stopwatch timer;
  StreamProgramOutput(ToolInvocation(mame, {QStringLiteral("-listxml")}), folder, feedback, [&](QByteArrayView piece) {
    reader.AddData(piece);
    MameMachine machine;
    MameXmlReader::Step step;
    while ((step = reader.Next(machine)) == MameXmlReader::Step::Machine)
      games += machine.IsGame() ? 1 : 0;
    return step != MameXmlReader::Step::Failed;
  });
  PrintLine("read -listxml while it prints", timer,
            QStringLiteral("%1 machines, %2 games, complete %3")
                .arg(reader.MachinesRead())
                .arg(games)
                .arg(reader.IsComplete() ? "yes" : "no"));
}

// `outputMs`: how long the program alone takes to print its list; the rest is the import's own.
void TimeImport(const char* operation, Catalogue& catalogue, const DataFolder& folder, const QString& mame,
                qint64 outputMs)
{
  CountingFeedback feedback;
  Lookups lookups(catalogue, feedback);
  const Stopwatch timer;
  const MameImportSummary summary = MameImport(catalogue, lookups, folder, mame, feedback);
  const MameImportCounts& counts = summary.counts;
  PrintLine(operation, timer,
            QStringLiteral("beyond the output %8 ms; added %1, updated %2, clones %3, skipped %4, failed %5, "
                           "statuses %6, ok %7")
                .arg(counts.added)
                .arg(counts.updated)
                .arg(counts.clonesMarked)
                .arg(counts.skipped)
                .arg(counts.failed)
                .arg(feedback.statuses)
                .arg(summary.succeeded ? "yes" : "no")
                .arg(timer.WallMs() - outputMs));
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir work;
  const DataFolder folder(work.path());
  QString error;
  if (!work.isValid() || !folder.EnsureFolders(&error)) {
    std::fprintf(stderr, "cannot prepare a data folder: %s\n", qPrintable(error));
    return 1;
  }
  QString mame = QCoreApplication::arguments().value(1);
  if (mame.isEmpty()) {
    const QString xmlPath = work.filePath(QStringLiteral("listxml.xml"));
    const QString fullPath = work.filePath(QStringLiteral("listfull.txt"));
    mame = work.filePath(QStringLiteral("mame"));
    qint64 bytes = 0;
    const Stopwatch timer;
    if (!GenerateLists(xmlPath, fullPath, &bytes) || !WriteStandIn(mame, xmlPath, fullPath)) {
      std::fprintf(stderr, "cannot write the generated list\n");
      return 1;
    }
    PrintLine("generate list (not timed work)", timer,
              QStringLiteral("%1 machines, %2 MB").arg(kGames + kDevices).arg(bytes / (1024 * 1024)));
  }

  const QString delivered = DeliveredDataFolder(QStringLiteral(QUILLON_BIN_DIR)) + kCatalogueFileName;
  if (!QFile::copy(delivered, folder.CatalogueFile())) {
    std::fprintf(stderr, "cannot copy the delivered catalogue %s\n", qPrintable(delivered));
    return 1;
  }
  SqlFailure failure;
  std::unique_ptr<Catalogue> catalogue = Catalogue::Open(folder.CatalogueFile(), nullptr, &failure);
  if (!catalogue) {
    std::fprintf(stderr, "cannot open the catalogue: %s\n", qPrintable(failure.description));
    return 1;
  }
  const QString workingFolder = work.path();
  const qint64 outputMs = TimeOutputAlone(mame, workingFolder);
  TimeReadingAlone(mame, workingFolder);
  TimeImport("import into delivered catalogue", *catalogue, folder, mame, outputMs);
  TimeImport("import again (every game updated)", *catalogue, folder, mame, outputMs);
  if (QCoreApplication::arguments().size() < 2) {
    const QString oldBuild = work.filePath(QStringLiteral("old-mame"));
    const QString flood = work.filePath(QStringLiteral("old-mame-flood"));
    if (!WriteOldBuildStandIn(oldBuild, work.path(), false) || !WriteOldBuildStandIn(flood, work.path(), true)) {
      std::fprintf(stderr, "cannot write the old build's lists\n");
      return 1;
    }
    TimeImport("import an old build's three lists", *catalogue, folder, oldBuild, 0);
    TimeImport("old build printing 1 GiB of -ll", *catalogue, folder, flood, 0);
  }
  return 0;
}
