// One game read and written whole: typed details in one transaction, genres by name.
#include "RecordingFeedback.h"
#include "TestCatalogue.h"
#include "TestGames.h"
#include "TestRegistry.h"

#include "browser/ChoiceLists.h"
#include "browser/GameRecord.h"
#include "catalogue/Lookups.h"

#include <QTest>

using namespace quillon;
using namespace quillon::test;

class GameRecordTest : public QObject {
  Q_OBJECT

 private slots:
  void TypedDetailsAreWrittenAllOrNone_data()
  {
    QTest::addColumn<QStringList>("typed");  // COLUMN=VALUE
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QString>("fullName");  // afterwards
    QTest::addColumn<QString>("maker");     // the game's maker's name afterwards
    const int none = int(DetailEdit::Refusal::None);
    QTest::newRow("names become keys") << QStringList{"FullName=Zeta", "Manufacturer=Brand New", "Country=japan"}
                                       << none << "Zeta"
                                       << "Brand New";
    QTest::newRow("an unknown country undoes the new maker")
        << QStringList{"FullName=Zeta", "Manufacturer=Brand New", "Country=Atlantis"}
        << int(DetailEdit::Refusal::UnknownCountry) << "Alpha"
        << "Agetec";
    QTest::newRow("a rating that is no number")
        << QStringList{"FullName=Zeta", "Rating=ten"} << int(DetailEdit::Refusal::NotANumber) << "Alpha"
        << "Agetec";
    QTest::newRow("an empty rating clears it") << QStringList{"Rating="} << none << "Alpha"
                                               << "Agetec";
  }

  void TypedDetailsAreWrittenAllOrNone()
  {
    QFETCH(QStringList, typed);
    QFETCH(int, refusal);
    TestCatalogue t;
    const qint64 game =
        TestGame(kSnes, QStringLiteral("Alpha")).Maker(7).Set(QStringLiteral("Rating"), 4).Insert(t.Db());
    QList<DetailAssignment> assignments;
    for (const QString& text : typed)
      assignments.append({text.section(QLatin1Char('='), 0, 0), text.section(QLatin1Char('='), 1)});
    RecordingFeedback feedback;
    Lookups lookups(t.Db(), feedback);
    const DetailEdit edit = SetGameDetails(t.Db(), lookups, feedback, game, assignments, {});
    QCOMPARE(int(edit.refusal), refusal);
    QTEST(t.Value(QStringLiteral("SELECT FullName FROM Games WHERE GameID = ?"), {game}).toString(), "fullName");
    QTEST(t.Value(QStringLiteral("SELECT Manufacturer.Manufacturer FROM Games JOIN Manufacturer "
                                 "ON Manufacturer.ManufacturerID = Games.Manufacturer WHERE GameID = ?"),
                  {game})
              .toString(),
          "maker");
    const bool madeMaker =
        t.Value(QStringLiteral("SELECT count(*) FROM Manufacturer WHERE Manufacturer = 'Brand New'")).toInt() > 0;
    QCOMPARE(madeMaker, edit.Ok() && typed.contains(QStringLiteral("Manufacturer=Brand New")));
    // Only a written set marks the game as edited.
    QCOMPARE(t.Value(QStringLiteral("SELECT Edited FROM Games WHERE GameID = ?"), {game}).toInt(), edit.Ok() ? 1 : 0);
    if (typed == QStringList{"Rating="})
      QVERIFY(t.Value(QStringLiteral("SELECT Rating FROM Games WHERE GameID = ?"), {game}).isNull());
  }

  void GenresAreFoundByName()
  {
    TestCatalogue t;
    RecordingFeedback feedback;
    t.Exec(QStringLiteral("INSERT INTO Genres (GenreName) VALUES ('Fighter')"));
    // The column compares without letter case; of two genres of one name the older counts.
    QCOMPARE(GenreIdByName(t.Db(), feedback, QStringLiteral("fighter"), QStringLiteral("FilterGenre")).value_or(-1),
             13);
    QCOMPARE(
        GenreIdByName(t.Db(), feedback, QStringLiteral("No Such Genre"), QStringLiteral("FilterGenre")).value_or(-1),
        0);
    const qint64 game = TestGame(kSnes, QStringLiteral("Alpha")).Genres({13, 2}).Insert(t.Db());
    QCOMPARE(GenreNamesOfGame(t.Db(), feedback, game).value_or(QStringList()), (QStringList{"Fighter", "Action"}));
    QCOMPARE(SystemNameOfGame(t.Db(), feedback, game).value_or(QString()), QStringLiteral("SNES"));
    QVERIFY(!SystemNameOfGame(t.Db(), feedback, game + 1));
    QVERIFY(!feedback.HasError());
  }
};

QUILLON_TEST_CLASS(GameRecordTest)
#include "GameRecordTest.moc"
