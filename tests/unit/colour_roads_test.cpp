// The colour fields on the in-memory window: what the user does, step by
// step, and what the decimal fields, the hexadecimal field, the swatch, the
// entry mode and the message boxes show after each step.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/form_fixture.h"

namespace pigmentry {
namespace {

using platform::ControlId;
using platform::MenuId;

constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;
constexpr int kKeyDelete = 46;
constexpr int kShift = 1;

struct Action {
  enum Kind { Focus, Type, Paste, Key, Click, SelectAll } kind;
  ControlId target = ControlId::txtHex;
  std::wstring text;
  int key = 0;
  int shift = 0;
};

Action FocusOn(ControlId id) { return {Action::Focus, id, {}}; }
Action ClickOn(ControlId id) { return {Action::Click, id, {}}; }
Action Typing(std::wstring text) { return {Action::Type, {}, std::move(text)}; }
Action Pasting(std::wstring text) { return {Action::Paste, {}, std::move(text)}; }
Action Press(int key, int shift = 0) { return {Action::Key, {}, {}, key, shift}; }
Action SelectAllText() { return {Action::SelectAll, {}, {}}; }

struct State {
  std::array<std::wstring, 3> fields;
  std::wstring hex;
  std::uint32_t swatch;
  bool hexMode;
  std::size_t messageBoxes;
};

struct Step {
  Action action;
  State expected;
};

struct Road {
  const char* name;
  std::vector<Step> steps;
};

void Apply(platform::memory::MemoryForm& form, const Action& action) {
  switch (action.kind) {
    case Action::Focus:
      form.Focus(action.target);
      break;
    case Action::Type:
      form.Type(action.text);
      break;
    case Action::Paste:
      form.Paste(action.text);
      break;
    case Action::Key:
      form.PressKey(action.key, action.shift);
      break;
    case Action::Click:
      form.Click(action.target);
      break;
    case Action::SelectAll:
      form.Select(0, 1 << 20);
      break;
  }
}

State Observe(const testing_support::FormFixture& fx) {
  const auto& ui = fx.form.View();
  return {{ui.txtC(0).Text(), ui.txtC(1).Text(), ui.txtC(2).Text()},
          ui.txtHex().Text(),
          ui.lblColor().BackColor(),
          ui.optHex().Value(),
          fx.form.MessageBoxes().size()};
}

void ExpectState(const State& actual, const State& expected) {
  EXPECT_EQ(actual.fields, expected.fields);
  EXPECT_EQ(actual.hex, expected.hex);
  EXPECT_EQ(actual.swatch, expected.swatch) << std::hex << actual.swatch;
  EXPECT_EQ(actual.hexMode, expected.hexMode);
  EXPECT_EQ(actual.messageBoxes, expected.messageBoxes);
}

class ColourRoad : public ::testing::TestWithParam<Road> {};

TEST_P(ColourRoad, EachStepLeavesTheFieldsAndTheSwatchInStep) {
  testing_support::FormFixture fx;
  int number = 0;
  for (const Step& step : GetParam().steps) {
    SCOPED_TRACE("step " + std::to_string(++number));
    Apply(fx.form, step.action);
    ExpectState(Observe(fx), step.expected);
    // The two option buttons stay exclusive.
    EXPECT_NE(fx.form.View().optHex().Value(), fx.form.View().optRGB().Value());
  }
}

const State kWhiteRgb{{L"255", L"255", L"255"}, L"FFFFFF", 0xFFFFFF, false, 0};
const State kWhiteHex{{L"255", L"255", L"255"}, L"FFFFFF", 0xFFFFFF, true, 0};
const std::array<std::wstring, 3> kOrange{L"255", L"128", L"0"};
const std::array<std::wstring, 3> kWhite{L"255", L"255", L"255"};

const Road kRoads[] = {
    {"TypingFF8000DigitByDigit",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Typing(L"F"), {{L"15", L"0", L"0"}, L"F", 0x00000F, true, 0}},
      {Typing(L"F"), {{L"255", L"0", L"0"}, L"FF", 0x0000FF, true, 0}},
      {Typing(L"8"), {{L"255", L"8", L"0"}, L"FF8", 0x0008FF, true, 0}},
      {Typing(L"0"), {kOrange, L"FF80", 0x0080FF, true, 0}},
      {Typing(L"0"), {kOrange, L"FF800", 0x0080FF, true, 0}},
      {Typing(L"0"), {kOrange, L"FF8000", 0x0080FF, true, 0}},
      {FocusOn(ControlId::txtC0), {kOrange, L"FF8000", 0x0080FF, false, 0}}}},
    {"PastingWithAHash",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Pasting(L"#00FF00"), {{L"0", L"255", L"0"}, L"00FF00", 0x00FF00, true, 0}},
      {SelectAllText(), {{L"0", L"255", L"0"}, L"00FF00", 0x00FF00, true, 0}},
      {Pasting(L"12#3456"), {{L"18", L"52", L"86"}, L"123456", 0x563412, true, 0}}}},
    {"LowerCaseStaysUntilTheDecimalSideRewritesIt",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Pasting(L"ff0080"), {{L"255", L"0", L"128"}, L"ff0080", 0x8000FF, true, 0}},
      {FocusOn(ControlId::txtC0), {{L"255", L"0", L"128"}, L"ff0080", 0x8000FF, false, 0}},
      {Typing(L"2"), {{L"2", L"0", L"128"}, L"020080", 0x800002, false, 0}},
      {Typing(L"5"), {{L"25", L"0", L"128"}, L"190080", 0x800019, false, 0}},
      {Typing(L"5"), {{L"255", L"0", L"128"}, L"FF0080", 0x8000FF, false, 0}}}},
    {"DigitsAfterTheSixthAreKeptUntilTheValueExceeds32Bits",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Pasting(L"FF80001"), {kOrange, L"FF80001", 0x0080FF, true, 0}},
      {Typing(L"2"), {kOrange, L"FF800012", 0x0080FF, true, 0}},
      {Typing(L"3"), {kOrange, L"FF8000", 0x0080FF, true, 1}},
      {FocusOn(ControlId::txtC0), {kOrange, L"FF8000", 0x0080FF, false, 1}}}},
    {"InvalidCharactersAreRefusedOneMessageEach",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Pasting(L"G"), {kWhite, L"FFFFFF", 0xFFFFFF, true, 1}},
      {SelectAllText(), {kWhite, L"FFFFFF", 0xFFFFFF, true, 1}},
      {Pasting(L" FF"), {kWhite, L"FFFFFF", 0xFFFFFF, true, 2}},
      {SelectAllText(), {kWhite, L"FFFFFF", 0xFFFFFF, true, 2}},
      {Pasting(L"&hFF"), {kWhite, L"FFFFFF", 0xFFFFFF, true, 3}},
      {SelectAllText(), {kWhite, L"FFFFFF", 0xFFFFFF, true, 3}},
      {Pasting(L"#"), {kWhite, L"FFFFFF", 0xFFFFFF, true, 4}},
      {SelectAllText(), {kWhite, L"FFFFFF", 0xFFFFFF, true, 4}},
      {Pasting(std::wstring(32768, L'0')), {kWhite, L"FFFFFF", 0xFFFFFF, true, 5}},
      // The restored text has the caret at its start: 32761 zeros make it
      // 32767 characters long, the most that is accepted; one more is refused.
      {Pasting(std::wstring(32761, L'0')),
       {{L"0", L"0", L"0"}, std::wstring(32761, L'0') + L"FFFFFF", 0x000000, true, 5}},
      {Typing(L"0"), {{L"0", L"0", L"0"}, L"000000", 0x000000, true, 6}}}},
    {"RefusedInputAfterAPartialEntryRestoresTheFullForm",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Typing(L"F"), {{L"15", L"0", L"0"}, L"F", 0x00000F, true, 0}},
      {Typing(L"G"), {{L"15", L"0", L"0"}, L"0F0000", 0x00000F, true, 1}}}},
    {"EmptiedFieldChangesNothingUntilItIsLeft",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Press(kKeyDelete), {kWhite, L"", 0xFFFFFF, true, 0}},
      {FocusOn(ControlId::txtC1), {{L"0", L"0", L"0"}, L"000000", 0x000000, false, 0}}}},
    {"ShortEntryIsFilledUpWhenTheFocusLeaves",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Typing(L"A"), {{L"10", L"0", L"0"}, L"A", 0x00000A, true, 0}},
      {Typing(L"B"), {{L"171", L"0", L"0"}, L"AB", 0x0000AB, true, 0}},
      {Typing(L"C"), {{L"171", L"12", L"0"}, L"ABC", 0x000CAB, true, 0}},
      {FocusOn(ControlId::cmdSetPaint), {{L"171", L"192", L"0"}, L"ABC000", 0x00C0AB, true, 0}}}},
    {"LongTextIsLeftAsItIsWhenTheFocusLeaves",
     {{FocusOn(ControlId::txtHex), kWhiteHex},
      {Pasting(L"1234567"), {{L"18", L"52", L"86"}, L"1234567", 0x563412, true, 0}},
      {ClickOn(ControlId::optRGB), {{L"18", L"52", L"86"}, L"1234567", 0x563412, false, 0}}}},
    {"TypingIntoASelectedDecimalFieldClamps",
     {{FocusOn(ControlId::txtC0), kWhiteRgb},
      {Typing(L"7"), {{L"7", L"255", L"255"}, L"07FFFF", 0xFFFF07, false, 0}},
      {Typing(L"5"), {{L"75", L"255", L"255"}, L"4BFFFF", 0xFFFF4B, false, 0}},
      {Typing(L"0"), {kWhite, L"FFFFFF", 0xFFFFFF, false, 0}},
      // The clamped text was written with the caret at its start.
      {Typing(L"-"), {{L"0", L"255", L"255"}, L"00FFFF", 0xFFFF00, false, 0}}}},
    {"UpAndDownStepByOneAndClamp",
     {{FocusOn(ControlId::txtC2), kWhiteRgb},
      {Pasting(L"254"), {{L"255", L"255", L"254"}, L"FFFFFE", 0xFEFFFF, false, 0}},
      {Press(kKeyUp), kWhiteRgb},
      {Press(kKeyUp), kWhiteRgb},
      {Pasting(L"1"), {{L"255", L"255", L"1"}, L"FFFF01", 0x01FFFF, false, 0}},
      {Press(kKeyDown), {{L"255", L"255", L"0"}, L"FFFF00", 0x00FFFF, false, 0}},
      {Press(kKeyDown), {{L"255", L"255", L"0"}, L"FFFF00", 0x00FFFF, false, 0}},
      {Press(kKeyUp, kShift), {{L"255", L"255", L"1"}, L"FFFF01", 0x01FFFF, false, 0}},
      {Press(kKeyDown, kShift), {{L"255", L"255", L"0"}, L"FFFF00", 0x00FFFF, false, 0}}}},
    {"DeletingADecimalFieldGivesZero",
     {{FocusOn(ControlId::txtC1), kWhiteRgb},
      {Press(kKeyDelete), {{L"255", L"0", L"255"}, L"FF00FF", 0xFF00FF, false, 0}}}},
    {"DecimalEditsAreInRgbModeAfterTheHexButton",
     {{FocusOn(ControlId::txtC0), kWhiteRgb},
      {ClickOn(ControlId::optHex), kWhiteHex},
      {FocusOn(ControlId::txtC0), kWhiteRgb},
      {Typing(L"300"), {{L"255", L"255", L"255"}, L"FFFFFF", 0xFFFFFF, false, 0}},
      {Press(kKeyDown), {{L"254", L"255", L"255"}, L"FEFFFF", 0xFFFFFE, false, 0}}}},
    {"TheHexButtonAloneConvertsNothing",
     {{ClickOn(ControlId::optHex), kWhiteHex}, {ClickOn(ControlId::optRGB), kWhiteRgb}}},
};

