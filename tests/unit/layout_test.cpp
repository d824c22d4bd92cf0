// The three arrangements of the window and switching between them.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/user32_memory.h"
#include "support/form_fixture.h"

namespace pigmentry::app {
namespace {

using platform::ControlId;
using platform::MenuId;
using platform::memory::LineRecord;
using platform::memory::MemoryForm;

struct Place {
  ControlId id;
  int left;
  int top;
  int width;
  int height;
  const wchar_t* caption;  // nullptr: no caption
};

struct ExpectedLayout {
  const char* name;
  int windowWidth;
  int windowHeight;
  std::vector<Place> places;  // the separator line last
};

// Written out here, independently of the program's own tables.
const ExpectedLayout kExpectedDefault = {
    "Default Layout",
    3780,
    2040,
    {
        {ControlId::cmdGetPaint, 1800, 960, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 2760, 960, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 1800, 1320, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 2760, 1320, 805, 285, L"Outline"},
        {ControlId::Label1, 960, 1320, 855, 255, L"Set Color:"},
        {ControlId::Label2, 960, 960, 855, 255, L"Get Color:"},
        {ControlId::lblColor, 0, 0, 855, 1695, nullptr},
        {ControlId::optHex, 960, 480, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 1800, 480, 735, 285, nullptr},
        {ControlId::xLine1, 840, 840, 2895, 30, nullptr},
    },
};
const ExpectedLayout kExpectedWide1 = {
    "Wide Layout 1",
    6540,
    1215,
    {
        {ControlId::cmdGetPaint, 4560, 120, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 5520, 120, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 4560, 480, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 5520, 480, 805, 285, L"Outline"},
        {ControlId::Label1, 3720, 480, 855, 255, L"Set Color:"},
        {ControlId::Label2, 3720, 120, 855, 255, L"Get Color:"},
        {ControlId::lblColor, 0, 0, 855, 855, nullptr},
        {ControlId::optHex, 960, 480, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 1800, 480, 735, 285, nullptr},
        {ControlId::xLine1, 3600, 0, 30, 870, nullptr},
    },
};
const ExpectedLayout kExpectedWide2 = {
    "Wide Layout 2",
    10140,
    855,
    {
        {ControlId::cmdGetPaint, 5760, 120, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 6720, 120, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 8160, 120, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 9120, 120, 805, 285, L"Outline"},
        {ControlId::Label1, 7680, 120, 495, 255, L"Set:"},
        {ControlId::Label2, 5280, 120, 495, 255, L"Get:"},
        {ControlId::lblColor, 0, 0, 855, 495, nullptr},
        {ControlId::optHex, 3600, 120, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 4320, 120, 735, 285, nullptr},
        {ControlId::xLine1, 5160, -15, 30, 510, nullptr},
    },
};

// By menu index 1 to 3.
const ExpectedLayout& Expected(int index) {
  static const std::array<const ExpectedLayout*, 3> layouts = {&kExpectedDefault, &kExpectedWide1,
                                                               &kExpectedWide2};
  return *layouts.at(static_cast<std::size_t>(index - 1));
}

MenuId LayoutItem(int index) { return platform::MnuOptViewId(index); }

std::wstring CaptionOf(const platform::Form1View& ui, ControlId id) {
  return static_cast<platform::CaptionedControl&>(ui.ControlById(id)).Caption();
}

// The separator is two pixels thick; on a 96 dpi screen that is the 30 twips
// of the tables.
int Thickness(const MemoryForm& form) { return 2 * 1440 / form.Dpi(); }

void ExpectArranged(MemoryForm& form, int index) {
  const ExpectedLayout& expected = Expected(index);
  SCOPED_TRACE(expected.name);
  const auto& ui = form.View();
  EXPECT_EQ(ui.Me().Width(), expected.windowWidth);
  EXPECT_EQ(ui.Me().Height(), expected.windowHeight);
  for (const Place& place : expected.places) {
    SCOPED_TRACE(static_cast<int>(place.id));
    const platform::Control& control = ui.ControlById(place.id);
    int width = place.width;
    int height = place.height;
    if (place.id == ControlId::xLine1) {
      (width < height ? width : height) = Thickness(form);
    }
    EXPECT_EQ(control.Left(), place.left);
    EXPECT_EQ(control.Top(), place.top);
    EXPECT_EQ(control.Width(), width);
    EXPECT_EQ(control.Height(), height);
    EXPECT_TRUE(control.Visible());
    if (place.caption != nullptr) {
      EXPECT_EQ(CaptionOf(ui, place.id), place.caption);
    }
  }
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(form.Menu(LayoutItem(i)).Checked(), i == index) << "mnuOptView(" << i << ")";
  }
}

// Every line the separator drew runs along the layout's line, in its
// orientation and at its full length: it never saw a mixed extent.
void ExpectLinesAlongSeparator(const std::vector<LineRecord>& lines, int index) {
  const Place& line = Expected(index).places.back();
  const bool upright = line.width < line.height;
  for (const LineRecord& drawn : lines) {
    EXPECT_EQ(drawn.x1, 0);
    EXPECT_EQ(drawn.y1, 0);
    EXPECT_EQ(drawn.x2, upright ? 0 : line.width);
    EXPECT_EQ(drawn.y2, upright ? line.height : 0);
    EXPECT_EQ(drawn.colour, platform::kButtonShadow);
  }
}

void Choose(testing_support::FormFixture& fx, int index) {
  fx.form.xLine1().ClearLines();
  fx.form.ChooseMenuItem(LayoutItem(index));
}

// A window as first shown on a screen of the given dpi: the separator has
// painted itself once and so has taken its two-pixel thickness.
class LayoutTest : public ::testing::TestWithParam<int> {
 protected:
  LayoutTest() { fx.form.xLine1().Paint(); }
  testing_support::FormFixture fx{GetParam()};
};

TEST_P(LayoutTest, EverySwitchInEveryOrderArrangesEveryControl) {
  // 1 -> 2 -> 3 -> 1 -> 3 -> 2 -> 1 and each layout twice: every ordered
  // pair of layouts, including a layout after itself.
  const std::vector<int> walk = {1, 1, 2, 2, 3, 3, 1, 3, 2, 1, 2};
  int previous = 1;
  for (const int index : walk) {
    SCOPED_TRACE(std::to_string(previous) + " -> " + std::to_string(index));
    Choose(fx, index);
    ExpectArranged(fx.form, index);
    ExpectLinesAlongSeparator(fx.form.xLine1().Lines(), index);
    previous = index;
  }
}

TEST_P(LayoutTest, AtStartTheWindowShowsTheDefaultLayout) { ExpectArranged(fx.form, 1); }

INSTANTIATE_TEST_SUITE_P(Screens, LayoutTest, ::testing::Values(96, 120, 144),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Dpi" + std::to_string(info.param);
                         });

