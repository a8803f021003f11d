#include "catalogue/GameDetails.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DeliveredSystems.h"
#include "catalogue/Feedback.h"
#include "common/StoredValue.h"

#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {

const QString kGenreRoutine = QStringLiteral("lstgenres_ItemCheck");

// Column names as written in statements, by the names callers may use.
QString DetailColumn(const QString& column)
{
  static const QStringList columns{
      QStringLiteral("FullName"), QStringLiteral("Emulator"), QStringLiteral("Image"), QStringLiteral("Description"),
      QStringLiteral("Rating"),   QStringLiteral("Country"),  QStringLiteral("Year"),  QStringLiteral("Manufacturer")};
  QString plain = column;
  plain.remove(QLatin1Char('[')).remove(QLatin1Char(']'));
  for (const QString& name : columns) {
    if (name.compare(plain, Qt::CaseInsensitive) == 0)
      return name;
  }
  return {};
}

// A picture inside the image folder is kept by its name there, like the scan stores it.
QVariant StoredPicture(const QVariant& value, const QString& imageFolder)
{
  const QString text = value.toString();
  if (imageFolder.isEmpty() || !text.startsWith(imageFolder))
    return value;
  const QString relative = text.mid(imageFolder.size());
  return relative.contains(QLatin1Char('/')) ? value : QVariant(relative);
}

bool Recount(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  return catalogue.Execute(
      feedback, kGenreRoutine,
      QStringLiteral("UPDATE Games SET Genre = (SELECT CASE WHEN count(*) = 0 OR "
                     "(SELECT GenreID FROM SubGenres WHERE GameID = ? ORDER BY rowid LIMIT 1) = 1 THEN 0 "
                     "ELSE count(*) END FROM SubGenres WHERE GameID = ?) WHERE GameID = ?"),
      {gameId, gameId, gameId});
}

bool Link(Catalogue& catalogue, Feedback& feedback, qint64 gameId, qint64 genreId)
{
  return catalogue.Execute(feedback, kGenreRoutine,
                           QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT ?, ? WHERE NOT EXISTS "
                                          "(SELECT 1 FROM SubGenres WHERE GameID = ? AND GenreID = ?)"),
                           {gameId, genreId, gameId, genreId});
}

bool Unlink(Catalogue& catalogue, Feedback& feedback, qint64 gameId, qint64 genreId)
{
  return catalogue.Execute(feedback, kGenreRoutine,
                           QStringLiteral("DELETE FROM SubGenres WHERE GameID = ? AND GenreID = ?"), {gameId, genreId});
}

}  // namespace

bool IsRelativePicture(const QString& text)
{
  return !text.isEmpty() && QDir::isRelativePath(text);
}

QString ResolvePicture(const QString& stored, const QString& imageFolder)
{
  if (stored.isEmpty())
    return {};
  const QString path = IsRelativePicture(stored) ? imageFolder + stored : stored;
  const QFileInfo info(path);
  return info.isFile() ? path : QString();
}

std::optional<GameDetails> LoadGameDetails(Catalogue& catalogue, Feedback& feedback, qint64 gameId,
                                           const QString& imageFolder)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, QStringLiteral("ViewGameInfo"),
      QStringLiteral("SELECT Games.GameID, Games.System, Games.FullName, Games.FileName, "
                     "coalesce(Games.Emulator, System.Emulator), Games.Country, Games.Year, Games.Manufacturer, "
                     "Country.Country, Year.Year, Manufacturer.Manufacturer, Games.Image, Games.Description, "
                     "Games.Rating FROM Games LEFT JOIN System ON System.SystemID = Games.System "
                     "LEFT JOIN Country ON Country.CountryID = Games.Country "
                     "LEFT JOIN Year ON Year.YearID = Games.Year "
                     "LEFT JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                     "WHERE Games.GameID = ?"),
      {gameId});
  if (!rows)
    return std::nullopt;
  if (rows->IsEmpty()) {
    ReportError(feedback, kNoCurrentRecord, QStringLiteral("ViewGameInfo"),
                QStringLiteral("The game is no longer there."));
    return std::nullopt;
  }
  const QVariantList& row = rows->Row(0);
  GameDetails details;
  details.gameId = row[0].toLongLong();
  details.systemId = row[1].toLongLong();
  details.fullName = row[2].toString();
  details.fileName = row[3].toString();
  details.emulator = row[4].toString();
  details.countryId = row[5].toLongLong();
  details.yearId = row[6].toLongLong();
  details.manufacturerId = row[7].toLongLong();
  details.country = row[8].toString();
  details.year = row[9].toString();
  details.manufacturer = row[10].toString();
  details.storedImage = row[11].toString();
  details.imageText = ResolvePicture(details.storedImage, imageFolder);
  details.description = row[12].toString();
  details.rating = row[13].toInt();
  details.genreIds = GenreLinks(catalogue, feedback, gameId);
  details.missingFiles = MissingFilesOf(catalogue, gameId);
  return details;
}

