// Cleaning, roman numerals, the similarity score and the completion rule.
#include "TestRegistry.h"

#include "names/AutoComplete.h"
#include "names/RomanNumeral.h"
#include "names/Similarity.h"
#include "names/TextCleaning.h"

#include <QTest>

#include <array>
#include <utility>

using namespace quillon;

namespace {

// Roman numerals the usual way: the largest symbol (or subtractive pair) first.
QString TableRoman(int number)
{
  static const std::array<std::pair<int, const char*>, 13> symbols = {{{1000, "M"},
                                                                       {900, "CM"},
                                                                       {500, "D"},
                                                                       {400, "CD"},
                                                                       {100, "C"},
                                                                       {90, "XC"},
                                                                       {50, "L"},
                                                                       {40, "XL"},
                                                                       {10, "X"},
                                                                       {9, "IX"},
                                                                       {5, "V"},
                                                                       {4, "IV"},
                                                                       {1, "I"}}};
  QString text;
  for (const auto& [value, symbol] : symbols) {
    for (; number >= value; number -= value)
      text += QLatin1String(symbol);
  }
  return text;
}

}  // namespace

class TextRoutinesTest : public QObject {
  Q_OBJECT

 private slots:
  void StripCharactersCleansByCode()
  {
    QCOMPARE(StripCharacters(QStringLiteral("Pac-Man's: Quest!")), QStringLiteral("Pac Mans Quest "));
    QCOMPARE(StripCharacters(QStringLiteral("  Street Fighter II  ")), QStringLiteral("Street Fighter II"));
    // The upper half of Latin-1 goes, letters beyond it stay; tabs are control characters.
    QCOMPARE(StripCharacters(QStringLiteral("Pok\u00e9mon\u00ae\tR\u0161b")), QStringLiteral("Pok mon \tR\u0161b"));
    // Three passes, not a collapse: eight blanks end as two, and so do five or seven.
    QCOMPARE(StripCharacters(QStringLiteral("a        b")), QStringLiteral("a  b"));
    QCOMPARE(StripCharacters(QStringLiteral("a (!) b")), QStringLiteral("a  b"));
    QCOMPARE(StripCharacters(QStringLiteral("{[<~>]}")), QStringLiteral("  "));
    QCOMPARE(StripCharacters(QStringLiteral("a - b")), QStringLiteral("a b"));
    QCOMPARE(StripCharacters(QString()), QString());
  }

  void StripExtensionCutsAtTheLastDot()
  {
    QCOMPARE(StripExtension(QStringLiteral(" game.v1.zip ")), QStringLiteral("game.v1"));
    QCOMPARE(StripExtension(QStringLiteral("noext")), QStringLiteral("noext"));
    QCOMPARE(StripExtension(QStringLiteral(".hidden")), QStringLiteral(".hidden"));
    QCOMPARE(StripExtension(QStringLiteral(".a.b")), QStringLiteral(".a"));
  }

  void RomanNumeralsUpTo3999()
  {
    QCOMPARE(RomanNumeral(0), QString());
    for (int n = 1; n <= 3999; ++n) {
      if (RomanNumeral(n) != TableRoman(n))
        QFAIL(qPrintable(QStringLiteral("%1: %2 instead of %3").arg(n).arg(RomanNumeral(n), TableRoman(n))));
    }
    QCOMPARE(RomanNumeral(3888), QStringLiteral("MMMDCCCLXXXVIII"));
    QCOMPARE(RomanNumeral(1994), QStringLiteral("MCMXCIV"));
    QCOMPARE(RomanNumeral(5000), QStringLiteral("MMMMM"));
  }

