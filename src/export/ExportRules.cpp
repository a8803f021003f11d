#include "export/ExportRules.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon {

namespace {

bool IsSeparator(QChar c)
{
  return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// Absolute in either form a catalogue may hold: "/...", "X:\..." or "X:/...", "\\server\...".
bool IsAbsolutePicture(const QString& path)
{
  if (path.startsWith(QLatin1Char('/')) || path.startsWith(QStringLiteral("\\\\")))
    return true;
  return path.size() >= 3 && path[1] == QLatin1Char(':') && IsSeparator(path[2]);
}

ExportSystem SystemFromRow(const Rows& rows, int row)
{
  ExportSystem system;
  system.id = rows.Value(row, QStringLiteral("SystemID")).toLongLong();
  system.name = TextOf(rows.Value(row, QStringLiteral("System")));
  system.dropRoms = IsTrue(rows.Value(row, QStringLiteral("DropRoms")));
  system.removeText = IsTrue(rows.Value(row, QStringLiteral("RemoveText")));
  system.fullRomPath = IsTrue(rows.Value(row, QStringLiteral("FullRomPath")));
  system.fullImagePath = IsTrue(rows.Value(row, QStringLiteral("FullImagePath")));
  system.emulator = TextOf(rows.Value(row, QStringLiteral("Emulator")));
  system.sysImg = TextOf(rows.Value(row, QStringLiteral("SysImg")));
  return system;
}

}  // namespace

std::optional<std::vector<ExportSystem>> ExportSystems(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                                       SystemScope scope, qint64 currentSystemId)
{
  const std::optional<Rows> rows =
      scope == SystemScope::All
          ? catalogue.Select(feedback, routine,
                             QStringLiteral("SELECT * FROM System WHERE EnableTab <> 0 ORDER BY System, SystemID"))
          : catalogue.Select(feedback, routine, QStringLiteral("SELECT * FROM System WHERE SystemID = ?"),
                             {currentSystemId});
  if (!rows)
    return std::nullopt;
  std::vector<ExportSystem> systems;
  for (int row = 0; row < rows->Count(); ++row)
    systems.push_back(SystemFromRow(*rows, row));
  return systems;
}

std::optional<PairTable> SystemGenreNames(Catalogue& catalogue, Feedback& feedback, const QString& routine,
                                          qint64 systemId)
{
  PairTable table;
  const bool read =
      catalogue.ForEachRow(feedback, routine,
                           QStringLiteral("SELECT SubGenres.GameID, Genres.GenreName AS Genre "
                                          "FROM (Genres INNER JOIN SubGenres ON Genres.GenreID = SubGenres.GenreID) "
                                          "INNER JOIN Games ON SubGenres.GameID = Games.GameID WHERE Games.System = ? "
                                          "ORDER BY SubGenres.rowid"),
                           {systemId}, [&](const QSqlQuery& query) {
                             table.Append(query.value(0), query.value(1));
                             return true;
                           });
  if (!read)
    return std::nullopt;
  return table;
}

QString TextOf(const QVariant& value)
{
  return value.isNull() ? QString() : value.toString();
}

bool IsUnknownValue(const QString& value)
{
  return value == kUnknownGenreName;
}

QString CutTitle(const QString& title, bool removeText)
{
  const qsizetype bracket = title.indexOf(QLatin1Char('('));
  return removeText && bracket >= 0 ? title.left(bracket) : title;
}

QString ShortFormOf(const QString& path, bool shortNames)
{
  if (!shortNames || !QFileInfo(path).isAbsolute())
    return path;
  const QString absolute = ShortName(path);
  return absolute.isEmpty() ? path : absolute;
}

QString ExportRomPath(const QString& fileName, const QString& file, bool fullRomPath, bool shortNames)
{
  return ShortFormOf(fullRomPath ? file : fileName, shortNames);
}

QString ExportPicturePath(const QVariant& storedImage, const QVariant& fullImage, bool fullImagePath)
{
  const QString stored = TextOf(storedImage);
  if (!fullImagePath) {
    for (qsizetype at = stored.size() - 1; at >= 0; --at) {
      if (IsSeparator(stored[at]))
        return stored.mid(at + 1);
    }
    return stored;
  }
  const QString full = TextOf(fullImage);
  if (full.isEmpty() || IsSeparator(full.back()))
    return {};
  return IsAbsolutePicture(stored) ? stored : full;
}

QString DocumentsFolder()
{
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documents.isEmpty() ? QDir::homePath() : documents;
}

}  // namespace quillon
