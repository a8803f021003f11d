// Identification of a system's ROM files against its lists: each kind of result, what the lists
// fill in (and what the user entered stays), cartridges split in data areas, SHA-1 read only on
// demand, and the hash cache that spares unchanged files.
#include "IdentifyScene.h"
#include "RecordingFeedback.h"
#include "SilentUpgradeDisplay.h"
#include "TestRegistry.h"

#include "browser/GameList.h"
#include "catalogue/LaterSteps.h"
#include "catalogue/StructureUpgrade.h"
#include "identify/ReferenceLists.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

void SetModified(const QString& path, const QDateTime& when)
{
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadWrite));
  QVERIFY(file.setFileTime(when, QFileDevice::FileModificationTime));
}

QString TextOf(MatchStatus status)
{
  return MatchStatusText(status);
}

}  // namespace

class VerificationTest : public QObject {
  Q_OBJECT

 private slots:
  void EachKindOfResult()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    const QMap<QString, qint64> games = scene.AddStandardFiles();
    RecordingFeedback feedback;
    const VerifySummary summary = scene.Verify(feedback);
    QVERIFY2(summary.ok, qPrintable(summary.error));
    QVERIFY2(!feedback.HasError(), qPrintable(feedback.ErrorLines().join('\n')));
    struct Expected {
      const char* file;
      MatchStatus status;
      const char* name;
    };
    const Expected expected[] = {
        {"Alpha Quest (USA).sfc", MatchStatus::Verified, "Alpha Quest (USA)"},
        {"beta.smc", MatchStatus::Rename, "Beta Racer (Europe)"},
        {"gamma.sfc", MatchStatus::BadDump, "Gamma Bad (Japan)"},
        {"unknown.sfc", MatchStatus::NotInList, ""},
        {"twin.sfc", MatchStatus::Ambiguous, ""},
        {"Twin (Germany).sfc", MatchStatus::Verified, "Twin (Germany)"},  // the name settles one checksum
        {"delta.zip", MatchStatus::Rename, "Delta Zip (World)"},
        {"epsilon.smc", MatchStatus::Rename, "Epsilon Headered (USA)"},  // after its copier header
    };
    for (const Expected& e : expected) {
      const QString file = QString::fromUtf8(e.file);
      const GameVerdict* verdict = VerdictOf(summary, games.value(file));
      QVERIFY2(verdict, e.file);
      QCOMPARE(TextOf(verdict->status), TextOf(e.status));
      QCOMPARE(verdict->standardName, QString::fromUtf8(e.name));
      QCOMPARE(scene.Catalogue()
                   .Value(QStringLiteral("SELECT Status FROM GameMatch WHERE GameID = ?"), {games.value(file)})
                   .toInt(),
               static_cast<int>(e.status));
    }
    QCOMPARE(VerdictOf(summary, games.value(QStringLiteral("twin.sfc")))->candidates,
             QStringList({QStringLiteral("Twin (Europe)"), QStringLiteral("Twin (Germany)")}));
    QVERIFY(!VerdictOf(summary, games.value(QStringLiteral("gone.sfc"))));
    QCOMPARE(summary.notOnDisk, 1);
    QCOMPARE(summary.listEntries, 9);
    QCOMPARE(summary.have, 6);
    QCOMPARE(summary.missing, 3);
    QCOMPARE(VerifySummaryText(summary),
             QStringLiteral("Have 6 / missing from the list 3. verified 2, rename needed 3, bad dump 1, not in list 1, "
                            "ambiguous 1. 1 not on disk."));

