// Identification benchmark: importing Mame's largest software lists (snes.xml and nes.xml from
// the mame-data package; generated lists of their size when it is not installed), identifying
// 10,000 zipped ROMs by their archives' directories, the same again with the hash cache and
// nothing changed, and hashing 1 GB of plain files beside sha1sum on the same files.
#include "BenchCatalogue.h"

#include "catalogue/Feedback.h"
#include "catalogue/StructureUpgrade.h"
#include "identify/FileHashes.h"
#include "identify/ReferenceLists.h"
#include "identify/Verification.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <zip.h>
#include <zlib.h>

#include <cstdio>

using namespace quillon;

namespace {

constexpr qint64 kSystem = 3;
constexpr int kZippedRoms = 10000;
constexpr int kRomBytes = 2048;
constexpr int kHashFiles = 64;
constexpr qint64 kHashFileBytes = 16 * 1024 * 1024;

double CpuSeconds(int who)
{
  rusage usage = {};
  getrusage(who, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void Report(const char* operation, double seconds, const QString& detail = {})
{
  std::printf("%-52s %8.3f s  %s\n", operation, seconds, qPrintable(detail));
  std::fflush(stdout);
}

QByteArray Bytes(QRandomGenerator& random, qint64 size)
{
  QByteArray data(size, Qt::Uninitialized);
  random.fillRange(reinterpret_cast<quint32*>(data.data()), static_cast<qsizetype>(size / 4));
  return data;
}

QString Crc(const QByteArray& data)
{
  const uLong crc = crc32_z(0, reinterpret_cast<const Bytef*>(data.constData()), static_cast<size_t>(data.size()));
  return QStringLiteral("%1").arg(static_cast<quint32>(crc), 8, 16, QLatin1Char('0'));
}

// A software list of `entries` cartridges of two data areas, as nes.xml has them.
QString GeneratedSoftwareList(const QString& folder, const QString& name, int entries)
{
  const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".xml");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return {};
  QRandomGenerator random(7);
  QByteArray text = "<?xml version=\"1.0\"?>\n<softwarelist name=\"" + name.toUtf8() + "\">\n";
  for (int i = 0; i < entries; ++i) {
    text +=
        QStringLiteral(
            "<software name=\"s%1\"><description>Software %1 (USA)</description><year>1990</year>"
            "<publisher>Maker</publisher><info name=\"serial\" value=\"X-%1\"/>"
            "<part name=\"cart\" interface=\"cart\"><feature name=\"slot\" value=\"std\"/>"
            "<dataarea name=\"prg\" size=\"32768\"><rom name=\"s%1.prg\" size=\"32768\" crc=\"%2\" "
            "sha1=\"%3\" offset=\"0\"/></dataarea><dataarea name=\"chr\" size=\"8192\"><rom "
            "name=\"s%1.chr\" size=\"8192\" crc=\"%4\" sha1=\"%3\" offset=\"0\"/></dataarea></part>"
            "</software>\n")
            .arg(i)
            .arg(random.generate(), 8, 16, QLatin1Char('0'))
            .arg(QString::fromLatin1(QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha1).toHex()))
            .arg(random.generate(), 8, 16, QLatin1Char('0'))
            .toUtf8();
  }
  file.write(text + "</softwarelist>\n");
  return path;
}

void BenchListImports(const QString& work)
{
  const DataFolder folder(work + QStringLiteral("/lists"));
  std::unique_ptr<Catalogue> catalogue = bench::FreshCatalogue(folder);
  if (!catalogue)
    return;
  SilentFeedback feedback;
  quillon::bench::SilentUpgradeDisplay display;
  UpdateDb(*catalogue, feedback, display);
  for (const auto& [name, entries] :
       {std::pair{QStringLiteral("snes"), 3636}, std::pair{QStringLiteral("nes"), 4530}}) {
    QString file = MameSoftwareListFile(name);
    QString source = QStringLiteral("mame-data");
    if (!QFileInfo::exists(file)) {
      file = GeneratedSoftwareList(work, name, entries);
      source = QStringLiteral("generated, mame-data not installed");
    }
    QElapsedTimer timer;
    timer.start();
    const ListImport imported = ImportReferenceList(*catalogue, feedback, kSystem, file);
    Report(qPrintable(QStringLiteral("import %1.xml").arg(name)), timer.elapsed() / 1000.0,
           QStringLiteral("%1 entries (%2)%3")
               .arg(imported.list.entries)
               .arg(source, imported.ok ? QString() : QStringLiteral(" FAILED: ") + imported.error));
  }
}

void BenchZippedRoms(const QString& work)
{
  const DataFolder folder(work + QStringLiteral("/zips"));
  std::unique_ptr<Catalogue> catalogue = bench::FreshCatalogue(folder);
  if (!catalogue)
    return;
  SilentFeedback feedback;
  quillon::bench::SilentUpgradeDisplay display;
  UpdateDb(*catalogue, feedback, display);
  const QString roms = work + QStringLiteral("/zipped/");
  QDir().mkpath(roms);
  QRandomGenerator random(18);
  QByteArray dat = "<?xml version=\"1.0\"?>\n<datafile><header><name>Bench</name><version>1</version></header>\n";
  catalogue->TryExecute(QStringLiteral("INSERT INTO RomPath (PathID, RomPath, System) VALUES (900, ?, ?)"),
                        {roms, kSystem}, nullptr);
  catalogue->TryExecute(QStringLiteral("BEGIN"), {}, nullptr);
  for (int i = 0; i < kZippedRoms; ++i) {
    const QByteArray data = Bytes(random, kRomBytes);
    const QString title = QStringLiteral("Game %1 (USA)").arg(i);
    dat += QStringLiteral(
               "<game name=\"%1\"><description>%1</description><rom name=\"%1.sfc\" size=\"%2\" "
               "crc=\"%3\" sha1=\"%4\"/></game>\n")
               .arg(title)
               .arg(kRomBytes)
               .arg(Crc(data), QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex()))
               .toUtf8();
    const QString fileName = QStringLiteral("g%1.zip").arg(i);
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(roms + fileName).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    zip_source_t* source = zip_source_buffer(archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
    zip_file_add(archive, "game.sfc", source, 0);
    zip_close(archive);
    catalogue->TryExecute(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Available) "
                                         "VALUES (?, ?, ?, 900, 1)"),
                          {fileName, fileName, kSystem}, nullptr);
  }
  catalogue->TryExecute(QStringLiteral("COMMIT"), {}, nullptr);
  QFile datFile(work + QStringLiteral("/bench.dat"));
  if (!datFile.open(QIODevice::WriteOnly))
    return;
  datFile.write(dat + "</datafile>\n");
  datFile.close();
  if (!ImportReferenceList(*catalogue, feedback, kSystem, datFile.fileName()).ok)
    return;

  for (const char* run : {"identify 10,000 zipped ROMs (central directories)", "again, hash cache, nothing changed"}) {
    const double cpu = CpuSeconds(RUSAGE_SELF);
    QElapsedTimer timer;
    timer.start();
    const VerifySummary summary = VerifySystem(*catalogue, feedback, kSystem);
    Report(run, timer.elapsed() / 1000.0,
           QStringLiteral("%1 to rename, %2 files read, %3 s CPU")
               .arg(summary.CountOf(MatchStatus::Rename))
               .arg(summary.filesRead)
               .arg(CpuSeconds(RUSAGE_SELF) - cpu, 0, 'f', 3));
  }
}

