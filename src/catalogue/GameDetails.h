#pragma once
// The details of one game as the details panel shows and edits them: every edit is written at
// once and marks the game as edited; genre ticks keep the game's genre links and its genre count
// in step.
#include "catalogue/ReservedKeys.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

// The most genres a game may have ticked.
inline constexpr int kMaxTickedGenres = 5;

struct GameDetails {
  qint64 gameId = 0;
  qint64 systemId = 0;
  QString fullName;
  QString fileName;
  QString emulator;  // the game's own, else its system's
  qint64 countryId = kUnknownCountry;
  qint64 yearId = kUnknownYear;
  qint64 manufacturerId = kUnknownManufacturer;
  QString country;
  QString year;
  QString manufacturer;
  QString storedImage;  // as stored
  QString imageText;    // the picture path shown: resolved, empty when the file is missing
  QString description;
  int rating = 0;
  QList<qint64> genreIds;  // the game's genre links in link order
  QString missingFiles;    // why the scan found the game incomplete; empty when it is whole
};

// A picture text is relative when it is not an absolute path.
bool IsRelativePicture(const QString& text);
// The picture path a stored picture text stands for: a relative name is taken in the image
// folder; the result is empty when no such file exists.
QString ResolvePicture(const QString& stored, const QString& imageFolder);

// ViewGameInfo's reading of one game; nullopt (reported as "-(ViewGameInfo)-") when it is gone.
std::optional<GameDetails> LoadGameDetails(Catalogue& catalogue, Feedback& feedback, qint64 gameId,
                                           const QString& imageFolder);

// The columns the details panel writes.
bool IsDetailColumn(const QString& column);

// Writes one column of a game and marks it edited. An empty text is stored as Null. A picture
// inside the image folder is stored by its name there. Reported as "-(UpdateGameInfo)-".
bool UpdateGameInfo(Catalogue& catalogue, Feedback& feedback, qint64 gameId, const QString& column,
                    const QVariant& value, const QString& imageFolder = {});

// Why the last scan found the game incomplete (a track its sheet names is not there); empty when
// it is whole or the catalogue keeps no such notes.
QString MissingFilesOf(Catalogue& catalogue, qint64 gameId);

// The full ROM path of a game (the File view), or an invalid QVariant when it has none.
QVariant GetRom(Catalogue& catalogue, Feedback& feedback, qint64 gameId);

// The game's genre links in link order.
QList<qint64> GenreLinks(Catalogue& catalogue, Feedback& feedback, qint64 gameId);

struct GenreTickOutcome {
  bool accepted = true;  // false: refused (a fifth genre), nothing written
  QList<qint64> links;   // the game's genre links afterwards, in link order
};

// A tick or untick in the genre list: at most five genres; "[Unknown]" never stands beside a real
// genre; unticking the last genre gives the game "[Unknown]" (genre count 1); otherwise the genre
// count becomes the number of links, or 0 when the first link is "[Unknown]".
GenreTickOutcome TickGenre(Catalogue& catalogue, Feedback& feedback, qint64 gameId, qint64 genreId, bool tick);

}  // namespace quillon
