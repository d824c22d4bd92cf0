// How the colour chains nest: every program write of a field raises its
// Change inside the write, the entry mode keeps the two sides from echoing
// each other, and each chain ends after at most one level per field written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/form_fixture.h"

namespace pigmentry {
namespace {

using platform::ControlId;
using Log = std::vector<std::wstring>;

// Sits between the platform and Form1 and logs the text events, indented by
// their nesting depth.
class NestingLog final : public platform::FormEvents {
 public:
  explicit NestingLog(testing_support::FormFixture& fx) : fx_(fx) {
    fx.form.Connect(*this);
    fx.form.onMessageBox = [this](const platform::memory::MessageBoxRecord&) { Add(L"MsgBox"); };
  }

  void Load() override { fx_.form1.Load(); }
  void Change(ControlId id) override {
    Add(L"Change " + Name(id) + L" " + fx_.form.Field(id).Text());
    Nested([&] { fx_.form1.Change(id); });
  }
  void GotFocus(ControlId id) override {
    Add(L"GotFocus " + Name(id));
    Nested([&] { fx_.form1.GotFocus(id); });
  }
  void LostFocus(ControlId id) override {
    Add(L"LostFocus " + Name(id));
    Nested([&] { fx_.form1.LostFocus(id); });
  }
  void KeyDown(ControlId id, int& keyCode, int shift) override {
    Add(L"KeyDown " + Name(id) + L" " + std::to_wstring(keyCode));
    Nested([&] { fx_.form1.KeyDown(id, keyCode, shift); });
  }
  void Click(ControlId id) override { fx_.form1.Click(id); }
  void MouseUp(ControlId id, int button, int shift, float x, float y) override {
    fx_.form1.MouseUp(id, button, shift, x, y);
  }
  void MenuClick(platform::MenuId id) override { fx_.form1.MenuClick(id); }

  Log log;

 private:
  static std::wstring Name(ControlId id) {
    switch (id) {
      case ControlId::txtC0:
        return L"txtC0";
      case ControlId::txtC1:
        return L"txtC1";
      case ControlId::txtC2:
        return L"txtC2";
      case ControlId::txtHex:
        return L"txtHex";
      default:
        return L"other";
    }
  }
  void Add(const std::wstring& line) {
    log.push_back(std::wstring(static_cast<std::size_t>(2 * depth_), L' ') + line);
  }
  template <typename F>
  void Nested(F handler) {
    ++depth_;
    handler();
    --depth_;
  }

  testing_support::FormFixture& fx_;
  int depth_ = 0;
};

TEST(ColourNesting, ANonCanonicalDecimalTextIsWrittenBackOnceAndTheHexFieldDoesNotEcho) {
  testing_support::FormFixture fx;
  fx.form.Focus(ControlId::txtC0);
  NestingLog events(fx);
  fx.form.Paste(L"007");
  EXPECT_EQ(events.log, (Log{L"Change txtC0 007",             // ClampChannel writes 7 back:
                             L"  Change txtC0 7",             // canonical, RGBToHex writes:
                             L"    Change txtHex 07FFFF"}));  // RGB mode: nothing
  EXPECT_EQ(fx.form.View().lblColor().BackColor(), 0xFFFF07U);
}

TEST(ColourNesting, DownAtZeroGoesToMinusOneAndClampsBack) {
  testing_support::FormFixture fx;
  fx.form.Focus(ControlId::txtC0);
  fx.form.Paste(L"0");
  NestingLog events(fx);
  fx.form.PressKey(40);
  EXPECT_EQ(events.log, (Log{L"KeyDown txtC0 40", L"  Change txtC0 -1", L"    Change txtC0 0"}));
  EXPECT_EQ(fx.form.View().txtC(0).Text(), L"0");
}

TEST(ColourNesting, AHexEntryWritesTheChangedDecimalFieldsWhichDoNotEcho) {
  testing_support::FormFixture fx;
  fx.form.Focus(ControlId::txtHex);
  NestingLog events(fx);
  fx.form.Paste(L"#00FF00");
  EXPECT_EQ(events.log, (Log{L"Change txtHex #00FF00", L"  Change txtC0 0", L"  Change txtC2 0",
                             L"  Change txtHex 00FF00"}));
}

TEST(ColourNesting, RefusedHexTextIsRestoredAfterTheMessage) {
  testing_support::FormFixture fx;
  fx.form.Focus(ControlId::txtHex);
  NestingLog events(fx);
  fx.form.Paste(L"G");
  EXPECT_EQ(events.log, (Log{L"Change txtHex G", L"  MsgBox", L"  Change txtHex FFFFFF"}));
}

TEST(ColourNesting, LeavingAShortHexEntryPadsItBeforeTheNextFieldTakesOver) {
  testing_support::FormFixture fx;
  fx.form.Focus(ControlId::txtHex);
  fx.form.Paste(L"ABC");
  NestingLog events(fx);
  fx.form.Focus(ControlId::txtC1);
  EXPECT_EQ(events.log, (Log{L"LostFocus txtHex", L"  Change txtHex ABC000",
                             L"    Change txtC1 192", L"GotFocus txtC1"}));
  EXPECT_EQ(fx.form.View().txtC(1).Text(), L"192");
}

TEST(ColourNesting, TheHexFieldsChangeDoesNothingInRgbMode) {
  testing_support::FormFixture fx;
  NestingLog events(fx);
  fx.form.View().txtHex().SetText(L"000000");
  EXPECT_EQ(events.log, (Log{L"Change txtHex 000000"}));
  const auto& ui = fx.form.View();
  EXPECT_EQ(ui.txtC(0).Text(), L"255");
  EXPECT_EQ(ui.lblColor().BackColor(), 0xFFFFFFU);
}

TEST(ColourNesting, ClampChannelDoesNothingInHexMode) {
  for (const wchar_t* text : {L"300", L"abc", L"", L"007", L"-5"}) {
    testing_support::FormFixture fx;
    fx.form.Focus(ControlId::txtHex);
    NestingLog events(fx);
    fx.form.View().txtC(2).SetText(text);
    const auto& ui = fx.form.View();
    EXPECT_EQ(ui.txtC(2).Text(), text);
    EXPECT_EQ(ui.txtHex().Text(), L"FFFFFF");
    EXPECT_EQ(ui.lblColor().BackColor(), 0xFFFFFFU);
    EXPECT_EQ(events.log.size(), 1U) << text;
  }
}

}  // namespace
}  // namespace pigmentry
