#include "ExportScene.h"

#include <QFile>

namespace quillon::test {

namespace {

// "a = ?, b = ?" or "a, b" and the values in the same order.
QString Columns(const QVariantMap& columns, const QString& each, QVariantList& binds)
{
  QStringList parts;
  for (auto it = columns.begin(); it != columns.end(); ++it) {
    parts << QString(each).replace(QStringLiteral("COLUMN"), it.key());
    binds << it.value();
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

ExportScene::ExportScene()
{
  // Only the systems a test sets up have tabs.
  m_catalogue.Exec(QStringLiteral("UPDATE System SET EnableTab = 0"));
}

void ExportScene::SetSystem(qint64 systemId, const QVariantMap& columns)
{
  QVariantMap all = columns;
  all.insert(QStringLiteral("EnableTab"), all.value(QStringLiteral("EnableTab"), 1));
  QVariantList binds;
  const QString set = Columns(all, QStringLiteral("COLUMN = ?"), binds);
  binds << systemId;
  m_catalogue.Exec(QStringLiteral("UPDATE System SET %1 WHERE SystemID = ?").arg(set), binds);
}

qint64 ExportScene::AddRomPath(qint64 systemId, const QString& folder)
{
  m_catalogue.Exec(QStringLiteral("INSERT INTO RomPath (RomPath, System) VALUES (?, ?)"), {folder, systemId});
  return m_catalogue.Value(QStringLiteral("SELECT max(PathID) FROM RomPath")).toLongLong();
}

void ExportScene::AddGame(const QVariantMap& columns, const QList<qint64>& genres)
{
  QVariantMap all = columns;
  all.insert(QStringLiteral("Selected"), all.value(QStringLiteral("Selected"), 1));
  all.insert(QStringLiteral("Available"), all.value(QStringLiteral("Available"), 1));
  QVariantList binds;
  const QString names = Columns(all, QStringLiteral("COLUMN"), binds);
  QStringList marks;
  for (int i = 0; i < all.size(); ++i)
    marks << QStringLiteral("?");
  m_catalogue.Exec(QStringLiteral("INSERT INTO Games (%1) VALUES (%2)").arg(names, marks.join(QStringLiteral(", "))),
                   binds);
  for (const qint64 genre : genres)
    m_catalogue.Exec(QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES (?, ?)"),
                     {all.value(QStringLiteral("GameID")), genre});
}

ExportOptions ExportScene::Options(const QString& assignments)
{
  ExportOptions options;
  for (const QString& assignment : assignments.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    *options.Field(assignment.section(QLatin1Char('='), 0, 0)) = assignment.section(QLatin1Char('='), 1) == "1";
  return options;
}

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quillon::test
