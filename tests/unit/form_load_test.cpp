// Start-up: the caption, the topmost band and the command-line options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/user32_memory.h"
#include "support/form_fixture.h"

namespace pigmentry::app {
namespace {

using platform::MenuId;

// Where the window stands before start-up moves it, in twips.
constexpr float kStartLeft = 4500;
constexpr float kStartTop = 3000;
constexpr int kDefault = 1;
constexpr int kWide1 = 2;
constexpr int kWide2 = 3;

const wchar_t* const kUsageText =
    L"/x=[window X coordinate]\r\n"
    L"\r\n"
    L"/y=[window Y coordinate]\r\n"
    L"\r\n"
    L"/layout=[1,2,3]\r\n"
    L"\r\n"
    L"/ontop=[0,1]\r\n"
    L"\r\n"
    L"Example: \r\n"
    L"Pigmentry /x=0 /y=0 /layout=2 /ontop=1";

// A program started with `args` on a 96 dpi screen (15 twips a pixel).
struct Started {
  explicit Started(const std::wstring& args) {
    platform::memory::ResetUser32();
    fx.form.Me().SetLeft(kStartLeft);
    fx.form.Me().SetTop(kStartTop);
    fx.form.Me().SetCommandArgs(args);
    fx.form.Load();
  }
  ~Started() { platform::memory::ResetUser32(); }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  // The layout the window shows: the one checked item, which must agree
  // with the window's size.
  int Layout() {
    int checked = 0;
    for (int i = 1; i <= 3; ++i) {
      if (fx.form.Menu(platform::MnuOptViewId(i)).Checked()) {
        EXPECT_EQ(checked, 0) << "more than one layout checked";
        checked = i;
      }
    }
    const int widths[] = {3780, 6540, 10140};
    const int heights[] = {2040, 1215, 855};
    if (checked != 0) {
      EXPECT_EQ(fx.form.Me().Width(), widths[checked - 1]);
      EXPECT_EQ(fx.form.Me().Height(), heights[checked - 1]);
    }
    return checked;
  }
  bool TopMost() { return platform::memory::IsTopMost(fx.form.Me().Handle()); }
  bool OnTopChecked() { return fx.form.Menu(MenuId::mnuOptTop).Checked(); }

  testing_support::FormFixture fx;
};

struct StartCase {
  std::wstring args;
  float left;
  float top;
  int layout;
  bool onTop;
  bool usage;  // the usage message was shown and the window closed
};

void PrintTo(const StartCase& c, std::ostream* os) {
  *os << '"' << std::string(c.args.begin(), c.args.end()) << '"';
}

TEST(FormLoad, AppliesTheOptionsInCommandLineOrder) {
  constexpr float k15 = 15;  // twips per pixel
  const StartCase cases[] = {
      {L"", kStartLeft, kStartTop, kDefault, true, false},
      {L"  \t  ", kStartLeft, kStartTop, kDefault, true, false},
      // Position, in pixels.
      {L"/x=100 /y=50", 100 * k15, 50 * k15, kDefault, true, false},
      {L"/X=100 /Y=50", 100 * k15, 50 * k15, kDefault, true, false},
      // A quoted blank before an option joins the option before it.
      {L"/x=100 \" /y=50\"", 100 * k15, 50 * k15, kDefault, true, false},
      {L"\" \"", kStartLeft, kStartTop, kDefault, true, false},
      {L"/x=10 /x=20", 20 * k15, kStartTop, kDefault, true, false},
      {L"/x=", 0, kStartTop, kDefault, true, false},
      {L"/x=abc /y=abc", 0, 0, kDefault, true, false},
      {L"/x=12px", 12 * k15, kStartTop, kDefault, true, false},
      {L"/x=-20.5", -20.5F * k15, kStartTop, kDefault, true, false},
      {L"/x=10=20", 10 * k15, kStartTop, kDefault, true, false},
      {L"\"/y=1 0\"", kStartLeft, 10 * k15, kDefault, true, false},
      // Positions beyond what a window can take stop at its limits.
      {L"/x=1e300 /y=-1e300", 32767 * k15, -32768 * k15, kDefault, true, false},
      {L"/x=1e400 /y=-1e400", 32767 * k15, -32768 * k15, kDefault, true, false},
      // Layouts; the position stays.
      {L"/layout=2", kStartLeft, kStartTop, kWide1, true, false},
      {L"/LAYOUT=2", kStartLeft, kStartTop, kWide1, true, false},
      {L"/layout=3", kStartLeft, kStartTop, kWide2, true, false},
      {L"/layout=1", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=3 /layout=0", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=3 /layout=7", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=3 /layout=-1", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=3 /layout=abc", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=2.5", kStartLeft, kStartTop, kWide1, true, false},
      {L"/layout=2.6", kStartLeft, kStartTop, kWide2, true, false},
      {L"/layout=3 /layout=3.5", kStartLeft, kStartTop, kDefault, true, false},
      // Numbers beyond 16 bits are numbers other than 2 and 3, never wrapped.
      {L"/layout=3 /layout=65538", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=2 /layout=65539", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=2 /layout=-65533", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=2 /layout=1e300", kStartLeft, kStartTop, kDefault, true, false},
      {L"/layout=2 /layout=1e400", kStartLeft, kStartTop, kDefault, true, false},
      {L"/x=5 /layout=3 /y=6", 5 * k15, 6 * k15, kWide2, true, false},
      // The topmost band.
      {L"/ontop=1", kStartLeft, kStartTop, kDefault, true, false},
      {L"/ontop=0", kStartLeft, kStartTop, kDefault, false, false},
      {L"/OnTop=0", kStartLeft, kStartTop, kDefault, false, false},
      {L"/ontop=0 /ontop=0", kStartLeft, kStartTop, kDefault, true, false},
      {L"/ontop=", kStartLeft, kStartTop, kDefault, false, false},
      {L"/ontop=off", kStartLeft, kStartTop, kDefault, false, false},
      {L"/ontop=0.5", kStartLeft, kStartTop, kDefault, true, false},
      // Anything else: the usage message, and nothing after it is read.
      {L"/?", kStartLeft, kStartTop, kDefault, true, true},
      {L"/help", kStartLeft, kStartTop, kDefault, true, true},
      {L"-x=1", kStartLeft, kStartTop, kDefault, true, true},
      {L"x=1", kStartLeft, kStartTop, kDefault, true, true},
      {L"/xx=1", kStartLeft, kStartTop, kDefault, true, true},
      {L"=5", kStartLeft, kStartTop, kDefault, true, true},
      {L"\"/x =1\"", kStartLeft, kStartTop, kDefault, true, true},
      {L"/x", kStartLeft, kStartTop, kDefault, true, true},
      {L"/layout", kStartLeft, kStartTop, kDefault, true, true},
      {L"/ontop", kStartLeft, kStartTop, kDefault, true, true},
      {L"/x=10 /foo /y=20 /layout=2 /bar", 10 * k15, kStartTop, kDefault, true, true},
      {L"/ontop=0 /layout=3 /?", kStartLeft, kStartTop, kWide2, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c));
    Started run(c.args);
    EXPECT_EQ(run.fx.form.Me().Caption(), L"Draw Pigmentry 11");
    EXPECT_EQ(run.fx.form.Me().Left(), c.left);
    EXPECT_EQ(run.fx.form.Me().Top(), c.top);
    EXPECT_EQ(run.Layout(), c.layout);
    EXPECT_EQ(run.TopMost(), c.onTop);
    EXPECT_EQ(run.OnTopChecked(), c.onTop);
    EXPECT_EQ(run.fx.form.MessageBoxes().size(), c.usage ? 1U : 0U);
    EXPECT_EQ(run.fx.form.Me().Unloaded(), c.usage);
  }
}

TEST(FormLoad, UsageMessageIsShownBeforeTheWindowCloses) {
  for (const wchar_t* exeName : {L"Pigmentry", L"My Tool"}) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(exeName)));
    platform::memory::ResetUser32();
    testing_support::FormFixture fx;
    fx.form.Me().SetExeName(exeName);
    fx.form.Me().SetCommandArgs(L"/x=1 /? /?");
    bool closedWhileShown = true;
    bool topMostWhileShown = false;
    std::wstring captionWhileShown;
    fx.form.onMessageBox = [&](const platform::memory::MessageBoxRecord&) {
      closedWhileShown = fx.form.Me().Unloaded();
      topMostWhileShown = platform::memory::IsTopMost(fx.form.Me().Handle());
      captionWhileShown = fx.form.Me().Caption();
    };
    fx.form.Load();

