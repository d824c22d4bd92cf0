// The in-memory side of the user32 calls: every call is recorded, and each
// window handle keeps the stacking band it was last put into.
#pragma once

#include <cstdint>
#include <vector>

namespace pigmentry::platform::memory {

struct SetWindowPosCall {
  std::intptr_t hWnd;
  std::intptr_t hWndInsertAfter;
  int x;
  int y;
  int cx;
  int cy;
  unsigned flags;

  friend bool operator==(const SetWindowPosCall&, const SetWindowPosCall&) = default;
};

// Every SetWindowPos call since the last ResetUser32, oldest first.
[[nodiscard]] const std::vector<SetWindowPosCall>& SetWindowPosCalls();
// Whether the window with this handle is in the topmost band. A handle that
// has never been placed is not.
[[nodiscard]] bool IsTopMost(std::intptr_t hWnd);
// Forgets the recorded calls and every window's band.
void ResetUser32();

}  // namespace pigmentry::platform::memory
