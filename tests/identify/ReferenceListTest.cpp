// Reference lists in their three formats, read and stored: the same list written as a Logiqx DAT
// file, a clrmamepro DAT file and a software list gives the same entries; a broken file changes
// nothing; a list of the same name is replaced; Mame's own lists from mame-data import whole.
#include "IdentifyScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "identify/ReferenceLists.h"

#include <QBuffer>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr qint64 kSnes = 3;
constexpr qint64 kNes = 29;  // "Custom 1" stands in for a system of its own

TestList SampleList()
{
  TestList list{QStringLiteral("Test - Widget System"), QStringLiteral("20240101-000000"), {}};
  list.entries << TestEntry{QStringLiteral("Alpha Quest (USA)"),
                            QStringLiteral("Alpha Quest (USA)"),
                            QStringLiteral("1991"),
                            QStringLiteral("Acme \"Games\""),
                            QString(),
                            {{QStringLiteral("Alpha Quest (USA).sfc"), RandomRom(1, 4096), QString(), QString()}}};
  list.entries << TestEntry{
      QStringLiteral("Alpha Quest (Europe)"),
      QStringLiteral("Alpha Quest (Europe)"),
      QString(),
      QString(),
      QStringLiteral("Alpha Quest (USA)"),
      {{QStringLiteral("Alpha Quest (Europe).sfc"), RandomRom(2, 4096), QStringLiteral("baddump"), QString()}}};
  list.entries << TestEntry{
      QStringLiteral("Two Parts (Japan)"),
      QStringLiteral("Two Parts (Japan)"),
      QStringLiteral("198?"),
      QString(),
      QString(),
      {{QStringLiteral("a.prg"), RandomRom(3, 16384), QString(), QStringLiteral("prg")},
       {QStringLiteral("b.chr"), RandomRom(4, 8192), QString(), QStringLiteral("chr")},
       {QStringLiteral("c.chr"), RandomRom(5, 8192), QStringLiteral("nodump"), QStringLiteral("chr")}}};
  return list;
}

using Writer = bool (*)(const QString&, const TestList&);

// The stored entries as "name|description|year|publisher|cloneOf" and the ROMs as
// "entry/rom size crc sha1 status offset".
QStringList StoredEntries(TestCatalogue& t)
{
  QStringList lines;
  const std::optional<Rows> rows = t.Db().TrySelect(
      QStringLiteral("SELECT Name, Description, Year, Publisher, CloneOf FROM RefEntry ORDER BY EntryID"), {}, nullptr);
  for (const QVariantList& row : rows->All()) {
    QStringList fields;
    for (const QVariant& value : row)
      fields << value.toString();
    lines << fields.join(QLatin1Char('|'));
  }
  return lines;
}

QStringList StoredRoms(TestCatalogue& t)
{
  QStringList lines;
  const std::optional<Rows> rows = t.Db().TrySelect(
      QStringLiteral("SELECT RefEntry.Name, RefRom.Name, RefRom.Size, printf('%08x', RefRom.CRC), RefRom.SHA1, "
                     "RefRom.Status, RefRom.Offset, RefRom.CRC IS NULL FROM RefRom "
                     "INNER JOIN RefEntry ON RefEntry.EntryID = RefRom.EntryID ORDER BY RefRom.rowid"),
      {}, nullptr);
  for (const QVariantList& row : rows->All()) {
    lines << QStringLiteral("%1/%2 %3 %4 %5 %6 %7")
                 .arg(row[0].toString(), row[1].toString(), row[2].toString(),
                      row[7].toBool() ? QStringLiteral("-") : row[3].toString(), row[4].toString(), row[5].toString(),
                      row[6].toString());
  }
  return lines;
}

ListImport Import(TestCatalogue& t, qint64 system, const QString& file, RecordingFeedback* feedback = nullptr)
{
  RecordingFeedback local;
  return ImportReferenceList(t.Db(), feedback ? *feedback : local, system, file);
}

}  // namespace

class ReferenceListTest : public QObject {
  Q_OBJECT

 private slots:
  void EachFormatGivesTheSameEntries_data()
  {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("formatName");
    QTest::newRow("Logiqx XML") << 0 << QStringLiteral("Logiqx XML");
    QTest::newRow("clrmamepro") << 1 << QStringLiteral("clrmamepro");
    QTest::newRow("software list") << 2 << QStringLiteral("software list");
  }

