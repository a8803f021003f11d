#include "names/Similarity.h"

#include "names/RomanNumeral.h"
#include "names/TextCleaning.h"

#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace quillon {

namespace {

constexpr float kLowestScore = 0.25F;

bool IsAsciiDigit(QChar character)
{
  return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

// "1. Zelda" -> "Zelda": a one-digit list number with its dot and the blank after it.
QString WithoutListNumber(const QString& text)
{
  if (!text.isEmpty() && IsAsciiDigit(text[0]) && text.indexOf(QLatin1Char('.')) == 1)
    return text.mid(3);
  return text;
}

QString Prepared(QString text)
{
  text.replace(QStringLiteral(" & "), QStringLiteral(" and "));
  return StripCharacters(text).toLower();
}

bool IsNumericWord(const QString& word)
{
  const QString trimmed = TrimSpaces(word);
  return !trimmed.isEmpty() && std::all_of(trimmed.cbegin(), trimmed.cend(), IsAsciiDigit);
}

// A numeric word of more than one character also matches its lower-case roman numeral.
bool NumberMatches(const QString& number, const QString& other)
{
  if (number == other)
    return true;
  bool ok = false;
  const qint64 value = TrimSpaces(number).toLongLong(&ok);
  // A numeral holds at least value / 1000 characters: longer ones cannot equal `other`.
  if (!ok || value / 1000 > other.size())
    return false;
  return RomanNumeral(value).toLower() == other;
}

bool WordsMismatch(const QString& wordA, const QString& wordB)
{
  const bool numericA = IsNumericWord(wordA);
  const bool numericB = IsNumericWord(wordB);
  if (!numericA && !numericB)
    return wordA != wordB;
  if (numericA && wordA.size() > 1)
    return !NumberMatches(wordA, wordB);
  if (numericB && wordB.size() > 1)
    return !NumberMatches(wordB, wordA);
  return wordA != wordB;
}

struct Tally {
  qsizetype compared = 0;    // n
  qsizetype difference = 0;  // d
  qsizetype mismatches = 0;
};

// Empty pieces between two delimiters count as words, but an empty text has none.
QStringList WordsOf(const QString& text, const QString& delimiter)
{
  return text.isEmpty() ? QStringList() : text.split(delimiter, Qt::KeepEmptyParts);
}

Tally CompareWords(const QString& a, const QString& b, const QString& delimiter)
{
  const QStringList wordsA = WordsOf(a, delimiter);
  const QStringList wordsB = WordsOf(b, delimiter);
  Tally tally;
  tally.compared = std::min(wordsA.size(), wordsB.size());
  tally.difference = -std::abs(wordsA.size() - wordsB.size());
  const QString the = QStringLiteral("the");
  const bool theInA = a.contains(the);
  const bool theInB = b.contains(the);
  if (theInA && !theInB)
    --tally.compared;
  if (theInB && !theInA)
    ++tally.difference;
  tally.mismatches = tally.difference;
  for (qsizetype k = 0; k < tally.compared; ++k) {
    if (WordsMismatch(wordsA[k], wordsB[k]))
      ++tally.mismatches;
  }
  return tally;
}

Tally CompareCharacters(const QString& a, const QString& b, CompareMode mode)
{
  Tally tally;
  tally.compared = std::min(a.size(), b.size());
  tally.difference = std::abs(a.size() - b.size());
  tally.mismatches = tally.difference;
  for (qsizetype k = 0; k < tally.compared; ++k) {
    const bool same = mode == CompareMode::IgnoreCase ? a[k].toCaseFolded() == b[k].toCaseFolded() : a[k] == b[k];
    if (!same)
      ++tally.mismatches;
  }
  return tally;
}

}  // namespace

float Compare(const QString& a, const QString& b, const QString& delimiter, CompareMode mode)
{
  const QString preparedA = Prepared(a);
  const QString preparedB = Prepared(WithoutListNumber(b));
  const Tally tally = delimiter.isEmpty() ? CompareCharacters(preparedA, preparedB, mode)
                                          : CompareWords(preparedA, preparedB, delimiter);
  if (tally.compared <= 0 && tally.difference <= 0)
    return 0.0F;
  const double matching = static_cast<double>(tally.difference - tally.mismatches + tally.compared);
  const double out = static_cast<double>(std::abs(tally.difference) + std::abs(tally.compared));
  const float score = static_cast<float>(matching / out);
  return score < kLowestScore ? 0.0F : score;
}

}  // namespace quillon
