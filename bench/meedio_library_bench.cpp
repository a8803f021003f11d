// Meedio library benchmark: builds a library of 50,000 items (5 systems of 10,000), then replaces
// one system's 10,000 items through the export's statement sequence. One line per operation.
#include "export/sqlite2/Sqlite2.h"
#include "export/sqlite2/Sqlite2Copy.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

using namespace quillon::sqlite2;

namespace {

constexpr int kSystems = 5;
constexpr int kItemsPerSystem = 10000;

const char* const kWords[] = {"lorem",      "ipsum", "dolor",  "sit",  "amet",    "consectetur",
                              "adipiscing", "elit",  "sed",    "do",   "eiusmod", "tempor",
                              "incididunt", "ut",    "labore", "magna"};

QByteArray Words(QRandomGenerator& random, int count)
{
  QByteArray text;
  for (int i = 0; i < count; ++i) {
    if (i > 0)
      text.append(' ');
    text.append(kWords[random.bounded(16)]);
  }
  return text;
}

// A transfer file of one system: 18 escaped fields per line joined by "|||", CR LF line ends.
QByteArray TransferFile(int system, int round)
{
  QRandomGenerator random(quint32(system * 1000 + round));
  QByteArray out;
  for (int i = 1; i <= kItemsPerSystem; ++i) {
    const QByteArray id = QByteArray::number(system * 100000 + i);
    const int overviewWords = i % 97 == 0 ? 800 : int(random.bounded(90));
    const Values row = {
        "Game " + id + " " + Words(random, 2) + (round > 0 ? " (Rev " + QByteArray::number(round) + ")" : ""),
        "E:\\roms\\sys" + QByteArray::number(system) + "\\" + id + ".zip",
        "E:\\img\\sys" + QByteArray::number(system) + "\\" + id + ".png",
        QByteArray(kWords[random.bounded(16)]),
        QByteArray(i % 3 == 0 ? "Sports" : ""),
        QByteArray(),
        QByteArray(),
        QByteArray(),
        QByteArray("USA"),
        "Maker " + QByteArray::number(random.bounded(300)),
        QByteArray::number(1980 + random.bounded(25)),
        QByteArray::number(random.bounded(6)),
        Words(random, overviewWords),
        "System " + QByteArray::number(system),
        id,
        "E:\\emu" + QByteArray::number(system) + ".exe ",
        QByteArray::number(system),
        "E:\\img\\sys" + QByteArray::number(system) + ".png"};
    QByteArrayList fields;
    for (const Value& value : row)
      fields << EscapeCopyField(value);
    out += fields.join("|||") + "\r\n";
  }
  return out;
}

QStringList Statements(const QString& transferFile, int system)
{
  const QString columns = QStringLiteral(
      "item_name,item_location,item_image,tag_1,tag_2,tag_3,tag_4,tag_5,tag_6,tag_7,tag_8,tag_9,tag_10,tag_11,"
      "tag_12,tag_13,tag_14,tag_15");
  return {QStringLiteral("create  temporary table tmp (%1);").arg(columns),
          QStringLiteral("copy tmp from '%1' USING DELIMITERS '|||';").arg(transferFile),
          QStringLiteral("begin;"),
          QStringLiteral("delete from items  Where items.tag_14='%1';").arg(system),
          QStringLiteral("commit;"),
          QStringLiteral("begin;"),
          QStringLiteral("insert into items (%1) select %1 from tmp;").arg(columns),
          QStringLiteral("commit;")};
}

void Line(const char* operation, qint64 ns, const QString& detail = {})
{
  std::printf("%-52s %9.1f ms  %s\n", operation, double(ns) / 1e6, qPrintable(detail));
  std::fflush(stdout);
}

bool Fail(const QString& what)
{
  std::fprintf(stderr, "failed: %s\n", qPrintable(what));
  return false;
}

bool Export(const QString& library, const QString& transfer, int system, bool report)
{
  QElapsedTimer timer;
  timer.start();
  QString error;
  std::unique_ptr<Connection> db = sqlite_open(library, &error);
  if (!db)
    return Fail(error);
  if (report)
    Line("open library (read and check every page)", timer.nsecsElapsed(),
         QStringLiteral("%1 MB").arg(QFileInfo(library).size() / 1048576.0, 0, 'f', 1));
  for (const QString& statement : Statements(transfer, system)) {
    timer.restart();
    const StatementResult result = ags_sqlite_get_table(db.get(), statement);
    if (!result)
      return Fail(statement + ": " + result.error);
    if (report)
      Line(qPrintable(statement.left(40).simplified()), timer.nsecsElapsed(),
           result.changes ? QStringLiteral("%1 rows").arg(result.changes) : QString());
  }
  timer.restart();
  const StatementResult closed = sqlite_close(std::move(db));
  if (!closed)
    return Fail(closed.error);
  if (report)
    Line("close library (build, write beside, sync, rename)", timer.nsecsElapsed(),
         QStringLiteral("%1 MB").arg(QFileInfo(library).size() / 1048576.0, 0, 'f', 1));
  return true;
}

}  // namespace

int main(int argc, char** argv)
{
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const QString library = dir.filePath("library.mlf");
  QString error;
  if (!CreateTemplateLibrary(library, &error))
    return Fail(error) ? 0 : 1;

  QElapsedTimer timer;
  timer.start();
  QStringList transfers;
  for (int system = 1; system <= kSystems; ++system) {
    transfers << dir.filePath(QStringLiteral("h2export-%1.tmp").arg(system));
    QFile file(transfers.last());
    if (!file.open(QIODevice::WriteOnly) || file.write(TransferFile(system, 0)) < 0)
      return 1;
  }
  Line("generate 5 transfer files of 10,000 items", timer.nsecsElapsed());

  timer.restart();
  for (int system = 1; system <= kSystems; ++system) {
    if (!Export(library, transfers[system - 1], system, false))
      return 1;
  }
  Line("build the 50,000-item library (5 export runs)", timer.nsecsElapsed(),
       QStringLiteral("%1 MB").arg(QFileInfo(library).size() / 1048576.0, 0, 'f', 1));

  const QString replacement = dir.filePath("h2export.tmp");
  {
    QFile file(replacement);
    if (!file.open(QIODevice::WriteOnly) || file.write(TransferFile(3, 1)) < 0)
      return 1;
  }
  timer.restart();
  QElapsedTimer total;
  total.start();
  if (!Export(library, replacement, 3, true))
    return 1;
  Line("replace system 3's 10,000 items (library part, total)", total.nsecsElapsed());
  return 0;
}
