// An option button of the window's one group: selecting one clears the
// other.
#pragma once

#include <windows.h>

#include "platform/ui.h"
#include "platform/win32/child_window.h"

namespace pigmentry::platform::win32 {

class Win32OptionButton final : public CaptionedChild<OptionButton> {
 public:
  using CaptionedChild::CaptionedChild;
  [[nodiscard]] bool Value() const override;
  void SetValue(bool selected) override;

  void OnNotify(UINT code) override;
};

}  // namespace pigmentry::platform::win32
