#pragma once
// The game list of one system: its query with the four filters, the colour that tells what a
// game lacks, the count text, and the check marks written back at once.
#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace quillon {

class Catalogue;
class Feedback;

enum class GameView { Available, Missing };
// The clone marks of the View menu: neither marked hides clones; they apply to system 1 only.
struct CloneMarks {
  bool includeClones = false;  // "Include Clones"
  bool clonesOnly = false;     // "Clones Only"
};
// The missing-data filter chosen from the legend; empty text means none.
inline const QStringList kMissingFilters{QStringLiteral("Country"),  QStringLiteral("Year"),
                                         QStringLiteral("Genre"),    QStringLiteral("Manf"),
                                         QStringLiteral("Overview"), QStringLiteral("Image")};

struct ListFilters {
  qint64 systemId = 0;
  GameView view = GameView::Available;
  CloneMarks clones;
  std::optional<qint64> genreId;  // only games linked to this genre
  QString missingFilter;          // one of kMissingFilters, or empty
  // Only games with this identification result (GameMatch.Status; 0 for games not verified).
  std::optional<int> matchStatus;
};

// One row of the list, with what its colour is computed from.
struct GameRow {
  qint64 gameId = 0;
  QString fullName;
  bool selected = false;
  bool hasDescription = false;
  // The image folder joined to the picture name names a picture: there is a picture name, and
  // the path is neither empty nor a folder (ending with "/" or "\").
  bool hasPicture = false;
  qint64 manufacturer = 0;
  qint64 year = 0;
  qint64 country = 0;
  qint64 firstGenreId = 0;  // the game's first genre link
  int matchStatus = 0;      // the identification result of the game's present file; 0 when not verified
  QString matchName;        // the standard name (or the candidates) the result names
  QString fileName;
  QVariant rating;      // Null without rating
  QString pictureFile;  // the stored path when absolute, else in the system's folder; empty without picture
};

// Colour literals of the missing data (blue-green-red, as "&H..." texts).
inline const QString kColourOverview = QStringLiteral("&H000080FF");
inline const QString kColourImage = QStringLiteral("&H0040C0");
inline const QString kColourCountry = QStringLiteral("&H900099");
inline const QString kColourManufacturer = QStringLiteral("&HFF0000");
inline const QString kColourYear = QStringLiteral("&H669900");
inline const QString kColourGenre = QStringLiteral("&H000000FF");
inline const QString kColourMultiple = QStringLiteral("&H993333");

// What a row lacks, tested in this order: overview, picture, country, manufacturer, year, genre.
struct MissingData {
  bool overview = false;
  bool image = false;
  bool country = false;
  bool manufacturer = false;
  bool year = false;
  bool genre = false;
};
MissingData MissingDataOf(const GameRow& row);
// The colour literal of a row: the first missing piece's, "&H993333" for two or more, empty for none.
QString ListColour(const MissingData& missing);
inline QString ListColour(const GameRow& row)
{
  return ListColour(MissingDataOf(row));
}
// A "&H..." literal as a colour (its hexadecimal digits are blue, green, red).
QColor ColourFromLiteral(const QString& literal);

// The names a row's keys stand for in the list's columns, each with its place in name order, so
// that a column sorts by comparing small numbers. The "[Unknown]" entries have no name here and
// sort after every name.
class NameTable {
 public:
  void Append(qint64 key, const QString& name);
  QString Name(qint64 key) const;
  int Rank(qint64 key) const;

 private:
  QHash<qint64, int> m_rankOf;
  QStringList m_names;
};
struct ListNames {
  NameTable countries;
  NameTable years;
  NameTable manufacturers;
  NameTable genres;
};
// Every country, year, maker and genre name; tables that cannot be read stay empty (reported).
ListNames LoadListNames(Catalogue& catalogue, Feedback& feedback);

// The rows of the list, ordered by full name: games of the system that have at least one genre
// link, through the filters. Failures are reported with `routine`'s tag; nullopt then. When
// `viewCount` is given it receives what ViewCount would give, from the same pass.
std::optional<std::vector<GameRow>> GameListQuery(Catalogue& catalogue, Feedback& feedback, const ListFilters& filters,
                                                  const QString& routine = QStringLiteral("FilterGenre"),
                                                  int* viewCount = nullptr);

// How many games of the system are in the view (available or not): the M of the count text.
int ViewCount(Catalogue& catalogue, Feedback& feedback, qint64 systemId, GameView view);

// A system's games in each view, counted as ViewCount counts them.
struct GameCounts {
  int available = 0;
  int missing = 0;
  int In(GameView view) const { return view == GameView::Available ? available : missing; }
  int Total() const { return available + missing; }
};
// The counts of every system that has games, by system key; nullopt when they cannot be read.
std::optional<QHash<qint64, GameCounts>> GameCountsBySystem(Catalogue& catalogue, Feedback& feedback);
// "Created list of N / M games."
QString ListCountText(int rows, int count);

// Writes one game's check mark.
bool SetSelected(Catalogue& catalogue, Feedback& feedback, qint64 gameId, bool selected);

// Check All / Uncheck All: one statement over the system's games of the view, with the list's
// clone rule (genre and missing-data filters do not narrow it).
bool CheckAll(Catalogue& catalogue, Feedback& feedback, qint64 systemId, bool mark, GameView view,
              const CloneMarks& clones);

}  // namespace quillon
