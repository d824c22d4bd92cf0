// Start-up options, the topmost band and the layouts, seen from outside the
// process.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/control_ids.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

constexpr int kTwipsPerPixel = 15;  // the test prefix runs at 96 DPI

bool IsTopMostWindow(HWND window) {
  return (::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

SIZE ClientOf(int clientWidthTwips, int clientHeightTwips) {
  return {clientWidthTwips / kTwipsPerPixel, clientHeightTwips / kTwipsPerPixel};
}

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

TEST(WindowStart, XAndYPlaceTheOuterTopLeftCornerInScreenPixels) {
  RunningProgram program(L"/x=100 /y=50");
  ASSERT_NE(program.WaitForWindow(), nullptr);
  RECT rect{};
  ::GetWindowRect(program.Window(), &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(TextOf(program.Window()), L"Draw Pigmentry 11");
}

TEST(WindowStart, LayoutOptionGivesThatLayoutsClientArea) {
  struct LayoutCase {
    const wchar_t* args;
    SIZE client;
    RECT line;  // the separator in the client area, pixels
  };
  const LayoutCase cases[] = {
      {L"/layout=3", ClientOf(10050, 525), {344, -1, 346, 33}},
      {L"/LAYOUT=2", ClientOf(6450, 885), {240, 0, 242, 58}},
      {L"/layout=7", ClientOf(3690, 1710), {56, 56, 249, 58}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.args, c.args + wcslen(c.args)));
    RunningProgram program(c.args);
    ASSERT_NE(program.WaitForWindow(), nullptr);
    const SIZE client = ClientSize(program.Window());
    EXPECT_EQ(client.cx, c.client.cx);
    EXPECT_EQ(client.cy, c.client.cy);
    const RECT line = RectInParent(program.Control(ControlId::xLine1));
    EXPECT_EQ(line.left, c.line.left);
    EXPECT_EQ(line.top, c.line.top);
    EXPECT_EQ(line.right, c.line.right);
    EXPECT_EQ(line.bottom, c.line.bottom);
  }
}

TEST(WindowStart, TopmostUnlessOntopIsZero) {
  struct OnTopCase {
    const wchar_t* args;
    bool topMost;
  };
  for (const auto& c : {OnTopCase{L"", true}, OnTopCase{L"/ontop=0", false},
                        OnTopCase{L"/ontop=1", true}, OnTopCase{L"/ontop=0 /ontop=0", true}}) {
    SCOPED_TRACE(testing::Message() << std::string(c.args, c.args + wcslen(c.args)));
    RunningProgram program(c.args);
    ASSERT_NE(program.WaitForWindow(), nullptr);
    EXPECT_EQ(IsTopMostWindow(program.Window()), c.topMost);
  }
}

TEST(WindowStart, UnknownOptionShowsUsageAndEndsWithoutShowingTheWindow) {
  RunningProgram program(L"/x=10 /? /layout=2");
  bool windowSeen = false;
  HWND box = nullptr;
  WaitUntil(
      [&] {
        windowSeen = windowSeen || FindVisibleWindow(program.ProcessId(),
                                                     platform::win32::kForm1ClassName) != nullptr;
        box = FindVisibleWindow(program.ProcessId(), L"#32770");
        return box != nullptr;
      },
      20s);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(TextOf(box), L"Command Line Options");
  EXPECT_EQ(MessageBoxText(box),
            L"/x=[window X coordinate]\r\n\r\n/y=[window Y coordinate]\r\n\r\n"
            L"/layout=[1,2,3]\r\n\r\n/ontop=[0,1]\r\n\r\nExample: \r\n"
            L"Pigmentry /x=0 /y=0 /layout=2 /ontop=1");
  EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(::GetDlgItem(box, IDCANCEL), nullptr);

  PressOk(box);
  DWORD exitCode = 1;
  const bool exited = WaitUntil(
      [&] {
        windowSeen = windowSeen || FindVisibleWindow(program.ProcessId(),
                                                     platform::win32::kForm1ClassName) != nullptr;
        return program.WaitForExit(0ms, &exitCode);
      },
      10s);
  EXPECT_TRUE(exited);
  EXPECT_EQ(exitCode, 0U);
  EXPECT_FALSE(windowSeen);
  EXPECT_EQ(FindVisibleWindow(program.ProcessId(), L"#32770"), nullptr) << "usage shown twice";
}

// The Options menu, opened as the user opens it: a right click on the
// swatch.
class PopupMenu : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.WaitForWindow(), nullptr); }

  // Opens the menu and chooses the item `downs` presses of Down away from
  // the top ("Always on Top" is 1; the separator is skipped).
  void Choose(int downs) {
    HWND swatch = program.Control(ControlId::lblColor);
    program.Focus(program.Control(ControlId::txtC0));
    RECT rect{};
    ::GetWindowRect(swatch, &rect);
    RightClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
      menu = FindVisibleWindow(program.ProcessId(), L"#32768");
      return menu != nullptr;
    })) << "the pop-up menu did not open";
    for (int i = 0; i < downs; ++i) {
      ::PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    }
    ::PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(menu) == FALSE; }))
        << "the pop-up menu did not close";
    program.Sync();
  }

  RunningProgram program;
};

TEST_F(PopupMenu, AlwaysOnTopItemTogglesTheTopmostBand) {
  ASSERT_TRUE(IsTopMostWindow(program.Window()));
  RECT before{};
  ::GetWindowRect(program.Window(), &before);
  Choose(1);
  EXPECT_FALSE(IsTopMostWindow(program.Window()));
  Choose(1);
  EXPECT_TRUE(IsTopMostWindow(program.Window()));
  RECT after{};
  ::GetWindowRect(program.Window(), &after);
  EXPECT_TRUE(::EqualRect(&before, &after) != FALSE) << "the window moved or changed size";
}

TEST_F(PopupMenu, LayoutItemsArrangeTheWindow) {
  struct Step {
    int downs;
    SIZE client;
  };
  RECT start{};
  ::GetWindowRect(program.Window(), &start);
  for (const Step& step : {Step{3, ClientOf(6450, 885)}, Step{4, ClientOf(10050, 525)},
                           Step{2, ClientOf(3690, 1710)}}) {
    SCOPED_TRACE(step.downs);
    Choose(step.downs);
    EXPECT_TRUE(WaitUntil([&] { return SameSize(ClientSize(program.Window()), step.client); }, 5s))
        << "client " << ClientSize(program.Window()).cx << "x" << ClientSize(program.Window()).cy;
    RECT now{};
    ::GetWindowRect(program.Window(), &now);
    EXPECT_EQ(now.left, start.left);
    EXPECT_EQ(now.top, start.top);
    EXPECT_TRUE(IsTopMostWindow(program.Window()));
  }
}

}  // namespace
}  // namespace pigmentry::e2e
