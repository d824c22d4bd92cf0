#include "support/standin.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "support/harness.h"

namespace pigmentry::e2e {

namespace {

// The drawing window's grid of shapes, in client pixels.
constexpr int kCell = 64;
constexpr int kGap = 12;
constexpr int kColumns = 8;

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, folder);
  return folder;
}

// The lines of a drawing that start with `mark`, from `from` on.
std::vector<std::string> LinesMarked(const std::string& drawing, std::string_view mark,
                                     std::size_t from = 0) {
  std::vector<std::string> found;
  std::istringstream lines(drawing);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(mark, 0) == 0) {
      found.push_back(line.substr(from));
    }
  }
  return found;
}

}  // namespace

void UseStandInDrawing(const std::wstring& path) {
  constexpr const wchar_t* kKey = L"Software\\Pigmentry\\Stand-in host";
  // The calls Windows XP has, for the 32-bit build of the tests.
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  if (path.empty()) {
    ::RegDeleteValueW(key, L"Drawing");
  } else {
    ::RegSetValueExW(key, L"Drawing", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  }
  ::RegCloseKey(key);
}

HWND StandInDrawingWindow() {
  HWND drawing = ::FindWindowW(L"PigmentryStandInDrawing", nullptr);
  return drawing != nullptr && ::IsWindowVisible(drawing) != FALSE ? drawing : nullptr;
}

bool StopStandIn(std::chrono::milliseconds timeout) {
  constexpr const wchar_t* kStopEvent = L"PigmentryStandInStop";
  HANDLE stop = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEvent);
  if (stop == nullptr) {
    return true;
  }
  ::SetEvent(stop);
  ::CloseHandle(stop);
  // The event goes when the last stand-in holding it has ended.
  return WaitUntil(
      [&] {
        HANDLE still = ::OpenEventW(SYNCHRONIZE, FALSE, kStopEvent);
        if (still == nullptr) {
          return true;
        }
        ::CloseHandle(still);
        return false;
      },
      timeout);
}

void MoveStandInDrawingWindow(HWND drawing, POINT topLeft) {
  ::SetWindowPos(drawing, HWND_BOTTOM, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void ClickStandInShape(HWND drawing, std::size_t index, bool adding) {
  const int column = static_cast<int>(index % kColumns);
  const int row = static_cast<int>(index / kColumns);
  const int x = kGap + column * (kCell + kGap) + kCell / 2;
  const int y = kGap + row * (kCell + kGap) + kCell / 2;
  const WPARAM keys = adding ? MK_CONTROL : 0;
  ::PostMessageW(drawing, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(drawing, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

StandInHost::StandInHost(const std::wstring& name) : path_(TempFolder() + name) {
  UseStandInDrawing(path_);
}

StandInHost::~StandInHost() {
  StopStandIn();
  UseStandInDrawing(L"");
  ::DeleteFileW(path_.c_str());
}

bool StandInHost::WriteDrawing(const std::string& text) const {
  std::ofstream file(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
  file << text;
  return file.good();
}

std::string StandInHost::ReadDrawing() const {
  std::ifstream file(std::filesystem::path(path_), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ShapeLines(const std::string& drawing) {
  return LinesMarked(drawing, "shape ");
}

std::vector<std::string> LogLines(const std::string& drawing) {
  constexpr std::string_view kMark = "log ";
  return LinesMarked(drawing, kMark, kMark.size());
}

long CallNumber(const std::string& drawing, const std::string& call, int nth) {
  for (const std::string& entry : LogLines(drawing)) {
    if (entry.size() > call.size() &&
        entry.compare(entry.size() - call.size(), call.size(), call) == 0 && --nth == 0) {
      return std::stol(entry);
    }
  }
  return 0;
}

HostObjectCounts ObjectCounts(const std::string& drawing) {
  HostObjectCounts counts;
  const auto after = [](const std::string& line, std::string_view word, long long& count) {
    const std::size_t at = line.find(word);
    if (at != std::string::npos) {
      count = std::atoll(line.c_str() + at + word.size());
    }
  };
  for (const std::string& totals : LinesMarked(drawing, "# objects")) {
    after(totals, " queried ", counts.queried);
    after(totals, " released ", counts.released);
    after(totals, " created ", counts.created);
    after(totals, " alive ", counts.alive);
  }
  return counts;
}

}  // namespace pigmentry::e2e
