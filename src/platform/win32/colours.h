// The program's colour numbers as GDI takes them.
#pragma once

#include <windows.h>

#include <cstdint>

namespace pigmentry::platform::win32 {

// A colour number (R + 256 G + 65536 B), or a system colour (the top bit
// set and the system colour's index in the low byte).
inline COLORREF ToColorRef(std::uint32_t colour) {
  if ((colour & 0x80000000U) != 0) {
    return ::GetSysColor(static_cast<int>(colour & 0xFFU));
  }
  return static_cast<COLORREF>(colour & 0xFFFFFFU);
}

}  // namespace pigmentry::platform::win32
