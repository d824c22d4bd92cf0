// The keys the window handles before the dialog manager: Tab and Shift+Tab
// in the order of the tab indices, and the keys that open the Options menu.
#include <algorithm>
#include <array>
#include <cstddef>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

// Tab and Shift+Tab move the focus in the order of the tab indices. The
// dialog manager would follow the stacking order instead.
bool Win32Form::HandleTabKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
      ChildOf(message.hwnd) == nullptr || ::GetKeyState(VK_CONTROL) < 0 ||
      ::GetKeyState(VK_MENU) < 0) {
    return false;
  }
  if (HWND next = NextTabStop(message.hwnd, ::GetKeyState(VK_SHIFT) < 0); next != nullptr) {
    ::SetFocus(next);
  }
  return true;
}

HWND Win32Form::NextTabStop(HWND from, bool backwards) const {
  // The controls that can take the focus now, in tab order. Of the option
  // buttons only the selected one is a Tab stop, as in any group of them.
  std::array<HWND, kControlCount> stops{};
  std::size_t count = 0;
  for (const auto& design : design_.controls) {
    const Control& control = view_.ControlById(design.id);
    const bool unselectedOption = design.kind == ControlKind::OptionButton &&
                                  !static_cast<const OptionButton&>(control).Value();
    HWND window = children_.at(static_cast<std::size_t>(design.id))->Hwnd();
    if (TakesFocus(design) && !unselectedOption && ::IsWindowVisible(window) != FALSE &&
        ::IsWindowEnabled(window) != FALSE && count < stops.size()) {
      stops[count++] = window;
    }
  }
  if (count == 0) {
    return nullptr;
  }
  const HWND* const at = std::find(stops.data(), stops.data() + count, from);
  const auto index = static_cast<std::size_t>(at - stops.data());
  if (index == count) {
    return backwards ? stops[count - 1] : stops[0];
  }
  return stops[backwards ? (index + count - 1) % count : (index + 1) % count];
}

// The context-menu key and Shift+F10 open the Options menu from any control
// but the text fields, which have an editing menu of their own.
bool Win32Form::HandleMenuKey(const MSG& message) {
  const bool appsKey =
      (message.message == WM_KEYDOWN || message.message == WM_KEYUP) && message.wParam == VK_APPS;
  const bool shiftF10 = (message.message == WM_SYSKEYDOWN || message.message == WM_KEYDOWN) &&
                        message.wParam == VK_F10 && ::GetKeyState(VK_SHIFT) < 0;
  const ChildWindow* child = ChildOf(message.hwnd);
  if ((!appsKey && !shiftF10) || child == nullptr ||
      design_.Control(child->Id()).kind == ControlKind::TextField) {
    return false;
  }
  if (shiftF10 || message.message == WM_KEYUP) {
    OpenOptionsMenuFromKeyboard();
  }
  return true;
}

}  // namespace pigmentry::platform::win32
