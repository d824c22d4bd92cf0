// GetTickCount64 for the 32-bit build, which also runs on Windows XP: XP's
// kernel32 has no GetTickCount64, yet the MinGW thread library imports it for
// its timeouts, and the loader refuses a program with an import it cannot
// find. tick_count_slot.S defines that import's slot itself, pointing at
// pigmentry_TickCount64 below, so the executable does not import it at all.
#include "app/win32/tick_count.h"

#include <windows.h>

namespace {

using TickCount64Fn = ULONGLONG(WINAPI*)();

// The system's own from Vista on; on XP the performance counter, which counts
// from start-up as the tick count does and does not wrap after 49.7 days as
// GetTickCount does.
ULONGLONG WINAPI TickCount64() {
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  const auto system = kernel32 == nullptr ? nullptr
                                          : reinterpret_cast<TickCount64Fn>(reinterpret_cast<void*>(
                                                ::GetProcAddress(kernel32, "GetTickCount64")));
  if (system != nullptr) {
    return system();
  }
  LARGE_INTEGER count{};
  LARGE_INTEGER frequency{};
  if (!::QueryPerformanceCounter(&count) || !::QueryPerformanceFrequency(&frequency)) {
    return ::GetTickCount();
  }
  return pigmentry::app::win32::MillisecondsFromCounter(
      static_cast<std::uint64_t>(count.QuadPart), static_cast<std::uint64_t>(frequency.QuadPart));
}

}  // namespace

// Called through the import slot in tick_count_slot.S.
extern "C" ULONGLONG WINAPI pigmentry_TickCount64() { return TickCount64(); }
