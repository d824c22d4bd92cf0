#include "platform/win32/base_window.h"

namespace pigmentry::platform::win32 {

void OwnedWindow::Destroy() {
  if (window_ != nullptr) {
    ::DestroyWindow(window_);
  }
}

bool OwnedWindow::Create(WindowClass& windowClass, HINSTANCE instance, DWORD exStyle,
                         const wchar_t* caption, DWORD style, const PixelPlace& place, HWND parent,
                         HMENU menu) {
  if (!windowClass.registered) {
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof(registration);
    registration.lpfnWndProc = &OwnedWindow::WindowProc;
    registration.hInstance = instance;
    registration.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    registration.hbrBackground =
        reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(windowClass.backgroundColour + 1));
    registration.lpszClassName = windowClass.name;
    windowClass.registered = ::RegisterClassExW(&registration) != 0;
    if (!windowClass.registered) {
      return false;
    }
  }
  // The window is kept from WM_NCCREATE on, and let go of at WM_NCDESTROY
  // when a later step of the creation fails.
  ::CreateWindowExW(exStyle, windowClass.name, caption, style, place.left, place.top, place.width,
                    place.height, parent, menu, instance, this);
  return window_ != nullptr;
}

LRESULT OwnedWindow::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK OwnedWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<OwnedWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<OwnedWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) {
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  const LRESULT result = self->router_(*self, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window's last message: the object no longer has it.
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  return result;
}

}  // namespace pigmentry::platform::win32
