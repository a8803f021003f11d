// Export and import of the site lists of all systems through INI files.
#include "RecordingFeedback.h"
#include "ScratchFileSystem.h"
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "images/SiteLists.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

qint64 AddSite(TestCatalogue& t, int system, const QString& url)
{
  t.Exec(QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (?, ?)"), {system, url});
  return t.Db().LastInsertId();
}

void AddIgnored(TestCatalogue& t, int system, qint64 site, const QString& url)
{
  t.Exec(QStringLiteral("INSERT INTO IgnoreList (SystemID, URL, SiteURL) VALUES (?, ?, ?)"), {system, url, site});
}

// Every site as "system|url|ignored,ignored" in site order, without the keys that change.
QStringList Lists(TestCatalogue& t)
{
  QStringList lines;
  const std::optional<Rows> sites =
      t.Db().TrySelect(QStringLiteral("SELECT ID, SystemID, URL FROM ImageURL ORDER BY SystemID, ID"), {}, nullptr);
  for (const QVariantList& site : sites->All()) {
    const std::optional<Rows> ignored =
        t.Db().TrySelect(QStringLiteral("SELECT URL FROM IgnoreList WHERE SiteURL = ? AND SystemID = ? ORDER BY ID"),
                         {site[0], site[1]}, nullptr);
    QStringList urls;
    for (const QVariantList& entry : ignored->All())
      urls << entry[0].toString();
    lines << site[1].toString() + QLatin1Char('|') + site[2].toString() + QLatin1Char('|') +
                 urls.join(QLatin1Char(','));
  }
  return lines;
}

int Count(TestCatalogue& t, const QString& table)
{
  return t.Value(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

}  // namespace

class SiteListsTest : public QObject {
  Q_OBJECT

 private:
  // Two sites on system 1 (the first with two ignored pictures), one on a system added later, with
  // a key the first 34 systems never had.
  void FillSample(TestCatalogue& t)
  {
    t.Exec(QStringLiteral("INSERT INTO System (SystemID, System) VALUES (58, 'PlayStation')"));
    const qint64 first = AddSite(t, 1, QStringLiteral("http://find.example/?q="));
    AddIgnored(t, 1, first, QStringLiteral("http://find.example/logo.gif"));
    AddIgnored(t, 1, first, QStringLiteral("http://find.example/Banner.jpg"));
    AddSite(t, 1, QStringLiteral("http://other.example/s?Term="));
    const qint64 last = AddSite(t, 58, QStringLiteral("http://disc.example/?q="));
    AddIgnored(t, 58, last, QStringLiteral("http://disc.example/x.png"));
  }

 private slots:
  // The file lists every system's sites under keys in ascending order; importing it over lists
  // changed since gives the exported ones back, under new keys.
  void ExportedListsComeBackOnImport()
  {
    TestCatalogue t;
    QVERIFY(t.IsValid());
    FillSample(t);
    const QStringList before = Lists(t);
    const QString file = t.Path(QStringLiteral("URL/sites.ini"));
    QVERIFY(TouchFile(file, "old contents that must go"));
    RecordingFeedback feedback;
    QVERIFY(ExportSiteURLs(t.Db(), feedback, file));
    QCOMPARE(feedback.LastStatus(), "Status: 3 site(s) and 3 ignored address(es) exported to " + file + ".");
    QCOMPARE(FileBytes(file), QByteArray("[Site]\r\n"
                                         "a1=http://find.example/?q=\r\n"
                                         "b1=http://other.example/s?Term=\r\n"
                                         "a58=http://disc.example/?q=\r\n"
                                         "\r\n"
                                         "[Ignore List]\r\n"
                                         "a1=http://find.example/logo.gif\r\n"
                                         "a1=http://find.example/Banner.jpg\r\n"
                                         "a58=http://disc.example/x.png\r\n"));
    const qint64 oldMaxId = t.Value(QStringLiteral("SELECT max(ID) FROM ImageURL")).toLongLong();
    // Lists the file does not mention are cleared too.
    AddIgnored(t, 7, AddSite(t, 7, QStringLiteral("http://gone.example/")), QStringLiteral("http://gone.example/a"));

    feedback.Script(kOverwriteSitesQuestion, Answer::Yes);
    QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Imported);
    QCOMPARE(feedback.questions.size(), 1);
    QCOMPARE(feedback.questions.first().text, QStringLiteral("Would you like to overwrite your existing settings?"));
    QCOMPARE(feedback.questions.first().buttons, QuestionButtons::YesNoCancel);
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: 3 site(s) and 3 ignored address(es) imported."));
    t.Reopen();
    QCOMPARE(Lists(t), before);
    QVERIFY(t.Value(QStringLiteral("SELECT min(ID) FROM ImageURL")).toLongLong() > oldMaxId);
  }

  void AppendAddsToTheExistingSites()
  {
    TestCatalogue t;
    FillSample(t);
    const QStringList before = Lists(t);
    const QString file = t.Path(QStringLiteral("URL/sites.ini"));
    RecordingFeedback feedback;
    QVERIFY(ExportSiteURLs(t.Db(), feedback, file));
    feedback.Script(kOverwriteSitesQuestion, Answer::No);
    QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Imported);
    QStringList expected = before + before;
    expected.sort();
    QStringList after = Lists(t);
    after.sort();
    QCOMPARE(after, expected);
  }

  void SiteWithoutIgnoreListAndCancel()
  {
    TestCatalogue t;
    const QString file = t.Path(QStringLiteral("URL/hand.ini"));
    // Keys may leave gaps; an empty ignore line hides none of the others.
    QVERIFY(TouchFile(file, "[site]\nA2=http://two/\nc2=http://three/\n[Ignore List]\nc2=\nC2=http://three/x\n"));
    RecordingFeedback feedback;
    feedback.Script(kOverwriteSitesQuestion, Answer::Cancel);
    QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Cancelled);
    QCOMPARE(Count(t, QStringLiteral("ImageURL")), 0);

    feedback.Script(kOverwriteSitesQuestion, Answer::Yes);
    QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Imported);
    QCOMPARE(Lists(t),
             QStringList({QStringLiteral("2|http://two/|"), QStringLiteral("2|http://three/|http://three/x")}));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: 2 site(s) and 1 ignored address(es) imported."));
  }

  void DuplicateSiteIdsChangeNothing()
  {
    TestCatalogue t;
    FillSample(t);
    const QStringList before = Lists(t);
    const QString file = t.Path(QStringLiteral("URL/dup.ini"));
    QVERIFY(TouchFile(file, "[Site]\r\na1=http://new/\r\na2=http://two/\r\nA2=http://again/\r\n"));
    for (const Answer answer : {Answer::Yes, Answer::No}) {
      RecordingFeedback feedback;
      feedback.Script(kOverwriteSitesQuestion, answer);
      QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::DuplicateSiteIds);
      QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Duplicate site IDs found. Check file and try again."));
      QCOMPARE(Lists(t), before);
    }
  }

  void FilesWithoutASiteSectionChangeNothing_data()
  {
    QTest::addColumn<QByteArray>("content");  // null: no file at all
    QTest::addColumn<QString>("why");
    QByteArray picture("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16);
    for (int i = 0; i < 512; ++i)
      picture.append(char(i * 37 % 256));
    QTest::newRow("binary file") << picture << QStringLiteral(": it is not a text file");
    QTest::newRow("no sections") << QByteArray("a1=http://x/\r\nb1=http://y/\r\n")
                                 << QStringLiteral(": it holds no [Site] section");
    QTest::newRow("other sections only") << QByteArray("[Settings]\r\na1=http://x/\r\n")
                                         << QStringLiteral(": it holds no [Site] section");
    QTest::newRow("empty file") << QByteArray("") << QStringLiteral(": it holds no [Site] section");
    QTest::newRow("missing file") << QByteArray() << QString();
  }

  void FilesWithoutASiteSectionChangeNothing()
  {
    QFETCH(QByteArray, content);
    QFETCH(QString, why);
    TestCatalogue t;
    FillSample(t);
    const QStringList before = Lists(t);
    const QString file = t.Path(QStringLiteral("URL/not-sites.ini"));
    if (!content.isNull())
      QVERIFY(TouchFile(file, content));
    const QString error = QStringLiteral("Status: Error - %1-(ImportSiteURLs)-").arg(content.isNull() ? 53 : 321);
    for (const Answer answer : {Answer::Yes, Answer::No}) {
      RecordingFeedback feedback;
      feedback.Script(kOverwriteSitesQuestion, answer);
      QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Failed);
      QVERIFY2(feedback.LastStatus().startsWith(error) && feedback.LastStatus().contains(file),
               qPrintable(feedback.LastStatus()));
      QVERIFY2(feedback.LastStatus().contains(why), qPrintable(feedback.LastStatus()));
      // Checked before the question: nothing is asked, nothing cleared.
      QVERIFY(feedback.questions.isEmpty());
      QCOMPARE(Lists(t), before);
    }
    QCOMPARE(QFile::exists(file), !content.isNull());
  }

  void ExportKeepsEveryReadableSiteReadable()
  {
    TestCatalogue t;
    // 28 sites on system 3: the newest 26 get the letters a-z, the two oldest are left out.
    for (int i = 1; i <= 28; ++i)
      AddSite(t, 3, QStringLiteral("http://s%1.example/").arg(i));
    // A bracket in an address would end the section for every line below it.
    const qint64 bracketed = AddSite(t, 4, QStringLiteral("http://b.example/?q=[x]"));
    AddIgnored(t, 4, bracketed, QStringLiteral("http://b.example/[a].gif"));
    AddSite(t, 4, QStringLiteral("http://after.example/"));
    const QString file = t.Path(QStringLiteral("URL/many.ini"));
    RecordingFeedback feedback;
    QVERIFY(ExportSiteURLs(t.Db(), feedback, file));
    QCOMPARE(feedback.messages.size(), 1);
    QVERIFY(feedback.messages.first().contains(QStringLiteral("2 older site(s)")));
    const QByteArray text = FileBytes(file);
    QVERIFY(text.contains("a3=http://s3.example/\r\n"));
    QVERIFY(text.contains("z3=http://s28.example/\r\n"));
    QVERIFY(!text.contains("s2.example"));

    feedback.Script(kOverwriteSitesQuestion, Answer::Yes);
    QCOMPARE(ImportSiteURLs(t.Db(), feedback, file), SiteImportOutcome::Imported);
    QCOMPARE(t.Value(QStringLiteral("SELECT count(*) FROM ImageURL WHERE SystemID = 3")).toInt(), 26);
    QCOMPARE(Lists(t).mid(26),
             QStringList({QStringLiteral("4|http://b.example/?q=%5Bx%5D|http://b.example/%5Ba%5D.gif"),
                          QStringLiteral("4|http://after.example/|")}));
  }

  void WithoutSitesNothingIsExported()
  {
    TestCatalogue t;
    const QString file = t.Path(QStringLiteral("URL/sites.ini"));
    QVERIFY(TouchFile(file, "the user's earlier list"));
    RecordingFeedback feedback;
    QVERIFY(!ExportSiteURLs(t.Db(), feedback, file));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: Error - There are no image sites to export."));
    QCOMPARE(FileBytes(file), QByteArray("the user's earlier list"));
  }

  void UnwritableExportTargetIsReported()
  {
    TestCatalogue t;
    FillSample(t);
    RecordingFeedback feedback;
    QVERIFY(!ExportSiteURLs(t.Db(), feedback, t.Path(QStringLiteral("no/such/folder/x.ini"))));
    QVERIFY(feedback.LastStatus().startsWith(QStringLiteral("Status: Error - 75-(ExportSiteURLs)-")));
  }

  void ExportToAFullDiskSaysWhyAndKeepsTheOldFile()
  {
    ScratchFileSystem disk(256 * 1024);
    if (!disk.IsMounted())
      QSKIP(qPrintable(disk.Error()));
    TestCatalogue t;
    {
      Transaction sites(t.Db());
      for (int system = 1; system <= 20; ++system) {
        for (int site = 0; site < 20; ++site)
          AddSite(t, system,
                  QStringLiteral("http://site%1.example/search?q=").arg(site) + QString(60, QLatin1Char('q')));
      }
      QVERIFY(sites.Commit());
    }
    const QString file = disk.Path() + QStringLiteral("/sites.ini");
    QVERIFY(TouchFile(file, "old"));
    QVERIFY(disk.Fill(8 * 1024));
    RecordingFeedback feedback;
    QVERIFY(!ExportSiteURLs(t.Db(), feedback, file));
    QVERIFY2(feedback.LastStatus().contains(QStringLiteral("No space left on device")),
             qPrintable(feedback.LastStatus()));
    QCOMPARE(FileBytes(file), QByteArray("old"));
  }
};

QUILLON_TEST_CLASS(SiteListsTest)
#include "SiteListsTest.moc"
