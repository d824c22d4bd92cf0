// The separator line as a window class of its own ("Pigmentry.xLine").
#pragma once

#include <windows.h>

#include "controls/xline.h"
#include "platform/win32/dpi.h"

namespace pigmentry::platform::win32 {

class XLineWindow final : public controls::LineSurface {
 public:
  static void Register(HINSTANCE instance);
  // Creates the control as a child of `parent` at a pixel rectangle.
  static HWND Create(HWND parent, int id, const RECT& pixels);

  XLineWindow(const XLineWindow&) = delete;
  XLineWindow& operator=(const XLineWindow&) = delete;
  ~XLineWindow() override = default;

  [[nodiscard]] int Width() const override;
  [[nodiscard]] int Height() const override;
  void SetWidth(int twips) override;
  void SetHeight(int twips) override;
  [[nodiscard]] float TwipsPerPixelX() const override;
  [[nodiscard]] float TwipsPerPixelY() const override;
  void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) override;

 private:
  explicit XLineWindow(HWND window) : window_(window) {}
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnSize();
  [[nodiscard]] SIZE ClientSize() const;
  void Resize(int widthPixels, int heightPixels);
  [[nodiscard]] Dpi CurrentDpi() const { return DpiOfWindow(window_); }
  // Runs `draw` with `dc` as the surface; a nested resize draws on the same.
  template <typename Draw>
  void DrawingOn(HDC dc, Draw draw) {
    HDC outer = dc_;
    dc_ = dc;
    draw();
    dc_ = outer;
  }

  HWND window_;
  controls::xLine line_{*this};
  HDC dc_ = nullptr;  // the surface being drawn on, during a paint or a resize
};

}  // namespace pigmentry::platform::win32
