// A command button: a click raises Click.
#pragma once

#include <windows.h>

#include "platform/ui.h"
#include "platform/win32/child_window.h"
#include "platform/win32/win32_form.h"

namespace pigmentry::platform::win32 {

class Win32CommandButton final : public CaptionedChild<CommandButton> {
 public:
  using CaptionedChild::CaptionedChild;

  void OnNotify(UINT code) override {
    if (code == BN_CLICKED) {
      Form().Events().Click(Id());
    }
  }
};

}  // namespace pigmentry::platform::win32
