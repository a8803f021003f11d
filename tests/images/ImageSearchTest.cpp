// The image search batch against result pages, match pages and pictures served on 127.0.0.1.
#include "ImageSiteScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "images/ImageSearch.h"

#include <QFile>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::test;

namespace {

// Seven words; a link of these and one more scores 7/8, shown as 87.50%.
const QString kSevenWords = QStringLiteral("one two three four five six seven");

class RecordingView final : public ImageSearchView {
 public:
  int ListCount() override { return static_cast<int>(games.size()); }
  ListedGame ListedGameAt(int position) override { return games.at(static_cast<size_t>(position - 1)); }
  int SelectedPosition() override { return selected; }
  void SelectPosition(int position) override { selected = position; }
  void LockControls(bool lock) override { locks << lock; }
  void SetGridEnabled(bool enabled) override
  {
    // The grid is enabled when the user is to choose: the test chooses from inside the wait.
    if (!enabled)
      return;
    ++choices;
    if (onChoice)
      QTimer::singleShot(0, onChoice);
  }
  void ShowPicture(const QString& path) override { shown << path; }
  void PictureStored(qint64 gameId, const QString& path) override { stored << qMakePair(gameId, path); }
  bool CanChoose() override { return true; }

  void List(ImageSiteScene& scene, const QList<qint64>& ids)
  {
    for (const qint64 id : ids) {
      const QVariant name =
          scene.Catalogue().Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {id});
      const bool checked =
          scene.Catalogue().Value(QStringLiteral("SELECT Selected FROM Games WHERE GameID = ?"), {id}).toBool();
      games.push_back({id, name.toString(), checked});
    }
  }

  std::vector<ListedGame> games;
  int selected = 1;
  std::function<void()> onChoice;
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

BatchOutcome RunBatch(ImageSiteScene& scene, RecordingFeedback& feedback, RecordingView& view, ImageCommand command,
                      bool resume = false, ImageSearch** running = nullptr)
{
  ImageSearch search(scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback), view);
  if (running)
    *running = &search;
  const BatchOutcome outcome = search.Run(command, resume);
  if (running)
    *running = nullptr;
  return outcome;
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
    const QStringList all{QStringLiteral("Game (E).png 201x150"), QStringLiteral("Game (E)_1.jpg 202x150"),
                          QStringLiteral("Game (E)_2.gif 203x150"), QStringLiteral("Game (E)_3.png 204x150")};
    QTest::newRow("no limit") << 0 << QString() << all;
    QTest::newRow("limit 2") << 2 << QString() << all.mid(0, 2);
    QTest::newRow("second and fourth") << 0 << QStringLiteral("2;4")
                                       << QStringList{QStringLiteral("Game (E).jpg 202x150"),
                                                      QStringLiteral("Game (E)_1.png 204x150")};
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
    const qint64 game = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"));

