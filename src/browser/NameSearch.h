#pragma once
// Finding games by name as the user types: a name is found when every typed word occurs in it, in
// any letter case and without regard to accents ("pokemon red" finds "Pokémon - Red Version").
#include <QString>
#include <QStringList>

namespace quillon {

class NameSearch {
 public:
  NameSearch() = default;
  explicit NameSearch(const QString& typed);

  bool IsEmpty() const { return m_words.isEmpty(); }
  // `foldedName` is a name passed through Fold().
  bool Matches(const QString& foldedName) const;
  // True when everything this search finds is also found by `previous` (the user typed on), so
  // that only the names `previous` found need to be tried.
  bool Narrows(const NameSearch& previous) const;

  // The form names and words are compared in: case-folded, accents removed.
  static QString Fold(const QString& text);

 private:
  QString m_folded;
  QStringList m_words;
};

}  // namespace quillon
