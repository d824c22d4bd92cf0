// The keys the window handles before the dialog manager: Tab and Shift+Tab
// in the order of the tab indices, and the keys that open the Options menu.
#include <algorithm>
#include <vector>

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
  std::vector<HWND> stops;
  for (const auto& design : design_.controls) {
    const Control& control = view_.ControlById(design.id);
    const bool unselectedOption = design.kind == ControlKind::OptionButton &&
                                  !static_cast<const OptionButton&>(control).Value();
    HWND window = children_.at(static_cast<std::size_t>(design.id))->Hwnd();
    if (TakesFocus(design) && !unselectedOption && ::IsWindowVisible(window) != FALSE &&
        ::IsWindowEnabled(window) != FALSE) {
      stops.push_back(window);
    }
  }
  if (stops.empty()) {
    return nullptr;
  }
  const auto at = std::find(stops.begin(), stops.end(), from);
  if (at == stops.end()) {
    return backwards ? stops.back() : stops.front();
  }
  const auto index = static_cast<std::size_t>(at - stops.begin());
  return stops[backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size()];
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
