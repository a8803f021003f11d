// The list's six colours (and the one for several) on light and dark backgrounds.
#include "TestRegistry.h"

#include "browser/GameList.h"
#include "browser/ReadableColours.h"

#include <QTest>

using namespace quillon;

namespace {

const QStringList kListColours{kColourOverview, kColourImage, kColourCountry, kColourManufacturer,
                               kColourYear,     kColourGenre, kColourMultiple};

}  // namespace

class ReadableColoursTest : public QObject {
  Q_OBJECT

 private slots:
  void ContrastAsTheGuidelinesDefineIt()
  {
    QCOMPARE(qRound(ContrastRatio(Qt::black, Qt::white) * 10), 210);
    QCOMPARE(ContrastRatio(Qt::white, Qt::white), 1.0);
    QCOMPARE(qRound(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white) * 100), 454);
  }

  void ColoursOnTheListBackground_data()
  {
    QTest::addColumn<QColor>("background");
    QTest::addColumn<bool>("dark");
    QTest::newRow("white") << QColor(Qt::white) << false;
    QTest::newRow("light grey") << QColor(0xf0, 0xf0, 0xf0) << false;
    QTest::newRow("black") << QColor(Qt::black) << true;
    QTest::newRow("dark grey") << QColor(0x2b, 0x2b, 0x2b) << true;
    QTest::newRow("blue-grey") << QColor(0x23, 0x26, 0x29) << true;
    QTest::newRow("grey") << QColor(0x53, 0x53, 0x53) << true;
  }

  void ColoursOnTheListBackground()
  {
    QFETCH(QColor, background);
    QFETCH(bool, dark);
    QCOMPARE(IsDarkBackground(background), dark);
    for (const QString& literal : kListColours) {
      const QColor colour = ColourFromLiteral(literal);
      const QColor shown = ReadableOn(colour, background);
      if (!dark) {
        // A light palette shows the colours as they always were.
        QCOMPARE(shown, colour);
        continue;
      }
      QVERIFY2(ContrastRatio(shown, background) >= kReadableContrast,
               qPrintable(QStringLiteral("%1 as %2 on %3: %4")
                              .arg(literal, shown.name(), background.name())
                              .arg(ContrastRatio(shown, background))));
      // Lightened, not another colour: the hue stays.
      QVERIFY2(qAbs(shown.toHsl().hslHue() - colour.toHsl().hslHue()) <= 2, qPrintable(literal));
      // No lighter than it needs to be: the colour still differs from white.
      QVERIFY(shown != QColor(Qt::white));
    }
  }
};

QUILLON_TEST_CLASS(ReadableColoursTest)
#include "ReadableColoursTest.moc"
