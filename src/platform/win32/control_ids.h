// Child-window identifiers of Form1's controls and menu items, shared with
// the tests that drive the program from another process.
#pragma once

#include "platform/ui.h"

namespace pigmentry::platform::win32 {

inline constexpr const wchar_t* kForm1ClassName = L"Pigmentry.Form1";
inline constexpr const wchar_t* kLineClassName = L"Pigmentry.xLine";

constexpr int DlgIdOf(ControlId id) { return 1000 + static_cast<int>(id); }
constexpr int CommandIdOf(MenuId id) { return 2000 + static_cast<int>(id); }

}  // namespace pigmentry::platform::win32
