// The separator line as a window class of its own ("Pigmentry.xLine").
#pragma once

#include <windows.h>

#include <memory>

#include "controls/xline.h"
#include "platform/win32/base_window.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/dpi.h"

namespace pigmentry::platform::win32 {

class XLineWindow final : public controls::LineSurface, public BaseWindow<XLineWindow> {
 public:
  static constexpr const wchar_t* kClassName = kLineClassName;
  static constexpr int kBackgroundColour = COLOR_BTNHIGHLIGHT;

  // Creates the control as a child of `parent`; none
  // when the window cannot be created.
  static std::unique_ptr<XLineWindow> Create(HINSTANCE instance, HWND parent, int id,
                                             const PixelPlace& place);

  XLineWindow(const XLineWindow&) = delete;
  XLineWindow& operator=(const XLineWindow&) = delete;
  ~XLineWindow() override;

  [[nodiscard]] int Width() const override;
  [[nodiscard]] int Height() const override;
  void SetWidth(int twips) override;
  void SetHeight(int twips) override;
  [[nodiscard]] float TwipsPerPixelX() const override;
  [[nodiscard]] float TwipsPerPixelY() const override;
  void DrawLine(int x1, int y1, int x2, int y2, std::uint32_t colour) override;

 private:
  friend class BaseWindow<XLineWindow>;

  XLineWindow() = default;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnPaint();
  void OnSize();
  [[nodiscard]] SIZE ClientSize() const;
  void Resize(int widthPixels, int heightPixels);
  [[nodiscard]] Dpi CurrentDpi() const { return DpiOfWindow(Hwnd()); }
  // Runs `draw` with `dc` as the surface; a nested resize draws on the same.
  template <typename Draw>
  void DrawingOn(HDC dc, Draw draw) {
    HDC outer = dc_;
    dc_ = dc;
    draw();
    dc_ = outer;
  }

  controls::xLine line_{*this};
  HDC dc_ = nullptr;  // the surface being drawn on, during a paint or a resize
};

}  // namespace pigmentry::platform::win32
