// Takes the README's pictures of the real program: the three layouts and the
// Options pop-up menu. Run under Wine by `./build.sh screenshots`; writes
// layout-1.bmp, layout-2.bmp, layout-3.bmp and menu.bmp into the folder given.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/harness.h"

namespace {

using pigmentry::e2e::RunningProgram;
using pigmentry::platform::ControlId;

// Saves a rectangle of the screen as a 24-bit bottom-up BMP.
bool SaveScreen(const RECT& area, const std::wstring& path) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) {
    return false;
  }
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&info, sizeof(info), 1, out);
  std::fwrite(pixels.data(), 1, pixels.size(), out);
  std::fclose(out);
  return true;
}

RECT WindowArea(HWND window) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  return rect;
}

HWND FindMenuWindow() {
  HWND found = nullptr;
  pigmentry::e2e::WaitUntil([&] {
    found = ::FindWindowW(L"#32768", nullptr);
    return found != nullptr && ::IsWindowVisible(found) != FALSE;
  });
  return found;
}

bool ShootLayout(const std::wstring& folder, int layout) {
  RunningProgram program(L"/x=40 /y=40 /layout=" + std::to_wstring(layout));
  if (program.WaitForWindow() == nullptr) {
    return false;
  }
  ::Sleep(300);
  return SaveScreen(WindowArea(program.Window()),
                    folder + L"\\layout-" + std::to_wstring(layout) + L".bmp");
}

bool ShootMenu(const std::wstring& folder) {
  RunningProgram program(L"/x=40 /y=40");
  if (program.WaitForWindow() == nullptr) {
    return false;
  }
  RECT swatch{};
  ::GetWindowRect(program.Control(ControlId::lblColor), &swatch);
  pigmentry::e2e::RightClickAt({(swatch.left + swatch.right) / 2, swatch.top + 30});
  HWND menu = FindMenuWindow();
  if (menu == nullptr) {
    return false;
  }
  ::Sleep(300);
  RECT area = WindowArea(program.Window());
  const RECT menuArea = WindowArea(menu);
  area.right = std::max(area.right, menuArea.right + 4);
  area.bottom = std::max(area.bottom, menuArea.bottom + 4);
  const bool saved = SaveScreen(area, folder + L"\\menu.bmp");
  ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  return saved;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: screenshots <folder>\n", stderr);
    return 2;
  }
  const std::wstring folder = argv[1];
  bool ok = true;
  for (int layout = 1; layout <= 3; ++layout) {
    ok = ShootLayout(folder, layout) && ok;
  }
  ok = ShootMenu(folder) && ok;
  std::puts(ok ? "screenshots taken" : "some screenshots failed");
  return ok ? 0 : 1;
}
