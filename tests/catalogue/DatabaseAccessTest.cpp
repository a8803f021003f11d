// The connection, record edits, structure changes, error reports and the session's lock.
#include "RecordingFeedback.h"
#include "ScratchFileSystem.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "catalogue/EditRecord.h"
#include "catalogue/SchemaChanges.h"
#include "catalogue/Session.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

class DatabaseAccessTest : public QObject {
  Q_OBJECT

 private slots:
  void MissingCatalogueGivesTheFatalMessage()
  {
    QTemporaryDir dir;
    RecordingFeedback feedback;
    Session session;
    QString message;
    const OpenOutcome outcome =
        session.Open(DataFolder(dir.path()), dir.filePath(QStringLiteral("no-such-delivered.mdb")), feedback, &message);
    QCOMPARE(outcome, OpenOutcome::CatalogueMissing);
    QVERIFY(
        message.startsWith(QStringLiteral("Unable to locate database.\r\nPlease make sure that this file is located "
                                          "in the Quillon installation folder.\r\n")));
    QVERIFY(!session.IsOpen());
    // Nothing was created in its place.
    QVERIFY(!QFile::exists(DataFolder(dir.path()).CatalogueFile()));
  }

  void NewDataFolderGetsTheDeliveredCatalogueAndItsFolders()
  {
    QTemporaryDir dir;
    const DataFolder folder(dir.filePath(QStringLiteral("fresh")));
    RecordingFeedback feedback;
    Session session;
    QCOMPARE(session.Open(folder, DeliveredCatalogue(), feedback, nullptr), OpenOutcome::Opened);
    for (const QString& path : {folder.TempFolder(), folder.TempImagesFolder(), folder.UrlFolder(),
                                folder.LibraryFolder(), folder.CfgFolder()})
      QVERIFY2(QFileInfo(path).isDir(), qPrintable(path));
    const std::optional<QVariant> systems = session.Connection().SelectValue(
        feedback, QStringLiteral("test"), QStringLiteral("SELECT count(*) FROM System"));
    QVERIFY(systems);
    QCOMPARE(systems->toInt(), 33);
  }

  void SecondInstanceIsRefused()
  {
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    RecordingFeedback feedback;
    Session first;
    QCOMPARE(first.Open(folder, DeliveredCatalogue(), feedback, nullptr), OpenOutcome::Opened);
    QVERIFY(QFile::exists(folder.LockFile()));
    Session second;
    QString message;
    QCOMPARE(second.Open(folder, DeliveredCatalogue(), feedback, &message), OpenOutcome::InUse);
    QVERIFY(message.contains(QStringLiteral("in use")));
    // The lock's holder, by process and host.
    QVERIFY2(message.contains(QStringLiteral("process %1 on %2")
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(QSysInfo::machineHostName())),
             qPrintable(message));
    first.Close(feedback, false);
    QVERIFY(!QFile::exists(folder.LockFile()));
    QCOMPARE(second.Open(folder, DeliveredCatalogue(), feedback, nullptr), OpenOutcome::Opened);
  }

  void LockFilesNamingNoLiveProcessAreTakenOver_data()
  {
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ended.waitForFinished();
    QTest::addColumn<QByteArray>("lock");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00 not a lock\n");
    QTest::newRow("process 0") << QByteArray("0\nquillon\n") + QSysInfo::machineHostName().toUtf8() + "\n";
    QTest::newRow("ended process") << QByteArray::number(ended.processId()) + "\nquillon\n" +
                                          QSysInfo::machineHostName().toUtf8() + "\n";
  }

  void LockFilesNamingNoLiveProcessAreTakenOver()
  {
    QFETCH(QByteArray, lock);
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    QVERIFY(TouchFile(folder.LockFile(), lock));
    RecordingFeedback feedback;
    Session session;
    QString message;
    QCOMPARE(session.Open(folder, DeliveredCatalogue(), feedback, &message), OpenOutcome::Opened);
    qint64 pid = 0;
    QString host;
    QString application;
    QVERIFY(QLockFile(folder.LockFile()).getLockInfo(&pid, &host, &application));
    QCOMPARE(pid, QCoreApplication::applicationPid());
    session.Close(feedback, false);
    QVERIFY(!QFile::exists(folder.LockFile()));
  }

