// The Win32 side keeps the event rules the handlers rely on. The window is
// created in this process with a recording event sink.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/form1_design.h"
#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {
namespace {

using Log = std::vector<std::wstring>;

class RecordingEvents : public FormEvents {
 public:
  explicit RecordingEvents(const Form1View& view) : view_(view) {}
  void Load() override {}
  void Change(ControlId id) override {
    const std::wstring text = static_cast<TextField&>(view_.ControlById(id)).Text();
    log.push_back(L"Change " + std::to_wstring(static_cast<int>(id)) + L" " + text);
    if (text == L"007") {
      static_cast<TextField&>(view_.ControlById(id)).SetText(L"7");
      log.push_back(L"write returned");
    }
  }
  void GotFocus(ControlId id) override {
    log.push_back(L"GotFocus " + std::to_wstring(static_cast<int>(id)));
  }
  void LostFocus(ControlId id) override {
    log.push_back(L"LostFocus " + std::to_wstring(static_cast<int>(id)));
  }
  void KeyDown(ControlId id, int& keyCode, int /*shift*/) override {
    log.push_back(L"KeyDown " + std::to_wstring(static_cast<int>(id)) + L" " +
                  std::to_wstring(keyCode));
    if (keyCode == consumeKey) {
      keyCode = 0;
    }
  }
  void Click(ControlId id) override {
    log.push_back(L"Click " + std::to_wstring(static_cast<int>(id)));
  }
  void MouseUp(ControlId /*id*/, int /*button*/, int /*shift*/, float /*x*/, float /*y*/) override {
  }
  void MenuClick(MenuId /*id*/) override {}

  Log log;
  int consumeKey = -1;

 private:
  const Form1View& view_;
};

class Win32Platform : public testing::Test {
 protected:
  Win32Platform() : form(::GetModuleHandleW(nullptr), app::kForm1Design), events(form.View()) {
    form.Connect(events);
    form.Show(SW_SHOWNOACTIVATE);
    ::SetForegroundWindow(form.Hwnd());
    events.log.clear();
  }
  [[nodiscard]] HWND Hwnd(ControlId id) const {
    return ::GetDlgItem(form.Hwnd(), 1000 + static_cast<int>(id));
  }
  static std::wstring Id(ControlId id) { return std::to_wstring(static_cast<int>(id)); }

  Win32Form form;
  RecordingEvents events;
};

TEST_F(Win32Platform, ProgramWriteRaisesChangeOnceNestedAndOnlyWhenTheTextDiffers) {
  TextField& red = form.View().txtC(0);
  red.SetText(L"255");
  EXPECT_TRUE(events.log.empty());
  red.SetText(L"007");
  EXPECT_EQ(red.Text(), L"7");
  const std::wstring id = Id(ControlId::txtC0);
  EXPECT_EQ(events.log,
            (Log{L"Change " + id + L" 007", L"Change " + id + L" 7", L"write returned"}));
}

TEST_F(Win32Platform, TypingRaisesChange) {
  ::SendMessageW(Hwnd(ControlId::txtHex), WM_CHAR, L'A', 1);
  ASSERT_EQ(events.log.size(), 1U);
  EXPECT_EQ(events.log[0].rfind(L"Change " + Id(ControlId::txtHex), 0), 0U);
}

TEST_F(Win32Platform, LostFocusOfTheOldControlComesBeforeGotFocusOfTheNew) {
  ::SetFocus(Hwnd(ControlId::txtHex));
  events.log.clear();
  ::SetFocus(Hwnd(ControlId::txtC1));
  EXPECT_EQ(events.log,
            (Log{L"LostFocus " + Id(ControlId::txtHex), L"GotFocus " + Id(ControlId::txtC1)}));
}

TEST_F(Win32Platform, FocusLeavingForAMessageBoxRaisesNothing) {
  ::SetFocus(Hwnd(ControlId::txtHex));
  events.log.clear();
  // Another top-level window takes the focus and gives it back.
  HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
  ::SetFocus(other);
  ::SetFocus(Hwnd(ControlId::txtHex));
  ::DestroyWindow(other);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(Win32Platform, KeyDownSetToZeroConsumesTheKey) {
  HWND red = Hwnd(ControlId::txtC0);
  ::SetFocus(red);
  ::SendMessageW(red, EM_SETSEL, 0, 0);
  events.consumeKey = VK_DELETE;
  ::SendMessageW(red, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(form.View().txtC(0).Text(), L"255");
  events.consumeKey = -1;
  ::SendMessageW(red, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(form.View().txtC(0).Text(), L"55");
}

TEST_F(Win32Platform, SeparatorForcesItsThicknessAtOnce) {
  LineControl& line = form.View().xLine1();
  line.Move(840, 840, 2895, 200);
  EXPECT_EQ(line.Height(), 30);
  line.Move(3600, 0, 30, 870);
  EXPECT_EQ(line.Width(), 30);
  EXPECT_EQ(line.Height(), 870);
  line.Move(840, 840, 510, 510);
  EXPECT_EQ(line.Width(), 510);
  EXPECT_EQ(line.Height(), 30);
}

TEST_F(Win32Platform, ButtonClickRaisesClick) {
  ::SendMessageW(Hwnd(ControlId::cmdGetPaper), BM_CLICK, 0, 0);
  EXPECT_NE(std::find(events.log.begin(), events.log.end(), L"Click " + Id(ControlId::cmdGetPaper)),
            events.log.end());
}

TEST_F(Win32Platform, OptionButtonsAreOneExclusiveGroup) {
  form.View().optHex().SetValue(true);
  EXPECT_FALSE(form.View().optRGB().Value());
  ::SendMessageW(Hwnd(ControlId::optRGB), BM_CLICK, 0, 0);
  EXPECT_TRUE(form.View().optRGB().Value());
  EXPECT_FALSE(form.View().optHex().Value());
}

// Moved to a monitor of another resolution, the window keeps its twips: the
// client area and every control are placed again at the new resolution.
TEST_F(Win32Platform, DpiChangeKeepsTheTwipsOfTheWindowAndItsControls) {
  form.View().txtHex().Move(1800, 480, 735, 285);
  RECT suggested{};
  ::GetWindowRect(form.Hwnd(), &suggested);
  ::SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  ::GetClientRect(form.Hwnd(), &client);
  EXPECT_EQ(client.right, 369);  // 3690 twips at 10 twips per pixel
  EXPECT_EQ(client.bottom, 171);
  RECT hex{};
  ::GetWindowRect(Hwnd(ControlId::txtHex), &hex);
  ::MapWindowPoints(HWND_DESKTOP, form.Hwnd(), reinterpret_cast<POINT*>(&hex), 2);
  EXPECT_EQ(hex.left, 180);
  EXPECT_EQ(hex.top, 48);
  EXPECT_EQ(hex.bottom - hex.top, 29);           // 28.5 pixels, rounded half up
  EXPECT_EQ(form.View().txtHex().Width(), 740);  // 74 pixels read back
  RECT line{};
  ::GetClientRect(Hwnd(ControlId::xLine1), &line);
  EXPECT_EQ(line.bottom, 2);
  EXPECT_FLOAT_EQ(form.TwipsPerPixelX(), 10.0F);
}

}  // namespace
}  // namespace pigmentry::platform::win32
