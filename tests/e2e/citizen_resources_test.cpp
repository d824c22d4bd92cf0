// The executable as Windows sees it: the icon in the file and on the window,
// pixel for pixel against the program's icon table, the version information
// and the application manifest.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it.
#include <gtest/gtest.h>
#include <winver.h>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "app/form1_design.h"
#include "app/icon_data.h"
#include "platform/win32/win32_form.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

std::wstring ProgramPath() { return OwnFolder() + L"Pigmentry.exe"; }

struct ModuleDeleter {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// Pigmentry.exe's resources, without running it.
Module LoadResources() {
  return Module(::LoadLibraryExW(ProgramPath().c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

struct IconDeleter {
  void operator()(HICON icon) const { ::DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

// The colours of a 16 x 16 icon, top row first, as 0xRRGGBB.
std::vector<std::uint32_t> PixelsOf(HICON icon) {
  ICONINFO info{};
  if (::GetIconInfo(icon, &info) == FALSE) {
    return {};
  }
  const Bitmap colour(info.hbmColor);
  const Bitmap mask(info.hbmMask);
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = app::kIconSize;
  format.bmiHeader.biHeight = -app::kIconSize;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(app::kIconSize * app::kIconSize);
  HDC screen = ::GetDC(nullptr);
  const int lines =
      ::GetDIBits(screen, colour.get(), 0, app::kIconSize, pixels.data(), &format, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  if (lines != app::kIconSize) {
    return {};
  }
  for (std::uint32_t& pixel : pixels) {
    pixel &= 0xFFFFFFU;
  }
  return pixels;
}

std::vector<std::uint32_t> TablePixels() {
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < app::kIconSize; ++y) {
    for (int x = 0; x < app::kIconSize; ++x) {
      const std::uint32_t grey = app::kIconGreys.at(static_cast<std::size_t>(app::IconPixel(x, y)));
      pixels.push_back(grey << 16 | grey << 8 | grey);
    }
  }
  return pixels;
}

TEST(Resources, FileIconIsTheIconTable) {
  const Module module = LoadResources();
  ASSERT_NE(module, nullptr);
  const Icon icon(static_cast<HICON>(
      ::LoadImageW(module.get(), MAKEINTRESOURCEW(1), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(PixelsOf(icon.get()), TablePixels());
}

// The window loads its icon from the program that creates it; this test
// program carries the same icon resource.
TEST(Resources, WindowShowsTheIconTable) {
  const auto form =
      platform::win32::Win32Form::Create(::GetModuleHandleW(nullptr), app::kForm1Design);
  ASSERT_NE(form, nullptr);
  ASSERT_NE(form->Hwnd(), nullptr);
  const auto small =
      reinterpret_cast<HICON>(::SendMessageW(form->Hwnd(), WM_GETICON, ICON_SMALL, 0));
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(PixelsOf(small), TablePixels());
  EXPECT_NE(::SendMessageW(form->Hwnd(), WM_GETICON, ICON_BIG, 0), 0);
}

// One string of the version information's U.S. English, Unicode block.
std::wstring VersionString(const std::vector<BYTE>& block, const std::wstring& name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
  if (::VerQueryValueW(block.data(), path.c_str(), &value, &length) == FALSE || length == 0) {
    return L"(missing)";
  }
  return static_cast<const wchar_t*>(value);
}

TEST(Resources, VersionInformationNamesTheProgram) {
  const std::wstring path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_NE(size, 0U);
  std::vector<BYTE> block(size);
  ASSERT_NE(::GetFileVersionInfoW(path.c_str(), 0, size, block.data()), FALSE);

  EXPECT_EQ(VersionString(block, L"ProductName"), L"Pigmentry");
  EXPECT_EQ(VersionString(block, L"OriginalFilename"), L"Pigmentry.exe");
  EXPECT_EQ(VersionString(block, L"LegalCopyright"),
            L"Copyright (C) 2026 the Pigmentry developers");
  EXPECT_NE(VersionString(block, L"FileDescription"), L"(missing)");

  void* value = nullptr;
  UINT length = 0;
  ASSERT_NE(::VerQueryValueW(block.data(), L"\\", &value, &length), FALSE);
  ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDU);
  // The text and the numbers give the same version.
  const std::wstring numbers = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
  EXPECT_EQ(VersionString(block, L"FileVersion"), numbers);
  EXPECT_EQ(VersionString(block, L"ProductVersion"), numbers);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// The application manifest, resource 1 of type RT_MANIFEST.
std::string Manifest() {
  const Module module = LoadResources();
  if (!module) {
    return {};
  }
  HRSRC found = ::FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  if (found == nullptr) {
    return {};
  }
  HGLOBAL loaded = ::LoadResource(module.get(), found);
  const auto* bytes = static_cast<const char*>(::LockResource(loaded));
  return bytes != nullptr ? std::string(bytes, ::SizeofResource(module.get(), found))
                          : std::string();
}

TEST(Resources, ManifestAsksForThemesPerMonitorDpiAndNoElevation) {
  const std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty());
  const char* const expected[] = {
      R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
      "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
      "PerMonitorV2, PerMonitor</dpiAwareness>",
      "<dpiAware "
      "xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
      R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
  };
  for (const char* text : expected) {
    EXPECT_NE(manifest.find(text), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace pigmentry::e2e