void BenchRawHashing(const QString& work)
{
  const QString folder = work + QStringLiteral("/raw/");
  QDir().mkpath(folder);
  QRandomGenerator random(1);
  QStringList files;
  for (int i = 0; i < kHashFiles; ++i) {
    const QString path = folder + QStringLiteral("rom%1.bin").arg(i);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Bytes(random, kHashFileBytes)) != kHashFileBytes)
      return;
    files << path;
  }
  const double gigabytes = kHashFiles * kHashFileBytes / 1e9;
  // Both read from the page cache: the files were just written, and sha1sum runs first.
  double sha1sum = 1e9;
  double ours = 1e9;
  for (int round = 0; round < 2; ++round) {
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(QStringLiteral("sha1sum"), files);
    process.waitForFinished(-1);
    sha1sum = std::min(sha1sum, timer.elapsed() / 1000.0);
    timer.restart();
    for (const QString& file : files)
      HashFile(file, {});
    ours = std::min(ours, timer.elapsed() / 1000.0);
  }
  Report("sha1sum over 1 GB of plain files (best of 2)", sha1sum, QStringLiteral("%1 GB").arg(gigabytes, 0, 'f', 2));
  Report("CRC-32 and SHA-1 over the same files (best of 2)", ours,
         QStringLiteral("%1 x sha1sum").arg(ours / sha1sum, 0, 'f', 2));
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir work;
  BenchListImports(work.path());
  BenchZippedRoms(work.path());
  BenchRawHashing(work.path());
  return 0;
}
