#include "platform/win32/child_window.h"

#include <algorithm>

#include "platform/win32/accessible_names.h"
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

std::wstring TextOfWindow(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void ChildWindow::SetWindowText(const std::wstring& text) const {
  ::SetWindowTextW(window_, text.c_str());
}

void ChildWindow::Subclass() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildWindow::WindowProc)));
}

LRESULT CALLBACK ChildWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ChildWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->original_ == nullptr) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    // The control's own procedure from here on, and no way back to this
    // object, which may go before the control's last messages.
    const WNDPROC original = self->original_;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return ::CallWindowProcW(original, window, message, wParam, lParam);
  }
  if (message == WM_GETOBJECT) {
    if (const auto answer = AnnotatedAccessibleObject(window, self->id_, wParam, lParam)) {
      return *answer;
    }
  }
  return self->form_.HandleChildMessage(*self, message, wParam, lParam);
}

LRESULT ChildWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::CallWindowProcW(original_, window_, message, wParam, lParam);
}

}  // namespace pigmentry::platform::win32
