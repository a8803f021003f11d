#pragma once
// The games a batch without a window works through when it names one by key.
#include "images/ImageSearch.h"

#include <optional>

namespace quillon {

// The system's game with this key as the list would show it; nullopt when the system has no such
// game or on failure ("-(AutoImageDL)-", reported).
std::optional<ListedGame> ListedGameOf(Catalogue& catalogue, Feedback& feedback, qint64 systemId, qint64 gameId);

}  // namespace quillon
