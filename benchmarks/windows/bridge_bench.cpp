// The CorelDRAW buttons of the real program against the in-process stand-in
// host: host calls and GetIDsOfNames calls (from the stand-in's call log)
// for one Get and for a Set on 1, 100 and 10,000 shapes, and the time of
// each click (the stand-in writing its drawing file back included).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "e2e/harness.h"

namespace {

using pigmentry::e2e::RunningProgram;
using pigmentry::platform::ControlId;

std::wstring DrawingPath() {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"pigmentry_bridge_bench.txt";
}

void Measure(const char* what, std::size_t shapes, ControlId button) {
  {
    std::ofstream file(std::filesystem::path(DrawingPath()), std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < shapes; ++i) {
      file << "shape fill 1 CMYK 0 50 100 0 outline 1 RGB 1 2 3\n";
    }
    file << "select";
    for (std::size_t i = 0; i < shapes; ++i) {
      file << ' ' << i + 1;
    }
    file << '\n';
  }
  pigmentry::e2e::UseStandInDrawing(DrawingPath());
  RunningProgram program;
  if (program.WaitForWindow() == nullptr) {
    std::printf("%s: the program did not start\n", what);
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  ::PostMessageW(program.Control(button), BM_CLICK, 0, 0);
  program.Sync();
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  program.Close();

  std::ifstream file(std::filesystem::path(DrawingPath()), std::ios::binary);
  long calls = 0;
  long lookups = 0;
  long notImplemented = 0;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("log ", 0) != 0) {
      continue;
    }
    if (line.find("E_NOTIMPL") != std::string::npos) {
      ++notImplemented;
    } else if (line.size() > 4 && line[4] >= '0' && line[4] <= '9') {
      ++calls;
    }
    if (line.find("GetIDsOfNames") != std::string::npos) {
      ++lookups;
    }
  }
  std::printf("%-24s %7ld host calls, %2ld GetIDsOfNames, %ld E_NOTIMPL, %9.1f ms\n", what, calls,
              lookups, notImplemented, ms);
  ::DeleteFileW(DrawingPath().c_str());
}

}  // namespace

int main() {
  Measure("Get Fill (3 selected)", 3, ControlId::cmdGetPaint);
  Measure("Set Fill on 1 shape", 1, ControlId::cmdSetPaint);
  Measure("Set Fill on 100 shapes", 100, ControlId::cmdSetPaint);
  Measure("Set Fill on 10000 shapes", 10000, ControlId::cmdSetPaint);
  return 0;
}
