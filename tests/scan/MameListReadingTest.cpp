// Reading Mame's lists: the XML list in pieces of any size, and the fixed columns of old builds.
#include "TestCatalogue.h"
#include "TestRegistry.h"

#include "scan/MameImportLegacy.h"
#include "scan/MameImportXml.h"

#include <QFile>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

QByteArray ReadTestFile(const QString& relative)
{
  QFile file(TestDataPath(relative));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Describe(const MameMachine& m)
{
  return QStringList{m.name, m.description, m.year, m.manufacturer, m.cloneOf, m.IsGame() ? "game" : "other"}.join(
      QLatin1Char('|'));
}

// Feeds `data` in pieces of `pieceSize` bytes; the machines read, then "END" or "FAILED".
QStringList ReadInPieces(const QByteArray& data, qsizetype pieceSize, MameXmlReader& reader)
{
  QStringList machines;
  MameMachine machine;
  for (qsizetype at = 0; at < data.size(); at += pieceSize) {
    reader.AddData(QByteArrayView(data).sliced(at, std::min(pieceSize, data.size() - at)));
    for (;;) {
      const MameXmlReader::Step step = reader.Next(machine);
      if (step == MameXmlReader::Step::Machine) {
        machines << Describe(machine);
        continue;
      }
      if (step == MameXmlReader::Step::End)
        return machines << QStringLiteral("END");
      if (step == MameXmlReader::Step::Failed)
        return machines << QStringLiteral("FAILED");
      break;
    }
  }
  return machines;
}

QStringList ReadInPieces(const QByteArray& data, qsizetype pieceSize = 1 << 16)
{
  MameXmlReader reader;
  return ReadInPieces(data, pieceSize, reader);
}

}  // namespace

class MameListReadingTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadsMamesXmlListInPiecesOfAnySize()
  {
    const QByteArray list = ReadTestFile(QStringLiteral("mame/modern/listxml.xml"));
    const QStringList whole = ReadInPieces(list, list.size());
    QCOMPARE(whole.size(), 31);
    QCOMPARE(whole.last(), QStringLiteral("END"));
    QCOMPARE(whole.first(), QStringLiteral("1942|1942 (Revision B)|1984|Capcom||game"));
    QVERIFY(whole.contains(QStringLiteral("cc7|Chess Challenger \"7\" (set 1)|1980|Fidelity Electronics||game")));
    QVERIFY(whole.contains(QStringLiteral("tst_galx|Galaxian Test ROM|19??|<unknown>|galaxian|game")));
    QVERIFY(whole.contains(QStringLiteral("neogeo|Neo-Geo MV-6F|1990|SNK||other")));
    QVERIFY(whole.contains(QStringLiteral("z80|Zilog Z80||||other")));
    for (const qsizetype piece : {1, 7, 4096})
      QCOMPARE(ReadInPieces(list, piece), whole);
  }

  void ReadsOtherShapesOfTheList()
  {
    // Lists of builds before 0.162 name their machines <game>; comments and empty machines occur.
    QCOMPARE(ReadInPieces("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<mame build=\"0.106\">\n"
                          "<game name=\"a&amp;b\" runnable=\"no\"/>\n<!-- <game name=\"x\"> -->\n"
                          "<game name=\"c\" cloneof=\"a\"><description>&#163;&#xA3; &lt;&amp;&gt; &bogus; "
                          "a&b</description><rom name=\"r\"/></game>\n</mame>\n"),
             QStringList({QStringLiteral("a&b|||||other"), QStringLiteral("c|\u00A3\u00A3 <&> &bogus; a&b|||a|game"),
                          QStringLiteral("END")}));
  }

  void TellsWhatIsNoMameList()
  {
    MameXmlReader usage;
    QCOMPARE(ReadInPieces("Usage: mame [machine]\n", 64, usage), QStringList{QStringLiteral("FAILED")});
    QVERIFY(!usage.HasRoot());
    MameXmlReader other;
    QCOMPARE(ReadInPieces("<?xml version=\"1.0\"?>\n<softwarelists>\n", 64, other),
             QStringList{QStringLiteral("FAILED")});
    QVERIFY(!other.HasRoot());
    // A list that stops before its end is never complete.
    MameXmlReader cut;
    const QByteArray list = ReadTestFile(QStringLiteral("mame/modern/listxml.xml"));
    QCOMPARE(ReadInPieces(list.left(list.indexOf("<machine name=\"cc7\"") + 40), 512, cut).size(), 3);
    QVERIFY(cut.HasRoot());
    QVERIFY(!cut.IsComplete() && !cut.HasFailed());
  }

  void ReadsTheColumnsOfOldBuilds()
  {
    const MameYearLine foodf =
        SplitYearLine(QStringLiteral("1982 General Computer Corporation (Atari license) Food Fight (rev 3)"));
    QCOMPARE(foodf.year, QStringLiteral("1982"));
    QCOMPARE(foodf.manufacturer, QStringLiteral("General Computer Corporation (Atari license)"));
    QCOMPARE(SplitYearLine(QStringLiteral("1980 Namco (Midway license)               Pac-Man (Midway)")).manufacturer,
             QStringLiteral("Namco (Midway license)"));
    // A "(" that never closes widens the field only up to the end of the line.
    QCOMPARE(SplitYearLine(QStringLiteral("19?? Maker (unclosed")).manufacturer, QStringLiteral("Maker (unclosed"));
    QCOMPARE(SplitYearLine(QString()).year, QString());

    const MameListLine cc7 = SplitListLine(QStringLiteral("cc7       \"Chess Challenger \"7\" (set 1)\""));
    QCOMPARE(cc7.driver, QStringLiteral("cc7"));
    QCOMPARE(cc7.title, QStringLiteral("Chess Challenger \"7\" (set 1)"));
    QCOMPARE(CloneNameOf(QStringLiteral("pacman   puckman ")), QStringLiteral("pacman"));
    QCOMPARE(FromWindows1252("\xA3\x80\x81 e"), QStringLiteral("\u00A3\u20AC\u0081 e"));
  }
};

QUILLON_TEST_CLASS(MameListReadingTest)
#include "MameListReadingTest.moc"
