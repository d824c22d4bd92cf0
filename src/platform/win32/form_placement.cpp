// Where the window stands and how large it is, in twips for the handlers
// and in pixels at the window's resolution for the system, and what changes
// when that resolution does.
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstddef>

#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

namespace {

// A screen coordinate from twips, kept where a window position can go.
int ScreenPixels(float twips, float twipsPerPixel) {
  const double pixels = static_cast<double>(twips) / static_cast<double>(twipsPerPixel);
  if (!std::isfinite(pixels)) {
    return pixels > 0 ? SHRT_MAX : (pixels < 0 ? SHRT_MIN : 0);
  }
  return static_cast<int>(std::lround(std::clamp(pixels, double{SHRT_MIN}, double{SHRT_MAX})));
}

}  // namespace

// The outer size follows the design frame's client area (width - 90 by
// height - 330 twips), measured in the frame the window really has.
void Win32Form::PlaceOuterSize(int widthTwips, int heightTwips) {
  RECT outer{};
  RECT client{};
  ::GetWindowRect(Hwnd(), &outer);
  ::GetClientRect(Hwnd(), &client);
  const int frameWidth = (outer.right - outer.left) - client.right;
  const int frameHeight = (outer.bottom - outer.top) - client.bottom;
  ::SetWindowPos(Hwnd(), nullptr, 0, 0,
                 frameWidth + std::max(0, dpi_.ToPixels(widthTwips - design_.frameWidth)),
                 frameHeight + std::max(0, dpi_.ToPixels(heightTwips - design_.frameHeight)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Win32Form::WindowRect() const {
  RECT rect{};
  ::GetWindowRect(Hwnd(), &rect);
  return rect;
}

float Win32Form::Left() const {
  return static_cast<float>(WindowRect().left) * dpi_.TwipsPerPixel();
}

float Win32Form::Top() const { return static_cast<float>(WindowRect().top) * dpi_.TwipsPerPixel(); }

void Win32Form::SetLeft(float twips) {
  ::SetWindowPos(Hwnd(), nullptr, ScreenPixels(twips, dpi_.TwipsPerPixel()), WindowRect().top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetTop(float twips) {
  ::SetWindowPos(Hwnd(), nullptr, WindowRect().left, ScreenPixels(twips, dpi_.TwipsPerPixel()), 0,
                 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form::SetWidth(int twips) {
  widthTwips_ = twips;
  PlaceOuterSize(widthTwips_, heightTwips_);
}

void Win32Form::SetHeight(int twips) {
  heightTwips_ = twips;
  PlaceOuterSize(widthTwips_, heightTwips_);
}

void Win32Form::OnDpiChanged(WPARAM wParam, const RECT& suggested) {
  std::array<Extent, kControlCount> extents{};
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const Control& control = view_.ControlById(children_[i]->Id());
    extents[i] = {control.Left(), control.Top(), control.Width(), control.Height()};
  }
  dpi_ = {static_cast<int>(LOWORD(wParam))};
  ::SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  PlaceOuterSize(widthTwips_, heightTwips_);
  for (std::size_t i = 0; i < children_.size(); ++i) {
    const Extent& extent = extents[i];
    view_.ControlById(children_[i]->Id())
        .Move(extent.left, extent.top, extent.width, extent.height);
  }
  ApplyFont();
}

}  // namespace pigmentry::platform::win32
