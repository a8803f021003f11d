// Finding games by the words of their names, and when a longer search may look only at what the
// shorter one found.
#include "TestRegistry.h"

#include "browser/NameSearch.h"

#include <QTest>

using namespace quillon;

class NameSearchTest : public QObject {
  Q_OBJECT

 private slots:
  void FindsNamesHoldingEveryWord_data()
  {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::newRow("part of a word") << "fight"
                                    << "Street Fighter II" << true;
    QTest::newRow("any letter case") << "STREET"
                                     << "Street Fighter II" << true;
    QTest::newRow("words in any order") << "ii street"
                                        << "Street Fighter II" << true;
    QTest::newRow("one word missing") << "street racer"
                                      << "Street Fighter II" << false;
    QTest::newRow("spaces around and between") << "  mario   bros "
                                               << "Super Mario Bros." << true;
    QTest::newRow("accents typed without") << "pokemon"
                                           << "Pokémon - Red Version" << true;
    QTest::newRow("accents typed with") << "Pokémon red"
                                        << "Pokemon - Red Version" << true;
    QTest::newRow("a word is not split") << "supermario"
                                         << "Super Mario Bros." << false;
    QTest::newRow("nothing typed") << ""
                                   << "Any Game" << true;
  }

  void FindsNamesHoldingEveryWord()
  {
    QFETCH(QString, typed);
    QFETCH(QString, name);
    QTEST(NameSearch(typed).Matches(NameSearch::Fold(name)), "found");
  }

  // Typing on narrows; anything else (a deletion, an edit inside) must look at every name again.
  void TypingOnNarrowsTheSearch_data()
  {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("narrows");
    QTest::newRow("a letter more") << "mar"
                                   << "mari" << true;
    QTest::newRow("a new word") << "mario"
                                << "mario b" << true;
    QTest::newRow("a space more") << "mario"
                                  << "mario " << true;
    QTest::newRow("a letter less") << "mari"
                                   << "mar" << false;
    QTest::newRow("changed inside") << "mario"
                                    << "maria" << false;
    QTest::newRow("from nothing") << ""
                                  << "m" << false;
  }

  void TypingOnNarrowsTheSearch()
  {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QTEST(NameSearch(after).Narrows(NameSearch(before)), "narrows");
  }
};

QUILLON_TEST_CLASS(NameSearchTest)
#include "NameSearchTest.moc"
