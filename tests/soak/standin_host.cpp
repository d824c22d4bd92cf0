#include "soak/standin_host.h"

#include <filesystem>
#include <fstream>

#include "e2e/harness.h"

namespace pigmentry::soak {

namespace {

// The stand-in's setting for its drawing file, and its window's class.
constexpr const wchar_t* kDrawingVariable = L"PIGMENTRY_STANDIN_DRAWING";
constexpr const wchar_t* kDrawingClass = L"PigmentryStandInDrawing";
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

StandInHost::StandInHost(const std::wstring& name) : path_(TempFolder() + name) {}

StandInHost::~StandInHost() { ::DeleteFileW(path_.c_str()); }

bool StandInHost::WriteDrawing(const std::string& text) const {
  std::ofstream file(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
  file << text;
  return file.good();
}

std::vector<std::wstring> StandInHost::Environment() const {
  return {std::wstring(kDrawingVariable) + L"=" + path_};
}

HWND StandInHost::DrawingWindow(DWORD processId) {
  return e2e::FindVisibleWindow(processId, kDrawingClass);
}

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
