// What an assistive tool reads from the window: the names of the four colour
// fields and the name and role of the swatch, read from outside the process
// through Active Accessibility, while the values stay the fields' own.
#include <windows.h>
// <windows.h> first: the other SDK headers build on it. initguid.h makes
// oleacc.h define IID_IAccessible here (MinGW's import library has a stub).
#include <gtest/gtest.h>
#include <initguid.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <string>

#include "bridge/com/com_support.h"
#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using Microsoft::WRL::ComPtr;
using platform::ControlId;

using bridge::com::Apartment;
using bridge::com::Bstr;
using bridge::com::Variant;

VARIANT Self() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

struct Accessible {
  HRESULT found = E_FAIL;
  std::wstring name;
  long role = 0;
  std::wstring value;
};

Accessible Read(HWND control) {
  Accessible read;
  ComPtr<IAccessible> object;
  read.found =
      ::AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(object.GetAddressOf()));
  if (FAILED(read.found)) {
    return read;
  }
  Bstr name;
  if (object->get_accName(Self(), name.Out()) == S_OK) {
    read.name = name.Text();
  }
  Variant role;
  if (SUCCEEDED(object->get_accRole(Self(), role.Out())) && role.Get().vt == VT_I4) {
    read.role = role.Get().lVal;
  }
  Bstr value;
  if (object->get_accValue(Self(), value.Out()) == S_OK) {
    read.value = value.Text();
  }
  return read;
}

struct NameCase {
  ControlId id;
  const wchar_t* name;
  long role;
  // The accessible value, which the platform derives from the control.
  const wchar_t* value;
};

class AccessibleNames : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.WaitForWindow(), nullptr); }
  Apartment apartment;
  RunningProgram program;
};

TEST_F(AccessibleNames, FieldsAndSwatchAreNamedWithoutChangingWhatTheyShow) {
  const NameCase cases[] = {
      {ControlId::txtC0, L"Red", ROLE_SYSTEM_TEXT, L"255"},
      {ControlId::txtC1, L"Green", ROLE_SYSTEM_TEXT, L"255"},
      {ControlId::txtC2, L"Blue", ROLE_SYSTEM_TEXT, L"255"},
      {ControlId::txtHex, L"Hexadecimal colour", ROLE_SYSTEM_TEXT, L"FFFFFF"},
      {ControlId::lblColor, L"Colour swatch", ROLE_SYSTEM_GRAPHIC, nullptr},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "control " << static_cast<int>(c.id));
    HWND control = program.Control(c.id);
    ASSERT_NE(control, nullptr);
    const Accessible read = Read(control);
    ASSERT_EQ(read.found, S_OK);
    EXPECT_EQ(read.name, c.name);
    EXPECT_EQ(read.role, c.role);
    if (c.value != nullptr) {
      EXPECT_EQ(read.value, c.value);
    }
  }
  // The swatch still has no caption of its own.
  EXPECT_EQ(TextOf(program.Control(ControlId::lblColor)), L"");
}

TEST_F(AccessibleNames, FieldValueFollowsTheTextTheUserTypes) {
  HWND red = program.Control(ControlId::txtC0);
  program.Focus(red);
  program.SelectAll(red);
  program.Type(L"12");
  program.Sync();
  const Accessible read = Read(red);
  EXPECT_EQ(read.name, L"Red");
  EXPECT_EQ(read.value, L"12");
}

TEST_F(AccessibleNames, OtherControlsKeepTheirOwnNames) {
  const Accessible fill = Read(program.Control(ControlId::cmdGetPaint));
  ASSERT_EQ(fill.found, S_OK);
  EXPECT_EQ(fill.name, L"Fill");
}

}  // namespace
}  // namespace pigmentry::e2e