    ASSERT_EQ(fx.form.MessageBoxes().size(), 1U);
    const auto& box = fx.form.MessageBoxes().front();
    std::wstring expected = kUsageText;
    expected.replace(expected.rfind(L"Pigmentry"), 9, exeName);
    EXPECT_EQ(box.prompt, expected);
    EXPECT_EQ(box.style, 64);
    EXPECT_EQ(box.title, L"Command Line Options");
    EXPECT_FALSE(closedWhileShown);
    EXPECT_TRUE(topMostWhileShown);
    EXPECT_EQ(captionWhileShown, L"Draw Pigmentry 11");
    EXPECT_TRUE(fx.form.Me().Unloaded());
  }
  platform::memory::ResetUser32();
}

TEST(FormLoad, ReadsAtMost256Arguments) {
  std::wstring first255;
  for (int i = 0; i < 255; ++i) {
    first255 += L"/x=1 ";
  }
  {
    Started run(first255 + L"/x=2 /?");
    EXPECT_EQ(run.fx.form.Me().Left(), 30);
    EXPECT_TRUE(run.fx.form.MessageBoxes().empty());
    EXPECT_FALSE(run.fx.form.Me().Unloaded());
  }
  {
    Started run(first255 + L"/? /x=2");
    EXPECT_EQ(run.fx.form.Me().Left(), 15);
    EXPECT_EQ(run.fx.form.MessageBoxes().size(), 1U);
    EXPECT_TRUE(run.fx.form.Me().Unloaded());
  }
}

TEST(FormLoad, EntersTheTopmostBandFirstAndLeavesItOnceForOntop0) {
  Started run(L"/ontop=0 /layout=2 /x=3");
  const auto handle = run.fx.form.Me().Handle();
  const std::vector<platform::memory::SetWindowPosCall> expected = {
      {handle, -1, 0, 0, 0, 0, 3},
      {handle, -2, 0, 0, 0, 0, 3},
  };
  EXPECT_EQ(platform::memory::SetWindowPosCalls(), expected);
}

TEST(FormLoad, PixelsBecomeTwipsWithTheScreensFactors) {
  struct DpiCase {
    int dpi;
    float left;
    float top;
  };
  for (const DpiCase& c :
       {DpiCase{96, 1500, 750}, DpiCase{120, 1200, 600}, DpiCase{144, 1000, 500}}) {
    SCOPED_TRACE(c.dpi);
    testing_support::FormFixture fx(c.dpi);
    fx.form.Me().SetCommandArgs(L"/x=100 /y=50");
    fx.form.Load();
    EXPECT_EQ(fx.form.Me().Left(), c.left);
    EXPECT_EQ(fx.form.Me().Top(), c.top);
  }
  platform::memory::ResetUser32();
}

}  // namespace
}  // namespace pigmentry::app
