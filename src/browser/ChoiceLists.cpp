#include "browser/ChoiceLists.h"

#include "catalogue/Catalogue.h"

namespace quillon {

std::optional<QList<GenreChoice>> GenresByName(Catalogue& catalogue, Feedback& feedback)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, QStringLiteral("RefreshGenres"),
                       QStringLiteral("SELECT GenreName, GenreID FROM Genres ORDER BY GenreName"));
  if (!rows)
    return std::nullopt;
  QList<GenreChoice> genres;
  genres.reserve(rows->Count());
  for (const QVariantList& row : rows->All())
    genres.append({row[1].toLongLong(), row[0].toString()});
  return genres;
}

std::optional<qint64> GenreIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name,
                                    const QString& routine)
{
  const std::optional<QVariant> genre = catalogue.SelectValue(
      feedback, routine, QStringLiteral("SELECT GenreID FROM Genres WHERE GenreName = ? ORDER BY GenreID"), {name});
  if (!genre)
    return std::nullopt;
  return genre->isValid() ? genre->toLongLong() : 0;
}

QStringList DetailChoices(Catalogue& catalogue, Feedback& feedback, DetailChoice choice)
{
  // Views of our own making: their names go into the statement as written here.
  const QString view = choice == DetailChoice::Countries ? QStringLiteral("Countries")
                       : choice == DetailChoice::Years   ? QStringLiteral("Years")
                                                         : QStringLiteral("Manf");
  const std::optional<Rows> rows =
      catalogue.Select(feedback, QStringLiteral("CreateFilter"), QStringLiteral("SELECT * FROM ") + view);
  QStringList names;
  if (!rows)
    return names;
  names.reserve(rows->Count());
  for (const QVariantList& row : rows->All())
    names << row.value(1).toString();
  return names;
}

}  // namespace quillon
