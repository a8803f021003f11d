#include "export/SaveAsH2Query.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("AddH2");

}  // namespace

QString SaveAsH2Definition()
{
  return QStringLiteral(
      "CREATE VIEW SaveAsH2 AS "
      "SELECT Games.GameID, System.System, Games.FullName, Games.FileName, File.File, Year.Year, "
      "Manufacturer.Manufacturer, Country.Country, Games.Description, Games.Image AS FirstOfImage, "
      "System.SystemID, "
      "CASE WHEN Games.Image IS NULL THEN NULL "
      "ELSE coalesce(System.DefaultImagePath, '') || Games.Image END AS FullImage, "
      "Games.Rating, "
      "(SELECT SubGenres.GenreID FROM SubGenres WHERE SubGenres.GameID = Games.GameID "
      "ORDER BY SubGenres.rowid LIMIT 1) AS FirstOfGenreID, "
      "Games.Edited, Games.Emulator AS Emu "
      "FROM Year "
      "INNER JOIN Games ON Year.YearID = Games.Year "
      "INNER JOIN Manufacturer ON Manufacturer.ManufacturerID = Games.Manufacturer "
      "INNER JOIN System ON System.SystemID = Games.System "
      "INNER JOIN Country ON Country.CountryID = Games.Country "
      "INNER JOIN File ON Games.GameID = File.GameID "
      "WHERE Games.Selected <> 0 AND Games.Available <> 0 "
      "AND EXISTS (SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID)");
}

bool AddH2(Catalogue& catalogue, Feedback& feedback)
{
  Transaction transaction(catalogue);
  if (!catalogue.Execute(feedback, kRoutine, QStringLiteral("DROP VIEW IF EXISTS SaveAsH2")) ||
      !catalogue.Execute(feedback, kRoutine, SaveAsH2Definition()))
    return false;
  SqlFailure failure;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, kRoutine, failure.description);
    return false;
  }
  return true;
}

}  // namespace quillon
