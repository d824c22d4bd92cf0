#include "platform/win32/label.h"

#include <windowsx.h>

#include <utility>

#include "platform/win32/colours.h"
#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

Win32Label::Win32Label(Win32Form& form, ControlId id, HWND window, std::uint32_t backColor)
    : CaptionedChild(form, id, window),
      backColor_(backColor),
      brush_(::CreateSolidBrush(ToColorRef(backColor))) {}

void Win32Label::SetBackColor(std::uint32_t colour) {
  if (colour == backColor_) {
    return;
  }
  Brush brush(::CreateSolidBrush(ToColorRef(colour)));
  if (!brush) {
    return;  // keep the old colour rather than paint with no brush
  }
  backColor_ = colour;
  brush_ = std::move(brush);
  ::InvalidateRect(Hwnd(), nullptr, TRUE);
}

HBRUSH Win32Label::OnColour(HDC dc) {
  ::SetBkColor(dc, ToColorRef(backColor_));
  return brush_.get();
}

std::optional<LRESULT> Win32Label::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  int button = 0;
  switch (message) {
    case WM_LBUTTONUP:
      button = kLeftButton;
      break;
    case WM_RBUTTONUP:
      button = kRightButton;
      break;
    case WM_MBUTTONUP:
      button = kMiddleButton;
      break;
    default:
      return std::nullopt;
  }
  const LRESULT result = Default(message, wParam, lParam);
  const float twipsPerPixel = Form().CurrentDpi().TwipsPerPixel();
  Form().Events().MouseUp(Id(), button, ShiftState(),
                          static_cast<float>(GET_X_LPARAM(lParam)) * twipsPerPixel,
                          static_cast<float>(GET_Y_LPARAM(lParam)) * twipsPerPixel);
  return result;
}

}  // namespace pigmentry::platform::win32
