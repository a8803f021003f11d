#pragma once
// How the game list marks each game's identification result: a small coloured dot before the
// name, and the result with the standard name in the row's tool tip.
#include <QColor>
#include <QIcon>
#include <QString>

namespace quillon::ui {

// The dot of a result (GameMatch.Status); a null icon for a game not verified.
QIcon MatchStatusIcon(int status);
QColor MatchStatusColour(int status);
// "verified: Super Mario Bros. (World)"; empty for a game not verified.
QString MatchStatusTip(int status, const QString& standardName);

}  // namespace quillon::ui
