// Names for assistive tools (screen readers, UI automation) for the controls
// whose meaning the window shows only by position: the three decimal fields,
// the hexadecimal field and the colour swatch. Nothing changes on screen.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/ui.h"

namespace pigmentry::platform::win32 {

// The answer to WM_GETOBJECT for a control with an accessible name of its
// own (and the swatch's role): its client object with that name. Nothing
// for other controls and other objects, which the system builds as before.
std::optional<LRESULT> AnnotatedAccessibleObject(HWND control, ControlId id, WPARAM wParam,
                                                 LPARAM lParam);

}  // namespace pigmentry::platform::win32
