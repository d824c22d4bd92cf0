// The program as it starts: controls, texts, places, tab order, the
// separator line and closing, seen from outside the process.
#include <gtest/gtest.h>

#include <cmath>

#include "app/form1_design.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

constexpr int kTwipsPerPixel = 15;  // the test prefix runs at 96 DPI

int Pixels(int twips) { return static_cast<int>(std::lround(twips / double{kTwipsPerPixel})); }

class DesignState : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.WaitForWindow(), nullptr); }
  RunningProgram program;
};

TEST_F(DesignState, ControlsHaveTheirDesignTextsAndPlaces) {
  for (const auto& design : app::kForm1Controls) {
    SCOPED_TRACE(testing::Message() << "control " << static_cast<int>(design.id));
    HWND control = program.Control(design.id);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(::IsWindowVisible(control));
    if (design.kind != platform::ControlKind::Line) {
      EXPECT_EQ(TextOf(control), design.text);
    }
    const RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, Pixels(design.left));
    EXPECT_EQ(rect.top, Pixels(design.top));
    EXPECT_EQ(rect.right - rect.left, Pixels(design.width));
    EXPECT_EQ(rect.bottom - rect.top, Pixels(design.height));
  }
  EXPECT_TRUE(IsChecked(program.Control(ControlId::optRGB)));
  EXPECT_FALSE(IsChecked(program.Control(ControlId::optHex)));
}

TEST_F(DesignState, ClientAreaIsTheDesignOneAndThereIsNoMenuBar) {
  const SIZE client = ClientSize(program.Window());
  EXPECT_EQ(client.cx, 3690 / kTwipsPerPixel);
  EXPECT_EQ(client.cy, 1710 / kTwipsPerPixel);
  EXPECT_EQ(::GetMenu(program.Window()), nullptr);
}

// Of the two option buttons only the selected one is a Tab stop, as in any
// group of option buttons. Tabbing into the hexadecimal field selects "Hex"
// and into a decimal field "RGB", so after the first round the group's stop
// is never reached from the fields.
TEST_F(DesignState, TabFollowsTheTabIndicesAndLabelsNeverTakeTheFocus) {
  const ControlId order[] = {ControlId::txtC0,       ControlId::txtC1,       ControlId::txtC2,
                             ControlId::txtHex,      ControlId::cmdGetPaint, ControlId::cmdGetPaper,
                             ControlId::cmdSetPaint, ControlId::cmdSetPaper, ControlId::txtC0,
                             ControlId::txtC1,       ControlId::txtC2,       ControlId::txtHex};
  program.Focus(program.Control(ControlId::optRGB));
  ASSERT_EQ(program.Focused(), program.Control(ControlId::optRGB));
  for (const ControlId expected : order) {
    program.PressKey(VK_TAB);
    EXPECT_TRUE(Eventually([&] { return program.Focused() == program.Control(expected); }))
        << "expected control " << static_cast<int>(expected);
  }
}

TEST_F(DesignState, SeparatorIsTwoPixelsThickAndDrawnEtched) {
  HWND line = program.Control(ControlId::xLine1);
  EXPECT_EQ(ClientSize(line).cy, 2);
  EXPECT_EQ(ClientSize(line).cx, Pixels(2895));
  // Read the screen where the line is: shadow on top, highlight below.
  ::RedrawWindow(line, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  program.Sync();
  RECT onScreen{};
  ::GetWindowRect(line, &onScreen);
  HDC screen = ::GetDC(nullptr);
  const int x = onScreen.left + 20;
  const COLORREF top = ::GetPixel(screen, x, onScreen.top);
  const COLORREF second = ::GetPixel(screen, x, onScreen.top + 1);
  ::ReleaseDC(nullptr, screen);
  EXPECT_EQ(top, ::GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(second, ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST(Closing, ClosingTheWindowEndsTheProgram) {
  RunningProgram program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  DWORD exitCode = 1;
  ::PostMessageW(program.Window(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(10s, &exitCode));
  EXPECT_EQ(exitCode, 0U);
}

}  // namespace
}  // namespace pigmentry::e2e
