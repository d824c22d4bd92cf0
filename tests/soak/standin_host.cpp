#include "soak/standin_host.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "e2e/harness.h"

namespace pigmentry::soak {

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

}  // namespace

StandInHost::StandInHost(const std::wstring& name) : path_(TempFolder() + name) {
  e2e::UseStandInDrawing(path_);
}

StandInHost::~StandInHost() {
  e2e::StopStandIn();
  e2e::UseStandInDrawing(L"");
  ::DeleteFileW(path_.c_str());
}

bool StandInHost::WriteDrawing(const std::string& text) const {
  std::ofstream file(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
  file << text;
  return file.good();
}

StandInHost::Objects StandInHost::ObjectsGiven() const {
  constexpr std::string_view kTotals = "# objects queried ";
  constexpr std::string_view kCreated = " created ";
  constexpr std::string_view kAlive = " alive ";
  std::ifstream file(std::filesystem::path(path_), std::ios::binary);
  Objects objects;
  for (std::string line; std::getline(file, line);) {
    const std::size_t created = line.find(kCreated);
    const std::size_t alive = line.find(kAlive);
    if (line.rfind(kTotals, 0) == 0 && created != std::string::npos && alive != std::string::npos) {
      objects.given = std::atoll(line.c_str() + created + kCreated.size());
      objects.held = std::atoll(line.c_str() + alive + kAlive.size());
    }
  }
  return objects;
}

HWND StandInHost::DrawingWindow() { return e2e::StandInDrawingWindow(); }

void StandInHost::MoveDrawingWindow(HWND drawing, POINT topLeft) {
  ::SetWindowPos(drawing, HWND_BOTTOM, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void StandInHost::ClickShape(HWND drawing, std::size_t index, bool adding) {
  const int column = static_cast<int>(index % kColumns);
  const int row = static_cast<int>(index / kColumns);
  const int x = kGap + column * (kCell + kGap) + kCell / 2;
  const int y = kGap + row * (kCell + kGap) + kCell / 2;
  const WPARAM keys = adding ? MK_CONTROL : 0;
  ::PostMessageW(drawing, WM_LBUTTONDOWN, keys | MK_LBUTTON, MAKELPARAM(x, y));
  ::PostMessageW(drawing, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

}  // namespace pigmentry::soak
