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
  static const std::array<int, 13> values = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
  static const std::array<const char*, 13> symbols = {"M",  "CM", "D",  "CD", "C",  "XC", "L",
                                                      "XL", "X",  "IX", "V",  "IV", "I"};
  QString text;
  for (size_t i = 0; i < values.size(); ++i) {
    for (; number >= values[i]; number -= values[i])
      text += QLatin1String(symbols[i]);
  }
  return text;
}

}  // namespace

class TextRoutinesTest : public QObject {
  Q_OBJECT

 private slots:
  // Cleaning by character code. The upper half of the Windows-1252 page is stripped as characters,
  // wherever Unicode puts them: its 0x80-0x9F row holds the typographic punctuation (and a few letters).
  void StripCharactersCleansByCode_data()
  {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    const auto row = [](const char* name, const QString& text, const QString& cleaned) {
      QTest::newRow(name) << text << cleaned;
    };
    row("punctuation", QStringLiteral("Pac-Man's: Quest!"), QStringLiteral("Pac Mans Quest "));
    row("outer blanks", QStringLiteral("  Street Fighter II  "), QStringLiteral("Street Fighter II"));
    // Letters beyond Latin-1 stay; tabs are control characters.
    row("Latin-1 upper half", QStringLiteral("Pok\u00e9mon\u00ae\tR\u0159b"), QStringLiteral("Pok mon \tR\u0159b"));
    // Three passes, not a collapse: eight blanks end as two, and so do five or seven.
    row("eight blanks", QStringLiteral("a        b"), QStringLiteral("a  b"));
    row("bracketed", QStringLiteral("a (!) b"), QStringLiteral("a  b"));
    row("brackets only", QStringLiteral("{[<~>]}"), QStringLiteral("  "));
    row("dash between blanks", QStringLiteral("a - b"), QStringLiteral("a b"));
    row("empty", QString(), QString());
    const char16_t row80[] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                              0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                              0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    for (const char16_t code : row80) {
      QTest::addRow("U+%04X", unsigned(code))
          << QStringLiteral("a") + QChar(code) + QStringLiteral("b") << QStringLiteral("a b");
    }
    // Characters the page does not hold stay.
    for (const char16_t code :
         {char16_t(0x0080), char16_t(0x0082), char16_t(0x0159), char16_t(0x2015), char16_t(0x2212), char16_t(0x20AD)}) {
      QTest::addRow("U+%04X stays", unsigned(code)) << QStringLiteral("a") + QChar(code) + QStringLiteral("b")
                                                    << QStringLiteral("a") + QChar(code) + QStringLiteral("b");
    }
    QTest::newRow("dash and quotes") << QStringLiteral("Sonic \u2013 The \u201CHedgehog\u201D\u2122")
                                     << QStringLiteral("Sonic The Hedgehog ");
  }

  void StripCharactersCleansByCode()
  {
    QFETCH(QString, text);
    QTEST(StripCharacters(text), "cleaned");
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
    QCOMPARE(RomanNumeral(5000), QStringLiteral("MMMMM"));
  }

  void CompareScores_data()
  {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<float>("score");
    const auto row = [](const char* a, const char* b, const char* delimiter, float score) {
      QTest::addRow("%s | %s", a, b) << QString::fromUtf8(a) << QString::fromUtf8(b) << QString::fromUtf8(delimiter)
                                     << score;
    };
    row("street fighter 2", "Street Fighter II", " ", 2.0F / 3.0F);  // a one-digit number is no numeral
    row("final fight 12", "final fight xii", " ", 1.0F);
    row("final fight xii", "final fight 12", " ", 1.0F);
    row("Zelda", "1. Zelda", " ", 1.0F);
    row("Tom & Jerry", "Tom and Jerry", " ", 1.0F);
    row("Out Run", "Out Run Europa", " ", 2.0F / 3.0F);
    row("Addams Family", "Addams Family the", " ", 1.0F);  // "the" only in the candidate counts for it
    row("game 99999999999999999", "game m", " ", 0.5F);    // no numeral of that size is built
    row("", "", " ", 0.0F);
    row("", "", "", 0.0F);
    row("abcdefghijklmnopqrstuvwx", "abcdef", "", 0.25F);  // 6 of 24: exactly the floor stays
    row("abcdefghijklmnopqrstuvwxy", "abcdef", "", 0.0F);  // 6 of 25 = 0.24 becomes 0
    row("Sonic", "SONIX", "", 0.8F);
    row("Sonic the Hedgehog", "Sonic \u2013 The Hedgehog", " ", 1.0F);  // a typographic dash is punctuation
  }

  void CompareScores()
  {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(QString, delimiter);
    QTEST(Compare(a, b, delimiter, CompareMode::IgnoreCase), "score");
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
  }
};

QUILLON_TEST_CLASS(TextRoutinesTest)
#include "TextRoutinesTest.moc"
