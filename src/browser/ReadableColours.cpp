#include "browser/ReadableColours.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

double Linear(double channel)
{
  return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Black and white contrast equally with a background of this luminance.
constexpr double kEqualContrastLuminance = 0.179;

}  // namespace

double RelativeLuminance(const QColor& colour)
{
  const QColor rgb = colour.toRgb();
  return 0.2126 * Linear(rgb.redF()) + 0.7152 * Linear(rgb.greenF()) + 0.0722 * Linear(rgb.blueF());
}

double ContrastRatio(const QColor& first, const QColor& second)
{
  const double a = RelativeLuminance(first);
  const double b = RelativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

bool IsDarkBackground(const QColor& background)
{
  return RelativeLuminance(background) < kEqualContrastLuminance;
}

QColor ReadableOn(const QColor& colour, const QColor& background, double minimum)
{
  if (!IsDarkBackground(background) || ContrastRatio(colour, background) >= minimum)
    return colour;
  const QColor hsl = colour.toHsl();
  const auto withLightness = [&hsl](double lightness) {
    return QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), static_cast<float>(lightness)).toRgb();
  };
  // Contrast grows with lightness on a dark background: the least lightness that reads.
  double low = hsl.lightnessF();
  double high = 1.0;
  if (ContrastRatio(withLightness(high), background) < minimum)
    return withLightness(high);
  for (int step = 0; step < 20; ++step) {
    const double middle = (low + high) / 2;
    if (ContrastRatio(withLightness(middle), background) >= minimum)
      high = middle;
    else
      low = middle;
  }
  return withLightness(high);
}

}  // namespace quillon