INSTANTIATE_TEST_SUITE_P(Roads, ColourRoad, ::testing::ValuesIn(kRoads),
                         [](const auto& info) { return std::string(info.param.name); });

// Every text a decimal field can be given ends, in RGB mode, as a channel.
TEST(DecimalField, PastedTextIsClampedAndPassedOn) {
  struct Case {
    std::wstring pasted;
    std::wstring field;
    std::wstring hex;
    std::uint32_t swatch;
  };
  const std::vector<Case> cases = {
      {L"300", L"255", L"FFFFFF", 0xFFFFFF},
      {L"-5", L"0", L"FF00FF", 0xFF00FF},
      {L"", L"0", L"FF00FF", 0xFF00FF},
      {L"abc", L"0", L"FF00FF", 0xFF00FF},
      {L"12a", L"12", L"FF0CFF", 0xFF0CFF},
      {L"007", L"7", L"FF07FF", 0xFF07FF},
      {L" 5", L"5", L"FF05FF", 0xFF05FF},
      {L"2.5", L"2", L"FF02FF", 0xFF02FF},
      {L"3.5", L"4", L"FF04FF", 0xFF04FF},
      {L"9e9", L"255", L"FFFFFF", 0xFFFFFF},
      {L"9e9999", L"255", L"FFFFFF", 0xFFFFFF},
      {L"-0", L"0", L"FF00FF", 0xFF00FF},
      {L"&H80", L"128", L"FF80FF", 0xFF80FF},
      {std::wstring(100000, L'7'), L"255", L"FFFFFF", 0xFFFFFF},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pasted.begin(),
                             c.pasted.begin() + std::min<std::size_t>(c.pasted.size(), 20)));
    testing_support::FormFixture fx;
    fx.form.Focus(ControlId::txtC1);
    fx.form.Paste(c.pasted);
    const auto& ui = fx.form.View();
    EXPECT_EQ(ui.txtC(1).Text(), c.field);
    EXPECT_EQ(ui.txtHex().Text(), c.hex);
    EXPECT_EQ(ui.lblColor().BackColor(), c.swatch);
    EXPECT_TRUE(fx.form.MessageBoxes().empty());
  }
}