  void UnwritableDataFolderIsNamedForWhatItIs_data()
  {
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only file system") << false << QStringLiteral("Read-only file system");
    QTest::newRow("full disk") << true << QStringLiteral("No space left on device");
  }

  void UnwritableDataFolderIsNamedForWhatItIs()
  {
    QFETCH(bool, full);
    QFETCH(QString, reason);
    ScratchFileSystem disk(1024 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    const DataFolder folder(disk.Path());
    RecordingFeedback feedback;
    {
      Session session;  // the data folder and its catalogue, as a first start leaves them
      QCOMPARE(session.Open(folder, DeliveredCatalogue(), feedback, nullptr), OpenOutcome::Opened);
      session.Close(feedback, false);
    }
    QVERIFY(full ? disk.Fill() : disk.MakeReadOnly());
    Session session;
    QString message;
    QCOMPARE(session.Open(folder, DeliveredCatalogue(), feedback, &message), OpenOutcome::Failed);
    QVERIFY2(!message.contains(QStringLiteral("in use")), qPrintable(message));
    QVERIFY2(message.contains(folder.Path()) && message.contains(reason), qPrintable(message));
  }

  void FilesThatAreNoCatalogueAreRefusedAndLeftAlone_data()
  {
    QTest::addColumn<QByteArray>("content");  // an SQL script to build it when it starts with "sql:"
    QTest::addColumn<QString>("why");
    QTest::newRow("empty file") << QByteArray() << QStringLiteral("is empty (0 bytes)");
    QTest::newRow("not a database") << QByteArray(4096, 'x') << QStringLiteral("is not a Quillon catalogue");
    QTest::newRow("another program's database")
        << QByteArray("sql:CREATE TABLE Notes (Text); INSERT INTO Notes VALUES ('mine');")
        << QStringLiteral("is not a Quillon catalogue");
  }

  void FilesThatAreNoCatalogueAreRefusedAndLeftAlone()
  {
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const DataFolder folder(dir.path());
    QVERIFY(TouchFile(folder.CatalogueFile(), content.startsWith("sql:") ? QByteArray() : content));
    if (content.startsWith("sql:")) {
      // An empty file is an empty database to SQLite: another program's tables go into it.
      const std::unique_ptr<Catalogue> other = Catalogue::Open(folder.CatalogueFile(), nullptr, nullptr);
      QVERIFY(other);
      for (const QByteArray& statement : content.mid(4).split(';')) {
        if (!statement.trimmed().isEmpty())
          QVERIFY(other->TryExecute(QString::fromUtf8(statement), {}, nullptr));
      }
    }
    QFile file(folder.CatalogueFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    RecordingFeedback feedback;
    Session session;
    QString message;
    QCOMPARE(session.Open(folder, DeliveredCatalogue(), feedback, &message), OpenOutcome::NotACatalogue);
    QVERIFY2(message.contains(folder.CatalogueFile()), qPrintable(message));
    QVERIFY2(message.contains(why), qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("move it aside")), qPrintable(message));
    QVERIFY(!session.IsOpen());
    QVERIFY(!QFile::exists(folder.LockFile()));
    // One message, no error report beside it; the user's file is left alone.
    QVERIFY(feedback.statuses.isEmpty());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
  }

  void ErrorReportsCarryTheRoutineTag()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(
        !t.Db().Execute(feedback, QStringLiteral("GetFirstGenre"), QStringLiteral("SELECT NoSuchName FROM Genres")));
    const QString line = feedback.LastStatus();
    QVERIFY2(line.startsWith(QStringLiteral("Status: Error - 1-(GetFirstGenre)-")), qPrintable(line));
    QVERIFY2(line.contains(QStringLiteral("no such column")), qPrintable(line));
  }

