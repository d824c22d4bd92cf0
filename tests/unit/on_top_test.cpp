// Moving the window into and out of the topmost band.
#include "app/on_top.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/memory/user32_memory.h"
#include "support/form_fixture.h"

namespace pigmentry::app {
namespace {

using platform::memory::IsTopMost;
using platform::memory::SetWindowPosCall;
using platform::memory::SetWindowPosCalls;

class OnTopTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::memory::ResetUser32(); }
  void TearDown() override { platform::memory::ResetUser32(); }
};

TEST_F(OnTopTest, RoutinesRestackWithoutMovingOrSizing) {
  constexpr std::intptr_t kHandle = 0x4242;
  OnTop::SetTopMost(kHandle);
  EXPECT_TRUE(IsTopMost(kHandle));
  OnTop::SetNotTopMost(kHandle);
  EXPECT_FALSE(IsTopMost(kHandle));
  const std::vector<SetWindowPosCall> expected = {
      {kHandle, -1, 0, 0, 0, 0, 3},
      {kHandle, -2, 0, 0, 0, 0, 3},
  };
  EXPECT_EQ(SetWindowPosCalls(), expected);
}

TEST_F(OnTopTest, ZeroHandleCallsNothing) {
  OnTop::SetTopMost(0);
  OnTop::SetNotTopMost(0);
  EXPECT_TRUE(SetWindowPosCalls().empty());
}

TEST_F(OnTopTest, MenuCommandTogglesBandAndCheckMarkTogether) {
  testing_support::FormFixture fx;
  fx.form.Load();
  const std::intptr_t handle = fx.form.Me().Handle();
  auto& item = fx.form.Menu(platform::MenuId::mnuOptTop);
  ASSERT_TRUE(IsTopMost(handle));
  ASSERT_TRUE(item.Checked());
  fx.form.Me().SetLeft(1500);
  fx.form.Me().SetTop(750);

  for (const bool expectTopMost : {false, true, false, true}) {
    fx.form.ChooseMenuItem(platform::MenuId::mnuOptTop);
    EXPECT_EQ(IsTopMost(handle), expectTopMost);
    EXPECT_EQ(item.Checked(), expectTopMost);
    EXPECT_EQ(SetWindowPosCalls().back(),
              (SetWindowPosCall{handle, expectTopMost ? -1 : -2, 0, 0, 0, 0, 3}));
    // The window keeps its place and size.
    EXPECT_EQ(fx.form.Me().Left(), 1500);
    EXPECT_EQ(fx.form.Me().Top(), 750);
    EXPECT_EQ(fx.form.Me().Width(), 3780);
    EXPECT_EQ(fx.form.Me().Height(), 2040);
  }
}

TEST_F(OnTopTest, ClickLeavesLayoutItemsAlone) {
  testing_support::FormFixture fx;
  fx.form.Me().SetCommandArgs(L"/layout=3");
  fx.form.Load();
  fx.form.ChooseMenuItem(platform::MenuId::mnuOptTop);
  EXPECT_FALSE(fx.form.Menu(platform::MenuId::mnuOptView1).Checked());
  EXPECT_FALSE(fx.form.Menu(platform::MenuId::mnuOptView2).Checked());
  EXPECT_TRUE(fx.form.Menu(platform::MenuId::mnuOptView3).Checked());
}

TEST_F(OnTopTest, WindowWithoutHandleStillFlipsTheCheckMark) {
  testing_support::FormFixture fx;
  fx.form.Me().SetHandle(0);
  auto& item = fx.form.Menu(platform::MenuId::mnuOptTop);
  fx.form.ChooseMenuItem(platform::MenuId::mnuOptTop);
  EXPECT_FALSE(item.Checked());
  fx.form.ChooseMenuItem(platform::MenuId::mnuOptTop);
  EXPECT_TRUE(item.Checked());
  EXPECT_TRUE(SetWindowPosCalls().empty());
}

}  // namespace
}  // namespace pigmentry::app
