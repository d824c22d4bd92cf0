// Twips and pixels at a given resolution.
#pragma once

#include <windows.h>

namespace pigmentry::platform::win32 {

inline constexpr int kTwipsPerInch = 1440;

struct Dpi {
  int value = USER_DEFAULT_SCREEN_DPI;

  [[nodiscard]] int ToPixels(int twips) const { return ::MulDiv(twips, value, kTwipsPerInch); }
  [[nodiscard]] int ToTwips(int pixels) const { return ::MulDiv(pixels, kTwipsPerInch, value); }
  [[nodiscard]] float TwipsPerPixel() const {
    return static_cast<float>(kTwipsPerInch) / static_cast<float>(value);
  }
};

// The resolution a window is shown at: its monitor's where the system
// says so, else the screen's.
Dpi DpiOfWindow(HWND window);

}  // namespace pigmentry::platform::win32
