#include "scan/ScanRun.h"

#include "catalogue/DeliveredSystems.h"

namespace quillon::scanning {

ScanStatements::ScanStatements(Catalogue& catalogue)
    : markMissing(catalogue, QStringLiteral("UPDATE Games SET Available = 0 WHERE GameID = ?")),
      resetResume(catalogue, QStringLiteral("UPDATE System SET ResumePosition = 0 WHERE SystemID = ? AND "
                                            "ResumePosition IS NOT 0")),
      // A key bound as Null and a set keep flag keep what is stored.
      update(catalogue,
             QStringLiteral("UPDATE Games SET Year = coalesce(?, Year), Manufacturer = coalesce(?, Manufacturer), "
                            "Country = coalesce(?, Country), Image = CASE WHEN ? THEN Image ELSE ? END, Genre = ?, "
                            "RomPath = ?, Available = 1, Selected = 1, Edited = 1 WHERE GameID = ?")),
      // FileName is indexed: it is written only when it changed.
      rename(catalogue, QStringLiteral("UPDATE Games SET FileName = ? WHERE GameID = ?")),
      insertGames(catalogue,
                  QStringLiteral("INSERT INTO Games (FullName, FileName, Country, Image, Year, Manufacturer, "
                                 "RomPath, Genre, System, Available, Selected, Edited) VALUES "),
                  QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, 1, 1, 1)"), 9),
      linkGames(catalogue, QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) VALUES "), QStringLiteral("(?, ?)"),
                2),
      imageOf(catalogue, QStringLiteral("SELECT Image FROM Games WHERE GameID = ?")),
      storeReason(catalogue, QStringLiteral("INSERT OR REPLACE INTO ") + kMissingFilesTable +
                                 QStringLiteral(" (GameID, Reason) VALUES (?, ?)")),
      dropReason(catalogue, QStringLiteral("DELETE FROM ") + kMissingFilesTable + QStringLiteral(" WHERE GameID = ?"))
{
}

bool ScanRun::RecordIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written,
                               const std::vector<int>& missing, SqlFailure* failure)
{
  const bool stored = m_statements.storeReason.IsValid();
  for (const auto& [change, gameId] : written) {
    if (!change->incomplete.isEmpty()) {
      if (!MarkGameMissing(gameId, failure) || (stored && !StoreReason(gameId, change->incomplete, failure)))
        return false;
    } else if (m_incompleteGames.contains(gameId) && !DropReason(gameId, failure)) {
      return false;
    }
  }
  for (const int position : missing) {
    const qint64 gameId = m_games.Game(position).gameId;
    if (m_incompleteGames.contains(gameId) && !DropReason(gameId, failure))
      return false;
  }
  return true;
}

void ScanRun::NoteIncomplete(const std::vector<std::pair<const FoundGame*, qint64>>& written,
                             const std::vector<int>& missing)
{
  for (const auto& [change, gameId] : written) {
    if (change->incomplete.isEmpty())
      m_incompleteGames.remove(gameId);
    else if (m_statements.storeReason.IsValid())
      m_incompleteGames.insert(gameId);
  }
  for (const int position : missing)
    m_incompleteGames.remove(m_games.Game(position).gameId);
}

bool ScanRun::MarkGameMissing(qint64 gameId, SqlFailure* failure)
{
  BulkStatement& mark = m_statements.markMissing;
  mark.Bind(1, gameId);
  if (mark.Execute())
    return true;
  *failure = mark.Failure();
  return false;
}

bool ScanRun::StoreReason(qint64 gameId, const QString& reason, SqlFailure* failure)
{
  BulkStatement& store = m_statements.storeReason;
  store.Bind(1, gameId);
  store.Bind(2, reason);
  if (store.Execute())
    return true;
  *failure = store.Failure();
  return false;
}

bool ScanRun::DropReason(qint64 gameId, SqlFailure* failure)
{
  BulkStatement& drop = m_statements.dropReason;
  drop.Bind(1, gameId);
  if (drop.Execute())
    return true;
  *failure = drop.Failure();
  return false;
}

bool ScanRun::UpdateGame(const ScanRow& row, const FoundGame& change)
{
  if (change.unchanged)
    return true;
  const GameUpdate& update = change.update;
  const qint64 gameId = m_games.Game(change.position).gameId;
  BulkStatement& rename = m_statements.rename;
  if (change.fileNameChanged) {
    rename.Bind(1, update.fileName);
    rename.Bind(2, gameId);
    if (!rename.Execute()) {
      AddErrorLine(rename.Failure().description);
      return false;
    }
  }
  BulkStatement& statement = m_statements.update;
  BindKey(statement, 1, update.year);
  BindKey(statement, 2, update.manufacturer);
  BindKey(statement, 3, update.country);
  statement.Bind(4, qint64(update.keepImage ? 1 : 0));
  BindImage(statement, 5, update.image);
  statement.Bind(6, qint64(update.genreCount));
  statement.Bind(7, row.pathId);
  statement.Bind(8, gameId);
  if (!statement.Execute()) {
    AddErrorLine(statement.Failure().description);
    return false;
  }
  return true;
}

