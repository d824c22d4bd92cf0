// Names for assistive tools (screen readers, UI automation) for the controls
// whose meaning the window shows only by position: the three decimal fields,
// the hexadecimal field and the colour swatch. Nothing changes on screen.
#pragma once

#include <windows.h>

#include "platform/ui.h"

namespace pigmentry::platform::win32 {

// Gives the control its accessible name (and the swatch its role) for as
// long as the window lives; other controls keep what the system gives them.
void AddAccessibleName(HWND control, ControlId id);

}  // namespace pigmentry::platform::win32
