// The image search batch against result pages, match pages and pictures served on 127.0.0.1.
#include "ImageSiteScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "images/ImageSearch.h"

#include <QFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

// Seven words; a link of these and one more scores 7/8, shown as 87.50%.
const QString kSevenWords = QStringLiteral("one two three four five six seven");

// The game list and what the batch shows; a choice is counted, never made.
class RecordingView final : public ImageSearchView {
 public:
  RecordingView(ImageSiteScene& scene, const QList<qint64>& ids)
  {
    for (const qint64 id : ids) {
      const QString name =
          scene.Catalogue().Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {id}).toString();
      games.push_back({id, name, true});
    }
  }

  int ListCount() override { return static_cast<int>(games.size()); }
  ListedGame ListedGameAt(int position) override { return games.at(static_cast<size_t>(position - 1)); }
  int SelectedPosition() override { return selected; }
  void SelectPosition(int position) override { selected = position; }
  void LockControls(bool lock) override { locks << lock; }
  void SetGridEnabled(bool enabled) override { choices += enabled ? 1 : 0; }
  void ShowPicture(const QString& path) override { shown << path; }
  void PictureStored(qint64 gameId, const QString& path) override { stored << qMakePair(gameId, path); }
  bool CanChoose() override { return true; }

  std::vector<ListedGame> games;
  int selected = 1;
  int choices = 0;
  QList<bool> locks;
  QStringList shown;
  QList<QPair<qint64, QString>> stored;
};

// The pictures of a scene as "name WxH".
QStringList PicturesWithSizes(const ImageSiteScene& scene)
{
  QStringList pictures;
  for (const QString& name : scene.PictureNames()) {
    const QSize size = scene.PictureSize(name);
    pictures << QStringLiteral("%1 %2x%3").arg(name).arg(size.width()).arg(size.height());
  }
  return pictures;
}

BatchOutcome RunBatch(ImageSiteScene& scene, RecordingFeedback& feedback, RecordingView& view, ImageCommand command)
{
  ImageSearch search(scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback), view);
  return search.Run(command, false);
}

}  // namespace

class ImageSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void BestMatchPicturesAreDownloaded_data()
  {
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("pictures");
    QTest::addColumn<bool>("hadPicture");
    const QStringList all{QStringLiteral("Game (E).png 201x150"), QStringLiteral("Game (E)_1.jpg 202x150"),
                          QStringLiteral("Game (E)_2.gif 203x150"), QStringLiteral("Game (E)_3.png 204x150")};
    QTest::newRow("no limit") << 0 << QString() << all << false;
    QTest::newRow("limit 2") << 2 << QString() << all.mid(0, 2) << false;
    QTest::newRow("second and fourth") << 0 << QStringLiteral("2;4")
                                       << QStringList{QStringLiteral("Game (E).jpg 202x150"),
                                                      QStringLiteral("Game (E)_1.png 204x150")}
                                       << false;
    // The first picture downloaded takes the place of the one the game had.
    QTest::newRow("game with a picture") << 0 << QString() << all << true;
  }

  void BestMatchPicturesAreDownloaded()
  {
    QFETCH(int, limit);
    QFETCH(QString, filter);
    ImageSiteScene scene;
    QVERIFY(scene.IsValid());
    scene.SetSystem(QStringLiteral("AutoDL"), 88);
    scene.SetSystem(QStringLiteral("ImageLimit"), limit);
    scene.SetSystem(QStringLiteral("ImageFilter"), filter.isEmpty() ? QVariant() : QVariant(filter));
    const qint64 site = scene.AddSite(QStringLiteral("/results"));
    scene.Ignore(site, QStringLiteral("/pics/ignored.png"));
    scene.ServeResults(QStringLiteral("/results"), {{kBackToTop, QStringLiteral("/top")},
                                                    {QString(), QStringLiteral("/empty")},
                                                    {kSevenWords + QStringLiteral(" eight"), QStringLiteral("/match")},
                                                    {QStringLiteral("unrelated"), QStringLiteral("/other")}});
    scene.ServeMatch(QStringLiteral("/match"), {{QStringLiteral("/pics/ignored.png"), {}},
                                                {QStringLiteral("/pics/tiny.png"), {}},
                                                {QStringLiteral("/pics/anim/"), {}},
                                                {QStringLiteral("/pics/p1.png"), {}},
                                                {QStringLiteral("/pics/p2.jpg"), {}},
                                                {QStringLiteral("/pics/p3.gif"), {}},
                                                {QStringLiteral("/pics/p4.png"), {}}});
    scene.ServePicture(QStringLiteral("/pics/ignored.png"), {300, 300}, "png");
    scene.ServePicture(QStringLiteral("/pics/tiny.png"), {20, 20}, "png");
    scene.ServePicture(QStringLiteral("/pics/anim/"), {120, 120}, "gif");
    scene.ServePicture(QStringLiteral("/pics/p1.png"), {201, 150}, "png");
    scene.ServePicture(QStringLiteral("/pics/p2.jpg"), {202, 150}, "jpeg");
    scene.ServePicture(QStringLiteral("/pics/p3.gif"), {203, 150}, "gif");
    scene.ServePicture(QStringLiteral("/pics/p4.png"), {204, 150}, "png");
    QFETCH(bool, hadPicture);
    const QString ownPicture = scene.Catalogue().Path(QStringLiteral("own.png"));
    QVERIFY(TouchFile(ownPicture));
    const qint64 game = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"), true,
                                      hadPicture ? QVariant(ownPicture) : QVariant());

    RecordingFeedback feedback;
    RecordingView view(scene, {game});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::CurrentGame);

    QFETCH(QStringList, pictures);
    QCOMPARE(PicturesWithSizes(scene), pictures);
    // The first picture kept becomes the game's, stored by its name in the picture folder.
    const QString first = pictures.first().section(QLatin1Char(' '), 0, 1);
    QCOMPARE(scene.GameImage(game).toString(), first);
    QCOMPARE(view.stored, (QList<QPair<qint64, QString>>{{game, scene.PictureFolder() + first}}));
    QCOMPARE(view.shown.size(), pictures.size());
    QCOMPARE(scene.Catalogue().Value(QStringLiteral("SELECT Edited FROM Games WHERE GameID = ?"), {game}).toInt(), 1);
    // 87.50% reaches an AutoDL of 88: nobody was asked.
    QCOMPARE(view.choices, 0);
    QVERIFY(feedback.questions.isEmpty());
    QCOMPARE(outcome.games.size(), size_t(1));
    QCOMPARE(outcome.games[0].result, GameResult::Pictures);
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: Searching for ") + kSevenWords));
    QCOMPARE(feedback.LastStatus(), QStringLiteral("Status: OK."));
    QCOMPARE(view.locks.last(), false);
  }

  void DownloadsThatAreNoPictureAreNotKept()
  {
    ImageSiteScene scene;
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{kSevenWords, QStringLiteral("/match")}});
    scene.ServeMatch(QStringLiteral("/match"),
                     {{QStringLiteral("/pics/fake.png"), QStringLiteral("width=99 height=99")},
                      {QStringLiteral("/pics/broken.png"), QStringLiteral("width=99 height=99")},
                      {QStringLiteral("/pics/real.jpg"), {}}});
    scene.Server().ServePage(QStringLiteral("/pics/fake.png"), "<html><body>Sorry, no such picture</body></html>");
    scene.Server().ServeStatus(QStringLiteral("/pics/broken.png"), 500);
    scene.ServePicture(QStringLiteral("/pics/real.jpg"), {120, 120}, "jpeg");
    const qint64 game = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"));

    RecordingFeedback feedback;
    RecordingView view(scene, {game});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::CurrentGame);

    QCOMPARE(scene.PictureNames(), QStringList{QStringLiteral("Game (E).jpg")});
    QCOMPARE(scene.GameImage(game).toString(), QStringLiteral("Game (E).jpg"));
    QCOMPARE(outcome.games.at(0).downloads, 3);
    QCOMPARE(outcome.games.at(0).pictures.size(), qsizetype(1));
  }

  void NeverAskingBelowTheThresholdTakesNothing()
  {
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("AutoDL"), 90);
    scene.SetSystem(QStringLiteral("IgnoreMultiples"), 1);
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"),
                       {{kSevenWords + QStringLiteral(" eight"), QStringLiteral("/match")}});
    const qint64 game = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"));

    RecordingFeedback feedback;
    RecordingView view(scene, {game});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::SelectedGames);

    QCOMPARE(outcome.games.at(0).result, GameResult::PassedOver);
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/match")), 0);
    QCOMPARE(view.choices, 0);
    QVERIFY(feedback.questions.isEmpty());
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: 1 match found (87.50%)")));
    QVERIFY(scene.GameImage(game).isNull());
  }

  void NoMatchWithAndWithoutDefaultImage_data()
  {
    QTest::addColumn<QString>("defaultImage");
    QTest::newRow("default image") << QStringLiteral("default.png");
    QTest::newRow("none") << QString();
  }

  void NoMatchWithAndWithoutDefaultImage()
  {
    QFETCH(QString, defaultImage);
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("DefaultImage"), defaultImage.isEmpty() ? QVariant() : QVariant(defaultImage));
    QVERIFY(TouchFile(scene.PictureFolder() + QStringLiteral("own.png")));
    scene.AddSite(QString());  // no address: passed over
    scene.AddSite(QStringLiteral("/results"));
    // "Back to top" would match the title, and "Back to xx yy" scores exactly one half.
    scene.ServeResults(QStringLiteral("/results"), {{kBackToTop, QStringLiteral("/top")},
                                                    {QStringLiteral("Back to xx yy"), QStringLiteral("/half")},
                                                    {QStringLiteral("   "), QStringLiteral("/blank")}});
    const qint64 bare = scene.AddGame(kBackToTop, QStringLiteral("Back to top.zip"));
    const qint64 pictured =
        scene.AddGame(kBackToTop, QStringLiteral("Back to top (E).zip"), true, QStringLiteral("own.png"));

    RecordingFeedback feedback;
    RecordingView view(scene, {bare, pictured});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::SelectedGames);

    QCOMPARE(outcome.games.size(), size_t(2));
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: No Images Found.")));
    QCOMPARE(scene.GameImage(pictured).toString(), QStringLiteral("own.png"));
    // Both games search the same address: the page shown is read again without loading it.
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/results")), 1);
    if (defaultImage.isEmpty()) {
      QCOMPARE(outcome.games[0].result, GameResult::NoMatch);
      QVERIFY(scene.GameImage(bare).isNull());
    } else {
      QCOMPARE(outcome.games[0].result, GameResult::DefaultImage);
      QCOMPARE(scene.GameImage(bare).toString(), defaultImage);
      QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: No images found, using default image.")));
    }
  }

  void SlowResultPageIsRetriedThenSkipped()
  {
    ImageSiteScene scene;
    scene.AddSite(QStringLiteral("/slow"));
    scene.AddSite(QStringLiteral("/results"));
    LocalHttpServer::Reply slow;
    slow.body = "<html><body><a href=\"/match\">" + kSevenWords.toUtf8() + "</a></body></html>";
    slow.delayMs = 5000;
    scene.Server().Serve(QStringLiteral("/slow"), slow);
    scene.ServeResults(QStringLiteral("/results"), {{kSevenWords, QStringLiteral("/match")}});
    scene.ServeMatch(QStringLiteral("/match"), {{QStringLiteral("/pics/box.png"), {}}});
    scene.ServePicture(QStringLiteral("/pics/box.png"), {100, 100}, "png");
    const qint64 game = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"));

    RecordingFeedback feedback;
    RecordingView view(scene, {game});
    RunBatch(scene, feedback, view, ImageCommand::CurrentGame);

    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/slow")), 3);
    const QStringList statuses = feedback.StatusLines();
    QCOMPARE(statuses.count(QStringLiteral("Status: ") + kRetryResultPageText), qsizetype(2));
    const qsizetype skipped = statuses.indexOf(QStringLiteral("Status: ") + kSkippingSiteText);
    QVERIFY(skipped > statuses.lastIndexOf(QStringLiteral("Status: ") + kRetryResultPageText));
    // The next site still finds the game's picture.
    QCOMPARE(scene.GameImage(game).toString(), QStringLiteral("Game (E).png"));
  }
};

QUILLON_TEST_CLASS(ImageSearchTest)
#include "ImageSearchTest.moc"