void ScanRun::InsertGames(const ScanRow& row, const std::vector<const FoundGame*>& games,
                          std::vector<std::pair<const FoundGame*, qint64>>& written, QList<qint64>& newGames)
{
  if (games.empty())
    return;
  const auto bind = [&](BulkStatement& insert, int index, int first) {
    const FoundGame& game = *games[static_cast<size_t>(index)];
    insert.Bind(first, game.fullName);
    insert.Bind(first + 1, game.update.fileName);
    BindKey(insert, first + 2, game.update.country);
    BindImage(insert, first + 3, game.update.image);
    BindKey(insert, first + 4, game.update.year);
    BindKey(insert, first + 5, game.update.manufacturer);
    insert.Bind(first + 6, row.pathId);
    insert.Bind(first + 7, qint64(game.update.genreCount));
    insert.Bind(first + 8, row.systemId);
  };
  const std::vector<std::optional<qint64>> keys = m_statements.insertGames.Insert(
      static_cast<int>(games.size()), bind, [&](int, const SqlFailure& failure) { AddErrorLine(failure.description); });
  for (size_t i = 0; i < games.size(); ++i) {
    if (!keys[i])
      continue;
    newGames << *keys[i];
    written.emplace_back(games[i], *keys[i]);
  }
}

void ScanRun::BindKey(BulkStatement& statement, int position, const std::optional<qint64>& key)
{
  if (key)
    statement.Bind(position, *key);
  else
    statement.BindNull(position);
}

void ScanRun::BindImage(BulkStatement& statement, int position, const QString& image)
{
  if (image.isEmpty())
    statement.BindNull(position);
  else
    statement.Bind(position, image);
}

bool ScanRun::MarkMissing(const std::vector<int>& missing, SqlFailure* failure)
{
  BulkStatement& mark = m_statements.markMissing;
  for (const int position : missing) {
    mark.Bind(1, m_games.Game(position).gameId);
    if (!mark.Execute()) {
      *failure = mark.Failure();
      return false;
    }
  }
  return true;
}

bool ScanRun::ResetResumePosition(qint64 systemId, SqlFailure* failure)
{
  BulkStatement& reset = m_statements.resetResume;
  reset.Bind(1, systemId);
  if (reset.Execute())
    return true;
  *failure = reset.Failure();
  return false;
}

void ScanRun::FolderNotSaved(const SqlFailure& failure)
{
  AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folder's changes could not be saved.")
                                             : failure.description);
  m_allLinked = false;
  m_systemLoaded = m_games.Load(m_catalogue, m_feedback, kRoutine, m_systemId);
}

void ScanRun::BeginBatch()
{
  if (m_batch)
    return;
  m_batch.emplace(m_catalogue);
  m_batchAge.start();
  m_batchAdded = 0;
  m_batchUpdated = 0;
}

void ScanRun::CommitBatch()
{
  if (!m_batch)
    return;
  SqlFailure failure;
  const bool committed = !m_batch->IsActive() || m_batch->Commit(&failure);
  m_batch.reset();
  if (committed)
    return;
  m_summary.gamesAdded -= m_batchAdded;
  m_summary.gamesUpdated -= m_batchUpdated;
  m_missingCounted = false;
  AddErrorLine(failure.description.isEmpty() ? QStringLiteral("The folders' changes could not be saved.")
                                             : failure.description);
  m_allLinked = false;
  if (m_systemLoaded)
    m_systemLoaded = m_games.Load(m_catalogue, m_feedback, kRoutine, m_systemId);
}

bool ScanRun::LinkGamesWithoutGenre(const QList<qint64>& newGames, SqlFailure* failure)
{
  const QVariant unknown = m_lookups.GetGen(kUnknownGenreName, true);
  const qint64 genreId = unknown.isValid() ? unknown.toLongLong() : kUnknownGenre;
  if (!m_allLinked) {
    m_allLinked = m_catalogue.TryExecute(
        QStringLiteral("INSERT INTO SubGenres (GameID, GenreID) SELECT Games.GameID, ? FROM Games "
                       "WHERE NOT EXISTS (SELECT 1 FROM SubGenres WHERE SubGenres.GameID = Games.GameID)"),
        {genreId}, failure);
    return m_allLinked;
  }
  bool linked = true;
  m_statements.linkGames.Insert(
      static_cast<int>(newGames.size()),
      [&](BulkStatement& link, int index, int first) {
        link.Bind(first, newGames[index]);
        link.Bind(first + 1, genreId);
      },
      [&](int, const SqlFailure& linkFailure) {
        if (linked)
          *failure = linkFailure;
        linked = false;
      });
  return linked;
}

}  // namespace quillon::scanning
