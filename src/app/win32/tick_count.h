#ifndef PIGMENTRY_APP_WIN32_TICK_COUNT_H
#define PIGMENTRY_APP_WIN32_TICK_COUNT_H

#include <cstdint>

namespace pigmentry::app::win32 {

// Milliseconds of a performance counter reading: count / frequency seconds,
// worked out in whole seconds and the remainder so that count * 1000 never
// overflows. A frequency of 0 (no counter) gives 0.
constexpr std::uint64_t MillisecondsFromCounter(std::uint64_t count, std::uint64_t frequency) {
  if (frequency == 0) {
    return 0;
  }
  return count / frequency * 1000 + count % frequency * 1000 / frequency;
}

}  // namespace pigmentry::app::win32

#endif  // PIGMENTRY_APP_WIN32_TICK_COUNT_H
