#include "scan/GameDeletion.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "scan/RomDiscovery.h"

#include <QFile>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("delgame");

// The ROM files of a game of the system (no row when it has no ROM folder).
QStringList RomFilesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 gameId)
{
  QStringList files;
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kRoutine,
                       QStringLiteral("SELECT File.File FROM File INNER JOIN Games ON File.GameID = Games.GameID "
                                      "WHERE Games.GameID = ? AND Games.System = ?"),
                       {gameId, systemId});
  if (rows) {
    for (const QVariantList& row : rows->All())
      files << row[0].toString();
  }
  return files;
}

bool DeleteOne(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 gameId, DeleteMode mode,
               DeletionResult& result)
{
  if (mode == DeleteMode::ListOnly) {
    return catalogue.Execute(
        feedback, kRoutine,
        QStringLiteral("UPDATE Games SET Selected = 0, Available = 0 WHERE GameID = ? AND System = ?"),
        {gameId, systemId});
  }
  if (mode == DeleteMode::ComputerAndDatabase) {
    for (const QString& file : RomFilesOf(catalogue, feedback, systemId, gameId)) {
      if (FileExists(file) && QFile::remove(file))
        ++result.filesDeleted;
    }
  }
  Transaction transaction(catalogue);
  const bool ok =
      catalogue.Execute(feedback, kRoutine,
                        QStringLiteral("DELETE FROM SubGenres WHERE GameID IN "
                                       "(SELECT GameID FROM Games WHERE GameID = ? AND System = ?)"),
                        {gameId, systemId}) &&
      catalogue.Execute(feedback, kRoutine, QStringLiteral("DELETE FROM Games WHERE GameID = ? AND System = ?"),
                        {gameId, systemId});
  return ok && transaction.Commit();
}

}  // namespace

DeletionResult DeleteGames(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const QList<qint64>& gameIds,
                           DeleteMode mode)
{
  DeletionResult result;
  for (const qint64 gameId : gameIds) {
    if (!DeleteOne(catalogue, feedback, systemId, gameId, mode, result)) {
      result.ok = false;
      continue;
    }
    ++result.games;
    feedback.Yield();
  }
  return result;
}

}  // namespace quillon
