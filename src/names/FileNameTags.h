#pragma once
// Year, country and manufacturer from the bracketed tags of a ROM file name, such as
// "Street Fighter EX (1996)(Capcom).zip" or "Tetris (U).gb". Tag tests are case-sensitive
// substring tests on the name. A scan makes one FileNameTags and asks it once per file: the tags
// of a name are collected once and looked up in hashes of the codes and makers, so the cost per
// file does not grow with the number of countries and makers.
#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

namespace quillon {

class Lookups;

// The display name of a scanned file: its name without folder and extension (everything after
// the last "."), cut before the first "(" with the blank in front of the bracket kept. Nothing is
// trimmed. A name whose only "." comes first has no extension.
QString ScannedFullName(const QString& path);
// The text before the first "(" of `name`, or `name` whole (for names that keep their extension).
QString FullNameBeforeTags(const QString& name);

// The year text the tags of a name give: the highest year from 1960 to the current year written
// as "(" and its four digits (the ")" is not needed, so "(1996-1998)" gives 1996); failing that
// the last of "(198x)", "(199x)", "(200x)" the name contains; else empty. "(19xx)" and "(19??)"
// give nothing.
QString YearTagText(const QString& fileName);

// Texts that may stand between "(" and ")" in a name, each with a rank; finds the highest rank of
// those a name carries.
class BracketedTextIndex {
 public:
  void Clear();
  // Of several equal texts the highest rank counts.
  void Add(const QString& text, int rank);
  bool IsEmpty() const { return m_ranks.isEmpty(); }
  // The highest rank of the texts t for which `name` contains "(" + t + ")"; -1 when none.
  int HighestIn(QStringView name) const;

 private:
  QHash<QString, int> m_ranks;
  std::vector<bool> m_lengths;  // which text lengths occur, to skip impossible candidates
};

class FileNameTags {
 public:
  // Uses the lookups' catalogue and feedback; keeps what it reads for its own lifetime.
  explicit FileNameTags(Lookups& lookups);

  // The YearID of the name's year tag (see YearTagText, the current year being that of the
  // reader's making); a year text not yet in the catalogue is added. 42 when the name carries none.
  qint64 CheckYear(const QString& fileName);
  // The CountryID whose code the name carries as "(" + code + ")", codes being the pieces of
  // `goodcode` before its last ";"; of several, the country last in table order. Gives the
  // unknown country 1 (never 0) when the name carries no code, so merges never store 0. Countries
  // whose goodcode is Null contribute no code. A name without a code is tried for No-Intro and
  // TOSEC region words ("(USA, Europe)", "(US)"), looked up by country name.
  qint64 CheckCountry(const QString& fileName);
  // The ManufacturerID of the maker whose name the name carries as "(" + name + ")", exactly;
  // of several, the last in the manufacturer cache's (alphabetical) order. 319 when none.
  qint64 GetManfFromName(const QString& fileName);

  // The cache's maker name that GetManfFromName settles on, or empty; adds nothing.
  QString ManufacturerNameIn(const QString& fileName);

  // Reads the country codes again (they are read on first use).
  bool LoadCountryCodes();

 private:
  bool EnsureManufacturerIndex();
  // The cache position of the maker GetManfFromName settles on; -1 when none.
  int ManufacturerPositionIn(const QString& fileName);

  Lookups& m_lookups;
  int m_lastYear;  // the current year when the reader was made: the last year a tag may give
  bool m_countriesLoaded = false;
  BracketedTextIndex m_countryCodes;
  std::vector<qint64> m_countryKeys;  // by rank (table order)
  BracketedTextIndex m_makers;
  int m_makersGeneration = -1;
  // Keys already looked up: by year (from 1960; 0 not yet), and by maker cache position (for this
  // generation).
  std::vector<qint64> m_yearKeys;
  QHash<int, qint64> m_makerKeys;
};

}  // namespace quillon
