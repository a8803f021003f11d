#include "identify/Verification.h"

#include "catalogue/BulkStatement.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Feedback.h"
#include "catalogue/Lookups.h"
#include "common/Paths.h"
#include "common/SheetFiles.h"
#include "identify/GameFill.h"
#include "identify/HashCache.h"

#include <QDateTime>

#include <algorithm>
#include <set>

namespace quillon {

namespace {

const QString kRoutine = QStringLiteral("VerifyRoms");
constexpr int kYieldEvery = 10;

struct StoredGame {
  GameFacts facts;
  QString folder;  // the ROM folder, ending in "/"; empty when the game has none
};

std::optional<std::vector<StoredGame>> GamesOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.Select(
      feedback, kRoutine,
      QStringLiteral("SELECT Games.GameID, Games.FullName, Games.FileName, Games.Year, Games.Manufacturer, "
                     "Games.Country, Games.Clone, RomPath.RomPath FROM Games "
                     "LEFT JOIN RomPath ON RomPath.PathID = Games.RomPath WHERE Games.System = ? ORDER BY GameID"),
      {systemId});
  if (!rows)
    return std::nullopt;
  std::vector<StoredGame> games;
  games.reserve(static_cast<size_t>(rows->Count()));
  for (const QVariantList& row : rows->All()) {
    StoredGame game;
    game.facts = {row[0].toLongLong(), row[1].toString(),   row[2].toString(), row[3].toLongLong(),
                  row[4].toLongLong(), row[5].toLongLong(), IsTrue(row[6])};
    game.folder = row[7].toString();
    games.push_back(std::move(game));
  }
  return games;
}

// The file's name without folder and extension, as the lists' names are compared with it.
QString BaseNameOf(const QString& fileName)
{
  const QString name = fileName.mid(fileName.lastIndexOf(QLatin1Char('/')) + 1);
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.left(dot) : name;
}

VerifySummary Failed(const QString& error)
{
  VerifySummary summary;
  summary.error = error;
  return summary;
}

// Nothing of a cancelled run is kept: its transaction is rolled back.
VerifySummary Cancelled(Feedback& feedback)
{
  feedback.SetProgressValue(0);
  VerifySummary cancelled = Failed(QStringLiteral("the verification was cancelled; nothing was changed"));
  cancelled.cancelled = true;
  return cancelled;
}

// Reads what the cache lacks or what the lists now ask for. False when the file cannot be read.
bool HashWhatIsNeeded(const RomIndex& index, HashCache& cache, const QString& path, const FileStamp& stamp,
                      const VerifyOptions& options, const KeepReading& keepReading, std::vector<HashedItem>& items,
                      bool* read, QString* error)
{
  std::optional<std::vector<HashedItem>> cached = cache.Find(path, stamp);
  bool fresh = false;
  if (cached && std::none_of(cached->begin(), cached->end(),
                             [&index](const HashedItem& item) { return index.LacksRanges(item); })) {
    items = std::move(*cached);
  } else {
    HashedFile hashed = HashFile(path, index.Plan(), keepReading);
    *read = true;
    if (!hashed.ok) {
      *error = hashed.error;
      return false;
    }
    items = std::move(hashed.items);
    fresh = true;
  }
  for (HashedItem& item : items) {
    if (!index.WantsData(item, options.confirmSha1))
      continue;
    *read = true;
    if (!ReadZipMemberData(path, item, index.Plan(), error, keepReading))
      return false;
    fresh = true;
  }
  if (fresh && !cache.Store(path, stamp, items)) {
    *error = QStringLiteral("the checksums could not be kept: ") + cache.LastError();
    return false;
  }
  return true;
}

// The files a disc game's sheet names (tracks, CloneCD image), which disc lists hold together with
// the sheet as one entry; none for other games, and none for playlists, whose discs are entries
// of their own.
QStringList DiscSetFiles(const QString& path)
{
  const QString extension = ExtensionOf(path);
  if (!IsSheetExtension(extension) || IsPlaylistExtension(extension))
    return {};
  const SheetFiles files = ReadSheetFiles(path);
  QStringList present;
  for (const QString& file : files.required + files.optional) {
    if (file != path && FileExists(file) && !present.contains(file))
      present << file;
  }
  return present;
}

// Adds the items of the files of a disc game's set, each under its own name. False (with `error`)
// when one cannot be read; a track that is not there simply finds no entry.
bool HashDiscSet(const RomIndex& index, HashCache& cache, const QString& path, const VerifyOptions& options,
                 const KeepReading& keepReading, std::vector<HashedItem>& items, bool* read, QString* error)
{
  for (const QString& file : DiscSetFiles(path)) {
    const std::optional<FileStamp> stamp = StampOf(file);
    if (!stamp)
      continue;
    std::vector<HashedItem> trackItems;
    if (!HashWhatIsNeeded(index, cache, file, *stamp, options, keepReading, trackItems, read, error)) {
      *error = file + QStringLiteral(": ") + *error;
      return false;
    }
    for (HashedItem& item : trackItems) {
      if (item.member.isEmpty())
        item.member = file.mid(file.lastIndexOf(QLatin1Char('/')) + 1);
      items.push_back(std::move(item));
    }
  }
  return true;
}

}  // namespace

