// The separator line as a control of the window; the line window itself
// (xline_window.h) draws it and keeps its thickness.
#pragma once

#include "platform/ui.h"
#include "platform/win32/child_window.h"

namespace pigmentry::platform::win32 {

class Win32LineControl final : public ChildControl<LineControl> {
 public:
  using ChildControl::ChildControl;
};

}  // namespace pigmentry::platform::win32