TEST(HexField, TheInvalidInputMessageIsShownWhileTheFieldHoldsTheRefusedText) {
  testing_support::FormFixture fx;
  std::wstring textWhileShown;
  fx.form.onMessageBox = [&](const platform::memory::MessageBoxRecord&) {
    textWhileShown = fx.form.View().txtHex().Text();
  };
  fx.form.Focus(ControlId::txtHex);
  fx.form.Type(L"F");
  fx.form.Type(L"x");
  ASSERT_EQ(fx.form.MessageBoxes().size(), 1U);
  const auto& box = fx.form.MessageBoxes().front();
  EXPECT_EQ(box.prompt,
            L"Please enter a valid Hexadecimal string.\r\n"
            L"The following characters are valid: \r\n"
            L"0 1 2 3 4 5 6 7 8 9 A B C D E F");
  EXPECT_EQ(box.style, 0);
  EXPECT_EQ(box.title, L"Draw Pigmentry 11");
  EXPECT_EQ(textWhileShown, L"Fx");
  EXPECT_EQ(fx.form.View().txtHex().Text(), L"0F0000");
}

TEST(FocusSelection, GainingTheFocusSelectsTheWholeText) {
  testing_support::FormFixture fx;
  const auto& ui = fx.form.View();
  fx.form.Focus(ControlId::txtHex);
  EXPECT_EQ(ui.txtHex().SelStart(), 0);
  EXPECT_EQ(ui.txtHex().SelLength(), 6);
  fx.form.Focus(ControlId::txtC2);
  EXPECT_EQ(ui.txtC(2).SelStart(), 0);
  EXPECT_EQ(ui.txtC(2).SelLength(), 3);
  fx.form.Select(1, 0);
  fx.form.PressKey(kKeyDown);
  EXPECT_EQ(ui.txtC(2).Text(), L"254");
  EXPECT_EQ(ui.txtC(2).SelStart(), 0);
  EXPECT_EQ(ui.txtC(2).SelLength(), 3);
  // An emptied hexadecimal field gets no selection and keeps its caret.
  fx.form.Focus(ControlId::txtHex);
  fx.form.PressKey(kKeyDelete);
  fx.form1.txtHex_GotFocus();
  EXPECT_EQ(ui.txtHex().SelLength(), 0);
}

