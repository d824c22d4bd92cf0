// A label, and the colour swatch, which is a label without caption: its
// background colour, and MouseUp with the button that went up.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/ui.h"
#include "platform/win32/child_window.h"
#include "platform/win32/handles.h"

namespace pigmentry::platform::win32 {

class Win32Label final : public CaptionedChild<Label> {
 public:
  Win32Label(Win32Form& form, ControlId id, HWND window, std::uint32_t backColor);
  [[nodiscard]] std::uint32_t BackColor() const override { return backColor_; }
  void SetBackColor(std::uint32_t colour) override;

  HBRUSH OnColour(HDC dc) override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::uint32_t backColor_;
  Brush brush_;
};

}  // namespace pigmentry::platform::win32
