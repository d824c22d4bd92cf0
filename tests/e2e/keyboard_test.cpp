// What the keyboard reaches without a mouse: the other option button, and
// the Options menu.
#include <gtest/gtest.h>

#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

class Keyboard : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.WaitForWindow(), nullptr); }
  RunningProgram program;
};

TEST_F(Keyboard, ArrowKeysMoveBetweenTheOptionButtonsAndSpaceSelects) {
  program.Focus(program.Control(ControlId::optRGB));
  program.PressKey(VK_DOWN);
  ASSERT_TRUE(Eventually([&] { return program.Focused() == program.Control(ControlId::optHex); }));
  program.PressKey(VK_SPACE);
  EXPECT_TRUE(Eventually([&] { return IsChecked(program.Control(ControlId::optHex)); }));
  EXPECT_FALSE(IsChecked(program.Control(ControlId::optRGB)));
}

TEST_F(Keyboard, TheContextMenuKeyOpensTheOptionsMenu) {
  program.Focus(program.Control(ControlId::cmdGetPaint));
  program.PressKey(VK_APPS);
  HWND menu = nullptr;
  ASSERT_TRUE(Eventually([&] {
    menu = FindVisibleWindow(program.ProcessId(), L"#32768");
    return menu != nullptr;
  })) << "the Options menu did not open";
  // Down to "Always on Top" and Enter: the window leaves the topmost band.
  ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
  ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(Eventually(
      [&] { return (::GetWindowLongPtrW(program.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) == 0; }));
}

}  // namespace
}  // namespace pigmentry::e2e
