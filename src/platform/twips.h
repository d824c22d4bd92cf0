// Twips (1/1440 inch) and screen pixels at a resolution in dots per inch.
#pragma once

#include <cstdint>

namespace pigmentry::platform {

inline constexpr int kTwipsPerInch = 1440;

// value * numerator / denominator, rounded to the nearest whole number with
// halves away from zero, as the system's MulDiv does.
constexpr int ScaleRounded(int value, int numerator, int denominator) {
  const std::int64_t product = std::int64_t{value} * numerator;
  const std::int64_t half = denominator / 2;
  const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / denominator;
  return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

constexpr int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }
constexpr int PixelsToTwips(int pixels, int dpi) {
  return ScaleRounded(pixels, kTwipsPerInch, dpi);
}

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace pigmentry::platform
