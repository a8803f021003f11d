#include "catalogue/SavedQueries.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

// What SaveAsMy and SaveAsH2 share up to their genre column. A game's columns are the same in
// every row of its group (GameID is the key), so no First() is needed for them.
const char* const kExportColumns =
    "SELECT Games.GameID, System.System, Games.FullName, Games.FileName, File.File, Year.Year, "
    "Manufacturer.Manufacturer, Country.Country, Games.Description, Games.Image AS FirstOfImage, "
    "System.SystemID, "
    "CASE WHEN Games.Image IS NULL THEN NULL ELSE coalesce(System.DefaultImagePath, '') || Games.Image END "
    "AS FullImage, "
    "Games.Rating";

const char* const kExportJoins =
    " FROM Year"
    " INNER JOIN Games ON Year.YearID = Games.Year"
    " INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer"
    " INNER JOIN System ON System.SystemID = Games.System"
    " INNER JOIN Country ON Country.CountryID = Games.Country";

const char* const kSelectedAndAvailable = " WHERE Games.Selected <> 0 AND Games.Available <> 0";

}  // namespace

QString FileQuery(qint64 zincSystemId)
{
  // Views take no parameters: the key is a number we read from the catalogue, written as digits.
  return QStringLiteral(
             "SELECT Games.GameID, "
             "CASE WHEN Games.System = %1 THEN Games.ExtFile "
             "ELSE coalesce(RomPath.RomPath, '') || coalesce(Games.FileName, '') END AS File "
             "FROM RomPath INNER JOIN Games ON RomPath.PathID = Games.RomPath")
      .arg(zincSystemId);
}

QString SaveAsMyQuery()
{
  return QLatin1String(kExportColumns) + QStringLiteral(", SubGenres.GenreID") + QLatin1String(kExportJoins) +
         QStringLiteral(
             " INNER JOIN SubGenres ON SubGenres.GameID = Games.GameID"
             " INNER JOIN File ON Games.GameID = File.GameID") +
         QLatin1String(kSelectedAndAvailable) + QStringLiteral(" GROUP BY Games.GameID, SubGenres.GenreID");
}

QString SaveAsH2Query()
{
  // A game's first link is its earliest row in SubGenres.
  return QLatin1String(kExportColumns) +
         QStringLiteral(
             ", (SELECT SubGenres.GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID"
             " ORDER BY SubGenres.rowid LIMIT 1) AS FirstOfGenreID, "
             "Games.Edited, Games.Emulator AS Emu") +
         QLatin1String(kExportJoins) + QStringLiteral(" INNER JOIN File ON Games.GameID = File.GameID") +
         QLatin1String(kSelectedAndAvailable) +
         QStringLiteral(" AND EXISTS (SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID)");
}

bool ReplaceView(Catalogue& catalogue, Feedback& feedback, const QString& routine, const QString& name,
                 const QString& select)
{
  if (!IsPlainIdentifier(name)) {
    ReportError(feedback, kInvalidProcedureCall, routine,
                QStringLiteral("Invalid view name ") + name + QLatin1Char('.'));
    return false;
  }
  Transaction transaction(catalogue);
  SqlFailure failure;
  const bool replaced =
      catalogue.TryExecute(QStringLiteral("DROP VIEW IF EXISTS ") + name, {}, &failure) &&
      catalogue.TryExecute(QStringLiteral("CREATE VIEW ") + name + QStringLiteral(" AS ") + select, {}, &failure) &&
      transaction.Commit(&failure);
  if (!replaced)
    ReportError(feedback, failure.number, routine, failure.description);
  return replaced;
}

bool AddH2(Catalogue& catalogue, Feedback& feedback)
{
  return ReplaceView(catalogue, feedback, QStringLiteral("AddH2"), QStringLiteral("SaveAsH2"), SaveAsH2Query());
}

}  // namespace quillon
