#include "bridge/memory/colour_models.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pigmentry::colour_models {

namespace {

struct Range {
  std::int32_t low;
  std::int32_t high;
};

struct ModelInfo {
  std::int32_t code;
  const char* name;
  int count;
  std::array<Range, 4> ranges;
};

constexpr Range kByte = {0, 255};
constexpr Range kPercent = {0, 100};
constexpr Range kHue = {0, 359};

constexpr std::array<ModelInfo, 10> kModels = {{
    {kCMYK, "CMYK", 4, {kPercent, kPercent, kPercent, kPercent}},
    {kCMYK255, "CMYK255", 4, {kByte, kByte, kByte, kByte}},
    {kCMY, "CMY", 3, {kByte, kByte, kByte, {}}},
    {kRGB, "RGB", 3, {kByte, kByte, kByte, {}}},
    {kHSB, "HSB", 3, {kHue, kPercent, kPercent, {}}},
    {kHLS, "HLS", 3, {kHue, kPercent, kPercent, {}}},
    {kBlackAndWhite, "BW", 1, {Range{0, 1}, {}, {}, {}}},
    {kGrayscale, "GRAY", 1, {kByte, {}, {}, {}}},
    {kYIQ, "YIQ", 3, {kByte, Range{-152, 152}, Range{-134, 134}, {}}},
    {kLab, "LAB", 3, {kPercent, Range{-128, 127}, Range{-128, 127}, {}}},
}};

const ModelInfo* Find(std::int32_t model) {
  const auto* found = std::find_if(kModels.begin(), kModels.end(),
                                   [model](const ModelInfo& info) { return info.code == model; });
  return found == kModels.end() ? nullptr : &*found;
}

std::int32_t Round(double value) { return static_cast<std::int32_t>(std::lround(value)); }

std::int32_t ToByte(double unit) { return Round(std::clamp(unit, 0.0, 1.0) * 255.0); }

double Luma(Rgb rgb) { return 0.299 * rgb.red + 0.587 * rgb.green + 0.114 * rgb.blue; }

// Hue in degrees (0 when there is no hue), from r, g, b in 0..1.
double Hue(double r, double g, double b) {
  const double high = std::max({r, g, b});
  const double delta = high - std::min({r, g, b});
  if (delta <= 0) {
    return 0;
  }
  double hue = 0;
  if (high == r) {
    hue = 60.0 * std::fmod((g - b) / delta, 6.0);
  } else if (high == g) {
    hue = 60.0 * ((b - r) / delta + 2.0);
  } else {
    hue = 60.0 * ((r - g) / delta + 4.0);
  }
  return hue < 0 ? hue + 360.0 : hue;
}

std::int32_t HueComponent(double hue) {
  const std::int32_t rounded = Round(hue);
  return rounded >= 360 ? rounded - 360 : rounded;
}

// r, g, b in 0..1 from hue (degrees), chroma and the offset of the lowest
// channel: the common tail of the HSB and HLS conversions.
Rgb FromHueChroma(double hue, double chroma, double low) {
  const double sector = hue / 60.0;
  const double x = chroma * (1.0 - std::fabs(std::fmod(sector, 2.0) - 1.0));
  double r = 0;
  double g = 0;
  double b = 0;
  switch (static_cast<int>(sector) % 6) {
    case 0:
      r = chroma, g = x;
      break;
    case 1:
      r = x, g = chroma;
      break;
    case 2:
      g = chroma, b = x;
      break;
    case 3:
      g = x, b = chroma;
      break;
    case 4:
      r = x, b = chroma;
      break;
    default:
      r = chroma, b = x;
      break;
  }
  return {ToByte(r + low), ToByte(g + low), ToByte(b + low)};
}

// sRGB companding and the D65 white point.
double Linear(std::int32_t channel) {
  const double c = channel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double Companded(double linear) {
  return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}
constexpr double kWhiteX = 0.95047;
constexpr double kWhiteY = 1.0;
constexpr double kWhiteZ = 1.08883;
constexpr double kEpsilon = 6.0 / 29.0;
double LabF(double t) {
  return t > kEpsilon * kEpsilon * kEpsilon ? std::cbrt(t)
                                            : t / (3 * kEpsilon * kEpsilon) + 4.0 / 29.0;
}
double LabFInverse(double t) {
  return t > kEpsilon ? t * t * t : 3 * kEpsilon * kEpsilon * (t - 4.0 / 29.0);
}

ColourValue LabFromRgb(Rgb rgb) {
  const double r = Linear(rgb.red);
  const double g = Linear(rgb.green);
  const double b = Linear(rgb.blue);
  const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
  const double fx = LabF(x / kWhiteX);
  const double fy = LabF(y / kWhiteY);
  const double fz = LabF(z / kWhiteZ);
  return {kLab,
          {Round(116 * fy - 16), std::clamp(Round(500 * (fx - fy)), -128, 127),
           std::clamp(Round(200 * (fy - fz)), -128, 127), 0}};
}

Rgb RgbFromLab(const ColourValue& lab) {
  const double fy = (lab.components[0] + 16) / 116.0;
  const double fx = fy + lab.components[1] / 500.0;
  const double fz = fy - lab.components[2] / 200.0;
  const double x = kWhiteX * LabFInverse(fx);
  const double y = kWhiteY * LabFInverse(fy);
  const double z = kWhiteZ * LabFInverse(fz);
  const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
  const double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
  const double b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
  return {ToByte(Companded(r)), ToByte(Companded(g)), ToByte(Companded(b))};
}

ColourValue CmykFromRgb(std::int32_t model, Rgb rgb, double scale) {
  const double r = rgb.red / 255.0;
  const double g = rgb.green / 255.0;
  const double b = rgb.blue / 255.0;
  const double k = 1.0 - std::max({r, g, b});
  if (k >= 1.0) {
    return {model, {0, 0, 0, Round(scale)}};
  }
  return {model,
          {Round((1 - r - k) / (1 - k) * scale), Round((1 - g - k) / (1 - k) * scale),
           Round((1 - b - k) / (1 - k) * scale), Round(k * scale)}};
}

Rgb RgbFromCmyk(const ColourValue& cmyk, double scale) {
  const double k = cmyk.components[3] / scale;
  const auto channel = [&](std::int32_t ink) { return ToByte((1 - ink / scale) * (1 - k)); };
  return {channel(cmyk.components[0]), channel(cmyk.components[1]), channel(cmyk.components[2])};
}

}  // namespace

bool IsKnownModel(std::int32_t model) { return Find(model) != nullptr; }

int ComponentCount(std::int32_t model) {
  const ModelInfo* info = Find(model);
  return info == nullptr ? 0 : info->count;
}

bool InRange(const ColourValue& value) {
  const ModelInfo* info = Find(value.model);
  if (info == nullptr) {
    return true;
  }
  for (int i = 0; i < 4; ++i) {
    const auto index = static_cast<std::size_t>(i);
    const std::int32_t component = value.components[index];
    const Range range = i < info->count ? info->ranges[index] : Range{0, 0};
    if (component < range.low || component > range.high) {
      return false;
    }
  }
  return true;
}

ColourValue MakeRgb(std::int32_t red, std::int32_t green, std::int32_t blue) {
  return {kRGB, {red, green, blue, 0}};
}

ColourValue FromRgb(std::int32_t model, Rgb rgb) {
  const double r = rgb.red / 255.0;
  const double g = rgb.green / 255.0;
  const double b = rgb.blue / 255.0;
  const double high = std::max({r, g, b});
  const double low = std::min({r, g, b});
  switch (model) {
    case kCMYK:
      return CmykFromRgb(model, rgb, 100.0);
    case kCMYK255:
      return CmykFromRgb(model, rgb, 255.0);
    case kCMY:
      return {model, {255 - rgb.red, 255 - rgb.green, 255 - rgb.blue, 0}};
    case kHSB:
      return {model,
              {HueComponent(Hue(r, g, b)), high <= 0 ? 0 : Round((high - low) / high * 100),
               Round(high * 100), 0}};
    case kHLS: {
      const double lightness = (high + low) / 2;
      const double delta = high - low;
      const double saturation = delta <= 0 ? 0 : delta / (1 - std::fabs(2 * lightness - 1));
      return {model,
              {HueComponent(Hue(r, g, b)), Round(lightness * 100),
               std::clamp(Round(saturation * 100), 0, 100), 0}};
    }
    case kBlackAndWhite:
      return {model, {Luma(rgb) >= 127.5 ? 1 : 0, 0, 0, 0}};
    case kGrayscale:
      return {model, {std::clamp(Round(Luma(rgb)), 0, 255), 0, 0, 0}};
    case kYIQ:
      return {model,
              {std::clamp(Round(Luma(rgb)), 0, 255),
               Round(0.596 * rgb.red - 0.274 * rgb.green - 0.322 * rgb.blue),
               Round(0.211 * rgb.red - 0.523 * rgb.green + 0.312 * rgb.blue), 0}};
    case kLab:
      return LabFromRgb(rgb);
    default:
      return MakeRgb(rgb.red, rgb.green, rgb.blue);
  }
}

Rgb ToRgb(const ColourValue& value) {
  const auto& c = value.components;
  switch (value.model) {
    case kCMYK:
      return RgbFromCmyk(value, 100.0);
    case kCMYK255:
      return RgbFromCmyk(value, 255.0);
    case kCMY:
      return {255 - c[0], 255 - c[1], 255 - c[2]};
    case kHSB: {
      const double brightness = c[2] / 100.0;
      const double chroma = brightness * (c[1] / 100.0);
      return FromHueChroma(c[0], chroma, brightness - chroma);
    }
    case kHLS: {
      const double lightness = c[1] / 100.0;
      const double chroma = (1 - std::fabs(2 * lightness - 1)) * (c[2] / 100.0);
      return FromHueChroma(c[0], chroma, lightness - chroma / 2);
    }
    case kBlackAndWhite:
      return c[0] != 0 ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
    case kGrayscale:
      return {c[0], c[0], c[0]};
    case kYIQ: {
      const auto channel = [](double v) { return std::clamp(Round(v), 0, 255); };
      return {channel(c[0] + 0.956 * c[1] + 0.621 * c[2]),
              channel(c[0] - 0.272 * c[1] - 0.647 * c[2]),
              channel(c[0] - 1.106 * c[1] + 1.703 * c[2])};
    }
    case kLab:
      return RgbFromLab(value);
    default:
      return {c[0], c[1], c[2]};
  }
}

bool ConvertTo(ColourValue& value, std::int32_t model) {
  if (!IsKnownModel(value.model) || !IsKnownModel(model)) {
    return false;
  }
  if (value.model != model) {
    value = FromRgb(model, ToRgb(value));
  }
  return true;
}

std::string ModelName(std::int32_t model) {
  const ModelInfo* info = Find(model);
  return info == nullptr ? std::to_string(model) : std::string(info->name);
}

std::optional<std::int32_t> ModelFromName(std::string_view name) {
  for (const ModelInfo& info : kModels) {
    if (name == info.name) {
      return info.code;
    }
  }
  if (name.empty() || name.size() > 9 ||
      name.find_first_not_of("0123456789") != std::string_view::npos) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(std::strtol(std::string(name).c_str(), nullptr, 10));
}

}  // namespace pigmentry::colour_models
