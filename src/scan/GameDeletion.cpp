#include "scan/GameDeletion.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "common/Paths.h"

#include <QDir>
#include <QFile>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("delgame");

// Reports a failure of our own and keeps its text for the caller, whose list refresh may write
// over the status line.
void Fail(Feedback& feedback, DeletionResult& result, int number, const QString& description)
{
  ReportError(feedback, number, kRoutine, description);
  result.error = ErrorReportText(number, kRoutine, description);
}

// The keys of `gameIds` that are no game of the system; nullopt when they could not be read.
std::optional<QList<qint64>> ForeignGames(Catalogue& catalogue, Feedback& feedback, qint64 systemId,
                                          const QList<qint64>& gameIds)
{
  QList<qint64> foreign;
  for (const qint64 gameId : gameIds) {
    const std::optional<QVariant> found = catalogue.SelectValue(
        feedback, kRoutine, QStringLiteral("SELECT 1 FROM Games WHERE GameID = ? AND System = ?"), {gameId, systemId});
    if (!found)
      return std::nullopt;
    if (!found->isValid())
      foreign << gameId;
  }
  return foreign;
}

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

// Removes the game's ROM files from disk. A game none of whose files could be removed (none on
// disk, or the removal failed) is reported, so that its row is kept: the user asked for the file
// to go, and the row still says where it was.
bool DeleteRomFiles(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 gameId, DeletionResult& result)
{
  const QStringList files = RomFilesOf(catalogue, feedback, systemId, gameId);
  int removed = 0;
  for (const QString& file : files) {
    if (!FileExists(file))
      continue;
    if (!QFile::remove(file)) {
      Fail(feedback, result, kPathFileAccessError,
           QStringLiteral("Cannot delete %1; the game was kept.").arg(QDir::toNativeSeparators(file)));
      return false;
    }
    ++removed;
  }
  if (removed == 0) {
    Fail(feedback, result, kFileNotFound,
         files.isEmpty()
             ? QStringLiteral("Game %1 has no ROM folder, so no file was deleted; the game was kept (removing its "
                              "database entry deletes it).")
                   .arg(gameId)
             : QStringLiteral("%1 is not on disk; the game was kept (removing its database entry deletes it).")
                   .arg(QDir::toNativeSeparators(files.join(QStringLiteral(", ")))));
    return false;
  }
  result.filesDeleted += removed;
  return true;
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
  if (mode == DeleteMode::ComputerAndDatabase && !DeleteRomFiles(catalogue, feedback, systemId, gameId, result))
    return false;
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
  // A key that is no game of the system is a mistake in the request: nothing is done.
  const std::optional<QList<qint64>> foreign = ForeignGames(catalogue, feedback, systemId, gameIds);
  if (!foreign || !foreign->isEmpty()) {
    if (foreign) {
      QStringList keys;
      for (const qint64 gameId : *foreign)
        keys << QString::number(gameId);
      Fail(feedback, result, kNoCurrentRecord,
           QStringLiteral("No game %1 in this system; nothing was deleted.").arg(keys.join(QStringLiteral(", "))));
    }
    result.ok = false;
    return result;
  }
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

std::optional<QList<qint64>> TickedGameIds(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows =
      catalogue.Select(feedback, kRoutine,
                       QStringLiteral("SELECT GameID FROM Games WHERE System = ? AND Selected <> 0 AND Available <> 0 "
                                      "AND RomPath IS NOT NULL ORDER BY GameID"),
                       {systemId});
  if (!rows)
    return std::nullopt;
  QList<qint64> games;
  for (const QVariantList& row : rows->All())
    games << row[0].toLongLong();
  return games;
}

}  // namespace quillon
