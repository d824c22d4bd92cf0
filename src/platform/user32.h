// The user32 calls the program makes directly, by handle.
#pragma once

#include <cstdint>

namespace pigmentry::platform {

// user32 SetWindowPos with the handle and insert-after as numbers
// (HWND_TOPMOST is -1, HWND_NOTOPMOST -2).
bool SetWindowPos(std::intptr_t hWnd, std::intptr_t hWndInsertAfter, int x, int y, int cx, int cy,
                  unsigned flags);

}  // namespace pigmentry::platform