  void EachFormatGivesTheSameEntries()
  {
    QFETCH(int, format);
    QFETCH(QString, formatName);
    const Writer writers[] = {WriteLogiqx, WriteClrMamePro, WriteSoftwareList};
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    const TestList list = SampleList();
    const QString file = t.Path(QStringLiteral("list.dat"));
    QVERIFY(writers[format](file, list));
    const ListImport imported = Import(t, kSnes, file);
    QVERIFY2(imported.ok, qPrintable(imported.error));
    QCOMPARE(imported.list.format, formatName);
    QCOMPARE(imported.list.entries, 3);
    const bool software = format == 2;
    // A software list has no version of its own: it takes its file's date.
    QCOMPARE(imported.list.version, software ? QDate::currentDate().toString(Qt::ISODate) : list.version);
    QCOMPARE(StoredEntries(t),
             QStringList({QStringLiteral("Alpha Quest (USA)|Alpha Quest (USA)|1991|Acme \"Games\"|"),
                          QStringLiteral("Alpha Quest (Europe)|Alpha Quest (Europe)|||Alpha Quest (USA)"),
                          QStringLiteral("Two Parts (Japan)|Two Parts (Japan)|198?||")}));
    const TestRom& alpha = list.entries[0].roms[0];
    const TestRom& prg = list.entries[2].roms[0];
    const TestRom& chr = list.entries[2].roms[1];
    // DAT ROMs are files of their own; a software list places each ROM in its part's file.
    const auto offset = [software](int place) { return QString::number(software ? place : -1); };
    QCOMPARE(
        StoredRoms(t),
        QStringList({QStringLiteral("Alpha Quest (USA)/Alpha Quest (USA).sfc 4096 %1 %2  %3")
                         .arg(Crc32Of(alpha.data), Sha1Of(alpha.data), offset(0)),
                     QStringLiteral("Alpha Quest (Europe)/Alpha Quest (Europe).sfc 4096 %1 %2 baddump %3")
                         .arg(Crc32Of(list.entries[1].roms[0].data), Sha1Of(list.entries[1].roms[0].data), offset(0)),
                     QStringLiteral("Two Parts (Japan)/a.prg 16384 %1 %2  %3")
                         .arg(Crc32Of(prg.data), Sha1Of(prg.data), offset(0)),
                     QStringLiteral("Two Parts (Japan)/b.chr 8192 %1 %2  %3")
                         .arg(Crc32Of(chr.data), Sha1Of(chr.data), offset(16384)),
                     QStringLiteral("Two Parts (Japan)/c.chr 8192 -  nodump %1").arg(offset(16384 + 8192))}));
    if (!software)
      QCOMPARE(t.Value(QStringLiteral("SELECT MD5 FROM RefRom ORDER BY rowid")).toString(), Md5Of(alpha.data));
  }

  void ReadersTakeWhatRealListsWrite()
  {
    // Hashes with "0x", upper case and leading zeros left out; <machine> for <game>; elements and
    // attributes no reader knows; a BOM; clrmamepro escapes and nested blocks.
    const QByteArray logiqx =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE datafile>\n<datafile>\n<header><name>X</name><version>1"
        "</version><clrmamepro header=\"No-Intro_NES.xml\"/><extra>e</extra></header>\n"
        "<machine name=\"M\" sourcefile=\"m.cpp\"><description>Em</description><category>c</category>"
        "<rom name=\"dir\\m.bin\" size=\"0x10\" crc=\"0xABC\" sha1=\"ABCDEF\" serial=\"s\"/>"
        "<disk name=\"d\" sha1=\"00\"/></machine>\n</datafile>\n";
    const QByteArray cmpro =
        "clrmamepro ( name \"C \\\"q\\\"\" version 2 header \"No-Intro_NES.xml\" )\n"
        "resource ( name bios rom ( name b size 1 crc 00000000 ) )\n"
        "game ( name \"G\" description \"G (USA)\" sample ( x ) rom ( name g.bin size 16 crc 0xabc flags baddump ) )\n";
    struct Case {
      QByteArray data;
      QString listName;
      QString entry;
      QString crc;
      QString sha1;
      QString romName;
      QString status;
    };
    const Case cases[] = {
        {logiqx, "X", "M", "00000abc", QStringLiteral("0").repeated(34) + "abcdef", "dir/m.bin", ""},
        {cmpro, "C \"q\"", "G", "00000abc", "", "g.bin", "baddump"},
    };
    for (const Case& c : cases) {
      QBuffer buffer;
      buffer.setData(c.data);
      QVERIFY(buffer.open(QIODevice::ReadOnly));
      ListHeader header;
      std::vector<ListEntry> entries;
      QString error;
      QVERIFY2(ReadReferenceList(
                   buffer, header, [&](ListEntry& entry) { entries.push_back(entry); }, &error),
               qPrintable(error));
      QCOMPARE(header.name, c.listName);
      QCOMPARE(header.header, QStringLiteral("No-Intro_NES.xml"));
      QCOMPARE(entries.size(), size_t(1));
      QCOMPARE(entries[0].name, c.entry);
      QCOMPARE(entries[0].roms.size(), size_t(1));
      const ListRom& rom = entries[0].roms[0];
      QCOMPARE(rom.name, c.romName);
      QCOMPARE(rom.size, qint64(16));
      QCOMPARE(QStringLiteral("%1").arg(rom.crc, 8, 16, QLatin1Char('0')), c.crc);
      QCOMPARE(QString::fromLatin1(rom.sha1), c.sha1);
      QCOMPARE(rom.status, c.status);
    }
  }

