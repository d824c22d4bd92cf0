// Registering the program's own window classes.
#pragma once

#include <windows.h>

namespace pigmentry::platform::win32 {

// A window class with the arrow cursor and a system colour as background.
inline void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                                int backgroundColour) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(backgroundColour + 1));
  windowClass.lpszClassName = name;
  ::RegisterClassExW(&windowClass);
}

}  // namespace pigmentry::platform::win32