  void CompareWords()
  {
    const QString blank = QStringLiteral(" ");
    QCOMPARE(Compare(QStringLiteral("street fighter 2"), QStringLiteral("Street Fighter II"), blank,
                     CompareMode::IgnoreCase),
             2.0F / 3.0F);
    QCOMPARE(
        Compare(QStringLiteral("final fight 12"), QStringLiteral("final fight xii"), blank, CompareMode::IgnoreCase),
        1.0F);
    QCOMPARE(
        Compare(QStringLiteral("final fight xii"), QStringLiteral("final fight 12"), blank, CompareMode::IgnoreCase),
        1.0F);
    QCOMPARE(Compare(QStringLiteral("Zelda"), QStringLiteral("1. Zelda"), blank, CompareMode::IgnoreCase), 1.0F);
    QCOMPARE(Compare(QStringLiteral("Tom & Jerry"), QStringLiteral("Tom and Jerry"), blank, CompareMode::IgnoreCase),
             1.0F);
    // An extra word in the candidate costs its share.
    QCOMPARE(Compare(QStringLiteral("Out Run"), QStringLiteral("Out Run Europa"), blank, CompareMode::IgnoreCase),
             2.0F / 3.0F);
    // "the" only in the candidate counts for it.
    QCOMPARE(
        Compare(QStringLiteral("Addams Family"), QStringLiteral("Addams Family the"), blank, CompareMode::IgnoreCase),
        1.0F);
    // Numbers far too large for any numeral are compared as words, at once.
    QCOMPARE(
        Compare(QStringLiteral("game 99999999999999999"), QStringLiteral("game m"), blank, CompareMode::IgnoreCase),
        0.5F);
  }

  void CompareCharactersAndTheFloor()
  {
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwx");
    // Six of 24 positions match: exactly 0.25 stays; six of 25 (0.24) is 0.
    QCOMPARE(Compare(letters, QStringLiteral("abcdef"), QString(), CompareMode::Exact), 0.25F);
    QCOMPARE(Compare(letters + QLatin1Char('y'), QStringLiteral("abcdef"), QString(), CompareMode::Exact), 0.0F);
    QCOMPARE(Compare(QStringLiteral("Sonic"), QStringLiteral("SONIX"), QString(), CompareMode::IgnoreCase), 0.8F);
    QCOMPARE(Compare(QString(), QString(), QString(), CompareMode::Exact), 0.0F);
    QCOMPARE(Compare(QString(), QString(), QStringLiteral(" "), CompareMode::Exact), 0.0F);
  }

  void AutoCompleteRule()
  {
    const QStringList items = {QStringLiteral("Atari"), QStringLiteral("Capcom"), QStringLiteral("Cap")};
    Completion completion = AutoComplete(QStringLiteral("cap"), 3, items);
    QCOMPARE(completion.kind, Completion::Kind::Complete);
    QCOMPARE(completion.text, QStringLiteral("capcom"));
    QCOMPARE(completion.selectionStart, 3);
    QCOMPARE(completion.selectionLength, 3);
    // Typing on replaces the selected rest: the typed part is what precedes the selection.
    completion = AutoComplete(QStringLiteral("caxcom"), 3, items);
    QCOMPARE(completion.kind, Completion::Kind::NoChange);
    completion = AutoComplete(QStringLiteral("Cap"), 3, items);
    QCOMPARE(completion.kind, Completion::Kind::Complete);
    QCOMPARE(completion.item, 1);
    // Nothing typed before the selection: nothing changes.
    completion = AutoComplete(QStringLiteral("Cap"), 0, {QStringLiteral("Capcom"), QStringLiteral("Cap")});
    QCOMPARE(completion.kind, Completion::Kind::NoChange);
    // A whole text equal to an item selects it.
    completion = AutoComplete(QStringLiteral("Cap"), 1, {QStringLiteral("Atari"), QStringLiteral("Cap")});
    QCOMPARE(completion.kind, Completion::Kind::SelectItem);
    QCOMPARE(completion.item, 1);
    QCOMPARE(AutoComplete(QString(), 0, items).kind, Completion::Kind::NoChange);
  }
};

QUILLON_TEST_CLASS(TextRoutinesTest)
#include "TextRoutinesTest.moc"