TEST(Layout, ShowsHiddenControlsAndRestoresTheirCaptions) {
  for (int index = 1; index <= 3; ++index) {
    testing_support::FormFixture fx;
    const auto& ui = fx.form.View();
    for (const Place& place : Expected(index).places) {
      ui.ControlById(place.id).SetVisible(false);
      if (place.caption != nullptr) {
        static_cast<platform::CaptionedControl&>(ui.ControlById(place.id)).SetCaption(L"?");
      }
    }
    Choose(fx, index);
    ExpectArranged(fx.form, index);
  }
}

TEST(Layout, EveryOtherIndexGivesTheDefaultAndWritesOneBack) {
  struct IndexCase {
    std::int16_t index;
    std::int16_t writtenBack;
  };
  const IndexCase cases[] = {{1, 1}, {2, 2},  {3, 3},     {0, 1},
                             {4, 1}, {-1, 1}, {32767, 1}, {-32768, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    testing_support::FormFixture fx;
    // Start from a wide layout so that falling back to the default shows.
    std::int16_t wide = 3;
    fx.form1.mnuOptView_Click(wide);
    std::int16_t index = c.index;
    fx.form1.mnuOptView_Click(index);
    EXPECT_EQ(index, c.writtenBack);
    ExpectArranged(fx.form, c.writtenBack);
  }
}

struct FormState {
  std::array<std::wstring, 3> decimal;
  std::wstring hex;
  std::uint32_t swatch;
  bool rgbMode;
  bool hexMode;
  std::optional<ControlId> focus;
  float left;
  float top;
  bool topMost;
  bool onTopChecked;

  friend bool operator==(const FormState&, const FormState&) = default;
};

FormState StateOf(testing_support::FormFixture& fx) {
  const auto& ui = fx.form.View();
  return {
      {ui.txtC(0).Text(), ui.txtC(1).Text(), ui.txtC(2).Text()},
      ui.txtHex().Text(),
      ui.lblColor().BackColor(),
      ui.optRGB().Value(),
      ui.optHex().Value(),
      fx.form.Focused(),
      ui.Me().Left(),
      ui.Me().Top(),
      platform::memory::IsTopMost(ui.Me().Handle()),
      ui.mnuOptTop().Checked(),
  };
}

TEST(Layout, SwitchingKeepsColourModeFocusPositionAndTopmostState) {
  for (const bool onTop : {true, false}) {
    SCOPED_TRACE(onTop ? "on top" : "not on top");
    testing_support::FormFixture fx;
    fx.form.Load();
    if (!onTop) {
      fx.form.ChooseMenuItem(MenuId::mnuOptTop);
    }
    const auto& ui = fx.form.View();
    fx.form.Focus(ControlId::txtHex);
    ui.optHex().SetValue(true);
    ui.txtHex().SetText(L"123456");
    ui.txtC(0).SetText(L"18");
    ui.txtC(1).SetText(L"52");
    ui.txtC(2).SetText(L"86");
    ui.lblColor().SetBackColor(0x563412);
    ui.Me().SetLeft(2400);
    ui.Me().SetTop(-600);
    const FormState before = StateOf(fx);
    ASSERT_EQ(before.topMost, onTop);
    ASSERT_TRUE(before.hexMode);

    for (const int index : {2, 3, 1, 3, 2, 1}) {
      SCOPED_TRACE(Expected(index).name);
      Choose(fx, index);
      EXPECT_EQ(StateOf(fx), before);
    }
  }
}

}  // namespace
}  // namespace pigmentry::app