  void BrokenFilesChangeNothing_data()
  {
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("cut-off XML") << QByteArray("<datafile><header><name>A</name></header><game name=\"g\">");
    QTest::newRow("other XML") << QByteArray("<gameList><game/></gameList>");
    QTest::newRow("unclosed block") << QByteArray("clrmamepro ( name A )\ngame ( name g rom ( name r size 1 )");
    QTest::newRow("unclosed string") << QByteArray("clrmamepro ( name \"A )");
    QTest::newRow("no entries") << QByteArray("clrmamepro ( name A version 1 )");
    QTest::newRow("text") << QByteArray("just some words");
    QTest::newRow("empty") << QByteArray();
  }

  void BrokenFilesChangeNothing()
  {
    QFETCH(QByteArray, data);
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    // A good list of the same name stays as it was when its replacement cannot be read.
    const QString good = t.Path(QStringLiteral("good.dat"));
    QVERIFY(WriteLogiqx(good, TestList{QStringLiteral("A"), QStringLiteral("1"), SampleList().entries}));
    QVERIFY(Import(t, kSnes, good).ok);
    const QString broken = t.Path(QStringLiteral("broken.dat"));
    QVERIFY(WriteFile(broken, data));
    RecordingFeedback feedback;
    const ListImport imported = Import(t, kSnes, broken, &feedback);
    QVERIFY(!imported.ok);
    QVERIFY(!imported.error.isEmpty());
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(Name || ':' || Entries) FROM RefList")).toString(),
             QStringLiteral("A:3"));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefEntry")).toInt(), 3);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefRom")).toInt(), 5);
    QVERIFY(!Import(t, kSnes, t.Path(QStringLiteral("missing.dat"))).ok);
  }

  void SameNameReplacesOtherNamesAdd()
  {
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    TestList list = SampleList();
    const QString first = t.Path(QStringLiteral("first.dat"));
    QVERIFY(WriteLogiqx(first, list));
    const ListImport one = Import(t, kSnes, first);
    QVERIFY(one.ok && !one.replaced);
    const QString other = t.Path(QStringLiteral("other.xml"));
    QVERIFY(WriteSoftwareList(other, TestList{QStringLiteral("widgets"), {}, {list.entries[0]}}));
    QVERIFY(Import(t, kSnes, other).ok);
    // The same list on another system is a list of its own.
    QVERIFY(Import(t, kNes, first).ok);

    list.version = QStringLiteral("20250101-000000");
    list.entries.removeLast();
    const QString second = t.Path(QStringLiteral("second.dat"));
    QVERIFY(WriteClrMamePro(second, list));
    const ListImport two = Import(t, kSnes, second);
    QVERIFY(two.ok && two.replaced);
    QCOMPARE(two.list.listId, one.list.listId);  // the replaced list keeps its place

    RecordingFeedback feedback;
    const std::optional<std::vector<ListSummary>> lists = ListsOfSystem(t.Db(), feedback, kSnes);
    QVERIFY(lists);
    QStringList shown;
    for (const ListSummary& summary : *lists)
      shown
          << QStringLiteral("%1 %2 %3 %4").arg(summary.name, summary.version).arg(summary.entries).arg(summary.format);
    QCOMPARE(
        shown,
        QStringList({QStringLiteral("Test - Widget System 20250101-000000 2 clrmamepro"),
                     QStringLiteral("widgets %1 1 software list").arg(QDate::currentDate().toString(Qt::ISODate))}));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefEntry INNER JOIN RefList USING (ListID) "
                                    "WHERE RefList.System = ?"),
                     {kSnes})
                 .toInt(),
             3);
    // The system's shipped RetroArch name comes before its lists' names.
    QCOMPARE(RetroArchDatabaseName(t.Db(), kSnes), QStringLiteral("Nintendo - Super Nintendo Entertainment System"));

    QVERIFY(RemoveReferenceList(t.Db(), feedback, kSnes, QStringLiteral("widgets")));
    QVERIFY(!RemoveReferenceList(t.Db(), feedback, kSnes, QStringLiteral("widgets")));
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefList WHERE System = ?"), {kSnes}).toInt(), 1);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefEntry")).toInt(), 2 + 3);
  }

  void DatabaseNameLeavesOutBracketedWords_data()
  {
    QTest::addColumn<QString>("listName");
    QTest::addColumn<QString>("database");
    QTest::newRow("plain") << "Nintendo - Game Boy"
                           << "Nintendo - Game Boy";
    QTest::newRow("headered") << "Nintendo - Nintendo Entertainment System (Headered) (Parent-Clone)"
                              << "Nintendo - Nintendo Entertainment System";
    QTest::newRow("no maker") << "snes"
                              << "";
  }

  void DatabaseNameLeavesOutBracketedWords()
  {
    QFETCH(QString, listName);
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    const QString file = t.Path(QStringLiteral("list.dat"));
    QVERIFY(WriteLogiqx(file, TestList{listName, QStringLiteral("1"), SampleList().entries}));
    // A custom system has no shipped name: its DAT list names its database.
    QVERIFY(Import(t, kNes, file).ok);
    QTEST(RetroArchDatabaseName(t.Db(), kNes), "database");
  }

  void MameSoftwareListsImportWhole_data()
  {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("entries");
    QTest::newRow("nes") << "nes" << 4530;
    QTest::newRow("snes") << "snes" << 3636;
  }

  void MameSoftwareListsImportWhole()
  {
    QFETCH(QString, list);
    QFETCH(int, entries);
    const QString file = InstalledSoftwareList(list);
    if (file.isEmpty())
      QSKIP("mame-data is not installed (/usr/share/games/mame/hash)");
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    QCOMPARE(MameSoftwareListFile(list), file);
    const ListImport imported = Import(t, kNes, file);
    QVERIFY2(imported.ok, qPrintable(imported.error));
    QCOMPARE(imported.list.entries, entries);
    QCOMPARE(imported.list.name, list);
    // Every ROM with data has its checksums; no entry is lost on the way.
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefEntry")).toInt(), entries);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM RefRom WHERE Status <> 'nodump' AND CRC IS NULL AND "
                                    "SHA1 IS NULL"))
                 .toInt(),
             0);
  }

  void NesCartridgePartsArePlacedInOneFile()
  {
    const QString file = InstalledSoftwareList(QStringLiteral("nes"));
    if (file.isEmpty())
      QSKIP("mame-data is not installed (/usr/share/games/mame/hash)");
    IdentifyScene scene;
    TestCatalogue& t = scene.Catalogue();
    QVERIFY(Import(t, kNes, file).ok);
    const std::optional<Rows> rows = t.Db().TrySelect(
        QStringLiteral("SELECT RefEntry.Description, RefEntry.Year, RefEntry.Publisher, RefRom.Part, RefRom.Size, "
                       "RefRom.Offset, printf('%08x', RefRom.CRC) FROM RefRom INNER JOIN RefEntry USING (EntryID) "
                       "WHERE RefEntry.Name = 'smb' ORDER BY RefRom.rowid"),
        {}, nullptr);
    QVERIFY(rows);
    QCOMPARE(rows->Count(), 2);
    QCOMPARE(rows->Value(0, 0).toString(), QStringLiteral("Super Mario Bros. (Europe, rev. A)"));
    QCOMPARE(rows->Value(0, 1).toString(), QStringLiteral("1987"));
    QCOMPARE(rows->Value(0, 2).toString(), QStringLiteral("Nintendo"));
    QCOMPARE(rows->Value(0, 3).toString(), QStringLiteral("cart"));
    // PRG first, CHR right after it, as an iNES image holds them.
    QCOMPARE(rows->Value(0, 5).toLongLong(), 0);
    QCOMPARE(rows->Value(1, 5).toLongLong(), 32768);
    QCOMPARE(rows->Value(0, 6).toString(), QStringLiteral("967a605f"));
    QCOMPARE(rows->Value(1, 6).toString(), QStringLiteral("867b51ad"));
  }
};

QUILLON_TEST_CLASS(ReferenceListTest)
#include "ReferenceListTest.moc"
