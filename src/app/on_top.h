// Module OnTop: moves a window into or out of the window manager's topmost
// band without moving or sizing it.
#pragma once

#include <cstdint>

namespace pigmentry::app::OnTop {

// SetWindowPos's insert-after values and flags used here.
inline constexpr std::intptr_t kHwndTopMost = -1;
inline constexpr std::intptr_t kHwndNoTopMost = -2;
inline constexpr unsigned kSwpNoSize = 0x0001;
inline constexpr unsigned kSwpNoMove = 0x0002;

// Both do nothing for a zero handle; the result of the call is not examined.
void SetTopMost(std::intptr_t hWnd);
void SetNotTopMost(std::intptr_t hWnd);

}  // namespace pigmentry::app::OnTop
