// Random sequences of the user's actions on the colour fields (focus moves,
// keystrokes, pastes, arrow keys, the option buttons, clicks on the swatch)
// on the in-memory window, with the colour's invariants checked after every
// action:
//  - each decimal field holds a canonical channel "0".."255";
//  - the swatch is R + 256 G + 65536 B of the decimal fields;
//  - the hexadecimal field, unless emptied while being edited, holds a valid
//    text whose digit pairs are the channels, and at least six characters
//    once the focus is elsewhere;
//  - a message box appears exactly for each change that leaves invalid
//    hexadecimal text in hex mode, never for valid input;
//  - the handlers never nest deeper than a few levels.
// The rules are restated here on purpose rather than taken from the program.
//
// One window serves every input: it is reset to its design-time state
// after each, which costs far less than creating it again. The checks read
// the fields' texts in place, without copies.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "support/form_fixture.h"
#include "support/hex_oracle.h"

namespace {

using pigmentry::platform::ControlId;
using pigmentry::platform::FormEvents;
using pigmentry::platform::MenuId;
using pigmentry::platform::TxtCId;
using pigmentry::testing_support::CanonicalChannels;
using pigmentry::testing_support::Channels;
using pigmentry::testing_support::PairsOf;
using pigmentry::testing_support::ValidHex;
using pigmentry::testing_support::ValidHexWithoutHashes;

constexpr int kMaxDepth = 16;
constexpr int kMaxActions = 200;

// One input in kStretchedShare, picked by a hash of its bytes, pastes texts
// around the longest hexadecimal text the field accepts (32,767
// characters); the others paste runs of 9 to 300. Each long paste makes
// every later step of its input walk tens of thousands of characters
// several times over: in every input they set the speed of the whole run
// (about 150 inputs a second), and even in one input in 64 they took a
// quarter of it. A share picked by hash keeps them in every run, the same
// on every replay, and out of most mutations.
constexpr std::uint32_t kStretchedShare = 256;

bool Stretched(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261U;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) {
    hash = (hash ^ data[i]) * 16777619U;
  }
  return hash % kStretchedShare == 0;
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// Between the platform and Form1: counts the nesting depth and foresees
// each message box.
class GuardedEvents final : public FormEvents {
 public:
  explicit GuardedEvents(pigmentry::testing_support::FormFixture& fx) : fx_(fx) {
    fx.form.Connect(*this);
    fx.form.onMessageBox = [this](const pigmentry::platform::memory::MessageBoxRecord& box) {
      Check(box.prompt ==
                L"Please enter a valid Hexadecimal string.\r\n"
                L"The following characters are valid: \r\n"
                L"0 1 2 3 4 5 6 7 8 9 A B C D E F",
            "message text");
      Check(box.title == L"Draw Pigmentry 11" && box.style == 0, "message title and style");
      Check(!ValidHexWithoutHashes(HexText()), "message for valid text");
    };
  }

  // Ready for the next input on the reset window.
  void Reset() {
    expectedMessageBoxes = 0;
    depth_ = 0;
  }

  void Load() override {
    Guarded([&] { fx_.form1.Load(); });
  }
  void Change(ControlId id) override {
    if (id == ControlId::txtHex && fx_.form.View().optHex().Value() && !HexText().empty() &&
        !ValidHexWithoutHashes(HexText())) {
      ++expectedMessageBoxes;
    }
    Guarded([&] { fx_.form1.Change(id); });
  }
  void GotFocus(ControlId id) override {
    Guarded([&] { fx_.form1.GotFocus(id); });
  }
  void LostFocus(ControlId id) override {
    Guarded([&] { fx_.form1.LostFocus(id); });
  }
  void KeyDown(ControlId id, int& keyCode, int shift) override {
    Guarded([&] { fx_.form1.KeyDown(id, keyCode, shift); });
  }
  void Click(ControlId id) override {
    Guarded([&] { fx_.form1.Click(id); });
  }
  void MouseUp(ControlId id, int button, int shift, float x, float y) override {
    Guarded([&] { fx_.form1.MouseUp(id, button, shift, x, y); });
  }
  void MenuClick(MenuId id) override {
    Guarded([&] { fx_.form1.MenuClick(id); });
  }

  std::size_t expectedMessageBoxes = 0;

 private:
  [[nodiscard]] const std::wstring& HexText() const {
    return fx_.form.Field(ControlId::txtHex).HeldText();
  }

  template <typename F>
  void Guarded(F handler) {
    Check(++depth_ <= kMaxDepth, "handlers nest without end");
    handler();
    --depth_;
  }

