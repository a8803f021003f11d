#include "TestGames.h"

#include "catalogue/Catalogue.h"

#include <QStringList>

namespace quillon::test {

namespace {

qint64 InsertRow(Catalogue& catalogue, const QString& sql, const QVariantList& binds)
{
  SqlFailure failure;
  if (!catalogue.TryExecute(sql, binds, &failure)) {
    qWarning("%s: %s", qPrintable(sql), qPrintable(failure.description));
    return 0;
  }
  return catalogue.LastInsertId();
}

}  // namespace

TestGame::TestGame(qint64 systemId, const QString& fullName)
{
  Set(QStringLiteral("System"), systemId);
  Set(QStringLiteral("FullName"), fullName);
  Set(QStringLiteral("Available"), 1);
}

TestGame& TestGame::Genres(const QList<qint64>& genreIds)
{
  m_genreIds = genreIds;
  return *this;
}

TestGame& TestGame::Set(const QString& column, const QVariant& value)
{
  for (auto& [name, stored] : m_columns) {
    if (name == column) {
      stored = value;
      return *this;
    }
  }
  m_columns.append({column, value});
  return *this;
}

qint64 TestGame::Insert(Catalogue& catalogue) const
{
  QStringList columns;
  QStringList marks;
  QVariantList values;
  for (const auto& [column, value] : m_columns) {
    columns << column;
    marks << QStringLiteral("?");
    values << value;
  }
  const qint64 gameId = InsertRow(catalogue,
                                  QStringLiteral("INSERT INTO Games (%1) VALUES (%2)")
                                      .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                                  values);
  for (const qint64 genreId : m_genreIds) {
    if (gameId != 0)
      InsertRow(catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"), {gameId, genreId});
  }
  return gameId;
}

qint64 InsertRomPath(Catalogue& catalogue, qint64 systemId, const QString& folder)
{
  return InsertRow(catalogue, QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"),
                   {folder, systemId});
}

}  // namespace quillon::test
