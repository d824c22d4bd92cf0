#include "controls/xline.h"

#include <cmath>

#include "platform/ui.h"

namespace pigmentry::controls {

namespace {

int TwoPixels(float twipsPerPixel) { return static_cast<int>(std::lround(2.0F * twipsPerPixel)); }

}  // namespace

void xLine::Redraw() {
  const int height = surface_.Height();
  const int width = surface_.Width();
  if (width < height) {
    surface_.DrawLine(0, 0, 0, height, platform::kButtonShadow);
    surface_.SetWidth(TwoPixels(surface_.TwipsPerPixelX()));
  } else {
    surface_.DrawLine(0, 0, width, 0, platform::kButtonShadow);
    surface_.SetHeight(TwoPixels(surface_.TwipsPerPixelY()));
  }
}

}  // namespace pigmentry::controls
