// quillon-cli images: the image search unattended, against a site on 127.0.0.1.
#include "ImageSiteScene.h"
#include "TestRegistry.h"

#include "CliInProcess.h"

#include <QFileInfo>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

CliOutput RunImages(ImageSiteScene& scene, const QStringList& options)
{
  scene.Catalogue().Close();
  const CliOutput result =
      RunCliOn(scene.Catalogue().Folder().Path(),
               QStringList{QStringLiteral("images"), QStringLiteral("--system"), QStringLiteral("snes")} + options);
  scene.Catalogue().Reopen();
  return result;
}

}  // namespace

class CliImagesTest : public QObject {
  Q_OBJECT

 private slots:
  void TickedGamesWithoutQuestions()
  {
    ImageSiteScene scene;
    QVERIFY(scene.IsValid());
    scene.SetSystem(QStringLiteral("TimeOut"), 1);
    scene.AddSite(QStringLiteral("/results"));
    // Two matches: the window would ask; unattended, the best one is taken.
    scene.ServeResults(QStringLiteral("/results"), {{QStringLiteral("Alpha Beta Gamma Delta"), QStringLiteral("/near")},
                                                    {QStringLiteral("Alpha Beta Gamma"), QStringLiteral("/best")},
                                                    {QStringLiteral("Omega"), QStringLiteral("/slow")}});
    scene.ServeMatch(QStringLiteral("/best"),
                     {{QStringLiteral("/pics/a.png"), {}}, {QStringLiteral("/pics/b.gif"), {}}});
    scene.ServePicture(QStringLiteral("/pics/a.png"), {100, 100}, "png");
    scene.ServePicture(QStringLiteral("/pics/b.gif"), {100, 100}, "gif");
    LocalHttpServer::Reply slow;
    slow.delayMs = 5000;
    scene.Server().Serve(QStringLiteral("/slow"), slow);
    const qint64 alpha = scene.AddGame(QStringLiteral("Alpha Beta Gamma"), QStringLiteral("Alpha (E).zip"));
    const qint64 omega = scene.AddGame(QStringLiteral("Omega"), QStringLiteral("Omega.zip"));
    scene.AddGame(QStringLiteral("Unticked"), QStringLiteral("Unticked.zip"), false);

    const CliOutput result = RunImages(scene, {QStringLiteral("--selected")});
    QCOMPARE(result.status, 0);
    QCOMPARE(
        result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
        (QStringList{QStringLiteral("%1\tAlpha Beta Gamma\t2\tdownloaded\tAlpha (E).png\tAlpha (E)_1.gif").arg(alpha),
                     QStringLiteral("%1\tOmega\t0\tno pictures taken").arg(omega)}));
    QCOMPARE(scene.GameImage(alpha).toString(), QStringLiteral("Alpha (E).png"));
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/near")), 0);
    // A match page that never loads is given up after three navigations.
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/slow")), 3);
    QVERIFY(result.err.contains(QStringLiteral("Status: Skipping game due to error loading page.")));
    QVERIFY(result.err.contains(QStringLiteral("Status: OK.")));
    // Nobody is asked to select: the status says what was done instead.
    QVERIFY2(!result.err.contains(QStringLiteral("select one")), qPrintable(result.err));
    QVERIFY(result.err.contains(QStringLiteral("Status: 2 matches found.\n")));
    QVERIFY(result.err.contains(QStringLiteral("Status: Best of 2 matches taken: Alpha Beta Gamma (100.00%).\n")));
  }

  void BestMatchBelowTheThresholdIsSaid()
  {
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("AutoDL"), 90);
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{QStringLiteral("Alpha Beta Gamma Delta"), QStringLiteral("/a")},
                                                    {QStringLiteral("Alpha Beta Gamma Epsilon"), QStringLiteral("/b")},
                                                    {QStringLiteral("Alpha Beta Gamma Zeta"), QStringLiteral("/c")}});
    const qint64 alpha = scene.AddGame(QStringLiteral("Alpha Beta Gamma"), QStringLiteral("Alpha (E).zip"));

    const CliOutput result = RunImages(scene, {QStringLiteral("--game"), QString::number(alpha)});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QStringLiteral("%1\tAlpha Beta Gamma\t0\tbelow threshold\n").arg(alpha));
    QVERIFY2(!result.err.contains(QStringLiteral("select one")), qPrintable(result.err));
    QVERIFY(result.err.contains(
        QStringLiteral("Status: Best of 3 matches (75.00%) is below 90.00%: nothing downloaded.\n")));
  }

  // Pictures that cannot be saved are an error, before any site is searched.
  void MissingPictureFolderFails()
  {
    ImageSiteScene scene;
    const QString missing = scene.Catalogue().Path(QStringLiteral("no such folder/"));
    scene.SetSystem(QStringLiteral("DefaultImagePath"), missing);
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{QStringLiteral("Alpha Beta Gamma"), QStringLiteral("/best")}});
    scene.ServeMatch(QStringLiteral("/best"), {{QStringLiteral("/pics/a.png"), {}}});
    scene.ServePicture(QStringLiteral("/pics/a.png"), {100, 100}, "png");
    const qint64 alpha = scene.AddGame(QStringLiteral("Alpha Beta Gamma"), QStringLiteral("Alpha (E).zip"));

    const CliOutput result = RunImages(scene, {QStringLiteral("--game"), QString::number(alpha)});
    QCOMPARE(result.status, 1);
    QVERIFY2(result.err.contains(QStringLiteral("Status: Error - 76-(AutoImageDL)-Path not found: ") + missing),
             qPrintable(result.err));
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/results")), 0);
    QVERIFY(scene.GameImage(alpha).isNull());
    QVERIFY(!QFileInfo::exists(missing));
  }

  void ResumeAndRefusals()
  {
    ImageSiteScene scene;
    QCOMPARE(RunImages(scene, {QStringLiteral("--selected"), QStringLiteral("--game"), QStringLiteral("1")}).status, 2);
    QCOMPARE(RunImages(scene, {QStringLiteral("--game"), QStringLiteral("1"), QStringLiteral("--resume")}).status, 2);
    const qint64 first = scene.AddGame(QStringLiteral("First"), QStringLiteral("First.zip"));
    CliOutput result = RunImages(scene, {QStringLiteral("--game"), QString::number(first)});
    QCOMPARE(result.status, 1);
    QVERIFY(result.err.contains(QStringLiteral("Status: Error - Check Image Settings.")));

    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {});
    const qint64 second = scene.AddGame(QStringLiteral("Second"), QStringLiteral("Second.zip"));
    scene.SetSystem(QStringLiteral("ResumePosition"), 2);
    result = RunImages(scene, {QStringLiteral("--selected"), QStringLiteral("--resume")});
    QCOMPARE(result.status, 0);
    QCOMPARE(result.out, QStringLiteral("%1\tSecond\t0\tno match\n").arg(second));
    QVERIFY(result.err.contains(QStringLiteral("Resume previous search? -> yes")));
    QCOMPARE(RunImages(scene, {QStringLiteral("--game"), QStringLiteral("999")}).status, 1);
  }
};

QUILLON_TEST_CLASS(CliImagesTest)
#include "CliImagesTest.moc"