TEST(DecimalKeys, OnlyUpAndDownAreConsumedWhateverTheShiftState) {
  for (const int shift : {0, 1, 2, 4, 7}) {
    for (const int key : {kKeyUp, kKeyDown, 33, 34, 37, 39, 65, 46}) {
      testing_support::FormFixture fx;
      fx.form.Focus(ControlId::txtC0);
      fx.form.Paste(L"100");
      int keyCode = key;
      fx.form1.txtC_KeyDown(0, keyCode, shift);
      const bool step = key == kKeyUp || key == kKeyDown;
      EXPECT_EQ(keyCode, step ? 0 : key) << key << " shift " << shift;
      const wchar_t* expected = key == kKeyUp ? L"101" : key == kKeyDown ? L"99" : L"100";
      EXPECT_EQ(fx.form.View().txtC(0).Text(), expected) << key;
      EXPECT_FALSE(fx.form.View().optHex().Value());
    }
  }
}

TEST(Swatch, RightClickPopsUpTheOptionsMenuWhateverTheFocusAndMode) {
  testing_support::FormFixture fx;
  fx.form.MouseUp(ControlId::lblColor, platform::kRightButton);
  fx.form.Focus(ControlId::txtHex);
  fx.form.MouseUp(ControlId::lblColor, platform::kRightButton, 120, 300);
  EXPECT_EQ(fx.form.Popups(), (std::vector<MenuId>{MenuId::mnuOpt, MenuId::mnuOpt}));
}

TEST(Swatch, LeftAndMiddleClicksDoNothing) {
  testing_support::FormFixture fx;
  fx.form.MouseUp(ControlId::lblColor, platform::kLeftButton);
  fx.form.MouseUp(ControlId::lblColor, platform::kMiddleButton);
  fx.form.Click(ControlId::lblColor);
  EXPECT_TRUE(fx.form.Popups().empty());
  EXPECT_EQ(Observe(fx).fields, kWhite);
  EXPECT_EQ(fx.form.View().lblColor().BackColor(), 0xFFFFFFU);
}

}  // namespace
}  // namespace pigmentry