    // The list query filters by result (the window test filters by the other results).
    ListFilters filters;
    filters.systemId = IdentifyScene::kSystem;
    filters.matchStatus = static_cast<int>(MatchStatus::Unchecked);
    scene.AddRom(QStringLiteral("new.sfc"), RandomRom(1, 4096));
    const std::optional<std::vector<GameRow>> unchecked = GameListQuery(scene.Db(), feedback, filters);
    QCOMPARE(unchecked->size(), size_t(2));  // the new game and the one not on disk
  }

  void FillsWhatGamesLackAndKeepsWhatUsersEntered()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    const QMap<QString, qint64> games = scene.AddStandardFiles();
    const qint64 alpha = games.value(QStringLiteral("Alpha Quest (USA).sfc"));
    const qint64 beta = games.value(QStringLiteral("beta.smc"));
    // The user gave Alpha Quest a year and a title of their own.
    scene.Catalogue().Exec(QStringLiteral("UPDATE Games SET Year = (SELECT YearID FROM Year WHERE Year = '1995'), "
                                          "FullName = 'My Alpha' WHERE GameID = ?"),
                           {alpha});
    RecordingFeedback feedback;
    const VerifySummary summary = scene.Verify(feedback);
    QVERIFY(summary.ok);
    // Year, maker and country of a game, by name.
    const auto details = [&](qint64 game) {
      return scene.Catalogue()
          .Value(QStringLiteral("SELECT Year.Year || '|' || Manufacturer.Manufacturer || '|' || Country.Country "
                                "FROM Games INNER JOIN Year ON YearID = Games.Year INNER JOIN Manufacturer ON "
                                "ManufacturerID = Games.Manufacturer INNER JOIN Country ON CountryID = Games.Country "
                                "WHERE GameID = ?"),
                 {game})
          .toString();
    };
    QCOMPARE(details(beta), QStringLiteral("1992|Acme|Europe"));
    QCOMPARE(scene.GameValue(beta, QStringLiteral("FullName")).toString(), QStringLiteral("Beta Racer"));
    QVERIFY(scene.GameValue(beta, QStringLiteral("Clone")).toInt() != 0);
    QCOMPARE(VerdictOf(summary, beta)->filled,
             QStringList({QStringLiteral("Year"), QStringLiteral("Manufacturer"), QStringLiteral("Country"),
                          QStringLiteral("FullName"), QStringLiteral("Clone")}));
    QCOMPARE(details(alpha), QStringLiteral("1995|Acme|USA"));
    QCOMPARE(scene.GameValue(alpha, QStringLiteral("FullName")).toString(), QStringLiteral("My Alpha"));
    // "199?" in the list is a decade; "<unknown>" names no maker.
    QCOMPARE(details(games.value(QStringLiteral("delta.zip"))), QStringLiteral("199x|[Unknown]|World"));
    // Nothing is filled from an ambiguous or unknown match.
    QVERIFY(VerdictOf(summary, games.value(QStringLiteral("twin.sfc")))->filled.isEmpty());
    QCOMPARE(details(games.value(QStringLiteral("unknown.sfc"))), QStringLiteral("[Unknown]|[Unknown]|[Unknown]"));
    // A second run fills nothing more.
    const VerifySummary again = scene.Verify(feedback);
    for (const GameVerdict& verdict : again.games)
      QVERIFY2(verdict.filled.isEmpty(), qPrintable(verdict.fileName));
  }

  void CartridgesSplitInDataAreas_data()
  {
    QTest::addColumn<int>("format");
    QTest::newRow("software list") << 2;
    QTest::newRow("Logiqx with PRG and CHR files") << 0;
  }

  void CartridgesSplitInDataAreas()
  {
    QFETCH(int, format);
    IdentifyScene scene;
    const QByteArray prg = RandomRom(10, 32768);
    const QByteArray chr = RandomRom(11, 8192);
    TestList list{QStringLiteral("testnes"), QStringLiteral("1"), {}};
    list.entries << TestEntry{QStringLiteral("widget"),
                              QStringLiteral("Widget Hunt (USA)"),
                              QStringLiteral("1988"),
                              QStringLiteral("Acme"),
                              QString(),
                              {{QStringLiteral("widget.prg"), prg, QString(), QStringLiteral("prg")},
                               {QStringLiteral("widget.chr"), chr, QString(), QStringLiteral("chr")}}};
    QVERIFY(scene.Import(list, format == 2 ? WriteSoftwareList : WriteLogiqx));
    const qint64 headered = scene.AddRom(QStringLiteral("hunt.nes"), INesImage(prg, chr));
    const qint64 plain = scene.AddRom(QStringLiteral("hunt.bin"), prg + chr);
    const qint64 zipped = scene.AddZip(QStringLiteral("hunt.zip"), {{QStringLiteral("hunt.nes"), INesImage(prg, chr)}});
    const qint64 pieces =
        scene.AddZip(QStringLiteral("pieces.zip"), {{QStringLiteral("a.prg"), prg}, {QStringLiteral("b.chr"), chr}});
    const qint64 half = scene.AddRom(QStringLiteral("half.nes"), INesImage(prg, RandomRom(12, 8192)));
    RecordingFeedback feedback;
    const VerifySummary summary = scene.Verify(feedback);
    QVERIFY(summary.ok);
    // A software list places the ROMs in one file; a DAT file's ROMs are files of their own.
    const bool software = format == 2;
    const MatchStatus whole = software ? MatchStatus::Rename : MatchStatus::NotInList;
    QCOMPARE(TextOf(VerdictOf(summary, headered)->status), TextOf(whole));
    QCOMPARE(TextOf(VerdictOf(summary, plain)->status), TextOf(whole));
    QCOMPARE(TextOf(VerdictOf(summary, zipped)->status), TextOf(whole));
    QCOMPARE(TextOf(VerdictOf(summary, pieces)->status), TextOf(MatchStatus::Rename));
    QCOMPARE(TextOf(VerdictOf(summary, half)->status), TextOf(MatchStatus::NotInList));
    QCOMPARE(VerdictOf(summary, pieces)->standardName,
             software ? QStringLiteral("Widget Hunt (USA)") : QStringLiteral("widget"));
  }

  // A disc list's entry holds the cue sheet and its tracks: the game (the sheet) matches when the
  // whole set does.
  void DiscGameMatchesItsSheetAndTracksAsASet()
  {
    IdentifyScene scene;
    const QByteArray track1 = RandomRom(21, 4096);
    const QByteArray track2 = RandomRom(22, 2048);
    const QByteArray cue =
        "FILE \"Disc Hero (USA) (Track 1).bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n"
        "FILE \"Disc Hero (USA) (Track 2).bin\" BINARY\r\n  TRACK 02 AUDIO\r\n";
    TestList list{QStringLiteral("discs"), QStringLiteral("1"), {}};
    list.entries << TestEntry{QStringLiteral("Disc Hero (USA)"),
                              QStringLiteral("Disc Hero (USA)"),
                              {},
                              {},
                              {},
                              {{QStringLiteral("Disc Hero (USA).cue"), cue, {}, {}},
                               {QStringLiteral("Disc Hero (USA) (Track 1).bin"), track1, {}, {}},
                               {QStringLiteral("Disc Hero (USA) (Track 2).bin"), track2, {}, {}}}};
    QVERIFY(scene.Import(list));
    const qint64 whole = scene.AddRom(QStringLiteral("Disc Hero (USA).cue"), cue);
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("Disc Hero (USA) (Track 1).bin")), track1));
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("Disc Hero (USA) (Track 2).bin")), track2));
    // The same sheet in another folder whose second track is another dump.
    const qint64 other = scene.AddRom(QStringLiteral("other/Disc Hero (USA).cue"), cue);
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("other/Disc Hero (USA) (Track 1).bin")), track1));
    QVERIFY(WriteFile(scene.RomPath(QStringLiteral("other/Disc Hero (USA) (Track 2).bin")), RandomRom(23, 2048)));
    RecordingFeedback feedback;
    const VerifySummary summary = scene.Verify(feedback);
    QVERIFY(summary.ok);
    QCOMPARE(TextOf(VerdictOf(summary, whole)->status), TextOf(MatchStatus::Verified));
    QCOMPARE(VerdictOf(summary, whole)->standardName, QStringLiteral("Disc Hero (USA)"));
    QCOMPARE(TextOf(VerdictOf(summary, other)->status), TextOf(MatchStatus::NotInList));
  }

  void Sha1IsReadOnlyWhenItDecides()
  {
    IdentifyScene scene;
    const QByteArray data = RandomRom(40, 4096);
    const QString crc = Crc32Of(data);
    // Two entries of one CRC-32 and size; only the first has the data's SHA-1.
    const QString dat = scene.Catalogue().Path(QStringLiteral("sha.dat"));
    QVERIFY(WriteFile(dat, QStringLiteral("<datafile><header><name>S</name><version>1</version></header>"
                                          "<game name=\"Left (USA)\"><description>Left (USA)</description>"
                                          "<rom name=\"l.bin\" size=\"4096\" crc=\"%1\" sha1=\"%2\"/></game>"
                                          "<game name=\"Right (USA)\"><description>Right (USA)</description>"
                                          "<rom name=\"r.bin\" size=\"4096\" crc=\"%1\" sha1=\"%3\"/></game>"
                                          "</datafile>")
                               .arg(crc, Sha1Of(data), Sha1Of(RandomRom(41, 4096)))
                               .toUtf8()));
    RecordingFeedback feedback;
    QVERIFY(ImportReferenceList(scene.Db(), feedback, IdentifyScene::kSystem, dat).ok);
    const qint64 zipped = scene.AddZip(QStringLiteral("x.zip"), {{QStringLiteral("x.bin"), data}});
    const VerifySummary summary = scene.Verify(feedback);
    QCOMPARE(VerdictOf(summary, zipped)->standardName, QStringLiteral("Left (USA)"));
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT SHA1 FROM HashCache WHERE Member = 'x.bin'")).toString(),
             Sha1Of(data));

    // One entry whose SHA-1 differs: the directory's CRC-32 takes it, unless SHA-1s are asked for.
    IdentifyScene other;
    TestList list{QStringLiteral("T"), QStringLiteral("1"), {}};
    list.entries << TestEntry{QStringLiteral("Right (USA)"),
                              QStringLiteral("Right (USA)"),
                              {},
                              {},
                              {},
                              {{QStringLiteral("r.bin"), data, {}, {}}}};
    QVERIFY(other.Import(list));
    other.Catalogue().Exec(QStringLiteral("UPDATE RefRom SET SHA1 = ?"), {Sha1Of(RandomRom(41, 4096))});
    const qint64 game = other.AddZip(QStringLiteral("x.zip"), {{QStringLiteral("x.bin"), data}});
    QCOMPARE(TextOf(VerdictOf(other.Verify(feedback), game)->status), TextOf(MatchStatus::Rename));
    QVERIFY(other.Catalogue().Value(QStringLiteral("SELECT SHA1 FROM HashCache")).isNull());
    VerifyOptions confirm;
    confirm.confirmSha1 = true;
    QCOMPARE(TextOf(VerdictOf(other.Verify(feedback, confirm), game)->status), TextOf(MatchStatus::NotInList));
  }

  void UnchangedFilesAreNotReadAgain()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    const QMap<QString, qint64> games = scene.AddStandardFiles();
    RecordingFeedback feedback;
    QCOMPARE(scene.Verify(feedback).filesRead, 8);
    QCOMPARE(scene.Verify(feedback).filesRead, 0);

    // New contents of the same size: the modification time tells, and the result follows.
    const QString unknown = scene.RomPath(QStringLiteral("unknown.sfc"));
    QVERIFY(WriteFile(unknown, RandomRom(1, 4096)));
    SetModified(unknown, QDateTime::currentDateTime().addSecs(10));
    VerifySummary summary = scene.Verify(feedback);
    QCOMPARE(summary.filesRead, 1);
    QCOMPARE(VerdictOf(summary, games.value(QStringLiteral("unknown.sfc")))->standardName,
             QStringLiteral("Alpha Quest (USA)"));

    // A list that now asks for ranges of a file makes the file be read once more.
    TestList parts{QStringLiteral("parts"), QStringLiteral("1"), {}};
    parts.entries << TestEntry{QStringLiteral("p"),
                               QStringLiteral("Parts (USA)"),
                               {},
                               {},
                               {},
                               {{QStringLiteral("a"), RandomRom(99, 2048), {}, QStringLiteral("prg")},
                                {QStringLiteral("b"), RandomRom(98, 2048), {}, QStringLiteral("chr")}}};
    QVERIFY(scene.Import(parts, WriteSoftwareList));
    summary = scene.Verify(feedback);
    QCOMPARE(summary.filesRead, 5);  // the five plain files of 4096 bytes
    QCOMPARE(scene.Verify(feedback).filesRead, 0);
  }

  void FileRenamedAfterHashing()
  {
    IdentifyScene scene;
    QVERIFY(scene.Import(IdentifyScene::StandardList()));
    const qint64 beta = scene.AddRom(QStringLiteral("beta.smc"), RandomRom(2, 8192));
    RecordingFeedback feedback;
    QCOMPARE(TextOf(VerdictOf(scene.Verify(feedback), beta)->status), TextOf(MatchStatus::Rename));
    // The user renames the file; a scan records the new name.
    const QString oldPath = scene.RomPath(QStringLiteral("beta.smc"));
    const QDateTime modified = QFileInfo(oldPath).lastModified();
    QVERIFY(QFile::rename(oldPath, scene.RomPath(QStringLiteral("Beta Racer (Europe).smc"))));
    scene.Catalogue().Exec(QStringLiteral("UPDATE Games SET FileName = 'Beta Racer (Europe).smc' WHERE GameID = ?"),
                           {beta});
    // Another file of the same size now has the old name.
    const qint64 other = scene.AddRom(QStringLiteral("beta.smc"), RandomRom(77, 8192));
    SetModified(oldPath, modified.addSecs(5));
    const VerifySummary summary = scene.Verify(feedback);
    QCOMPARE(TextOf(VerdictOf(summary, beta)->status), TextOf(MatchStatus::Verified));
    QCOMPARE(TextOf(VerdictOf(summary, other)->status), TextOf(MatchStatus::NotInList));
    QCOMPARE(summary.filesRead, 2);
  }

  void WithoutListsNothingIsVerified()
  {
    IdentifyScene scene;
    const qint64 game = scene.AddRom(QStringLiteral("a.sfc"), RandomRom(1, 4096));
    RecordingFeedback feedback;
    const VerifySummary summary = scene.Verify(feedback);
    QVERIFY(!summary.ok);
    QVERIFY(summary.error.contains(QStringLiteral("no reference list")));
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM GameMatch")).toInt(), 0);
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT count(*) FROM HashCache")).toInt(), 0);
    QCOMPARE(IdentifiedName(scene.Db(), game), QString());
  }

  void TablesComeWithALaterStep()
  {
    // The delivered catalogue is older than the tables: the start's upgrade adds them once.
    TestCatalogue t;
    QVERIFY(!t.Db().HasColumn(QStringLiteral("RefList"), QStringLiteral("Name")));
    RecordingFeedback feedback;
    IdentifyScene upgraded;  // upgraded as a start does
    QVERIFY(upgrade::RecordedLaterSteps(upgraded.Db()).contains(14));
    for (const char* table : {"RefList", "RefEntry", "RefRom", "HashCache", "GameMatch", "RenameJournal"})
      QVERIFY2(!upgraded.Db().ColumnsOf(QString::fromLatin1(table)).isEmpty(), table);
    // Deleting a game takes its result along, so a key given again starts without one.
    QVERIFY(upgraded.Import(IdentifyScene::StandardList()));
    const qint64 game = upgraded.AddRom(QStringLiteral("a.sfc"), RandomRom(1, 4096));
    QVERIFY(upgraded.Verify(feedback).ok);
    upgraded.Catalogue().Exec(QStringLiteral("DELETE FROM Games WHERE GameID = ?"), {game});
    QCOMPARE(upgraded.Catalogue().Value(QStringLiteral("SELECT count(*) FROM GameMatch")).toInt(), 0);
    // The step may run again on a catalogue that has its tables.
    SilentUpgradeDisplay display;
    UpgradeResult result;
    upgrade::StepRun run(upgraded.Db(), feedback, display, result);
    upgrade::AddReferenceListTables(run);
    QCOMPARE(result.failures, 0);
    QCOMPARE(upgraded.Catalogue().Value(QStringLiteral("SELECT count(*) FROM RefList")).toInt(), 1);
  }
};

QUILLON_TEST_CLASS(VerificationTest)
#include "VerificationTest.moc"