  pigmentry::testing_support::FormFixture& fx_;
  int depth_ = 0;
};

void CheckInvariants(const pigmentry::testing_support::FormFixture& fx,
                     const GuardedEvents& events) {
  const auto& ui = fx.form.View();
  const Channels channels =
      CanonicalChannels(fx.form.Field(TxtCId(0)).HeldText(), fx.form.Field(TxtCId(1)).HeldText(),
                        fx.form.Field(TxtCId(2)).HeldText());
  for (const int channel : channels) {
    Check(channel >= 0, "decimal field not a canonical channel");
  }
  const auto swatch =
      static_cast<std::uint32_t>(channels[0] + 256 * channels[1] + 65536 * channels[2]);
  Check(ui.lblColor().BackColor() == swatch, "swatch differs from the decimal fields");
  Check(ui.optHex().Value() != ui.optRGB().Value(), "option buttons not exclusive");

  const auto focused = fx.form.Focused();
  const bool hexFocused = focused == ControlId::txtHex;
  if (hexFocused) {
    Check(ui.optHex().Value(), "hexadecimal field focused outside hex mode");
  }
  if (focused == ControlId::txtC0 || focused == ControlId::txtC1 || focused == ControlId::txtC2) {
    Check(ui.optRGB().Value(), "decimal field focused outside RGB mode");
  }
  const std::wstring& hex = fx.form.Field(ControlId::txtHex).HeldText();
  if (!(hexFocused && hex.empty())) {
    Check(hex.find(L'#') == std::wstring::npos, "a # left in the hexadecimal field");
    Check(ValidHex(hex), "invalid hexadecimal text left in the field");
    Check(PairsOf(hex) == channels, "hexadecimal field differs from the decimal fields");
    Check(hexFocused || hex.size() >= 6, "short hexadecimal text after the focus left");
  }
  Check(fx.form.MessageBoxes().size() == events.expectedMessageBoxes,
        "message boxes differ from the invalid changes");
}

constexpr std::wstring_view kAlphabet = L"0123456789abcdefABCDEFG#-+.eEdD &hHoO\t\nxX";

wchar_t CharFrom(FuzzedDataProvider& in) {
  if (in.ConsumeIntegralInRange(0, 15) == 0) {
    return static_cast<wchar_t>(in.ConsumeIntegral<std::uint16_t>());
  }
  return kAlphabet[in.ConsumeIntegralInRange<std::size_t>(0, kAlphabet.size() - 1)];
}

std::wstring TextFrom(FuzzedDataProvider& in, std::size_t maxLength) {
  std::wstring text(in.ConsumeIntegralInRange<std::size_t>(0, maxLength), L' ');
  for (wchar_t& ch : text) {
    ch = CharFrom(in);
  }
  return text;
}

constexpr std::array kFocusable = {ControlId::txtC0,  ControlId::txtC1,      ControlId::txtC2,
                                   ControlId::txtHex, ControlId::optRGB,     ControlId::optHex,
                                   ControlId::txtHex, ControlId::cmdSetPaint};
constexpr std::array kKeys = {38, 40, 38, 40, 8, 46, 37, 39, 36, 35, 33, 34, 65, 48};
constexpr std::array kButtons = {1, 2, 4};

void Act(FuzzedDataProvider& in, pigmentry::testing_support::FormFixture& fx, bool stretched) {
  auto& form = fx.form;
  switch (in.ConsumeIntegralInRange(0, 9)) {
    case 0:
      form.Focus(in.PickValueInArray(kFocusable));
      break;
    case 1:
      form.Tab(in.ConsumeBool());
      break;
    case 2:
      form.Type(std::wstring(1, CharFrom(in)));
      break;
    case 3:
      form.Type(TextFrom(in, 8));
      break;
    case 4:
      form.Paste(TextFrom(in, 64));
      break;
    case 5: {  // a run of one character; in a stretched input around the accepted length
      const std::size_t length = stretched ? in.ConsumeIntegralInRange<std::size_t>(32000, 33000)
                                           : in.ConsumeIntegralInRange<std::size_t>(9, 300);
      form.Paste(std::wstring(length, CharFrom(in)));
      break;
    }
    case 6:
      form.PressKey(in.PickValueInArray(kKeys), in.ConsumeIntegralInRange(0, 7));
      break;
    case 7: {
      const int start = in.ConsumeIntegralInRange(0, 12);
      form.Select(start, in.ConsumeIntegralInRange(0, 12));
      break;
    }
    case 8:
      form.Click(in.ConsumeBool() ? ControlId::optRGB : ControlId::optHex);
      break;
    default: {
      const std::size_t popups = form.Popups().size();
      const int button = in.PickValueInArray(kButtons);
      form.MouseUp(ControlId::lblColor, button);
      Check(form.Popups().size() == popups + (button == 2 ? 1 : 0), "swatch pop-up");
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static pigmentry::testing_support::FormFixture fx;
  static GuardedEvents events(fx);
  const pigmentry::testing_support::ResetAfterInput reset(fx);
  events.Reset();
  const bool stretched = Stretched(data, size);
  FuzzedDataProvider in(data, size);
  CheckInvariants(fx, events);
  for (int i = 0; i < kMaxActions && in.remaining_bytes() > 0; ++i) {
    Act(in, fx, stretched);
    CheckInvariants(fx, events);
  }
  return 0;
}