QString MissingFilesOf(Catalogue& catalogue, qint64 gameId)
{
  // A catalogue whose upgrade has not added the notes yet has none to show.
  const std::optional<Rows> rows = catalogue.TrySelect(
      QStringLiteral("SELECT Reason FROM ") + kMissingFilesTable + QStringLiteral(" WHERE GameID = ?"), {gameId},
      nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0).toString() : QString();
}

bool IsDetailColumn(const QString& column)
{
  return !DetailColumn(column).isEmpty();
}

bool UpdateGameInfo(Catalogue& catalogue, Feedback& feedback, qint64 gameId, const QString& column,
                    const QVariant& value, const QString& imageFolder)
{
  const QString routine = QStringLiteral("UpdateGameInfo");
  const QString name = DetailColumn(column);
  if (name.isEmpty()) {
    ReportError(feedback, kItemNotFound, routine, QStringLiteral("Item cannot be found: ") + column);
    return false;
  }
  QVariant stored = StoredValue(value);
  if (name == QStringLiteral("Image") && stored.isValid())
    stored = StoredPicture(stored, imageFolder);
  return catalogue.Execute(feedback, routine,
                           QStringLiteral("UPDATE Games SET Edited = 1, \"%1\" = ? WHERE GameID = ?").arg(name),
                           {stored, gameId});
}

QVariant GetRom(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<QVariant> file = catalogue.SelectValue(
      feedback, QStringLiteral("GetRom"), QStringLiteral("SELECT File FROM File WHERE GameID = ?"), {gameId});
  return file ? *file : QVariant();
}

QList<qint64> GenreLinks(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  QList<qint64> links;
  const std::optional<Rows> rows =
      catalogue.Select(feedback, QStringLiteral("ViewGameInfo"),
                       QStringLiteral("SELECT GenreID FROM SubGenres WHERE GameID = ? ORDER BY rowid"), {gameId});
  if (rows) {
    for (const QVariantList& row : rows->All())
      links << row[0].toLongLong();
  }
  return links;
}

GenreTickOutcome TickGenre(Catalogue& catalogue, Feedback& feedback, qint64 gameId, qint64 genreId, bool tick)
{
  GenreTickOutcome outcome;
  const QList<qint64> before = GenreLinks(catalogue, feedback, gameId);
  if (tick && !before.contains(genreId) && before.size() + 1 > kMaxTickedGenres) {
    outcome.accepted = false;
    outcome.links = before;
    return outcome;
  }
  Transaction transaction(catalogue);
  bool ok = true;
  bool lastUnticked = false;
  if (tick) {
    const bool otherGenres = std::any_of(before.begin(), before.end(), [](qint64 id) { return id != kUnknownGenre; });
    if (genreId == kUnknownGenre && otherGenres) {
      // "[Unknown]" never stands beside a real genre.
      outcome.accepted = false;
    } else {
      ok = Link(catalogue, feedback, gameId, genreId);
      if (ok && genreId != kUnknownGenre)
        ok = Unlink(catalogue, feedback, gameId, kUnknownGenre);
    }
  } else {
    ok = Unlink(catalogue, feedback, gameId, genreId);
    if (ok && GenreLinks(catalogue, feedback, gameId).isEmpty()) {
      ok = Link(catalogue, feedback, gameId, kUnknownGenre) &&
           catalogue.Execute(feedback, kGenreRoutine, QStringLiteral("UPDATE Games SET Genre = 1 WHERE GameID = ?"),
                             {gameId});
      lastUnticked = true;
    }
  }
  if (ok && !lastUnticked && outcome.accepted)
    ok = Recount(catalogue, feedback, gameId);
  if (ok)
    ok = transaction.Commit();
  outcome.links = GenreLinks(catalogue, feedback, gameId);
  if (!ok)
    outcome.accepted = false;
  return outcome;
}

}  // namespace quillon
