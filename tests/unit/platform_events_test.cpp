// The event rules the handlers rely on, on the in-memory platform.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "app/form1_design.h"
#include "platform/memory/memory_form.h"

namespace pigmentry::platform::memory {
namespace {

// Records every event; optional reactions let a test nest events.
class RecordingEvents : public FormEvents {
 public:
  explicit RecordingEvents(MemoryForm& form) : form_(form) { form.Connect(*this); }

  void Load() override { log.emplace_back(L"Load"); }
  void Change(ControlId id) override {
    log.push_back(L"Change " + Name(id) + L" " + form_.Field(id).Text());
    if (onChange) {
      onChange(id);
    }
  }
  void GotFocus(ControlId id) override { log.push_back(L"GotFocus " + Name(id)); }
  void LostFocus(ControlId id) override { log.push_back(L"LostFocus " + Name(id)); }
  void KeyDown(ControlId id, int& keyCode, int /*shift*/) override {
    log.push_back(L"KeyDown " + Name(id) + L" " + std::to_wstring(keyCode));
    if (keyCode == consumeKey) {
      keyCode = 0;
    }
  }
  void Click(ControlId id) override { log.push_back(L"Click " + Name(id)); }
  void MouseUp(ControlId id, int button, int /*shift*/, float /*x*/, float /*y*/) override {
    log.push_back(L"MouseUp " + Name(id) + L" " + std::to_wstring(button));
  }
  void MenuClick(MenuId id) override {
    log.push_back(L"MenuClick " + std::to_wstring(static_cast<int>(id)));
  }

  static std::wstring Name(ControlId id) {
    static constexpr std::array<const wchar_t*, 14> names = {
        L"optRGB", L"txtC0",       L"txtC1",       L"txtC2",       L"optHex",
        L"txtHex", L"cmdGetPaint", L"cmdGetPaper", L"cmdSetPaint", L"cmdSetPaper",
        L"Label1", L"Label2",      L"lblColor",    L"xLine1"};
    return names.at(static_cast<std::size_t>(id));
  }

  std::vector<std::wstring> log;
  std::function<void(ControlId)> onChange;
  int consumeKey = -1;

 private:
  MemoryForm& form_;
};

using Log = std::vector<std::wstring>;

TEST(PlatformEvents, ProgramWriteRaisesChangeOnlyWhenTheTextDiffers) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  form.txtHex().SetText(L"FFFFFF");
  EXPECT_TRUE(events.log.empty());
  form.txtHex().SetText(L"00FF00");
  form.txtHex().SetText(L"00FF00");
  EXPECT_EQ(events.log, (Log{L"Change txtHex 00FF00"}));
}

TEST(PlatformEvents, ChangeRunsNestedInsideTheWriteAndTheChainEnds) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  // A handler that writes its field back in canonical form, as the colour
  // handlers do: the nested write raises one more Change, the next none.
  events.onChange = [&](ControlId id) {
    auto& field = form.Field(id);
    events.log.push_back(L"handler sees " + field.Text());
    if (field.Text() == L"007") {
      field.SetText(L"7");
      events.log.emplace_back(L"write returned");
    }
  };
  form.txtC(0).SetText(L"007");
  EXPECT_EQ(events.log, (Log{L"Change txtC0 007", L"handler sees 007", L"Change txtC0 7",
                             L"handler sees 7", L"write returned"}));
}

TEST(PlatformEvents, LostFocusOfTheOldControlComesBeforeGotFocusOfTheNew) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  form.Focus(ControlId::txtHex);
  form.Focus(ControlId::txtC1);
  form.Focus(ControlId::txtC1);  // already there: nothing
  EXPECT_EQ(events.log, (Log{L"GotFocus txtHex", L"LostFocus txtHex", L"GotFocus txtC1"}));
}

TEST(PlatformEvents, KeyDownSetToZeroConsumesTheKey) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  form.Focus(ControlId::txtC0);
  form.Select(3, 0);
  events.consumeKey = '7';
  form.Type(L"7");
  EXPECT_EQ(form.txtC(0).Text(), L"255");
  events.consumeKey = -1;
  form.Type(L"7");
  EXPECT_EQ(form.txtC(0).Text(), L"2557");
  EXPECT_EQ(events.log, (Log{L"GotFocus txtC0", L"KeyDown txtC0 55", L"KeyDown txtC0 55",
                             L"Change txtC0 2557"}));
}

TEST(PlatformEvents, TypingReplacesTheSelection) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  form.Focus(ControlId::txtHex);
  form.Select(0, 6);
  form.Type(L"ab");
  EXPECT_EQ(form.txtHex().Text(), L"ab");
  EXPECT_EQ(form.txtHex().SelStart(), 2);
  form.PressKey(8);  // Backspace
  EXPECT_EQ(form.txtHex().Text(), L"a");
}

TEST(PlatformEvents, TabFollowsTheTabIndicesAndSkipsLabels) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  std::vector<std::wstring> visited;
  for (int i = 0; i < 10; ++i) {
    form.Tab();
    visited.push_back(RecordingEvents::Name(*form.Focused()));
  }
  // Of the option buttons only the selected one is a Tab stop.
  EXPECT_EQ(visited, (Log{L"optRGB", L"txtC0", L"txtC1", L"txtC2", L"txtHex", L"cmdGetPaint",
                          L"cmdGetPaper", L"cmdSetPaint", L"cmdSetPaper", L"optRGB"}));
  form.Tab(true);
  EXPECT_EQ(*form.Focused(), ControlId::cmdSetPaper);
  form.View().optHex().SetValue(true);
  form.Focus(ControlId::txtC2);
  form.Tab();
  EXPECT_EQ(*form.Focused(), ControlId::optHex);
}

TEST(PlatformEvents, OptionButtonsAreOneExclusiveGroup) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  const auto& view = form.View();
  EXPECT_TRUE(view.optRGB().Value());
  EXPECT_FALSE(view.optHex().Value());
  view.optHex().SetValue(true);
  EXPECT_FALSE(view.optRGB().Value());
  form.Click(ControlId::optRGB);
  EXPECT_TRUE(view.optRGB().Value());
  EXPECT_FALSE(view.optHex().Value());
}

TEST(PlatformEvents, ClickingAButtonTakesTheFocusFirst) {
  MemoryForm form(app::kForm1Design);
  RecordingEvents events(form);
  form.Focus(ControlId::txtHex);
  form.Click(ControlId::cmdSetPaint);
  form.MouseUp(ControlId::lblColor, kRightButton);
  EXPECT_EQ(events.log, (Log{L"GotFocus txtHex", L"LostFocus txtHex", L"GotFocus cmdSetPaint",
                             L"Click cmdSetPaint", L"MouseUp lblColor 2"}));
}

}  // namespace
}  // namespace pigmentry::platform::memory
