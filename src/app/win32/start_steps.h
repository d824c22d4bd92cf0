// The moments at which the steps of the program's start end, for the
// start-up benchmark. Only a build with PIGMENTRY_START_STEPS defined
// (Pigmentry_steps.exe, built for ./build.sh bench) records them; it writes
// them to its standard output once the window is shown, one line a step:
//   step <name> <milliseconds on the performance counter>
// Pigmentry.exe itself has none of this code.
#pragma once

#include <windows.h>

#include <array>
#include <cstdio>

namespace pigmentry::app {

#ifdef PIGMENTRY_START_STEPS

class StartSteps {
 public:
  static void Mark(const char* step) {
    Steps& steps = All();
    if (steps.count < steps.marks.size()) {
      LARGE_INTEGER now{};
      ::QueryPerformanceCounter(&now);
      steps.marks[steps.count++] = {step, now.QuadPart};
    }
  }

  static void Report() {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const Steps& steps = All();
    for (std::size_t i = 0; i < steps.count && out != nullptr && out != INVALID_HANDLE_VALUE; ++i) {
      std::array<char, 96> line{};
      const double milliseconds = 1000.0 * static_cast<double>(steps.marks[i].counter) /
                                  static_cast<double>(frequency.QuadPart);
      const int length = std::snprintf(line.data(), line.size(), "step %s %.3f\n",
                                       steps.marks[i].step, milliseconds);
      DWORD written = 0;
      ::WriteFile(out, line.data(), static_cast<DWORD>(length), &written, nullptr);
    }
  }

 private:
  struct Moment {
    const char* step;
    LONGLONG counter;
  };
  struct Steps {
    std::array<Moment, 24> marks{};
    std::size_t count = 0;
  };
  static Steps& All() {
    static Steps steps;
    return steps;
  }
};

#else

class StartSteps {
 public:
  static void Mark(const char* /*step*/) {}
  static void Report() {}
};

#endif

}  // namespace pigmentry::app