int VerifySummary::CountOf(MatchStatus status) const
{
  return static_cast<int>(
      std::count_if(games.begin(), games.end(), [status](const GameVerdict& game) { return game.status == status; }));
}

VerifySummary VerifySystem(Catalogue& catalogue, Feedback& feedback, qint64 systemId, const VerifyOptions& options)
{
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Reading the reference lists..."));
  const std::optional<RomIndex> index = RomIndex::Load(catalogue, feedback, systemId);
  if (!index)
    return Failed(QStringLiteral("the reference lists could not be read"));
  if (index->ListCount() == 0)
    return Failed(QStringLiteral("the system has no reference list: import a DAT file or a software list first"));
  const std::optional<std::vector<StoredGame>> games = GamesOf(catalogue, feedback, systemId);
  if (!games)
    return Failed(QStringLiteral("the system's games could not be read"));
  HashCache cache(catalogue);
  BulkStatement store(catalogue,
                      QStringLiteral("INSERT OR REPLACE INTO GameMatch (GameID, FileName, Status, StandardName, "
                                     "ListID, Checked) VALUES (?, ?, ?, ?, ?, ?)"));
  BulkStatement forget(catalogue, QStringLiteral("DELETE FROM GameMatch WHERE GameID = ?"));
  if (!cache.IsValid() || !store.IsValid() || !forget.IsValid())
    return Failed(QStringLiteral("the catalogue has no tables for verification"));

  Transaction transaction(catalogue);
  Lookups lookups(catalogue, feedback);
  VerifySummary summary;
  summary.lists = index->ListCount();
  summary.listEntries = index->EntryCount();
  std::set<int> had;
  const QString checked = QDateTime::currentDateTime().toString(Qt::ISODate);
  feedback.SetStatus(StatusKind::Text, QStringLiteral("Verifying the ROM files..."));
  feedback.SetProgressMaximum(static_cast<int>(games->size()));
  bool writeFailed = false;
  int position = 0;
  // A disc image of several GB is read with the window kept alive and Cancel heard.
  const KeepReading keepReading = [&feedback] {
    feedback.Yield();
    return !feedback.IsCancelled();
  };
  for (const StoredGame& game : *games) {
    feedback.SetProgressValue(++position);
    if (position % kYieldEvery == 0)
      feedback.Yield();
    if (feedback.IsCancelled())
      return Cancelled(feedback);
    const QString path = game.folder + game.facts.fileName;
    const std::optional<FileStamp> stamp =
        game.folder.isEmpty() || game.facts.fileName.isEmpty() ? std::nullopt : StampOf(path);
    if (!stamp) {
      ++summary.notOnDisk;
      forget.Bind(1, game.facts.gameId);
      writeFailed |= !forget.Execute();
      continue;
    }
    std::vector<HashedItem> items;
    bool read = false;
    QString error;
    const bool hashed = HashWhatIsNeeded(*index, cache, path, *stamp, options, keepReading, items, &read, &error) &&
                        HashDiscSet(*index, cache, path, options, keepReading, items, &read, &error);
    summary.filesRead += read ? 1 : 0;
    if (!hashed) {
      summary.unreadable << path + QStringLiteral(": ") + error;
      forget.Bind(1, game.facts.gameId);
      writeFailed |= !forget.Execute();
      continue;
    }
    const MatchResult match = index->Match(items, BaseNameOf(game.facts.fileName));
    GameVerdict verdict;
    verdict.gameId = game.facts.gameId;
    verdict.fileName = game.facts.fileName;
    verdict.status = match.status;
    qint64 listId = 0;
    if (match.entry >= 0) {
      const IndexEntry& entry = index->Entry(match.entry);
      verdict.standardName = entry.standardName;
      verdict.listName = entry.listName;
      listId = entry.listId;
      had.insert(match.entry);
      verdict.filled = FillFromEntry(catalogue, lookups, game.facts, entry, &writeFailed);
    } else if (match.status == MatchStatus::Ambiguous) {
      for (const int candidate : match.candidates)
        verdict.candidates << index->Entry(candidate).standardName;
    }
    store.Bind(1, verdict.gameId);
    store.Bind(2, verdict.fileName);
    store.Bind(3, qint64(verdict.status));
    store.Bind(4,
               verdict.standardName.isEmpty() ? verdict.candidates.join(QStringLiteral(" | ")) : verdict.standardName);
    store.Bind(5, listId == 0 ? QVariant() : QVariant(listId));
    store.Bind(6, checked);
    writeFailed |= !store.Execute();
    summary.games.push_back(std::move(verdict));
  }
  if (feedback.IsCancelled())
    return Cancelled(feedback);
  feedback.SetProgressValue(0);
  if (writeFailed) {
    ReportError(feedback, store.Failure().number, kRoutine, store.Failure().description);
    return Failed(QStringLiteral("the results could not be written to the catalogue"));
  }
  SqlFailure failure;
  if (!transaction.Commit(&failure)) {
    ReportError(feedback, failure.number, kRoutine, failure.description);
    return Failed(QStringLiteral("the results could not be written to the catalogue"));
  }
  summary.have = static_cast<int>(had.size());
  summary.missing = summary.listEntries - summary.have;
  summary.ok = true;
  feedback.SetStatus(StatusKind::Text, VerifySummaryText(summary));
  return summary;
}

