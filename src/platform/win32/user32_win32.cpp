#include <windows.h>

#include "platform/user32.h"

namespace pigmentry::platform {

bool SetWindowPos(std::intptr_t hWnd, std::intptr_t hWndInsertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
  return ::SetWindowPos(reinterpret_cast<HWND>(hWnd), reinterpret_cast<HWND>(hWndInsertAfter), x, y,
                        cx, cy, flags) != FALSE;
}

}  // namespace pigmentry::platform
