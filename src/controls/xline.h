// xLine: an etched separator line that keeps itself two screen pixels thick.
//
// A one-pixel line in the button-shadow colour runs along the top edge (or
// the left edge when the control stands upright); the control's own
// background, the 3-D highlight colour, shows in the second pixel. The
// orientation follows from the control's proportions at every paint.
#pragma once

#include <cstdint>

namespace pigmentry::controls {

// What the line needs of the surface it lives on. Sizes are in twips.
class LineSurface {
 public:
  virtual ~LineSurface() = default;
  [[nodiscard]] virtual int Width() const = 0;
  [[nodiscard]] virtual int Height() const = 0;
  // Changing the size raises the control's Resize at once, nested, when the
  // value differs from the current one.
  virtual void SetWidth(int twips) = 0;
  virtual void SetHeight(int twips) = 0;
  [[nodiscard]] virtual float TwipsPerPixelX() const = 0;
  [[nodiscard]] virtual float TwipsPerPixelY() const = 0;
  // A straight one-pixel solid line between two points of the surface, in
  // twips, in a colour of the platform's encoding.
  virtual void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) = 0;
};

class xLine {
 public:
  explicit xLine(LineSurface& surface) : surface_(surface) {}

  void Paint() { Redraw(); }
  void Resize() { Redraw(); }

  // Kept for containers that set it; the line always draws directly.
  [[nodiscard]] static bool AutoRedraw() { return false; }
  static void SetAutoRedraw(bool /*Redraw*/) {}

 private:
  void Redraw();

  LineSurface& surface_;
};

}  // namespace pigmentry::controls