QString VerifySummaryText(const VerifySummary& summary)
{
  QStringList counts;
  for (const MatchStatus status : {MatchStatus::Verified, MatchStatus::Rename, MatchStatus::BadDump,
                                   MatchStatus::NotInList, MatchStatus::Ambiguous})
    counts << QStringLiteral("%1 %2").arg(MatchStatusText(status)).arg(summary.CountOf(status));
  QString text = QStringLiteral("Have %1 / missing from the list %2. ").arg(summary.have).arg(summary.missing) +
                 counts.join(QStringLiteral(", ")) + QLatin1Char('.');
  if (summary.notOnDisk > 0)
    text += QStringLiteral(" %1 not on disk.").arg(summary.notOnDisk);
  if (!summary.unreadable.isEmpty())
    text += QStringLiteral(" %1 unreadable.").arg(summary.unreadable.size());
  return text;
}

bool HasVerificationResults(Catalogue& catalogue, qint64 systemId)
{
  const std::optional<Rows> rows =
      catalogue.TrySelect(QStringLiteral("SELECT 1 FROM GameMatch INNER JOIN Games ON Games.GameID = GameMatch.GameID "
                                         "WHERE Games.System = ? LIMIT 1"),
                          {systemId}, nullptr);
  return rows && !rows->IsEmpty();
}

QString IdentifiedName(Catalogue& catalogue, qint64 gameId)
{
  const std::optional<Rows> rows = catalogue.TrySelect(
      QStringLiteral(
          "SELECT GameMatch.StandardName FROM GameMatch INNER JOIN Games ON Games.GameID = GameMatch.GameID "
          "WHERE GameMatch.GameID = ? AND GameMatch.FileName = Games.FileName AND GameMatch.Status IN (?, ?, ?)"),
      {gameId, qint64(MatchStatus::Verified), qint64(MatchStatus::Rename), qint64(MatchStatus::BadDump)}, nullptr);
  return rows && !rows->IsEmpty() ? rows->Value(0, 0).toString() : QString();
}

bool HasIdentifiedGames(Catalogue& catalogue, qint64 systemId)
{
  const std::optional<Rows> rows = catalogue.TrySelect(
      QStringLiteral("SELECT 1 FROM GameMatch INNER JOIN Games ON Games.GameID = GameMatch.GameID "
                     "WHERE Games.System = ? AND GameMatch.FileName = Games.FileName AND GameMatch.Status IN (?, ?, ?) "
                     "LIMIT 1"),
      {systemId, qint64(MatchStatus::Verified), qint64(MatchStatus::Rename), qint64(MatchStatus::BadDump)}, nullptr);
  return rows && !rows->IsEmpty();
}

}  // namespace quillon
