// The image search's rules: search text, scores and their rounding, the decision after all sites,
// which pictures of a match page are taken and their names.
#include "TestRegistry.h"

#include "images/ImageSearchRules.h"
#include "images/PageDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;

namespace {

MatchGrid GridOf(const QList<float>& scores)
{
  MatchGrid grid;
  for (int i = 0; i < scores.size(); ++i)
    grid.AddMatch(QStringLiteral("http://x/%1").arg(i), scores[i], QStringLiteral("link %1").arg(i),
                  QStringLiteral("x"), 1);
  return grid;
}

}  // namespace

class ImageSearchRulesTest : public QObject {
  Q_OBJECT

 private slots:
  void SearchTextAndAddress()
  {
    QCOMPARE(SearchText(QStringLiteral("Legend, The (U) [!]")), QStringLiteral("legend "));
    QCOMPARE(SearchText(QStringLiteral("  Super_Mario_World  ")), QStringLiteral("super mario world"));
    QCOMPARE(SearchAddress(QStringLiteral("http://s/?q="), QStringLiteral("Legend, The (U) [!]"), true),
             QStringLiteral("http://s/?q=legend+"));
    QCOMPARE(SearchAddress(QStringLiteral("http://s/?q="), QStringLiteral("Legend, The (U) [!]"), false),
             QStringLiteral("http://s/?q="));
    QVERIFY(IsBlankAddress(QStringLiteral("http:///")) && IsBlankAddress(QString()));
  }

  void ScoresAndTheirRounding()
  {
    // Two words, one of them different: exactly one half, which is not a match.
    const float half = LinkScore(QStringLiteral("Alpha Beta"), QStringLiteral("ab.zip"), QStringLiteral("Alpha Gamma"));
    QCOMPARE(ScoreText(half), QStringLiteral("50.00%"));
    QVERIFY(!IsMatchScore(half));
    // The file name without extension matches where the full name does not.
    QCOMPARE(
        LinkScore(QStringLiteral("Xyz"), QStringLiteral("Sonic Blast (E).zip"), QStringLiteral("Sonic Blast (E).html")),
        1.0F);
    // Typographic punctuation in a link text is punctuation like any other.
    QCOMPARE(LinkScore(QStringLiteral("Sonic the Hedgehog"), QStringLiteral("Sonic.zip"),
                       QStringLiteral("Sonic \u2013 The Hedgehog")),
             1.0F);
    QCOMPARE(ScoreText(0.875F), QStringLiteral("87.50%"));
    QCOMPARE(WholePercent(QStringLiteral("87.50%")), std::optional<int>(88));
    QCOMPARE(WholePercent(QStringLiteral("86.50%")), std::optional<int>(86));
    QCOMPARE(WholePercent(QStringLiteral("80.00%")), std::optional<int>(80));
    QCOMPARE(WholePercent(QStringLiteral("x%")), std::nullopt);
  }

  void DecisionAfterAllSites_data()
  {
    QTest::addColumn<QList<float>>("scores");
    QTest::addColumn<bool>("nothingFound");
    QTest::addColumn<QString>("level");
    QTest::addColumn<bool>("neverAsk");
    QTest::addColumn<bool>("hasDefault");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("status");
    const auto row = [](const char* name, QList<float> scores, bool nothingFound, const char* level, bool neverAsk,
                        bool hasDefault, MatchAction action, const QString& status) {
      QTest::newRow(name) << scores << nothingFound << QString::fromLatin1(level) << neverAsk << hasDefault
                          << int(action) << status;
    };
    row("87.50 rounds up to 88", {0.875F}, false, "88.00%", false, false, MatchAction::Download, {});
    row("86.50 rounds down to 86", {0.865F}, false, "87.00%", false, false, MatchAction::Choose,
        QStringLiteral("1 match found (86.50%)"));
    row("never asking, below", {0.865F}, false, "87.00%", true, false, MatchAction::PassOver,
        QStringLiteral("1 match found (86.50%)"));
    row("several, asking", {1.0F, 0.9F}, false, "80.00%", false, false, MatchAction::Choose, {});
    row("several, never asking", {1.0F, 0.9F}, false, "80.00%", true, false, MatchAction::Download, {});
    row("nothing, default", {}, true, "80.00%", false, true, MatchAction::UseDefaultImage, kUsingDefaultImageText);
    row("nothing, no default", {}, true, "80.00%", false, false, MatchAction::NothingFound, {});
    row("no page read", {}, false, "80.00%", false, true, MatchAction::NoResults, kNoResultsText);
  }

  void DecisionAfterAllSites()
  {
    QFETCH(QList<float>, scores);
    QFETCH(bool, nothingFound);
    MatchGrid grid = GridOf(scores);
    if (nothingFound)
      grid.MarkNoImages();
    QFETCH(QString, level);
    QFETCH(bool, neverAsk);
    QFETCH(bool, hasDefault);
    const MatchDecision decision = DecideMatch(grid, level, neverAsk, hasDefault);
    QTEST(int(decision.action), "action");
    QTEST(decision.status, "status");
  }

  // Size, ignore list, type, ordinals and names in practice: ImageSearchTest.
  void PictureTypesOrdinalsAndBases()
  {
    QCOMPARE(ImageFilterList(QVariant()), QStringList{QString()});
    PictureRules rules;
    // A type description keeps its trailing blank and is found only where the types hold it.
    rules.defaultImageType = QStringLiteral("jpg;png;gif");
    const PageImage described{QStringLiteral("http://x/pic/"), 100, 100, QStringLiteral("JPEG Image")};
    QCOMPARE(PicturePicker(rules).Take(described), std::nullopt);
    rules.defaultImageType = QStringLiteral("png;jpeg ");
    QCOMPARE(PicturePicker(rules).Take(described), std::optional<QString>(QStringLiteral("JPEG ")));
    QCOMPARE(PicturePicker(rules).Take(PageImage{QStringLiteral("http://x/unknown/"), 100, 100, {}}), std::nullopt);

    // Ordinals that are no number match nothing.
    rules.filter = {QStringLiteral("x"), QStringLiteral("2")};
    PicturePicker filtered(rules);
    QCOMPARE(filtered.Take(PageImage{QStringLiteral("http://x/1.png"), 100, 100, {}}), std::nullopt);
    QCOMPARE(filtered.Take(PageImage{QStringLiteral("http://x/2.png"), 100, 100, {}}),
             std::optional<QString>(QStringLiteral("png")));

    QTemporaryDir dir;
    const QString base = PictureBase(dir.path(), QStringLiteral("roms\\Game [!] (E).zip"));
    QCOMPARE(base, dir.path() + QStringLiteral("/Game [!] (E)"));
    QCOMPARE(PictureFile(base, 2, true, QStringLiteral("JPEG ")), base + QStringLiteral("_2.JPEG"));
    QVERIFY(QFile(base + QStringLiteral("_1.png")).open(QIODevice::WriteOnly));
    QVERIFY(!PictureBaseExists(base));
    QVERIFY(QFile(base + QStringLiteral(".gif")).open(QIODevice::WriteOnly));
    QVERIFY(PictureBaseExists(base));
  }
};

QUILLON_TEST_CLASS(ImageSearchRulesTest)
#include "ImageSearchRulesTest.moc"
