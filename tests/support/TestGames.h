#pragma once
// Rows for a test's scene, built from named values instead of INSERT statements with fixed keys:
// what a test does not name keeps the table's default, and the new key comes back.
//
//   const qint64 alpha = TestGame(kSnes, "Alpha").File("alpha.smc").Folder(snesRoms).Genres({13}).Insert(db);
#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

namespace quillon {
class Catalogue;
}

namespace quillon::test {

// Systems of the delivered catalogue the tests use.
inline constexpr qint64 kArcade = 1;
inline constexpr qint64 kSnes = 3;
inline constexpr qint64 kGameboy = 11;

// A game of a system, present (Available) unless Missing() is called.
class TestGame {
 public:
  TestGame(qint64 systemId, const QString& fullName);

  TestGame& File(const QString& fileName) { return Set(QStringLiteral("FileName"), fileName); }
  TestGame& Folder(qint64 pathId) { return Set(QStringLiteral("RomPath"), pathId); }
  TestGame& Missing() { return Set(QStringLiteral("Available"), 0); }
  TestGame& Selected(bool selected = true) { return Set(QStringLiteral("Selected"), selected ? 1 : 0); }
  TestGame& Clone() { return Set(QStringLiteral("Clone"), 1); }
  TestGame& Country(qint64 countryId) { return Set(QStringLiteral("Country"), countryId); }
  TestGame& Year(qint64 yearId) { return Set(QStringLiteral("Year"), yearId); }
  TestGame& Maker(qint64 manufacturerId) { return Set(QStringLiteral("Manufacturer"), manufacturerId); }
  TestGame& Image(const QString& picture) { return Set(QStringLiteral("Image"), picture); }
  TestGame& Description(const QString& text) { return Set(QStringLiteral("Description"), text); }
  TestGame& Emulator(const QString& command) { return Set(QStringLiteral("Emulator"), command); }
  // The Games.Genre column (the genre count the scan keeps); the links are Genres().
  TestGame& GenreCount(int count) { return Set(QStringLiteral("Genre"), count); }
  // Genre links, in this order.
  TestGame& Genres(const QList<qint64>& genreIds);
  // Any other column.
  TestGame& Set(const QString& column, const QVariant& value);

  // Writes the row and its genre links; the new GameID, or 0 after a warning.
  qint64 Insert(Catalogue& catalogue) const;

 private:
  QList<std::pair<QString, QVariant>> m_columns;
  QList<qint64> m_genreIds;
};

// A ROM folder of a system; its PathID, or 0 after a warning.
qint64 InsertRomPath(Catalogue& catalogue, qint64 systemId, const QString& folder);

}  // namespace quillon::test
