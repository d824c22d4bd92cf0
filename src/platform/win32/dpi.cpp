#include "platform/win32/dpi.h"

#include "platform/win32/handles.h"

namespace pigmentry::platform::win32 {

namespace {

// Looked up at run time: these exist from Windows 10 1607 on.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

}  // namespace

Dpi DpiOfWindow(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (window != nullptr && getDpiForWindow != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
      return {static_cast<int>(dpi)};
    }
  }
  const WindowDc screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
  return {dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI};
}

}  // namespace pigmentry::platform::win32
