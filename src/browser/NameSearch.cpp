#include "browser/NameSearch.h"

namespace quillon {

namespace {

bool IsAscii(const QString& text)
{
  for (const QChar c : text) {
    if (c.unicode() >= 0x80)
      return false;
  }
  return true;
}

}  // namespace

NameSearch::NameSearch(const QString& typed)
    : m_folded(Fold(typed).simplified()), m_words(m_folded.split(QLatin1Char(' '), Qt::SkipEmptyParts))
{
}

QString NameSearch::Fold(const QString& text)
{
  // Most names are plain ASCII: lower case is all they need.
  if (IsAscii(text))
    return text.toLower();
  QString folded;
  const QString decomposed = text.normalized(QString::NormalizationForm_KD);
  folded.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (c.isMark())
      continue;
    folded += c.isSpace() ? QChar(QLatin1Char(' ')) : c;
  }
  return folded.toCaseFolded();
}

bool NameSearch::Matches(const QString& foldedName) const
{
  for (const QString& word : m_words) {
    if (!foldedName.contains(word))
      return false;
  }
  return true;
}

bool NameSearch::Narrows(const NameSearch& previous) const
{
  // Typing on keeps every earlier word and only lengthens the last: each earlier word is still
  // contained in a word of this search.
  return !previous.IsEmpty() && m_folded.startsWith(previous.m_folded);
}

}  // namespace quillon
