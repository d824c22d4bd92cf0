// Twips and pixels at a given resolution.
#pragma once

#include <windows.h>

#include "platform/twips.h"

// The headers name these only for newer systems than the oldest this program
// runs on (Windows XP); their values are the same everywhere. XP never sends
// WM_DPICHANGED, so handling it costs nothing there.
#ifndef USER_DEFAULT_SCREEN_DPI
#define USER_DEFAULT_SCREEN_DPI 96
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace pigmentry::platform::win32 {

struct Dpi {
  int value = USER_DEFAULT_SCREEN_DPI;

  [[nodiscard]] int ToPixels(int twips) const { return TwipsToPixels(twips, value); }
  [[nodiscard]] int ToTwips(int pixels) const { return PixelsToTwips(pixels, value); }
  [[nodiscard]] float TwipsPerPixel() const {
    return static_cast<float>(kTwipsPerInch) / static_cast<float>(value);
  }
};

// The resolution a window is shown at: its monitor's where the system
// says so, else the screen's.
Dpi DpiOfWindow(HWND window);

}  // namespace pigmentry::platform::win32
