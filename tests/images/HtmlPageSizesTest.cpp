// Picture sizes a page declares and the size a picture is laid out with, including the hostile
// sizes fuzzing tried: a declared side is a whole number of pixels up to a million, and a laid-out
// side is never negative.
#include "TestRegistry.h"

#include "images/HtmlPage.h"

#include <QTest>

#include <optional>

using namespace quillon;

using OptionalSide = std::optional<int>;
Q_DECLARE_METATYPE(OptionalSide)

class HtmlPageSizesTest : public QObject {
  Q_OBJECT

 private slots:
  void DeclaredSides_data()
  {
    QTest::addColumn<QString>("attribute");
    QTest::addColumn<QString>("style");
    QTest::addColumn<OptionalSide>("pixels");
    QTest::newRow("plain") << "120"
                           << "width: 120px" << OptionalSide(120);
    QTest::newRow("fraction rounds") << " 12.5px"
                                     << "WIDTH:12.5 px !important" << OptionalSide(13);
    QTest::newRow("a million") << "1000000"
                               << "width:1000000px" << OptionalSide(1000000);
    QTest::newRow("more than a million") << "1000001"
                                         << "width:1000001px" << OptionalSide();
    QTest::newRow("beyond int") << "99999999999"
                                << "width:99999999999" << OptionalSide();
    QTest::newRow("negative") << "-3"
                              << "width:-3px" << OptionalSide();
    QTest::newRow("percent") << "50%"
                             << "width:50%" << OptionalSide();
    QTest::newRow("other digits") << "\u0663\u0660"
                                  << "width:\u0663\u0660px" << OptionalSide();
  }

  void DeclaredSides()
  {
    QFETCH(QString, attribute);
    QFETCH(QString, style);
    QFETCH(OptionalSide, pixels);
    QCOMPARE(PixelsOfAttribute(attribute), pixels);
    QCOMPARE(PixelsOfStyle(style, QStringLiteral("width")), pixels);
  }

  void LaidOutSizes_data()
  {
    QTest::addColumn<OptionalSide>("width");
    QTest::addColumn<OptionalSide>("height");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QSize>("laidOut");
    QTest::newRow("both declared") << OptionalSide(10) << OptionalSide(20) << QSize(1, 1) << QSize(10, 20);
    QTest::newRow("width scales height") << OptionalSide(100) << OptionalSide() << QSize(200, 50) << QSize(100, 25);
    QTest::newRow("height scales width") << OptionalSide() << OptionalSide(100) << QSize(200, 50) << QSize(400, 100);
    QTest::newRow("natural unknown") << OptionalSide(100) << OptionalSide() << QSize() << QSize(100, 0);
    QTest::newRow("nothing known") << OptionalSide() << OptionalSide() << QSize() << QSize(0, 0);
    // A million pixels wide for a picture 1 x 65535 would be 65 billion high: held to a million.
    QTest::newRow("huge scaled height") << OptionalSide(1000000) << OptionalSide() << QSize(1, 65535)
                                        << QSize(1000000, 1000000);
    QTest::newRow("huge scaled width") << OptionalSide() << OptionalSide(999999) << QSize(40000, 3)
                                       << QSize(1000000, 999999);
  }

  void LaidOutSizes()
  {
    QFETCH(OptionalSide, width);
    QFETCH(OptionalSide, height);
    QFETCH(QSize, natural);
    QTEST(LaidOutSize(width, height, natural), "laidOut");
  }
};

QUILLON_TEST_CLASS(HtmlPageSizesTest)
#include "HtmlPageSizesTest.moc"
