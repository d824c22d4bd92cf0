// The simulated hosts' colour models: known values and round trips.
#include <gtest/gtest.h>

#include <cstdlib>

#include "bridge/memory/colour_models.h"

namespace pigmentry::colour_models {
namespace {

struct KnownCase {
  Rgb rgb;
  ColourValue value;
};

TEST(BridgeColourModels, KnownValues) {
  const KnownCase cases[] = {
      {{255, 0, 0}, {kCMYK, {0, 100, 100, 0}}},
      {{0, 0, 0}, {kCMYK, {0, 0, 0, 100}}},
      {{255, 0, 0}, {kCMYK255, {0, 255, 255, 0}}},
      {{255, 0, 128}, {kCMY, {0, 255, 127, 0}}},
      {{255, 0, 0}, {kHSB, {0, 100, 100, 0}}},
      {{0, 0, 255}, {kHSB, {240, 100, 100, 0}}},
      {{0, 255, 0}, {kHLS, {120, 50, 100, 0}}},
      {{128, 128, 128}, {kHLS, {0, 50, 0, 0}}},
      {{255, 255, 255}, {kBlackAndWhite, {1, 0, 0, 0}}},
      {{20, 20, 20}, {kBlackAndWhite, {0, 0, 0, 0}}},
      {{255, 0, 0}, {kGrayscale, {76, 0, 0, 0}}},
      {{255, 255, 255}, {kYIQ, {255, 0, 0, 0}}},
      {{255, 255, 255}, {kLab, {100, 0, 0, 0}}},
      {{255, 0, 0}, {kLab, {53, 80, 67, 0}}},
  };
  for (const KnownCase& c : cases) {
    EXPECT_EQ(FromRgb(c.value.model, c.rgb), c.value) << ModelName(c.value.model);
    EXPECT_TRUE(InRange(c.value));
  }
}

TEST(BridgeColourModels, RoundTripsStayClose) {
  // Whole-number components lose a little, Lab's coarse steps the most; the
  // lossy models (black and white, grayscale) are checked on their own.
  for (const std::int32_t model : {kCMYK, kCMYK255, kCMY, kRGB, kHSB, kHLS, kYIQ, kLab}) {
    for (int r = 0; r < 256; r += 51) {
      for (int g = 0; g < 256; g += 51) {
        for (int b = 0; b < 256; b += 17) {
          const ColourValue value = FromRgb(model, {r, g, b});
          ASSERT_TRUE(InRange(value)) << ModelName(model) << " " << r << "," << g << "," << b;
          const Rgb back = ToRgb(value);
          const int tolerance = model == kLab ? 24 : 9;
          EXPECT_LE(std::abs(back.red - r) + std::abs(back.green - g) + std::abs(back.blue - b),
                    tolerance)
              << ModelName(model) << " " << r << "," << g << "," << b;
        }
      }
    }
  }
  EXPECT_EQ(ToRgb(FromRgb(kGrayscale, {10, 200, 30})), (Rgb{124, 124, 124}));
  EXPECT_EQ(ToRgb(FromRgb(kBlackAndWhite, {200, 200, 200})), (Rgb{255, 255, 255}));
}

TEST(BridgeColourModels, UnknownModelsStayAsTheyAre) {
  ColourValue value{99, {1, 2, 3, 4}};
  EXPECT_FALSE(ConvertTo(value, kRGB));
  EXPECT_EQ(value, (ColourValue{99, {1, 2, 3, 4}}));
  EXPECT_EQ(ModelFromName("CMYK"), kCMYK);
  EXPECT_EQ(ModelFromName("99"), 99);
  EXPECT_EQ(ModelFromName("cmyk"), std::nullopt);
  EXPECT_EQ(ModelFromName(""), std::nullopt);
}

}  // namespace
}  // namespace pigmentry::colour_models
