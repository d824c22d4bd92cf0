// Twips and pixels at a given resolution.
#pragma once

#include <windows.h>

#include "platform/twips.h"

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
