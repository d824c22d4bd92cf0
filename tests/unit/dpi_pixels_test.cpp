// Each layout in pixels at 96, 120, 144 and 192 dots per inch: the client
// area, a field and the separator line, worked out by hand from the twips
// (halves round up, as the system does).
#include <gtest/gtest.h>

#include <cstdint>

#include "support/form_fixture.h"

namespace pigmentry {
namespace {

using platform::ControlId;
using platform::PixelRect;

struct DpiCase {
  int dpi;
  std::int16_t layout;
  PixelRect client;
  PixelRect hex;
  PixelRect line;
};

void PrintTo(const DpiCase& c, std::ostream* os) { *os << c.dpi << " dpi, layout " << c.layout; }

class LayoutPixels : public testing::TestWithParam<DpiCase> {};

TEST_P(LayoutPixels, ClientAreaControlsAndTheLineScaleWithTheResolution) {
  const DpiCase& c = GetParam();
  testing_support::FormFixture fx(c.dpi);
  fx.form.xLine1().Paint();  // as when the window is first shown
  std::int16_t index = c.layout;
  fx.form1.mnuOptView_Click(index);
  EXPECT_EQ(fx.form.ClientPixels(), c.client);
  EXPECT_EQ(fx.form.PixelsOf(ControlId::txtHex), c.hex);
  EXPECT_EQ(fx.form.PixelsOf(ControlId::xLine1), c.line);
}

// Default: client 3690 x 1710, txtHex (1800, 480, 735, 285), line
// (840, 840, 2895, two pixels). Wide Layout 1: client 6450 x 885, the line
// upright at (3600, 0), 870 high. Wide Layout 2: client 10050 x 525, txtHex
// at (4320, 120), the line at (5160, -15), 510 high.
INSTANTIATE_TEST_SUITE_P(
    Resolutions, LayoutPixels,
    testing::Values(DpiCase{96, 1, {0, 0, 246, 114}, {120, 32, 49, 19}, {56, 56, 193, 2}},
                    DpiCase{120, 1, {0, 0, 308, 143}, {150, 40, 61, 24}, {70, 70, 241, 2}},
                    DpiCase{144, 1, {0, 0, 369, 171}, {180, 48, 74, 29}, {84, 84, 290, 2}},
                    DpiCase{192, 1, {0, 0, 492, 228}, {240, 64, 98, 38}, {112, 112, 386, 2}},
                    DpiCase{96, 2, {0, 0, 430, 59}, {120, 32, 49, 19}, {240, 0, 2, 58}},
                    DpiCase{120, 2, {0, 0, 538, 74}, {150, 40, 61, 24}, {300, 0, 2, 73}},
                    DpiCase{144, 2, {0, 0, 645, 89}, {180, 48, 74, 29}, {360, 0, 2, 87}},
                    DpiCase{192, 2, {0, 0, 860, 118}, {240, 64, 98, 38}, {480, 0, 2, 116}},
                    DpiCase{96, 3, {0, 0, 670, 35}, {288, 8, 49, 19}, {344, -1, 2, 34}},
                    DpiCase{120, 3, {0, 0, 838, 44}, {360, 10, 61, 24}, {430, -1, 2, 43}},
                    DpiCase{144, 3, {0, 0, 1005, 53}, {432, 12, 74, 29}, {516, -2, 2, 51}},
                    DpiCase{192, 3, {0, 0, 1340, 70}, {576, 16, 98, 38}, {688, -2, 2, 68}}));

}  // namespace
}  // namespace pigmentry
