// Box art by standard name from a thumbnail server (served on 127.0.0.1): asked first for
// identified games, the system's sites for the others and when the server has no picture.
#include "ImageSiteScene.h"
#include "RecordingFeedback.h"
#include "TestRegistry.h"

#include "images/ImageSearch.h"
#include "images/Thumbnails.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

const QString kDatabase = QStringLiteral("Nintendo - Super Nintendo Entertainment System");
const QString kSevenWords = QStringLiteral("one two three four five six seven");

class ListView final : public ImageSearchView {
 public:
  explicit ListView(std::vector<ListedGame> list) : games(std::move(list)) {}

  int ListCount() override { return static_cast<int>(games.size()); }
  ListedGame ListedGameAt(int position) override { return games.at(static_cast<size_t>(position - 1)); }
  int SelectedPosition() override { return selected; }
  void SelectPosition(int position) override { selected = position; }

  std::vector<ListedGame> games;
  int selected = 1;
};

// The path the server is asked for a game's box art.
QString BoxArtPath(const QString& name)
{
  return BoxArtAddress(QString(), kDatabase, name);
}

}  // namespace

class ThumbnailsTest : public QObject {
  Q_OBJECT

 private slots:
  void NamesAsTheServerHasThem_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Super Mario World (USA)"
                           << "Super Mario World (USA)";
    QTest::newRow("eleven characters") << "a&b*c/d:e`f\"g<h>i?j\\k|l"
                                       << "a_b_c_d_e_f_g_h_i_j_k_l";
    QTest::newRow("others stay") << "Pac-Man's (World) [!] #1, 100%"
                                 << "Pac-Man's (World) [!] #1, 100%";
  }

  void NamesAsTheServerHasThem()
  {
    QFETCH(QString, name);
    QTEST(ThumbnailName(name), "file");
  }

  void AddressesAreEncodedBySegment()
  {
    QCOMPARE(BoxArtAddress(kThumbnailServer + QLatin1Char('/'), kDatabase,
                           QStringLiteral("Super Widget: Bolts & Nuts (USA)")),
             QStringLiteral("https://thumbnails.libretro.com/Nintendo%20-%20Super%20Nintendo%20Entertainment%20System/"
                            "Named_Boxarts/Super%20Widget_%20Bolts%20_%20Nuts%20%28USA%29.png"));
  }

  void IdentifiedGamesAskTheServerFirst()
  {
    ImageSiteScene scene;
    QVERIFY(scene.IsValid());
    scene.AddSite(QStringLiteral("/results"));
    scene.ServeResults(QStringLiteral("/results"), {{kSevenWords, QStringLiteral("/match")}});
    scene.ServeMatch(QStringLiteral("/match"), {{QStringLiteral("/pics/site.jpg"), {}}});
    scene.ServePicture(QStringLiteral("/pics/site.jpg"), {120, 120}, "jpeg");
    scene.ServePicture(BoxArtPath(QStringLiteral("Alpha Quest (USA)")), {256, 180}, "png");
    const qint64 identified = scene.AddGame(kSevenWords, QStringLiteral("alpha.sfc"));
    const qint64 unknown = scene.AddGame(kSevenWords, QStringLiteral("other.sfc"));
    const qint64 notServed = scene.AddGame(kSevenWords, QStringLiteral("gamma.sfc"));
    const QHash<qint64, QString> names{{identified, QStringLiteral("Alpha Quest (USA)")},
                                       {notServed, QStringLiteral("Gamma Bad (Japan)")}};

    RecordingFeedback feedback;
    ListView view({{identified, kSevenWords, true}, {unknown, kSevenWords, true}, {notServed, kSevenWords, true}});
    ImageSearch search(scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback), view);
    ThumbnailSource source;
    source.server = scene.Server().Address(QString());
    source.database = kDatabase;
    source.standardNameOf = [&names](qint64 gameId) { return names.value(gameId); };
    search.SetThumbnails(source);
    const BatchOutcome outcome = search.Run(ImageCommand::SelectedGames, false);

    QCOMPARE(outcome.games.size(), size_t(3));
    QCOMPARE(scene.GameImage(identified).toString(), QStringLiteral("alpha.png"));
    QCOMPARE(scene.PictureSize(QStringLiteral("alpha.png")), QSize(256, 180));
    QCOMPARE(scene.GameImage(unknown).toString(), QStringLiteral("other.jpg"));
    QCOMPARE(scene.GameImage(notServed).toString(), QStringLiteral("gamma.jpg"));
    QCOMPARE(scene.Server().RequestCount(BoxArtPath(QStringLiteral("Alpha Quest (USA)"))), 1);
    QCOMPARE(scene.Server().RequestCount(BoxArtPath(QStringLiteral("Gamma Bad (Japan)"))), 1);
    // The identified game was done before any site was asked: the site's picture went to the others.
    QCOMPARE(outcome.games[0].pictures, QStringList{scene.PictureFolder() + QStringLiteral("alpha.png")});
    QCOMPARE(scene.PictureNames(),
             QStringList({QStringLiteral("alpha.png"), QStringLiteral("gamma.jpg"), QStringLiteral("other.jpg")}));
    QVERIFY(!feedback.HasError());
  }

  void ServerAloneIsEnoughForASystemWithoutSites_data()
  {
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("image");
    QTest::newRow("takes PNG") << "jpg;png"
                               << "alpha.png";
    QTest::newRow("takes no PNG") << "jpg;gif"
                                  << "";
  }

  void ServerAloneIsEnoughForASystemWithoutSites()
  {
    QFETCH(QString, types);
    QFETCH(QString, image);
    ImageSiteScene scene;
    scene.SetSystem(QStringLiteral("DefaultImageType"), types);
    scene.ServePicture(BoxArtPath(QStringLiteral("Alpha Quest (USA)")), {200, 150}, "png");
    const qint64 game = scene.AddGame(QStringLiteral("Alpha Quest"), QStringLiteral("alpha.sfc"));
    RecordingFeedback feedback;
    ListView view({{game, QStringLiteral("Alpha Quest"), true}});
    ImageSearch search(scene.Catalogue().Db(), feedback, scene.Catalogue().Folder(), scene.Settings(feedback), view);
    ThumbnailSource source;
    source.server = scene.Server().Address(QString());
    source.database = kDatabase;
    source.standardNameOf = [](qint64) { return QStringLiteral("Alpha Quest (USA)"); };
    search.SetThumbnails(source);
    const BatchOutcome outcome = search.Run(ImageCommand::CurrentGame, false);
    QVERIFY(outcome.started);
    QCOMPARE(scene.GameImage(game).toString(), image);
    QCOMPARE(scene.Server().RequestCount(BoxArtPath(QStringLiteral("Alpha Quest (USA)"))), image.isEmpty() ? 0 : 1);
  }
};

QUILLON_TEST_CLASS(ThumbnailsTest)
#include "ThumbnailsTest.moc"
