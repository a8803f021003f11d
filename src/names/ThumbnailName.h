#pragma once
// How RetroArch names a thumbnail file after a game's label or standard name: the characters
// & * / : ` " < > ? \ | become "_". Used by the playlist export and the thumbnail-server source.
#include <QString>

namespace quillon {

// `label` as RetroArch names its thumbnail files (without ".png").
QString ThumbnailName(const QString& label);

}  // namespace quillon
