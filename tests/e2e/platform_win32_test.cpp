// The Win32 side keeps the event rules the handlers rely on. The window is
// created in this process with a recording event sink.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/form1_design.h"
#include "platform/win32/control_ids.h"
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

// The window a test works with; a test whose window is not created fails.
Win32Form& Created(const std::unique_ptr<Win32Form>& window) {
  if (!window) {
    throw std::runtime_error("the window was not created");
  }
  return *window;
}

class Win32Platform : public testing::Test {
 protected:
  Win32Platform()
      : owner(Win32Form::Create(::GetModuleHandleW(nullptr), app::kForm1Design)),
        form(Created(owner)),
        events(form.View()) {
    form.Connect(events);
    form.Show(SW_SHOWNOACTIVATE);
    ::SetForegroundWindow(form.Hwnd());
    events.log.clear();
  }
  [[nodiscard]] HWND Hwnd(ControlId id) const {
    return ::GetDlgItem(form.Hwnd(), 1000 + static_cast<int>(id));
  }
  static std::wstring Id(ControlId id) { return std::to_wstring(static_cast<int>(id)); }

  std::unique_ptr<Win32Form> owner;
  Win32Form& form;
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

// While it lives, the system refuses to create windows of one class on this
// thread, as it would when out of resources.
class RefusedClass {
 public:
  explicit RefusedClass(const wchar_t* name)
      : hook_(::SetWindowsHookExW(WH_CBT, &RefusedClass::Hook, nullptr, ::GetCurrentThreadId())) {
    refused_ = name;
  }
  RefusedClass(const RefusedClass&) = delete;
  RefusedClass& operator=(const RefusedClass&) = delete;
  ~RefusedClass() {
    ::UnhookWindowsHookEx(hook_);
    refused_ = nullptr;
  }
  [[nodiscard]] bool Installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
      std::array<wchar_t, 64> name{};
      ::GetClassNameW(reinterpret_cast<HWND>(wParam), name.data(), static_cast<int>(name.size()));
      if (refused_ != nullptr && ::lstrcmpiW(name.data(), refused_) == 0) {
        return 1;  // the creation fails
      }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline const wchar_t* refused_ = nullptr;
  HHOOK hook_;
};

BOOL CALLBACK CountForm(HWND window, LPARAM count) {
  std::array<wchar_t, 64> name{};
  ::GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  if (std::wstring(name.data()) == kForm1ClassName) {
    ++*reinterpret_cast<int*>(count);
  }
  return TRUE;
}

// The main windows this thread has, hidden ones included.
int FormsOfThisThread() {
  int count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CountForm, reinterpret_cast<LPARAM>(&count));
  return count;
}

// A window refused by the system, or any of its controls, fails the whole
// creation: no window object comes back and no half-built window is left.
TEST(Win32PlatformCreation, AnyRefusedWindowFailsTheCreationAndLeavesNoWindow) {
  for (const wchar_t* name : {kForm1ClassName, L"Edit", L"Button", L"Static", kLineClassName}) {
    SCOPED_TRACE(testing::Message() << "refused class " << name);
    const RefusedClass refused(name);
    ASSERT_TRUE(refused.Installed());
    EXPECT_EQ(Win32Form::Create(::GetModuleHandleW(nullptr), app::kForm1Design), nullptr);
    EXPECT_EQ(FormsOfThisThread(), 0);
  }
  // With nothing refused the same window is created.
  const auto form = Win32Form::Create(::GetModuleHandleW(nullptr), app::kForm1Design);
  ASSERT_NE(form, nullptr);
  EXPECT_NE(form->Hwnd(), nullptr);
  EXPECT_EQ(FormsOfThisThread(), 1);
}

}  // namespace
}  // namespace pigmentry::platform::win32