    RecordingFeedback feedback;
    RecordingView view;
    view.List(scene, {game});
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
    RecordingView view;
    view.List(scene, {game});
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
    RecordingView view;
    view.List(scene, {game});
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
    RecordingView view;
    view.List(scene, {bare, pictured});
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
    RecordingView view;
    view.List(scene, {game});
    RunBatch(scene, feedback, view, ImageCommand::CurrentGame);

    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/slow")), 3);
    const QStringList statuses = feedback.StatusLines();
    QCOMPARE(statuses.count(QStringLiteral("Status: ") + kRetryResultPageText), qsizetype(2));
    const qsizetype skipped = statuses.indexOf(QStringLiteral("Status: ") + kSkippingSiteText);
    QVERIFY(skipped > statuses.lastIndexOf(QStringLiteral("Status: ") + kRetryResultPageText));
    // The next site still finds the game's picture.
    QCOMPARE(scene.GameImage(game).toString(), QStringLiteral("Game (E).png"));
  }

  void TheUserChoosesSkipsOrCloses_data()
  {
    QTest::addColumn<QString>("action");
    QTest::newRow("select") << QStringLiteral("select");
    QTest::newRow("skip") << QStringLiteral("skip");
    QTest::newRow("close") << QStringLiteral("close");
  }

  void TheUserChoosesSkipsOrCloses()
  {
    QFETCH(QString, action);
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("DefaultImage"), QStringLiteral("default.png"));
    scene.AddSite(QStringLiteral("/results1"));
    scene.AddSite(QStringLiteral("/results2"));
    scene.ServeResults(QStringLiteral("/results1"), {{kSevenWords + QStringLiteral(" eight"), QStringLiteral("/m1")}});
    scene.ServeResults(QStringLiteral("/results2"), {{kSevenWords, QStringLiteral("/m2")}});
    scene.ServeMatch(QStringLiteral("/m1"), {{QStringLiteral("/pics/one.png"), {}}});
    scene.ServeMatch(QStringLiteral("/m2"), {{QStringLiteral("/pics/two.gif"), {}}});
    scene.ServePicture(QStringLiteral("/pics/one.png"), {100, 100}, "png");
    scene.ServePicture(QStringLiteral("/pics/two.gif"), {100, 100}, "gif");
    const qint64 first = scene.AddGame(kSevenWords, QStringLiteral("Game (E).zip"));
    const qint64 second = scene.AddGame(QStringLiteral("other"), QStringLiteral("Other.zip"));

    RecordingFeedback feedback;
    RecordingView view;
    view.List(scene, {first, second});
    ImageSearch* search = nullptr;
    QStringList grid;
    view.onChoice = [&] {
      for (int row = 0; row < search->Grid().RowCount(); ++row)
        grid << search->Grid().Row(row).address.section(QLatin1Char('/'), -1) + search->Grid().Row(row).score;
      if (action == QStringLiteral("select")) {
        search->SetSelectedRow(1);
        search->Select();
      } else if (action == QStringLiteral("skip")) {
        search->Skip();
      } else {
        search->Close();
      }
    };
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::SelectedGames, false, &search);

    QCOMPARE(grid, (QStringList{QStringLiteral("m2100.00%"), QStringLiteral("m187.50%"), QString()}));
    QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: 2 matches found, select one.")));
    if (action == QStringLiteral("select")) {
      QCOMPARE(scene.PictureNames(), QStringList{QStringLiteral("Game (E).png")});
      QVERIFY(feedback.StatusLines().contains(QStringLiteral("Status: Loading ") +
                                              scene.Server().Address(QStringLiteral("/m1"))));
      QCOMPARE(outcome.games.size(), size_t(2));
    } else if (action == QStringLiteral("skip")) {
      QCOMPARE(outcome.games.at(0).result, GameResult::Skipped);
      QCOMPARE(scene.GameImage(first).toString(), QStringLiteral("default.png"));
      QCOMPARE(outcome.games.size(), size_t(2));
    } else {
      // Close stops at once and keeps the list position for a later resume.
      QVERIFY(outcome.closed);
      QCOMPARE(outcome.games.size(), size_t(1));
      QCOMPARE(
          scene.Catalogue()
              .Value(QStringLiteral("SELECT ResumePosition FROM System WHERE SystemID = ?"), {ImageSiteScene::kSystem})
              .toInt(),
          1);
      QVERIFY(!feedback.StatusLines().contains(QStringLiteral("Status: OK.")));
      QCOMPARE(view.locks.last(), false);
      QVERIFY(scene.PictureNames().isEmpty());
    }
  }

  void ResumesFromTheStoredPosition()
  {
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("AppendFullName"), 1);
    scene.AddSite(QStringLiteral("/find?q="));
    scene.ServeResults(QStringLiteral("/find"), {});
    const qint64 one = scene.AddGame(QStringLiteral("Alpha"), QStringLiteral("Alpha.zip"));
    const qint64 two = scene.AddGame(QStringLiteral("Legend, The (U) [!]"), QStringLiteral("Legend.zip"));
    const qint64 three = scene.AddGame(QStringLiteral("Gamma"), QStringLiteral("Gamma.zip"), false);
    const qint64 four = scene.AddGame(QStringLiteral("Delta"), QStringLiteral("Delta.zip"));
    RecordingFeedback feedback;
    feedback.Script(kResumeQuestionKey, Answer::Yes);
    QVERIFY(!AskResumeBatch(scene.Catalogue().Db(), feedback, ImageSiteScene::kSystem, ImageCommand::SelectedGames));
    QVERIFY(feedback.questions.isEmpty());  // nothing stored: nothing asked
    scene.SetSystem(QStringLiteral("ResumePosition"), 2);
    QVERIFY(!AskResumeBatch(scene.Catalogue().Db(), feedback, ImageSiteScene::kSystem, ImageCommand::CurrentGame));
    QVERIFY(AskResumeBatch(scene.Catalogue().Db(), feedback, ImageSiteScene::kSystem,
                           ImageCommand::SelectedGamesWithoutImages));
    QCOMPARE(feedback.questions.size(), qsizetype(1));
    QCOMPARE(feedback.questions[0].title, QStringLiteral("Image Scanner"));
    QCOMPARE(feedback.questions[0].text, QStringLiteral("Resume previous search?"));

    RecordingView view;
    view.List(scene, {one, two, three, four});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::SelectedGames, true);

    // From position 2; the unticked third game is passed over.
    QCOMPARE(outcome.games.size(), size_t(2));
    QCOMPARE(outcome.games[0].gameId, two);
    QCOMPARE(outcome.games[1].gameId, four);
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/find?q=legend+")), 1);
    QCOMPARE(scene.Server().RequestCount(QStringLiteral("/find?q=alpha")), 0);
  }

  void NoSiteIsAnError()
  {
    ImageSiteScene scene;
    RecordingFeedback feedback;
    RecordingView view;
    view.List(scene, {scene.AddGame(QStringLiteral("Alpha"), QStringLiteral("Alpha.zip"))});
    const BatchOutcome outcome = RunBatch(scene, feedback, view, ImageCommand::CurrentGame);
    QVERIFY(!outcome.started);
    QCOMPARE(feedback.ErrorLines(), QStringList{QStringLiteral("Status: Error - Check Image Settings.")});
  }
};

QUILLON_TEST_CLASS(ImageSearchTest)
#include "ImageSearchTest.moc"
