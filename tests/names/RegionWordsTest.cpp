// The countries that No-Intro region words and TOSEC country codes name.
#include "TestRegistry.h"

#include "names/RegionWords.h"

#include <QTest>

using namespace quillon;

class RegionWordsTest : public QObject {
  Q_OBJECT

 private slots:
  void CountryOfName_data()
  {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("country");
    const auto row = [](const char* name, const char* country) {
      QTest::newRow(name) << QString::fromUtf8(name) << QString::fromUtf8(country);
    };
    row("Super Mario Bros. (World)", "World");
    row("Tetris (USA, Europe)", "USA/Europe");
    row("Tetris (Europe, USA)", "USA/Europe");  // pairs are sets
    row("Game (Japan, USA)", "Japan/USA");
    row("Game (USA, Japan, Europe)", "Japan/USA/Europe");
    row("Game (Japan, Korea)", "Japan & Korea");
    row("Game (Europe, Australia)", "Europe");  // no country of their own: the first
    row("Super Mario Bros. (Europe, rev. A)", "Europe");
    row("Game (Netherlands)", "Holland");
    row("Game (UK)", "United Kingdom");
    row("Game (Hong Kong)", "Hong Kong");
    row("Game (Proto) (Japan)", "Japan");  // the first group that is a region
    row("Xenon 2 (1990)(Mirrorsoft)(US-EU)", "USA/Europe");
    row("Game (1987)(Maker)(DE)", "Germany");
    row("Game (1987)(Maker)(GB)[cr]", "United Kingdom");
    row("Game (US-XX)", "");  // not every piece a code
    row("Game (usa)", "");    // words are exact
    row("Game (Brazil Edition)", "");
    row("Game (Rev 1)", "");
    row("Game (USA", "");  // unclosed
  }

  void CountryOfName()
  {
    QFETCH(QString, name);
    QTEST(RegionCountryName(name), "country");
  }
};

QUILLON_TEST_CLASS(RegionWordsTest)
#include "RegionWordsTest.moc"
