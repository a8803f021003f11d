// quillon-cli sites: export and import of the site lists, answering the overwrite question from
// flags and never from a prompt.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput RunTool(const TestCatalogue& t, const QStringList& args)
{
  return RunCliOn(t.Folder().Path(), args);
}

QStringList SiteUrls(TestCatalogue& t)
{
  QStringList urls;
  const std::optional<Rows> rows =
      t.Db().TrySelect(QStringLiteral("SELECT SystemID, URL FROM ImageURL ORDER BY ID"), {}, nullptr);
  for (const QVariantList& row : rows->All())
    urls << row[0].toString() + QLatin1Char(':') + row[1].toString();
  return urls;
}

}  // namespace

class CliSitesTest : public QObject {
  Q_OBJECT

 private slots:
  void ExportThenImportWithEitherFlag()
  {
    TestCatalogue t;
    QVERIFY(t.IsValid());
    t.Exec(
        QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (2, 'http://a.example/?q='), "
                       "(5, 'http://b.example/?q=')"));
    const QStringList sites = SiteUrls(t);
    t.Close();
    const QString file = t.Path(QStringLiteral("sites.ini"));
    CliOutput result = RunTool(t, {QStringLiteral("sites"), QStringLiteral("export"), file});
    QCOMPARE(result.status, 0);
    QVERIFY(QFile(file).size() > 0);

    result = RunTool(t, {QStringLiteral("sites"), QStringLiteral("import"), file, QStringLiteral("--append")});
    QCOMPARE(result.status, 0);
    t.Reopen();
    QCOMPARE(SiteUrls(t), sites + sites);
    t.Close();

    result = RunTool(t, {QStringLiteral("sites"), QStringLiteral("import"), QStringLiteral("--overwrite"), file});
    QCOMPARE(result.status, 0);
    QVERIFY(result.err.contains(QStringLiteral("Would you like to overwrite your existing settings? -> yes")));
    t.Reopen();
    QCOMPARE(SiteUrls(t), sites);
  }

  void UsageErrorsAndRefusedFilesChangeNothing()
  {
    TestCatalogue t;
    t.Exec(QStringLiteral("INSERT INTO ImageURL (SystemID, URL) VALUES (1, 'http://kept.example/')"));
    t.Close();
    const QString file = t.Path(QStringLiteral("dup.ini"));
    QVERIFY(TouchFile(file, "[Site]\r\na1=http://x/\r\na1=http://y/\r\n"));
    const QList<QStringList> usageErrors = {
        {QStringLiteral("sites"), QStringLiteral("import"), file},
        {QStringLiteral("sites"), QStringLiteral("import"), file, QStringLiteral("--overwrite"),
         QStringLiteral("--append")},
        {QStringLiteral("sites"), QStringLiteral("import"), QStringLiteral("--overwrite")},
        {QStringLiteral("sites"), QStringLiteral("export")},
        {QStringLiteral("sites")},
    };
    for (const QStringList& args : usageErrors) {
      const CliOutput result = RunTool(t, args);
      QVERIFY2(result.status == 2, qPrintable(args.join(QLatin1Char(' '))));
      QVERIFY(!result.err.contains(QStringLiteral("overwrite your existing settings")));
    }
    const CliOutput duplicate =
        RunTool(t, {QStringLiteral("sites"), QStringLiteral("import"), file, QStringLiteral("--overwrite")});
    QCOMPARE(duplicate.status, 1);
    QVERIFY(duplicate.err.contains(QStringLiteral("Status: Duplicate site IDs found. Check file and try again.")));
    const CliOutput missing = RunTool(t, {QStringLiteral("sites"), QStringLiteral("import"),
                                          t.Path(QStringLiteral("none.ini")), QStringLiteral("--append")});
    QCOMPARE(missing.status, 1);
    QVERIFY(missing.err.contains(QStringLiteral("-(ImportSiteURLs)-")));
    t.Reopen();
    QCOMPARE(SiteUrls(t), QStringList({QStringLiteral("1:http://kept.example/")}));
  }
};

QUILLON_TEST_CLASS(CliSitesTest)
#include "CliSitesTest.moc"
