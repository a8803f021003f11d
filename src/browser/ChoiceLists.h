#pragma once
// What the combo boxes of the list and the details panel offer: the genres of the genre filter and
// of the genre ticks, and the countries, years and makers the details panel completes.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

struct GenreChoice {
  qint64 genreId = 0;
  QString name;
};

// RefreshGenres: every genre, ordered by name.
std::optional<QList<GenreChoice>> GenresByName(Catalogue& catalogue, Feedback& feedback);

// The key of the genre with exactly this name (the lowest key when names repeat); 0 when there is
// none; nullopt when the catalogue could not say (reported with `routine`'s tag).
std::optional<qint64> GenreIdByName(Catalogue& catalogue, Feedback& feedback, const QString& name,
                                    const QString& routine);

// The saved queries the details panel's combos list, each ordered by name.
enum class DetailChoice { Countries, Years, Manufacturers };

// CreateFilter: the names of one saved query; empty (reported) when it cannot be read.
QStringList DetailChoices(Catalogue& catalogue, Feedback& feedback, DetailChoice choice);

}  // namespace quillon
