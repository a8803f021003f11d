#include "names/RomanNumeral.h"

namespace quillon {

namespace {

// One decimal place: `five` times the five-symbol and `ones` times the one-symbol, or the
// subtractive form when `ones` is 4.
QString Place(qint64 five, qint64 ones, QChar one, QChar fiveSymbol, QChar ten)
{
  if (ones == 4)
    return QString(one) + (five == 1 ? ten : fiveSymbol);
  return QString(five, fiveSymbol) + QString(ones, one);
}

}  // namespace

QString RomanNumeral(qint64 number)
{
  if (number <= 0)
    return {};
  QString text(number / 1000, QLatin1Char('M'));
  text += Place((number % 1000) / 500, (number % 500) / 100, QLatin1Char('C'), QLatin1Char('D'), QLatin1Char('M'));
  text += Place((number % 100) / 50, (number % 50) / 10, QLatin1Char('X'), QLatin1Char('L'), QLatin1Char('C'));
  text += Place((number % 10) / 5, number % 5, QLatin1Char('I'), QLatin1Char('V'), QLatin1Char('X'));
  return text;
}

}  // namespace quillon
