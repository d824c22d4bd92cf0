// A long random session with the real Pigmentry.exe, driven from outside as
// its users drive it: typing and pasting into every field, arrow keys, Tab
// and focus moves, both entry modes, the four host buttons against a
// drawing whose selection changes, the layouts and the on-top toggle from
// the Options menu, message boxes dismissed. After every step the window is
// checked from outside; every few thousand steps the process's resource
// counts are printed, and a count that keeps growing fails the run.
//
//   soak [--steps N | --seconds S] [--seed N] [--sample N]
//
// A failure prints the seed and the last steps; the same seed and step count
// replay the same session.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <string_view>

#include "soak/soak.h"

namespace pigmentry::soak {
namespace {

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
  options.seed = static_cast<std::uint64_t>(std::time(nullptr));
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring_view name = argv[i];
    wchar_t* end = nullptr;
    const unsigned long long value = std::wcstoull(argv[i + 1], &end, 10);
    if (end == argv[i + 1] || *end != L'\0') {
      return false;
    }
    if (name == L"--seed") {
      options.seed = value;
    } else if (name == L"--steps") {
      options.steps = static_cast<long long>(value);
    } else if (name == L"--seconds") {
      options.steps = 0;
      options.seconds = static_cast<double>(value);
    } else if (name == L"--sample") {
      options.sample = std::max(1LL, static_cast<long long>(value));
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

}  // namespace
}  // namespace pigmentry::soak

int wmain(int argc, wchar_t** argv) {
  pigmentry::soak::Options options;
  if (!pigmentry::soak::ParseOptions(argc, argv, options)) {
    std::printf("usage: soak [--steps N | --seconds S] [--seed N] [--sample N]\n");
    return 2;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 1024);
  return pigmentry::soak::Soak(options).Run();
}
