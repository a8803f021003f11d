#include "ExportScene.h"

#include "TestGames.h"

namespace quillon::test {

ExportScene::ExportScene()
{
  // Only the systems a test sets up have tabs.
  m_catalogue.Exec(QStringLiteral("UPDATE System SET EnableTab = 0"));
}

void ExportScene::SetSystem(qint64 systemId, const QString& columns, const QVariantList& values)
{
  QString set = QStringLiteral("EnableTab = 1");
  for (const QString& column : columns.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    set += QStringLiteral(", %1 = ?").arg(column);
  m_catalogue.Exec(QStringLiteral("UPDATE System SET %1 WHERE SystemID = ?").arg(set), QVariantList(values)
                                                                                           << systemId);
}

qint64 ExportScene::AddRomPath(qint64 systemId, const QString& folder)
{
  return InsertRomPath(m_catalogue.Db(), systemId, folder);
}

void ExportScene::AddGame(const QString& columns, const QVariantList& values, const QList<qint64>& genres)
{
  QStringList names = columns.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  QVariantList all = values;
  for (const char* flag : {"Selected", "Available"}) {
    if (!names.contains(QLatin1String(flag))) {
      names << QLatin1String(flag);
      all << 1;
    }
  }
  const QStringList marks(names.size(), QStringLiteral("?"));
  m_catalogue.Exec(QStringLiteral("INSERT INTO Games (%1) VALUES (%2)")
                       .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                   all);
  for (const qint64 genre : genres)
    m_catalogue.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"), {values[0], genre});
}

ExportOptions ExportScene::Options(const QString& assignments)
{
  ExportOptions options;
  for (const QString& assignment : assignments.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    *options.Field(assignment.section(QLatin1Char('='), 0, 0)) = assignment.section(QLatin1Char('='), 1) == "1";
  return options;
}

}  // namespace quillon::test
