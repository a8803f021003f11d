#include "export/frontends/ExportedGame.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlQuery>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("ReadExportedGames");
constexpr int kMaxRating = 10;

enum Column {
  kGameId,
  kFullName,
  kFileName,
  kRomFolder,
  kYear,
  kMaker,
  kCountry,
  kOverview,
  kRating,
  kImage,
  kSelected,
  kEmulator,
  kGenre,
};

QString Text(const QSqlQuery& query, int column)
{
  const QVariant value = query.value(column);
  return value.isNull() ? QString() : value.toString();
}

QString Known(const QString& value)
{
  return value == kUnknownGenreName ? QString() : value.trimmed();
}

QString WithSlash(const QString& folder)
{
  return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString LineEndsAsLf(QString text)
{
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

std::optional<int> RatingOf(const QVariant& value)
{
  bool ok = false;
  const int rating = value.toInt(&ok);
  if (value.isNull() || !ok || rating <= 0)
    return std::nullopt;
  return std::min(rating, kMaxRating);
}

QString TitleOf(const QString& fullName, const QString& fileName, bool removeText)
{
  const qsizetype bracket = fullName.indexOf(QLatin1Char('('));
  const QString title = (removeText && bracket >= 0 ? fullName.left(bracket) : fullName).trimmed();
  return title.isEmpty() ? QFileInfo(fileName).completeBaseName() : title;
}

// The picture as stored: an absolute path, or a name in the system's picture folder.
QString PictureOf(const QString& image, const QString& imageFolder)
{
  if (image.isEmpty() || QFileInfo(image).isAbsolute())
    return image;
  return WithSlash(imageFolder) + image;
}

ExportedGame GameFromRow(const QSqlQuery& query, const FrontendSystem& system, const QString& imageFolder)
{
  ExportedGame game;
  game.gameId = query.value(kGameId).toLongLong();
  game.fileName = Text(query, kFileName);
  const bool absolute = QFileInfo(game.fileName).isAbsolute();
  game.romFolder = absolute ? QString() : WithSlash(Text(query, kRomFolder));
  const bool located = !game.fileName.isEmpty() && (absolute || !game.romFolder.isEmpty());
  game.path = located ? QDir::cleanPath(game.romFolder + game.fileName) : QString();
  game.title = TitleOf(Text(query, kFullName), game.fileName, system.removeText);
  game.year = FourDigitYear(Text(query, kYear));
  game.maker = Known(Text(query, kMaker));
  game.country = Known(Text(query, kCountry));
  game.overview = LineEndsAsLf(Text(query, kOverview)).trimmed();
  game.rating = RatingOf(query.value(kRating));
  game.picture = PictureOf(Text(query, kImage), imageFolder);
  game.selected = IsTrue(query.value(kSelected));
  game.emulator = Text(query, kEmulator).trimmed();
  return game;
}

QStringList CleanExtensions(const QString& defaultRomType)
{
  QStringList extensions;
  for (QString extension : defaultRomType.split(QLatin1Char(';'))) {
    extension = extension.trimmed();
    while (extension.startsWith(QLatin1Char('.')))
      extension.remove(0, 1);
    if (!extension.isEmpty() && !extensions.contains(extension, Qt::CaseInsensitive))
      extensions << extension;
  }
  return extensions;
}

}  // namespace

std::optional<FrontendSystem> ReadFrontendSystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<SystemNames> names = SystemNamesOf(catalogue, feedback, systemId);
  if (!names)
    return std::nullopt;
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine,
      QStringLiteral("SELECT System, DefaultRomType, Emulator, DropRoms, RemoveText FROM System WHERE SystemID = ?"),
      {systemId});
  const std::optional<Rows> folders = catalogue.Select(
      feedback, kRoutine, QStringLiteral("SELECT RomPath FROM RomPath WHERE System = ? ORDER BY PathID"), {systemId});
  if (!rows || rows->IsEmpty() || !folders)
    return std::nullopt;
  FrontendSystem system;
  system.id = systemId;
  system.name = rows->Value(0, 0).toString();
  system.names = *names;
  system.extensions = CleanExtensions(rows->Value(0, 1).toString());
  system.emulator = rows->Value(0, 2).toString().trimmed();
  system.dropRoms = IsTrue(rows->Value(0, 3));
  system.removeText = IsTrue(rows->Value(0, 4));
  for (const QVariantList& folder : folders->All()) {
    if (!folder.value(0).toString().isEmpty())
      system.romFolders << WithSlash(folder.value(0).toString());
  }
  return system;
}

std::optional<std::vector<ExportedGame>> ReadExportedGames(Catalogue& catalogue, Feedback& feedback,
                                                           const FrontendSystem& system, bool allGames)
{
  const std::optional<QVariant> imageFolder = catalogue.SelectValue(
      feedback, kRoutine, QStringLiteral("SELECT DefaultImagePath FROM System WHERE SystemID = ?"), {system.id});
  if (!imageFolder)
    return std::nullopt;
  // One row per genre link (or one without a genre): consecutive rows of a game fold into its record.
  QString sql = QStringLiteral(
      "SELECT Games.GameID, Games.FullName, Games.FileName, RomPath.RomPath, Year.Year, "
      "Manufacturer.Manufacturer, Country.Country, Games.Description, Games.Rating, Games.Image, Games.Selected, "
      "Games.Emulator, Genres.GenreName "
      "FROM Games LEFT JOIN RomPath ON RomPath.PathID = Games.RomPath "
      "LEFT JOIN Year ON Year.YearID = Games.Year "
      "LEFT JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
      "LEFT JOIN Country ON Country.CountryID = Games.Country "
      "LEFT JOIN SubGenres ON SubGenres.GameID = Games.GameID "
      "LEFT JOIN Genres ON Genres.GenreID = SubGenres.GenreID "
      "WHERE Games.System = ? AND Games.Available <> 0 ");
  if (!allGames)
    sql += QStringLiteral("AND Games.Selected <> 0 ");
  sql += QStringLiteral("ORDER BY Games.FullName, Games.GameID, SubGenres.rowid");
  const QString folder = imageFolder->isValid() && !imageFolder->isNull() ? imageFolder->toString() : QString();
  std::vector<ExportedGame> games;
  const bool read = catalogue.ForEachRow(feedback, kRoutine, sql, {system.id}, [&](const QSqlQuery& query) {
    const qint64 gameId = query.value(kGameId).toLongLong();
    if (games.empty() || games.back().gameId != gameId)
      games.push_back(GameFromRow(query, system, folder));
    const QString genre = Known(Text(query, kGenre));
    if (!genre.isEmpty() && !games.back().genres.contains(genre))
      games.back().genres << genre;
    return true;
  });
  if (!read)
    return std::nullopt;
  return games;
}

QString FourDigitYear(const QString& year)
{
  static const QRegularExpression fourDigits(QStringLiteral("^\\d{4}$"));
  const QString trimmed = year.trimmed();
  return fourDigits.match(trimmed).hasMatch() ? trimmed : QString();
}

}  // namespace quillon
