// The separator line as a control of the window; the line window itself
// (xline_window.h) draws it and keeps its thickness.
#pragma once

#include <memory>
#include <utility>

#include "platform/ui.h"
#include "platform/win32/child_window.h"
#include "platform/win32/xline_window.h"

namespace pigmentry::platform::win32 {

class Win32LineControl final : public ChildControl<LineControl> {
 public:
  Win32LineControl(Win32Form& form, ControlId id, std::unique_ptr<XLineWindow> line)
      : ChildControl(form, id, line->Hwnd()), line_(std::move(line)) {}

 private:
  std::unique_ptr<XLineWindow> line_;
};

}  // namespace pigmentry::platform::win32
