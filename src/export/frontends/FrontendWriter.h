#pragma once
// What each front-end format tells the shared export run (FrontendExport.cpp): which file a game
// goes into, where its picture goes, and the file's new content made from what it holds now.
#include "export/frontends/ExportedGame.h"
#include "export/frontends/FrontendExport.h"

#include <QByteArray>

#include <memory>

namespace quillon {

struct TargetGame {
  const FrontendSystem* system = nullptr;
  const ExportedGame* game = nullptr;
  QString picture;  // the picture as the front-end finds it (placed, or in place); empty when none
};

// One file of the export and the games it holds, in the order they are written.
struct FrontendTarget {
  QString file;
  QString name;  // the front-end's name of the (first) system
  std::vector<TargetGame> games;
};

// Where a picture goes: the path without extension, and the picture formats the front-end reads
// there (by extension, the preferred first).
struct PictureSpot {
  QString pathWithoutExtension;
  QStringList extensions;
};

class FrontendWriter {
 public:
  virtual ~FrontendWriter() = default;

  // The system's name in this format; empty when it has none.
  virtual QString NameOf(const SystemNames& names) const = 0;
  // The file the game goes into, or empty with `reason` when it cannot go out in this format.
  virtual QString FileOf(const FrontendSystem& system, const QString& name, const ExportedGame& game,
                         QString* reason) const = 0;
  // What names the game's entry in the file: two games of one key cannot both go in.
  virtual QString EntryKey(const ExportedGame& game) const { return game.path; }
  // Where the game's picture is copied or linked; an empty path when it has no place.
  virtual PictureSpot PictureSpotOf(const FrontendTarget& target, const TargetGame& game) const = 0;
  // Whether a file found at the target can be taken over; `error` says why not.
  virtual bool AcceptsExisting(const QByteArray& existing, QString* error) = 0;
  // The target's new content, merged with `existing` (empty when there is no file yet), which
  // AcceptsExisting has accepted just before when there is one.
  virtual QByteArray Content(const FrontendTarget& target, const QByteArray& existing) = 0;
};

std::unique_ptr<FrontendWriter> MakeEsdeWriter(const QString& dataFolder);
std::unique_ptr<FrontendWriter> MakePegasusWriter(const QString& folder);
std::unique_ptr<FrontendWriter> MakeRetroArchWriter(const QString& configFolder);

}  // namespace quillon
