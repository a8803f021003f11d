#pragma once
// Editing the countries, genres and makers: adding and renaming entries, deleting one (its games
// fall back to the unknown entry), and moving every game of one entry to another. The unknown
// entry of each table is never changed.
#include <QList>
#include <QSqlQuery>
#include <QString>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;
class Lookups;

enum class LookupKind { Country, Genre, Manufacturer };

struct LookupSection {
  LookupKind kind;
  QString name;        // "country", "genre", "manufacturer": also the word of messages
  QString tabCaption;  // "C&ountries", "&Genres", "&Manufacturers"
  QString table;
  QString idColumn;
  QString nameColumn;
  qint64 unknownId;
  QString gridSource;  // the statement the editor's grid shows
  bool hasGoodCode;    // countries carry their GoodTools codes
};

const LookupSection& SectionOf(LookupKind kind);
const QList<LookupKind>& AllLookupKinds();
// The kind a word names ("country", "genre", "manufacturer"; any case).
std::optional<LookupKind> LookupKindNamed(const QString& word);

inline const QString kUnknownGoodCode = QStringLiteral("Unk");
// Question asked before an entry that games use is deleted; Yes deletes.
inline const QString kDeleteLookupQuestion = QStringLiteral("lookup.delete");

// The entry that stands for "unknown": the section's unknown key, the code "Unk" or the name
// "[Unknown]".
bool IsUnknownEntry(const LookupSection& section, qint64 id, const QString& name, const QString& goodCode);
// "Sorry, this " + section + " cannot be edited."
QString CannotEditText(const LookupSection& section);
QString DeleteQuestionText(const LookupSection& section);

struct LookupEntry {
  qint64 id = 0;
  QString name;
  QString goodCode;
};

// Every entry in the editor's order (by name); nullopt on failure (reported).
std::optional<QList<LookupEntry>> LookupEntries(Catalogue& catalogue, Feedback& feedback, LookupKind kind);
// The editor grid's rows of a section (its gridSource), run and ready for a query model.
QSqlQuery LookupGridQuery(Catalogue& catalogue, LookupKind kind);
std::optional<LookupEntry> LookupEntryById(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id);
// The entry with this name, ignoring case.
std::optional<LookupEntry> LookupEntryNamed(Catalogue& catalogue, Feedback& feedback, LookupKind kind,
                                            const QString& name);

// Adds an entry and returns its key. A name is needed (a country may have a code instead), and no
// other entry may have the same name ignoring case; refusals are reported and add nothing.
std::optional<qint64> AddLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, const QString& name,
                                     const QString& goodCode = {});
// Renames an entry. Refused for the unknown entry, an empty name (a country keeps a code) and a
// name another entry has; changing only the case of a name is allowed.
bool RenameLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id, const QString& name);
// Changes a country's GoodTools codes (empty stores Null); refused for the unknown country and
// for a country that would be left without code and name.
bool SetGoodCode(Catalogue& catalogue, Feedback& feedback, qint64 countryId, const QString& goodCode);

// How many games use the entry (for genres: how many genre links).
std::optional<int> GamesUsingEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id);

enum class LookupDeletion { Deleted, Declined, Refused, Failed };
// Deletes an entry. When games use it, the question kDeleteLookupQuestion decides; on Yes the
// games get the unknown entry instead (a game whose only genre it was gets "[Unknown]", the
// others just lose the link, and their genre counts follow).
LookupDeletion DeleteLookupEntry(Catalogue& catalogue, Feedback& feedback, LookupKind kind, qint64 id);

// Batch update: every game of the entry named `from` gets the entry named `to` instead. A new `to`
// name is added first for genres and makers; a country must exist. The `from` entry stays. For
// genres a game never ends with the same genre twice, nor with "[Unknown]" beside a real genre.
// Returns how many games changed; nullopt on failure or refusal (reported).
std::optional<int> MoveLookupGames(Catalogue& catalogue, Lookups& lookups, Feedback& feedback, LookupKind kind,
                                   const QString& from, const QString& to);

}  // namespace quillon
