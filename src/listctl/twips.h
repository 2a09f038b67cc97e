#pragma once
// Geometry of the list class is in twips, as the forms lay controls out in twips.
// The screen is taken at 96 dpi: 15 twips per pixel.

#include <cmath>

namespace zq {

/// Twips per screen pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

/// Pixels to twips.
inline constexpr double pxToTwips(int px) { return double(px) * kTwipsPerPixel; }

/// Twips to the nearest whole pixel.
inline int twipsToPx(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

}  // namespace zq
