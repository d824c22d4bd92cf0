// The window keeps its twips at any resolution: started with the system set
// to 144 dots per inch, the client area and the controls scale with it.
#include <gtest/gtest.h>

#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

// Sets the system resolution that programs started from now on see, and
// puts the old one back at the end of the scope.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                      KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    DWORD size = sizeof(old_);
    hadOld_ = ::RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                     sizeof(dpi));
  }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;
  ~SystemDpi() {
    if (hadOld_) {
      ::RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&old_),
                       sizeof(old_));
    } else {
      ::RegDeleteValueW(key_, L"LogPixels");
    }
    ::RegCloseKey(key_);
  }

 private:
  HKEY key_ = nullptr;
  DWORD old_ = 0;
  bool hadOld_ = false;
};

TEST(HighDpi, ClientAreaAndControlsScaleAt144Dpi) {
  const SystemDpi dpi(144);
  RunningProgram program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  // 3690 x 1710 twips at 10 twips per pixel.
  const SIZE client = ClientSize(program.Window());
  EXPECT_EQ(client.cx, 369);
  EXPECT_EQ(client.cy, 171);
  const RECT hex = RectInParent(program.Control(ControlId::txtHex));
  EXPECT_EQ(hex.left, 180);
  EXPECT_EQ(hex.top, 48);
  EXPECT_EQ(hex.right - hex.left, 74);  // 735 twips: 73.5 pixels, rounded half up
  // The separator stays two pixels thick.
  EXPECT_EQ(ClientSize(program.Control(ControlId::xLine1)).cy, 2);
}

// The hexadecimal field shows all six digits, whatever the resolution: the
// last digit ends inside the edit's formatting rectangle.
class HexFieldAtDpi : public ::testing::TestWithParam<DWORD> {};

TEST_P(HexFieldAtDpi, SixDigitsFitTheField) {
  const SystemDpi dpi(GetParam());
  RunningProgram program;
  ASSERT_NE(program.WaitForWindow(), nullptr);
  HWND hex = program.Control(ControlId::txtHex);
  // In RGB mode a write of the field is not read back into the colour.
  for (const wchar_t* text : {L"FFFFFF", L"000000", L"888888", L"DDDDDD", L"BBBBBB"}) {
    ::SendMessageW(hex, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    RECT format{};
    ::SendMessageW(hex, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const auto x = [hex](int index) {
      return static_cast<int>(
          static_cast<short>(LOWORD(::SendMessageW(hex, EM_POSFROMCHAR, index, 0))));
    };
    // Six equal digits: the last one is as wide as the one before it.
    const int lastRight = x(5) + (x(5) - x(4));
    EXPECT_GE(x(0), format.left) << text;
    EXPECT_LE(lastRight, format.right)
        << text << " at " << GetParam() << " dpi: the sixth digit ends at " << lastRight
        << ", the text area at " << format.right;
  }
}

INSTANTIATE_TEST_SUITE_P(Resolutions, HexFieldAtDpi, ::testing::Values(96, 120, 144, 192));

}  // namespace
}  // namespace pigmentry::e2e
