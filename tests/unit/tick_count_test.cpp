#include "app/win32/tick_count.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using pigmentry::app::win32::MillisecondsFromCounter;

struct CounterCase {
  std::uint64_t count;
  std::uint64_t frequency;
  std::uint64_t milliseconds;
};

// The replacement tick count of the 32-bit build on Windows XP: whole
// milliseconds, rounded down, without overflow for counts whose product with
// 1000 does not fit in 64 bits.
TEST(TickCount, MillisecondsFromPerformanceCounter) {
  const CounterCase cases[] = {
      {0, 10'000'000, 0},
      {10'000'000, 10'000'000, 1'000},
      {9'999, 10'000'000, 0},
      {10'000, 10'000'000, 1},
      // The ACPI timer's frequency, common on XP machines: 2.4999 s.
      {3'579'545ULL * 2 + 1'789'772, 3'579'545, 2'499},
      // count * 1000 would overflow: 10^19 ticks of a 10 MHz counter.
      {10'000'000'000'000'000'000ULL, 10'000'000, 1'000'000'000'000'000ULL},
      {10'000'000'000'000'012'345ULL, 10'000'000, 1'000'000'000'000'001ULL},
      // No counter.
      {12'345, 0, 0},
  };
  for (const CounterCase& c : cases) {
    EXPECT_EQ(MillisecondsFromCounter(c.count, c.frequency), c.milliseconds)
        << "count " << c.count << " at " << c.frequency << " Hz";
  }
}

}  // namespace
