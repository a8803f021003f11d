#pragma once
// Box art from the public thumbnail server of the RetroArch project, fetched by a game's exact
// standard name: <server>/<database name>/Named_Boxarts/<name>.png, where the database name is
// the system's ("Nintendo - Super Nintendo Entertainment System") and the name is the list's
// standard name with the characters & * / : ` " < > ? \ | replaced by "_".
#include "names/ThumbnailName.h"

#include <QString>

#include <functional>

namespace quillon {

inline const QString kThumbnailServer = QStringLiteral("https://thumbnails.libretro.com");

// The address of a game's box art; each path segment percent-encoded.
QString BoxArtAddress(const QString& server, const QString& database, const QString& standardName);

// What the image search needs to ask the server first: its address, the system's database name,
// and the standard name of a game (empty for a game that is not identified).
struct ThumbnailSource {
  QString server = kThumbnailServer;
  QString database;
  std::function<QString(qint64 gameId)> standardNameOf;

  bool IsUsable() const { return !server.isEmpty() && !database.isEmpty() && standardNameOf != nullptr; }
};

}  // namespace quillon
