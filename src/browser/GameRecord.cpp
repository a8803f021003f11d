#include "browser/GameRecord.h"

#include "catalogue/GameDetails.h"
#include "catalogue/Lookups.h"

namespace quillon {

namespace {

const QString kViewRoutine = QStringLiteral("ViewGameInfo");

// The value a column stores for typed text; nullopt with the refusal set when it cannot take it.
std::optional<QVariant> DetailValue(Lookups& lookups, const QString& column, const QString& typed, DetailEdit& edit)
{
  const QString name = column.toLower();
  if (name == QStringLiteral("country")) {
    const QVariant id = lookups.GetCountry(typed, true);
    if (!id.isValid()) {
      edit = {DetailEdit::Refusal::UnknownCountry, typed};
      return std::nullopt;
    }
    return id;
  }
  if (name == QStringLiteral("year") || name == QStringLiteral("manufacturer")) {
    const QVariant id = name == QStringLiteral("year") ? lookups.GetYear(typed, true) : lookups.GetManf(typed, true);
    if (!id.isValid()) {
      edit = {DetailEdit::Refusal::Failed, typed};
      return std::nullopt;
    }
    return id;
  }
  if (name == QStringLiteral("rating")) {
    bool ok = false;
    const int rating = typed.toInt(&ok);
    if (!ok && !typed.isEmpty()) {
      edit = {DetailEdit::Refusal::NotANumber, typed};
      return std::nullopt;
    }
    return typed.isEmpty() ? QVariant() : QVariant(rating);
  }
  return QVariant(typed);
}

}  // namespace

std::optional<Rows> GameRecord(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  return catalogue.Select(feedback, kViewRoutine,
                          QStringLiteral("SELECT Games.*, Country.Country AS CountryName, Year.Year AS YearText, "
                                         "Manufacturer.Manufacturer AS ManufacturerName, System.System AS SystemName "
                                         "FROM Games LEFT JOIN Country ON Country.CountryID = Games.Country "
                                         "LEFT JOIN Year ON Year.YearID = Games.Year "
                                         "LEFT JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
                                         "LEFT JOIN System ON System.SystemID = Games.System WHERE Games.GameID = ?"),
                          {gameId});
}

std::optional<QStringList> GenreNamesOfGame(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kViewRoutine,
      QStringLiteral("SELECT Genres.GenreName FROM SubGenres INNER JOIN Genres ON Genres.GenreID = SubGenres.GenreID "
                     "WHERE SubGenres.GameID = ? ORDER BY SubGenres.rowid"),
      {gameId});
  if (!rows)
    return std::nullopt;
  QStringList names;
  for (const QVariantList& row : rows->All())
    names << row.value(0).toString();
  return names;
}

std::optional<QString> SystemNameOfGame(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<QVariant> name = catalogue.SelectValue(
      feedback, kViewRoutine,
      QStringLiteral("SELECT System.System FROM Games INNER JOIN System ON System.SystemID = Games.System "
                     "WHERE Games.GameID = ?"),
      {gameId});
  if (!name || !name->isValid())
    return std::nullopt;
  return name->toString();
}

std::optional<QString> GameEmulator(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<QVariant> emulator = catalogue.SelectValue(
      feedback, QStringLiteral("cmdplayemu_Click"),
      QStringLiteral("SELECT coalesce(Games.Emulator, System.Emulator) FROM Games LEFT JOIN System "
                     "ON System.SystemID = Games.System WHERE Games.GameID = ?"),
      {gameId});
  if (!emulator)
    return std::nullopt;
  return emulator->toString();
}

std::optional<QString> GameFileName(Catalogue& catalogue, Feedback& feedback, qint64 gameId)
{
  const std::optional<QVariant> fileName = catalogue.SelectValue(
      feedback, QStringLiteral("Add_Image"), QStringLiteral("SELECT FileName FROM Games WHERE GameID = ?"), {gameId});
  if (!fileName)
    return std::nullopt;
  return fileName->toString();
}

DetailEdit SetGameDetails(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, qint64 gameId,
                          const QList<DetailAssignment>& assignments, const QString& imageFolder)
{
  // New years and makers added on the way go back out with the rest when a later detail fails.
  Transaction transaction(catalogue);
  DetailEdit edit;
  for (const DetailAssignment& assignment : assignments) {
    const std::optional<QVariant> value = DetailValue(lookups, assignment.column, assignment.typed, edit);
    if (!value)
      return edit;
    if (!UpdateGameInfo(catalogue, feedback, gameId, assignment.column, *value, imageFolder))
      return {DetailEdit::Refusal::Failed, assignment.typed};
  }
  if (!transaction.Commit())
    return {DetailEdit::Refusal::Failed, {}};
  return edit;
}

}  // namespace quillon
