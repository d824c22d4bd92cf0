// The colour fields in the real window: typing on either side updates the
// other side and the swatch; invalid hexadecimal input is refused.
#include <gtest/gtest.h>

#include "support/harness.h"

namespace pigmentry::e2e {
namespace {

using platform::ControlId;

class Colour : public testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(program.WaitForWindow(), nullptr); }

  [[nodiscard]] std::wstring Field(ControlId id) const { return TextOf(program.Control(id)); }
  [[nodiscard]] std::wstring Channels() const {
    return Field(ControlId::txtC0) + L"," + Field(ControlId::txtC1) + L"," +
           Field(ControlId::txtC2);
  }

  RunningProgram program;
};

TEST_F(Colour, TypingHexDigitsUpdatesTheDecimalFieldsAtEveryKeystroke) {
  program.Focus(program.Control(ControlId::txtHex));
  EXPECT_TRUE(IsChecked(program.Control(ControlId::optHex)));
  const std::pair<wchar_t, const wchar_t*> steps[] = {{L'F', L"15,0,0"},    {L'F', L"255,0,0"},
                                                      {L'8', L"255,8,0"},   {L'0', L"255,128,0"},
                                                      {L'0', L"255,128,0"}, {L'0', L"255,128,0"}};
  for (const auto& [key, channels] : steps) {
    program.Type(std::wstring(1, key));
    EXPECT_TRUE(Eventually([&] { return Channels() == channels; })) << Channels();
  }
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtHex) == L"FF8000"; }));
}

TEST_F(Colour, LeavingTheHexFieldFillsAShortEntry) {
  program.Focus(program.Control(ControlId::txtHex));
  program.Type(L"ABC");
  EXPECT_TRUE(Eventually([&] { return Channels() == L"171,12,0"; })) << Channels();
  program.Focus(program.Control(ControlId::txtC1));
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtHex) == L"ABC000"; }));
  EXPECT_EQ(Channels(), L"171,192,0");
  EXPECT_TRUE(IsChecked(program.Control(ControlId::optRGB)));
}

TEST_F(Colour, InvalidHexInputShowsTheMessageAndRestoresTheField) {
  program.Focus(program.Control(ControlId::txtHex));
  program.Type(L"F");
  ::PostMessageW(program.Focused(), WM_CHAR, L'G', 1);
  HWND box = WaitForMessageBox(program.ProcessId(), L"Draw Pigmentry 11");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            L"Please enter a valid Hexadecimal string.\r\n"
            L"The following characters are valid: \r\n"
            L"0 1 2 3 4 5 6 7 8 9 A B C D E F");
  PressOk(box);
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtHex) == L"0F0000"; }));
  EXPECT_EQ(Channels(), L"15,0,0");
}

TEST_F(Colour, DecimalFieldsClampAndStepWithTheArrowKeys) {
  HWND green = program.Control(ControlId::txtC1);
  program.Focus(green);
  program.Type(L"75");  // the whole text is selected on focus: typing replaces it
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtC1) == L"75"; }));
  program.Type(L"0");
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtC1) == L"255"; }));
  program.PressKey(VK_DOWN);
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtHex) == L"FFFEFF"; }));
  EXPECT_EQ(Field(ControlId::txtC1), L"254");
  program.PressKey(VK_UP);
  EXPECT_TRUE(Eventually([&] { return Field(ControlId::txtC1) == L"255"; }));
  program.PressKey(VK_UP);
  program.Sync();
  EXPECT_EQ(Field(ControlId::txtC1), L"255");
  EXPECT_EQ(Field(ControlId::txtHex), L"FFFFFF");
}

}  // namespace
}  // namespace pigmentry::e2e
