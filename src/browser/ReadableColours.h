#pragma once
// The list's colours on the palette they are drawn on. A light palette shows the six colours of
// the legend as they are; on a dark one each is lightened, keeping its hue, until it reads with
// a contrast ratio of at least 4.5:1 against the list's background.
#include <QColor>

namespace quillon {

inline constexpr double kReadableContrast = 4.5;

// Relative luminance and contrast ratio as the W3C accessibility guidelines define them.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& first, const QColor& second);

// True when light text reads better than dark text on `background`.
bool IsDarkBackground(const QColor& background);

// `colour` as it is drawn on `background`: unchanged on a light background; on a dark one the
// least lightened form of it that reaches `minimum` contrast (white when none does).
QColor ReadableOn(const QColor& colour, const QColor& background, double minimum = kReadableContrast);

}  // namespace quillon
