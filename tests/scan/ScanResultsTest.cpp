// The whole outcome of scans over a large, varied tree: every cell of the catalogue that differs
// from the delivered one, and everything reported, after a first scan, a rescan, and a rescan
// after files were added, removed and renamed (and games edited). Each state is pinned by its
// fingerprint, so work on the scan's speed or memory cannot change a single result unnoticed.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Lookups.h"
#include "scan/Scanner.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

#include <map>

using namespace quillon;
using namespace quillon::test;

namespace {

// Fingerprints of the three states: the catalogue's changes, then the scan's report. When a
// change to the scan's results is intended, the test prints the new ones and writes both texts
// next to the temporary files, to be compared with those of the previous version.
struct Fingerprint {
  const char* catalogue;
  const char* report;
};
constexpr Fingerprint kFirstScan = {"4609a152c6fc6b92bfdd0dd0d7be07272fbfacce1221432c4d2b69f04a468320",
                                    "593d6a6f8536e03ed9c50c4b5cd08e21b41a40e5f20926592e71ac458de91755"};
constexpr Fingerprint kRescan = {"50bcf0a81ecc485d21332f469639223ffe6d42438a3fbdc49c2d5b3415d8e8bc",
                                 "77f3a205ca91028bb57bbcece47c0d3c853be4fa0856a783bb3b4a01e3c3442a"};
constexpr Fingerprint kAfterChanges = {"5330fdf9850de4163504c318758bd5e4e93661bfa2c96911bbbe864b6a87729b",
                                       "9807fc9becdfc6f24adbaf7795da940ea482ec35e45d203a61ba67780ed8ffe3"};

constexpr int kSnesFiles = 8000;
constexpr int kSecondSnesFiles = 6000;
constexpr int kGameboyFiles = 5000;
constexpr int kUserGames = 1000;

const char* const kTitles[] = {"Street Fighter",
                               "Bob's \"Game\"",
                               "x'; DROP TABLE Games; --",
                               "Rock & Roll Racing",
                               "Pok\u00e9mon",
                               "\u30d5\u30a1\u30df\u30b9\u30bf",
                               "Back\\slash",
                               "Dots.In.Name",
                               ".hidden",
                               "100% Pure",
                               "Semi;colon",
                               "Comma, The",
                               "Brackets [Inside]",
                               "(Leading Paren)",
                               "Tab\tName",
                               " Leading Space",
                               "Byte Order Mark",  // given a leading U+FEFF
                               "Mario"};

// Years, decades, countries single and combined, makers known and not, and malformed brackets.
const char* const kTags[] = {"",
                             " (U)",
                             " (E)",
                             " (J)",
                             " (JU)",
                             " (UE)",
                             " (JUE)",
                             " (Br)",
                             " (B)",
                             " (Unk)",
                             " (Sw)",
                             " (SW)",
                             " (U)(E)",
                             " (1996)",
                             " (1996-1998)",
                             " (1959)",
                             " (1960)",
                             " (2019)",
                             " (3000)",
                             " (199x)",
                             " (198x)",
                             " (200x)",
                             " (19xx)",
                             " (19?\?)",
                             " (1991)(1995)",
                             " (1994 Rev A)",
                             " (Capcom)",
                             " (1992)(Capcom)(U)",
                             " (Hudson Soft) (J)",
                             " (capcom)",
                             " (Namco)(Sega)",
                             " [!]",
                             " (U) [!]",
                             " [T+Eng] (J)",
                             " (U) [b1]",
                             " ((U))",
                             " (U",
                             " (E) (Beta)",
                             " (PD)",
                             " (1989)(Nintendo)(JUE) [!]",
                             " (SNK)(1993)",
                             " (Totally New Maker)"};

template <typename T, size_t N>
constexpr int Count(const T (&)[N])
{
  return static_cast<int>(N);
}

// The name of file `i` without extension; the same `i` gives the same name in every folder.
QString Stem(int i, const char* prefix = "")
{
  QString title = QString::fromUtf8(kTitles[i % Count(kTitles)]);
  if (title == QStringLiteral("Byte Order Mark"))
    title.prepend(QChar(0xFEFF));
  return QString::fromUtf8(prefix) + title + QStringLiteral(" %1").arg(i) +
         QString::fromUtf8(kTags[(i / 3) % Count(kTags)]);
}

QString SnesExtension(int i)
{
  if (i % 29 == 0)
    return QStringLiteral("SMC");  // skipped for its case
  if (i % 23 == 0)
    return QStringLiteral("txt");  // not a ROM
  const char* const extensions[] = {"smc", "sfc", "fig", "swc", "zip"};
  return QString::fromLatin1(extensions[i % 5]);
}

QString SnesSubfolder(int i)
{
  switch (i % 10) {
    case 5:
    case 6:
    case 7:
      return QStringLiteral("Sub A/");
    case 8:
      return QStringLiteral("Sub B/Deeper/");
    case 9:
      return QStringLiteral("Sub B/");
    default:
      return {};
  }
}

// Relative path of SNES file `i` in the first folder.
QString SnesFile(int i)
{
  return SnesSubfolder(i) + Stem(i) + QLatin1Char('.') + SnesExtension(i);
}

const QByteArray kUndecodableNames[] = {"Bad\xff (U).smc", "Latin \xe9t\xe9 (F).smc"};

// Files whose names are not UTF-8, made in a folder and removed with the guard (the temporary
// folder's own clean-up cannot name them).
class UndecodableFiles {
 public:
  explicit UndecodableFiles(const QString& folder) : m_folder(QFile::encodeName(folder)) {}
  ~UndecodableFiles()
  {
    for (const QByteArray& name : kUndecodableNames)
      ::unlink((m_folder + name).constData());
  }
  bool Make() const
  {
    for (const QByteArray& name : kUndecodableNames) {
      const int descriptor = ::open((m_folder + name).constData(), O_CREAT | O_WRONLY, 0644);
      if (descriptor < 0 || ::close(descriptor) != 0)
        return false;
    }
    return true;
  }

