// The separator line keeps itself two pixels thick and picks its orientation
// from its proportions.
#include <gtest/gtest.h>

#include "app/form1_design.h"
#include "platform/memory/memory_form.h"

namespace pigmentry::platform::memory {
namespace {

class NoEvents : public FormEvents {
 public:
  void Load() override {}
  void Change(ControlId /*id*/) override {}
  void GotFocus(ControlId /*id*/) override {}
  void LostFocus(ControlId /*id*/) override {}
  void KeyDown(ControlId /*id*/, int& /*keyCode*/, int /*shift*/) override {}
  void Click(ControlId /*id*/) override {}
  void MouseUp(ControlId /*id*/, int /*button*/, int /*shift*/, float /*x*/, float /*y*/) override {
  }
  void MenuClick(MenuId /*id*/) override {}
};

struct LineCase {
  const char* name;
  int dpi;
  int width;
  int height;
  // Expected after the container sets the size.
  int endWidth;
  int endHeight;
  LineRecord firstLine;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class XLineSizes : public testing::TestWithParam<LineCase> {};

TEST_P(XLineSizes, DrawsAlongTheLongEdgeAndForcesTwoPixels) {
  const LineCase& c = GetParam();
  MemoryForm form(app::kForm1Design, c.dpi);
  NoEvents events;
  form.Connect(events);
  MemoryLine& line = form.xLine1();
  line.ClearLines();
  line.Move(840, 840, c.width, c.height);
  EXPECT_EQ(line.Width(), c.endWidth);
  EXPECT_EQ(line.Height(), c.endHeight);
  ASSERT_FALSE(line.Lines().empty());
  const LineRecord& first = line.Lines().front();
  EXPECT_EQ(first.x1, c.firstLine.x1);
  EXPECT_EQ(first.y1, c.firstLine.y1);
  EXPECT_EQ(first.x2, c.firstLine.x2);
  EXPECT_EQ(first.y2, c.firstLine.y2);
  for (const LineRecord& drawn : line.Lines()) {
    EXPECT_EQ(drawn.colour, kButtonShadow);
  }
  // Painting again at the forced size changes nothing.
  const int resizes = line.ResizeCount();
  line.Paint();
  EXPECT_EQ(line.ResizeCount(), resizes);
  EXPECT_EQ(line.Width(), c.endWidth);
  EXPECT_EQ(line.Height(), c.endHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XLineSizes,
    testing::Values(
        LineCase{"HeightForcedBackTo2Pixels", 96, 2895, 200, 2895, 30, {0, 0, 2895, 0, 0}},
        LineCase{"Vertical", 96, 30, 2000, 30, 2000, {0, 0, 0, 2000, 0}},
        LineCase{"VerticalWidthForced", 96, 300, 2000, 30, 2000, {0, 0, 0, 2000, 0}},
        LineCase{"SquareIsHorizontal", 96, 500, 500, 500, 30, {0, 0, 500, 0, 0}},
        LineCase{"TwelveTwipsPerPixel", 120, 2895, 200, 2895, 24, {0, 0, 2895, 0, 0}},
        LineCase{"TenTwipsPerPixel", 144, 30, 870, 20, 870, {0, 0, 0, 870, 0}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(XLine, DesignSizeStaysAndPaintsTheTopRow) {
  MemoryForm form(app::kForm1Design);
  NoEvents events;
  form.Connect(events);
  MemoryLine& line = form.xLine1();
  line.Paint();
  EXPECT_EQ(line.Height(), 30);
  EXPECT_EQ(line.Width(), 2895);
  EXPECT_EQ(line.ResizeCount(), 0);
  ASSERT_EQ(line.Lines().size(), 1U);
  EXPECT_EQ(line.Lines()[0].y1, 0);
  EXPECT_EQ(line.Lines()[0].y2, 0);
}

TEST(XLine, SettingTheSameSizeRaisesNoResize) {
  MemoryForm form(app::kForm1Design);
  NoEvents events;
  form.Connect(events);
  MemoryLine& line = form.xLine1();
  line.SetHeight(30);
  line.SetWidth(2895);
  EXPECT_EQ(line.ResizeCount(), 0);
  // A change in height is answered by one nested Resize that sets it back.
  line.SetHeight(200);
  EXPECT_EQ(line.ResizeCount(), 2);
  EXPECT_EQ(line.Height(), 30);
}

}  // namespace
}  // namespace pigmentry::platform::memory