  void ValuesAreBoundNeverSpliced()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const QString hostile = QStringLiteral("x'); DROP TABLE Games; --\"");
    QVERIFY(t.Db().Execute(feedback, QStringLiteral("test"),
                           QStringLiteral("INSERT INTO Games (FullName, FileName, System) VALUES (?, ?, 3)"),
                           {hostile, hostile}));
    QCOMPARE(t.Value(QStringLiteral("SELECT FullName FROM Games")).toString(), hostile);

    // Text arrives exactly, also with a leading U+FEFF (a file name may begin with one).
    const QString marked = QString(QChar(0xFEFF)) + QStringLiteral("Game (U).gb");
    QVERIFY(
        t.Db().Execute(feedback, QStringLiteral("test"), QStringLiteral("UPDATE Games SET FileName = ?"), {marked}));
    QCOMPARE(t.Value(QStringLiteral("SELECT FileName FROM Games")).toString(), marked);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM Games WHERE FileName = ?"), {marked}).toInt(), 1);
  }

  void EditRecordWritesOnlyChangedValues()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    const RecordRef snes{QStringLiteral("System"), QStringLiteral("SystemID"), 3};
    // Unchanged control: nothing is written, even a different value.
    QVERIFY(!EditRecord(t.Db(), feedback, snes, QStringLiteral("Emulator"), QStringLiteral("/usr/bin/snes9x"), false));
    QVERIFY(t.Value(QStringLiteral("SELECT Emulator FROM System WHERE SystemID = 3")).isNull());
    QVERIFY(EditRecord(t.Db(), feedback, snes, QStringLiteral("Emulator"), QStringLiteral("/usr/bin/snes9x"), true));
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT Emulator FROM System WHERE SystemID = 3")).toString(),
             QStringLiteral("/usr/bin/snes9x"));
    // Empty text stores Null, not an empty string; other rows are untouched.
    QVERIFY(EditRecord(t.Db(), feedback, snes, QStringLiteral("Emulator"), QString(""), true));
    QVERIFY(t.Value(QStringLiteral("SELECT Emulator FROM System WHERE SystemID = 3")).isNull());
    // The one-row option table has no key.
    QVERIFY(EditRecord(t.Db(), feedback, {QStringLiteral("Inc"), {}, {}}, QStringLiteral("IncQ"), 1, true));
    QCOMPARE(t.Value(QStringLiteral("SELECT IncQ FROM Inc")).toInt(), 1);
    // A field the table lacks is an error with the routine's tag, not a crash or a statement.
    QVERIFY(!EditRecord(t.Db(), feedback, snes, QStringLiteral("NoSuchColumn"), 1, true));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(EditRecord)-")));
    QVERIFY(!EditRecord(t.Db(), feedback, snes, QStringLiteral("Emulator = 1; --"), 1, true));
  }

  void AddFieldSendsTheSizeOnlyWhenGiven()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    t.Exec(QStringLiteral("CREATE TABLE Probe (ID INTEGER PRIMARY KEY)"));
    t.Exec(QStringLiteral("INSERT INTO Probe (ID) VALUES (1)"));
    QVERIFY(addField(t.Db(), feedback, QStringLiteral("Probe"), QStringLiteral("Filter"), QStringLiteral("text"), 255));
    QVERIFY(addField(t.Db(), feedback, QStringLiteral("Probe"), QStringLiteral("Flag"), QStringLiteral("YesNo"), 0));
    QVERIFY(addField(t.Db(), feedback, QStringLiteral("Probe"), QStringLiteral("Count"), QStringLiteral("Long"), 0));
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(type, ' ') FROM pragma_table_info('Probe')")).toString(),
             QStringLiteral("INTEGER TEXT(255) INTEGER INTEGER"));
    // A new YesNo reads false in existing rows, never Null.
    QCOMPARE(t.Value(QStringLiteral("SELECT Flag FROM Probe")).toInt(), 0);
    QVERIFY(feedback.yields >= 3);
    QVERIFY(
        !addField(t.Db(), feedback, QStringLiteral("Probe"), QStringLiteral("Filter"), QStringLiteral("text"), 255));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(addField)-")));
  }

  void AddTableAndChangeSeed()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    QVERIFY(AddTable(t.Db(), feedback, QStringLiteral("dURL2"),
                     {{QStringLiteral("ID"), kLongTypeCode, true},
                      {QStringLiteral("ScriptName"), kTextTypeCode, false},
                      {QStringLiteral("SystemID"), kLongTypeCode, false}}));
    QCOMPARE(t.Db().ColumnsOf(QStringLiteral("dURL2")), (QStringList{"ID", "ScriptName", "SystemID"}));
    // Keys freed at the end of a table are given again once the seed is set back.
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('a', 3), ('b', 3), ('c', 3)"));
    t.Exec(QStringLiteral("DELETE FROM Games WHERE GameID = 3"));
    QCOMPARE(NextKey(t.Db(), QStringLiteral("Games"), QStringLiteral("GameID")), 4);
    QVERIFY(ChangeSeed(t.Db(), feedback, QStringLiteral("Games"), QStringLiteral("GameID"), 3));
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('d', 3)"));
    QCOMPARE(t.Value(QStringLiteral("SELECT GameID FROM Games WHERE FullName = 'd'")).toInt(), 3);
    // A seed below a key in use cannot hold and says so.
    QVERIFY(!ChangeSeed(t.Db(), feedback, QStringLiteral("Games"), QStringLiteral("GameID"), 2));
    QVERIFY(ChangeSeed(t.Db(), feedback, QStringLiteral("[Year]"), QStringLiteral("YearID"), 73));
    QVERIFY(!ChangeSeed(t.Db(), feedback, QStringLiteral("Games"), QStringLiteral("NoKey"), 9));
    QVERIFY(feedback.LastStatus().contains(QStringLiteral("-(ChangeSeed)-")));
  }

  void TransactionsRollBackUnlessCommitted()
  {
    TestCatalogue t;
    {
      Transaction outer(t.Db());
      t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('kept', 3)"));
      {
        Transaction inner(t.Db());
        t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('dropped', 3)"));
      }
      QVERIFY(outer.Commit());
    }
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(FullName) FROM Games")).toString(), QStringLiteral("kept"));
  }

  void FailedCommitLeavesNoTransactionOpen()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("PRAGMA busy_timeout = 50"));
    // Another program reading the catalogue keeps a commit from finishing.
    std::unique_ptr<Catalogue> reader = Catalogue::Open(t.Folder().CatalogueFile(), nullptr, nullptr);
    QVERIFY(reader && reader->TryExecute(QStringLiteral("BEGIN"), {}, nullptr) &&
            reader->TrySelect(QStringLiteral("SELECT count(*) FROM Games"), {}, nullptr));
    {
      Transaction transaction(t.Db());
      t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('not saved', 3)"));
      SqlFailure failure;
      QVERIFY(!transaction.Commit(&failure));
      QVERIFY2(failure.description.contains(QStringLiteral("locked")), qPrintable(failure.description));
    }
    QVERIFY(!t.Db().InTransaction());
    QVERIFY(reader->TryExecute(QStringLiteral("COMMIT"), {}, nullptr));
    // Later work is its own and is saved.
    t.Exec(QStringLiteral("INSERT INTO Games (FullName, System) VALUES ('saved', 3)"));
    t.Reopen();
    QCOMPARE(t.Value(QStringLiteral("SELECT group_concat(FullName) FROM Games")).toString(), QStringLiteral("saved"));
  }
};

QUILLON_TEST_CLASS(DatabaseAccessTest)
#include "DatabaseAccessTest.moc"
