#pragma once
// Changes to the catalogue's structure, used by the structure upgrade: new columns, new tables
// and the next number of an autoincrement key.
#include <QString>

#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

// Type codes of AddTable's column list.
inline constexpr int kLongTypeCode = 3;
inline constexpr int kTextTypeCode = 202;

struct NewColumn {
  QString name;
  int typeCode = kLongTypeCode;
  bool autoIncrement = false;
};

// The statement addField sends: "ALTER TABLE " + table + " ADD COLUMN " + column + " " + the
// engine's type for the type word ("YesNo", "Long", "Memo", "text"), with "(" + size + ")" right
// after it when the size is not 0. Empty for an unknown type word.
QString AddFieldStatement(const QString& table, const QString& column, const QString& typeWord, int size);

// Adds a column, then lets pending window events run. Failures are reported as "-(addField)-".
bool addField(Catalogue& catalogue, Feedback& feedback, const QString& table, const QString& column,
              const QString& typeWord, int size);

// Creates a table from (name, type code, autoincrement) triples; an autoincrement column becomes
// the table's key. Failures are reported as "-(AddTable)-".
bool AddTable(Catalogue& catalogue, Feedback& feedback, const QString& table, const std::vector<NewColumn>& columns);

// Sets the number the table's autoincrement key gives its next row. True when the next number
// now reads back as `seed`. Failures are reported as "-(ChangeSeed)-".
bool ChangeSeed(Catalogue& catalogue, Feedback& feedback, const QString& table, const QString& column, qint64 seed);

// The number the table's key would give its next row, or -1 when it cannot be told.
qint64 NextKey(Catalogue& catalogue, const QString& table, const QString& column);

}  // namespace quillon
