// The window's small and large icons, from the program's icon resource.
#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

namespace {

constexpr int kIconResourceId = 1;

}  // namespace

void Win32Form::LoadIcons() {
  const auto load = [this](int metricX, int metricY) {
    return Icon(static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(kIconResourceId),
                                                IMAGE_ICON, ::GetSystemMetrics(metricX),
                                                ::GetSystemMetrics(metricY), LR_DEFAULTCOLOR)));
  };
  smallIcon_ = load(SM_CXSMICON, SM_CYSMICON);
  bigIcon_ = load(SM_CXICON, SM_CYICON);
  if (smallIcon_) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  }
  if (bigIcon_) {
    ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  }
}

}  // namespace pigmentry::platform::win32