 private:
  QByteArray m_folder;
};

bool Touch(const QString& path)
{
  const QByteArray encoded = QFile::encodeName(path);
  int descriptor = ::open(encoded.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  if (descriptor < 0 && QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/')))))
    descriptor = ::open(encoded.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  return descriptor >= 0 && ::close(descriptor) == 0;
}

// One table cell as text that tells its type: Null, whole number, real or text.
QString CellText(const QVariant& value, const QString& root)
{
  if (value.isNull() || !value.isValid())
    return QStringLiteral("NULL");
  if (value.typeId() == QMetaType::LongLong)
    return QStringLiteral("I") + value.toString();
  if (value.typeId() == QMetaType::Double)
    return QStringLiteral("R") + QString::number(value.toDouble(), 'g', 17);
  QString text = value.toString();
  text.replace(root, QStringLiteral("<roms>"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
  return QStringLiteral("T'") + text + QLatin1Char('\'');
}

// Every table's rows by rowid, each row its cells by column name.
using TableRows = std::map<qint64, std::map<QString, QString>>;
using Snapshot = std::map<QString, TableRows>;

Snapshot TakeSnapshot(Catalogue& db, const QString& root)
{
  Snapshot snapshot;
  BulkStatement tables(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
  QStringList names;
  while (tables.Next())
    names << tables.Text(0);
  for (const QString& table : names) {
    BulkStatement columns(db, QStringLiteral("SELECT name FROM pragma_table_info(?) ORDER BY cid"));
    columns.Bind(1, table);
    QStringList columnNames;
    while (columns.Next())
      columnNames << columns.Text(0);
    TableRows& rows = snapshot[table];
    BulkStatement select(db, QStringLiteral("SELECT rowid, * FROM \"%1\" ORDER BY rowid").arg(table));
    while (select.Next()) {
      std::map<QString, QString>& row = rows[select.Int(0)];
      for (int column = 0; column < columnNames.size(); ++column)
        row[columnNames[column]] = CellText(select.Value(column + 1), root);
    }
  }
  return snapshot;
}

// The cells of `after` that differ from `before`: new rows with their cells that are not Null,
// changed cells of kept rows, and removed rows. Tables and columns the scan never touches add
// nothing, so the text does not depend on parts of the catalogue that have nothing to do with it.
QString Difference(const Snapshot& before, const Snapshot& after)
{
  QString text;
  for (const auto& [table, rows] : after) {
    const auto old = before.find(table);
    static const TableRows kNone;
    const TableRows& oldRows = old == before.end() ? kNone : old->second;
    for (const auto& [rowid, cells] : rows) {
      const auto oldRow = oldRows.find(rowid);
      QString line;
      for (const auto& [column, value] : cells) {
        const bool added = oldRow == oldRows.end();
        if ((added && value != QStringLiteral("NULL")) || (!added && oldRow->second.at(column) != value))
          line += QLatin1Char(' ') + column + QLatin1Char('=') + value;
      }
      if (!line.isEmpty())
        text += (oldRow == oldRows.end() ? QStringLiteral("+ ") : QStringLiteral("~ ")) + table + QLatin1Char(' ') +
                QString::number(rowid) + line + QLatin1Char('\n');
    }
    for (const auto& [rowid, cells] : oldRows) {
      if (!rows.count(rowid))
        text += QStringLiteral("- ") + table + QLatin1Char(' ') + QString::number(rowid) + QLatin1Char('\n');
    }
  }
  return text;
}

QString Report(const ScanSummary& summary, const RecordingFeedback& feedback, const QString& root)
{
  QString text = QStringLiteral("systems %1 folders %2 found %3 added %4 updated %5 errors %6 case %7 missing %8\n")
                     .arg(summary.systems)
                     .arg(summary.folders)
                     .arg(summary.filesFound)
                     .arg(summary.gamesAdded)
                     .arg(summary.gamesUpdated)
                     .arg(summary.errors)
                     .arg(summary.skippedForCase)
                     .arg(summary.gamesMissing);
  for (const RecordingFeedback::Status& status : feedback.statuses)
    text += status.line + QLatin1Char('\n');
  for (const QString& line : feedback.resultLines)
    text += line + QLatin1Char('\n');
  return text.replace(root, QStringLiteral("<roms>"));
}

QString Sha256(const QString& text)
{
  return QString::fromLatin1(QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

}  // namespace

class ScanResultsTest : public QObject {
  Q_OBJECT

 private slots:
  void ScansGiveTheRecordedCatalogue()
  {
    TestCatalogue t;
    QTemporaryDir dir;
    const QString root = dir.path() + QLatin1Char('/');
    const Snapshot delivered = TakeSnapshot(t.Db(), root);
    BuildTree(root);
    // Names that are not UTF-8 are listed, not stored.
    const UndecodableFiles undecodable(root + QStringLiteral("snes/"));
    QVERIFY(undecodable.Make());
    SetUpSystems(t, root);
    AddUserGames(t);
    QVERIFY(!QTest::currentTestFailed());

    // Every state is checked, so that all three texts are at hand when one differs.
    bool same = Check(t, root, delivered, QStringLiteral("first-scan"), kFirstScan);
    same = Check(t, root, delivered, QStringLiteral("rescan"), kRescan) && same;
    ChangeTree(root);
    EditGames(t);
    QVERIFY(!QTest::currentTestFailed());
    same = Check(t, root, delivered, QStringLiteral("after-changes"), kAfterChanges) && same;
    QVERIFY2(same, "the scans' results differ from those recorded: see the warnings above");
  }

 private:
  static void BuildTree(const QString& root)
  {
    for (int i = 0; i < kSnesFiles; ++i) {
      QVERIFY(Touch(root + QStringLiteral("snes/") + SnesFile(i)));
      if (i % 9 == 0)
        QVERIFY(Touch(root + QStringLiteral("pics/") + Stem(i) + QStringLiteral(".png")));
      if (i % 13 == 0)
        QVERIFY(Touch(root + QStringLiteral("pics/") + Stem(i) + QStringLiteral(".jpg")));
    }
    // Every seventh name of the second folder is also a name of the first, with another extension.
    for (int i = 0; i < kSecondSnesFiles; ++i) {
      const QString stem = i % 7 == 0 ? Stem(i) : Stem(i, "Second ");
      QVERIFY(Touch(root + QStringLiteral("snes2/") + stem + QLatin1Char('.') + SnesExtension(i + 1)));
    }
    const char* const gameboy[] = {"gb", "gbc", "zip"};
    for (int i = 0; i < kGameboyFiles; ++i)
      QVERIFY(Touch(root + QStringLiteral("gb/") + Stem(i) + QLatin1Char('.') + QString::fromLatin1(gameboy[i % 3])));
    for (const char* name : {".smc", ".hidden.smc", "noext", "a.b.c.smc", "Mixed.Smc", "sub/.smc"})
      QVERIFY(Touch(root + QStringLiteral("snes/") + QString::fromUtf8(name)));
    // A system without a tab is not scanned.
    for (int i = 0; i < 20; ++i)
      QVERIFY(Touch(root + QStringLiteral("custom/") + Stem(i) + QStringLiteral(".zip")));
  }

  static void SetUpSystems(TestCatalogue& t, const QString& root)
  {
    for (const char* folder : {"snes/", "snes2/", "missing/"})
      t.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, 3)"), {root + QString::fromUtf8(folder)});
    t.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, 11)"), {root + QStringLiteral("gb/")});
    t.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, 29)"), {root + QStringLiteral("custom/")});
    t.Exec(QStringLiteral("UPDATE System SET DefaultImagePath = ?, DefaultImageType = 'png;jpg' WHERE SystemID = 3"),
           {root + QStringLiteral("pics/")});
    // An extension named twice lists its files twice.
    t.Exec(
        QStringLiteral("UPDATE System SET DefaultRomType = 'gb;gbc;zip;gbc', ResumePosition = 7 "
                       "WHERE SystemID = 11"));
  }

  // Games the user had before the first scan, with data of their own.
  static void AddUserGames(TestCatalogue& t)
  {
    for (int k = 0; k < kUserGames; ++k) {
      const int i = k * 7;
      QString fileName = SnesFile(i);
      QVariant romPath = 1;
      switch (k % 6) {
        case 1:
          fileName = QStringLiteral("old/") + fileName;  // moved since
          break;
        case 2:
          romPath = QVariant();  // added without a ROM folder
          break;
        case 3:
          fileName = QStringLiteral("Only In Missing %1.smc").arg(k);
          romPath = 3;
          break;
        case 4:
          romPath = 3;  // in the missing folder, but its name is in the first one too
          break;
        case 5:
          fileName = QStringLiteral("Gone %1 (U).smc").arg(k);
          break;
      }
      const QVariant year = k % 50 == 0 ? QVariant(QStringLiteral("n/a")) : k % 4 == 0 ? QVariant() : QVariant(32);
      const QVariant image = k % 3 == 0 ? QVariant() : k % 3 == 1 ? QVariant(QString()) : QVariant("mine.png");
      t.Exec(QStringLiteral("INSERT INTO Games (FullName, FileName, System, RomPath, Year, Country, Manufacturer, "
                            "Image, Description, Rating, Selected, Available, Edited, Genre) "
                            "VALUES (?, ?, 3, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
             {QStringLiteral("My Title %1").arg(k), fileName, romPath, year,
              k % 5 == 0 ? QVariant() : QVariant(4 + k % 3), k % 7 == 0 ? 319 : 48, image,
              QStringLiteral("Notes %1").arg(k), k % 6, k % 2, k % 3 == 0 ? 1 : 0, k % 4 == 0 ? -1 : 0, k % 3});
      if (k % 2 == 0)
        t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (last_insert_rowid(), 13)"));
      if (k % 4 == 0)
        t.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT max(GameID), 5 FROM Games"));
    }
  }

  static void ChangeTree(const QString& root)
  {
    const QString snes = root + QStringLiteral("snes/");
    for (int i = 0; i < kSnesFiles; ++i) {
      const QString path = snes + SnesFile(i);
      if (i % 17 == 3) {
        QVERIFY(QFile::remove(path));
      } else if (i % 19 == 5) {  // another base name
        QVERIFY(QFile::rename(path, snes + SnesSubfolder(i) + Stem(i) + QStringLiteral(" [a1].smc")));
      } else if (i % 19 == 6) {  // another extension
        const QString extension = QLatin1String(SnesExtension(i) == QStringLiteral("zip") ? "sfc" : "zip");
        QVERIFY(QFile::rename(path, snes + SnesSubfolder(i) + Stem(i) + QLatin1Char('.') + extension));
      } else if (i % 19 == 7) {  // another folder
        QVERIFY(QDir().mkpath(snes + QStringLiteral("Moved")));
        QVERIFY(QFile::rename(path, snes + QStringLiteral("Moved/") + Stem(i) + QLatin1Char('.') + SnesExtension(i)));
      }
      if (i % 11 == 0)
        QVERIFY(Touch(root + QStringLiteral("pics/") + Stem(i) + QStringLiteral(".png")));
    }
    for (int i = 0; i < 300; ++i)
      QVERIFY(Touch(snes + (i % 2 ? QStringLiteral("Sub A/") : QString()) + Stem(i, "New Arrival ") + ".smc"));
    for (int i = 0; i < kGameboyFiles; i += 17)
      QVERIFY(QFile::remove(root + QStringLiteral("gb/") + Stem(i) + QLatin1Char('.') +
                            QString::fromLatin1(i % 3 == 0   ? "gb"
                                                : i % 3 == 1 ? "gbc"
                                                             : "zip")));
    for (int i = 0; i < 200; ++i)
      QVERIFY(Touch(root + QStringLiteral("gb/") + Stem(i, "New Arrival ") + QStringLiteral(".gbc")));
  }

  // What the user changed between the scans.
  static void EditGames(TestCatalogue& t)
  {
    const char* const edits[] = {
        "UPDATE Games SET Year = 10, Image = NULL WHERE GameID % 40 = 0",
        "DELETE FROM SubGenres WHERE GameID % 40 = 1",
        "UPDATE Games SET Available = 0, Selected = 0 WHERE GameID % 40 = 2",
        "UPDATE Games SET FullName = 'Renamed by the user' WHERE GameID % 40 = 3",
        "UPDATE Games SET Image = '' WHERE GameID % 40 = 4",
        "UPDATE Games SET Country = NULL, Manufacturer = NULL WHERE GameID % 40 = 5",
        "UPDATE Games SET Image = 'chosen.png', Edited = 0 WHERE GameID % 40 = 6",
        "INSERT INTO SubGenres (GameID, GenreID) SELECT GameID, 7 FROM Games WHERE GameID % 40 = 7"};
    for (const char* edit : edits)
      t.Exec(QString::fromLatin1(edit));
  }

  // Scans every system with a tab; false, with a warning that names the texts written, when the
  // outcome differs from `expected`.
  static bool Check(TestCatalogue& t, const QString& root, const Snapshot& delivered, const QString& state,
                    const Fingerprint& expected)
  {
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    ScanOptions options;
    options.allSystems = true;
    const ScanSummary summary = RunScan(t.Db(), lookups, feedback, t.Folder(), options);
    const QString changes = Difference(delivered, TakeSnapshot(t.Db(), root));
    const QString report = Report(summary, feedback, root);
    const QString catalogueHash = Sha256(changes);
    const QString reportHash = Sha256(report);
    if (catalogueHash == QLatin1String(expected.catalogue) && reportHash == QLatin1String(expected.report))
      return true;
    const QString prefix = QDir::tempPath() + QStringLiteral("/quillon-scan-results-") + state;
    QFile catalogueFile(prefix + QStringLiteral("-catalogue.txt"));
    QFile reportFile(prefix + QStringLiteral("-report.txt"));
    if (catalogueFile.open(QIODevice::WriteOnly) && reportFile.open(QIODevice::WriteOnly)) {
      catalogueFile.write(changes.toUtf8());
      reportFile.write(report.toUtf8());
    }
    qWarning("%s differs: now {\"%s\", \"%s\"}; the texts are in %s-*.txt", qPrintable(state),
             qPrintable(catalogueHash), qPrintable(reportHash), qPrintable(prefix));
    return false;
  }
};

QUILLON_TEST_CLASS(ScanResultsTest)
#include "ScanResultsTest.moc"
