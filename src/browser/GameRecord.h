#pragma once
// One game read and written whole, by key: its row with the names behind its keys, its system, its
// genres by name, its emulator and file name, and several details written in one transaction.
#include "catalogue/Catalogue.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Feedback;
class Lookups;

// Every column of the game's row, then CountryName, YearText, ManufacturerName and SystemName.
// An empty result when there is no such game; nullopt on failure ("-(ViewGameInfo)-").
std::optional<Rows> GameRecord(Catalogue& catalogue, Feedback& feedback, qint64 gameId);
// The names of the game's genres, in link order.
std::optional<QStringList> GenreNamesOfGame(Catalogue& catalogue, Feedback& feedback, qint64 gameId);
// The name of the game's system; nullopt when there is no such game or on failure (reported).
std::optional<QString> SystemNameOfGame(Catalogue& catalogue, Feedback& feedback, qint64 gameId);
// The emulator command the game starts with: its own, else its system's (empty without either).
std::optional<QString> GameEmulator(Catalogue& catalogue, Feedback& feedback, qint64 gameId);
// The game's file name (empty without a game); nullopt on failure ("-(Add_Image)-").
std::optional<QString> GameFileName(Catalogue& catalogue, Feedback& feedback, qint64 gameId);

// One typed detail: a column the details panel writes and the text for it.
struct DetailAssignment {
  QString column;
  QString typed;
};

struct DetailEdit {
  enum class Refusal { None, UnknownCountry, NotANumber, Failed };
  Refusal refusal = Refusal::None;
  QString typed;  // the text refused

  bool Ok() const { return refusal == Refusal::None; }
};

// Writes typed details of a game, all or none: Country, Year and Manufacturer by name (a new year
// or maker is added, an unknown country refused), Rating as a whole number (empty clears it), the
// other columns as typed. Each is written as UpdateGameInfo writes it.
DetailEdit SetGameDetails(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, qint64 gameId,
                          const QList<DetailAssignment>& assignments, const QString& imageFolder);

}  // namespace quillon
