#pragma once
// Exports for today's front-ends: ES-DE gamelists, Pegasus metadata files and RetroArch playlists,
// each with the games' box art. The ticked, available games of the chosen systems go out (or every
// available game), titles cut as the system's RemoveText says, and games without a picture left out
// when the system drops them. Files the front-ends also write are merged, not replaced: what the
// user did there survives, and an export repeated without changes rewrites nothing.
#include "export/ExportFiles.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillon {

class Catalogue;
class Feedback;

enum class FrontendFormat { Esde, Pegasus, RetroArch };

// What happens to the pictures: copied, hard-linked where the file system allows (copied where it
// does not), or left alone.
enum class MediaMode { Copy, Link, None };

struct FrontendExportRequest {
  FrontendFormat format = FrontendFormat::Esde;
  QList<qint64> systemIds;
  // ES-DE: its data folder; RetroArch: its configuration folder (playlists/ and thumbnails/ unless
  // retroarch.cfg moves them); Pegasus: a folder for one sub-folder per system, or empty to write
  // each metadata file into the ROM folder of its games.
  QString destination;
  MediaMode media = MediaMode::Copy;
  bool allGames = false;  // every available game, not only the ticked ones
};

// A game, or (with `game` empty) a whole system, that did not go out, and why.
struct LeftOut {
  QString system;
  QString game;
  QString reason;
};

struct PictureCounts {
  int copied = 0;
  int linked = 0;
  int converted = 0;  // copied as another picture format the front-end reads
  int current = 0;    // already in place from an earlier export
  int missing = 0;    // the catalogue names a picture that is not there
  int failed = 0;
};

struct FrontendExportResult {
  ExportResult::Outcome outcome = ExportResult::Outcome::Failed;
  int games = 0;
  QStringList files;      // the files that hold the games, written or already current
  QStringList unchanged;  // those of `files` whose content was current already
  PictureCounts pictures;
  QList<LeftOut> leftOut;
  QStringList emptySystems;  // chosen systems with no game to export
  QString error;             // why it failed

  bool Succeeded() const { return outcome == ExportResult::Outcome::Done; }
};

// "ES-DE", "Pegasus", "RetroArch".
QString FrontendName(FrontendFormat format);

// Where each front-end reads by default: ES-DE's data folder as ES-DE chooses it, RetroArch's
// configuration folder; empty for Pegasus (the ROM folders).
QString DefaultFrontendDestination(FrontendFormat format);

// "copy", "link", "none".
std::optional<MediaMode> MediaModeByName(const QString& name);

// The systems an export of all systems covers: those with a tab, by name.
QList<qint64> TabSystemIds(Catalogue& catalogue, Feedback& feedback);

// ExportToFrontend: the whole export. Files are written beside their target and renamed into
// place, so a failure leaves every earlier file as it was; it stops the export and is reported.
FrontendExportResult ExportToFrontend(Catalogue& catalogue, Feedback& feedback, const FrontendExportRequest& request);

// The summary a front end shows: games written, pictures placed, games left out and why.
QStringList FrontendExportSummary(FrontendFormat format, const FrontendExportResult& result);

}  // namespace quillon
