#include "platform/memory/user32_memory.h"

#include <map>

#include "platform/user32.h"

namespace pigmentry::platform {

namespace {

constexpr std::intptr_t kHwndBottom = 1;
constexpr std::intptr_t kHwndTopMost = -1;
constexpr std::intptr_t kHwndNoTopMost = -2;
constexpr unsigned kSwpNoZOrder = 0x0004;

struct User32State {
  std::vector<memory::SetWindowPosCall> calls;
  std::map<std::intptr_t, bool> topMost;
};

User32State& State() {
  static User32State state;
  return state;
}

// The band a window ends up in, as user32 documents it: HWND_TOPMOST puts
// it in the topmost band, HWND_NOTOPMOST and HWND_BOTTOM take it out, and
// HWND_TOP or another window keep the band it is in.
void Restack(std::intptr_t hWnd, std::intptr_t hWndInsertAfter) {
  auto& topMost = State().topMost[hWnd];
  if (hWndInsertAfter == kHwndTopMost) {
    topMost = true;
  } else if (hWndInsertAfter == kHwndNoTopMost || hWndInsertAfter == kHwndBottom) {
    topMost = false;
  }
}

}  // namespace

bool SetWindowPos(std::intptr_t hWnd, std::intptr_t hWndInsertAfter, int x, int y, int cx, int cy,
                  unsigned flags) {
  State().calls.push_back({hWnd, hWndInsertAfter, x, y, cx, cy, flags});
  if (hWnd == 0) {
    return false;  // no such window
  }
  if ((flags & kSwpNoZOrder) == 0) {
    Restack(hWnd, hWndInsertAfter);
  }
  return true;
}

namespace memory {

const std::vector<SetWindowPosCall>& SetWindowPosCalls() { return State().calls; }

bool IsTopMost(std::intptr_t hWnd) {
  const auto& topMost = State().topMost;
  const auto found = topMost.find(hWnd);
  return found != topMost.end() && found->second;
}

void ResetUser32() { State() = {}; }

}  // namespace memory

}  // namespace pigmentry::platform
