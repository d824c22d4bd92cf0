#include "platform/win32/child_window.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

int ShiftState() {
  int shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) {
    shift |= 1;
  }
  if (::GetKeyState(VK_CONTROL) < 0) {
    shift |= 2;
  }
  if (::GetKeyState(VK_MENU) < 0) {
    shift |= 4;
  }
  return shift;
}

Extent ChildWindow::TwipsExtent() const {
  RECT rect{};
  ::GetWindowRect(window_, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window_), reinterpret_cast<POINT*>(&rect), 2);
  const Dpi dpi = form_.CurrentDpi();
  return {dpi.ToTwips(rect.left), dpi.ToTwips(rect.top), dpi.ToTwips(rect.right - rect.left),
          dpi.ToTwips(rect.bottom - rect.top)};
}

void ChildWindow::PlaceTwips(int left, int top, int width, int height) const {
  const Dpi dpi = form_.CurrentDpi();
  ::SetWindowPos(window_, nullptr, dpi.ToPixels(left), dpi.ToPixels(top),
                 std::max(0, dpi.ToPixels(width)), std::max(0, dpi.ToPixels(height)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

std::wstring ChildWindow::WindowText() const {
  const int length = ::GetWindowTextLengthW(window_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void ChildWindow::SetWindowText(const std::wstring& text) const {
  ::SetWindowTextW(window_, text.c_str());
}

LRESULT ChildWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::DefSubclassProc(window_, message, wParam, lParam);
}

}  // namespace pigmentry::platform::win32
