// The window keeps its twips at any resolution: started with the system set
// to 144 dots per inch, the client area and the controls scale with it.
#include <gtest/gtest.h>

#include "e2e/harness.h"

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

}  // namespace
}  // namespace pigmentry::e2e
