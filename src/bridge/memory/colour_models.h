// The colour models of the simulated hosts (the in-memory host of the unit
// tests and the stand-in COM server): a colour value in one model, and the
// conversions between each model and RGB.
//
// Plain C++ with no platform calls, so that both the native build and the
// Windows build of the stand-in compile it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pigmentry::colour_models {

// Model codes, as the host defines them.
inline constexpr std::int32_t kCMYK = 2;     // c, m, y, k: 0..100
inline constexpr std::int32_t kCMYK255 = 3;  // c, m, y, k: 0..255
inline constexpr std::int32_t kCMY = 4;      // c, m, y: 0..255
inline constexpr std::int32_t kRGB = 5;      // r, g, b: 0..255
inline constexpr std::int32_t kHSB = 6;      // hue 0..359, saturation 0..100, brightness 0..100
inline constexpr std::int32_t kHLS = 7;      // hue 0..359, lightness 0..100, saturation 0..100
inline constexpr std::int32_t kBlackAndWhite = 8;  // 0 black, 1 white
inline constexpr std::int32_t kGrayscale = 9;      // level 0..255
inline constexpr std::int32_t kYIQ = 11;           // y 0..255, i -152..152, q -134..134
inline constexpr std::int32_t kLab = 12;           // L 0..100, a and b -128..127 (D65)

struct Rgb {
  std::int32_t red = 0;
  std::int32_t green = 0;
  std::int32_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour in one model. Components beyond the model's count are 0. A model
// code the host does not know keeps its components as given and cannot be
// converted.
struct ColourValue {
  std::int32_t model = kRGB;
  std::array<std::int32_t, 4> components{};
  friend bool operator==(const ColourValue&, const ColourValue&) = default;
};

[[nodiscard]] bool IsKnownModel(std::int32_t model);
// The number of components of a known model.
[[nodiscard]] int ComponentCount(std::int32_t model);
// Whether each component lies in the model's range.
[[nodiscard]] bool InRange(const ColourValue& value);

[[nodiscard]] ColourValue FromRgb(std::int32_t model, Rgb rgb);
// The RGB equivalent of a colour of a known model.
[[nodiscard]] Rgb ToRgb(const ColourValue& value);
[[nodiscard]] ColourValue MakeRgb(std::int32_t red, std::int32_t green, std::int32_t blue);

// Converts in place; a colour of an unknown model stays as it is (the host
// cannot convert it). Gives false in that case.
bool ConvertTo(ColourValue& value, std::int32_t model);

// The model's short name as the drawing file writes it ("RGB", "CMYK"), or
// the number for a model the host does not name.
[[nodiscard]] std::string ModelName(std::int32_t model);
[[nodiscard]] std::optional<std::int32_t> ModelFromName(std::string_view name);

}  // namespace pigmentry::colour_models
