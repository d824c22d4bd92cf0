// The colour routines of Form1 and the handlers of the hexadecimal field, the
// decimal fields and the swatch.
//
// The decimal fields are the store of record; the hexadecimal field and the
// swatch are derived from them. The entry mode (optHex / optRGB) says which
// side the user is editing and keeps the two sides from echoing each other:
// txtHex_Change converts only in hex mode, ClampChannel writes back and
// passes on only in RGB mode. The chains end because writing a field the
// text it already holds raises no Change.
#include "app/form1.h"
#include "app/form1_design.h"
#include "colour/colour_value.h"
#include "colour/hex_text.h"

namespace pigmentry::app {

namespace {

constexpr int kKeyUp = 38;
constexpr int kKeyDown = 40;

void SelectAll(platform::TextField& field) {
  const std::wstring text = field.Text();
  if (!text.empty()) {
    field.SetSelStart(0);
    field.SetSelLength(static_cast<int>(text.size()));
  }
}

colour::Channels ReadChannels(const platform::Form1View& ui) {
  return {colour::ChannelOf(ui.txtC(0).Text()), colour::ChannelOf(ui.txtC(1).Text()),
          colour::ChannelOf(ui.txtC(2).Text())};
}

}  // namespace

// --- Conversions -------------------------------------------------------------

void Form1::ClampChannel(platform::TextField& field) {
  const int channel = colour::ChannelOf(field.Text());
  if (!InRgbMode()) {
    return;
  }
  field.SetText(colour::ChannelText(channel));
  RGBToHex();
  ShowColor();
}

void Form1::RGBToHex() { ui_.txtHex().SetText(colour::HexForm(ReadChannels(ui_))); }

void Form1::ShowColor() { ui_.lblColor().SetBackColor(colour::SwatchValue(ReadChannels(ui_))); }

// --- The hexadecimal field ---------------------------------------------------

void Form1::txtHex_GotFocus() {
  SelectAll(ui_.txtHex());
  ui_.optHex().SetValue(true);
}

void Form1::txtHex_Change() {
  const std::wstring text = ui_.txtHex().Text();
  if (text.empty() || !InHexMode()) {
    return;
  }
  const std::wstring cleaned = colour::CleanHexText(text);
  if (!colour::IsValidHexText(cleaned)) {
    ui_.Me().MsgBox(colour::kInvalidHexMessage, platform::kMbOkOnly, kAppTitle);
    RGBToHex();  // back to the last valid colour, which the decimal fields still hold
    return;
  }
  const colour::Channels channels = colour::DigitPairs(cleaned);
  for (int i = 0; i < 3; ++i) {
    ui_.txtC(i).SetText(colour::ChannelText(channels.at(static_cast<std::size_t>(i))));
  }
  ShowColor();
  ui_.txtHex().SetText(colour::CleanHexText(ui_.txtHex().Text()));
}

void Form1::txtHex_LostFocus() {
  // A text longer than six characters stays as it is: its first six digits
  // already give the colour.
  ui_.txtHex().SetText(colour::PaddedHexText(ui_.txtHex().Text()));
}

// --- The decimal fields and the swatch ---------------------------------------

void Form1::txtC_GotFocus(int Index) {
  SelectAll(ui_.txtC(Index));
  ui_.optRGB().SetValue(true);
}

void Form1::txtC_Change(int Index) { ClampChannel(ui_.txtC(Index)); }

void Form1::txtC_KeyDown(int Index, int& KeyCode, int /*Shift*/) {
  if (KeyCode != kKeyUp && KeyCode != kKeyDown) {
    return;
  }
  platform::TextField& field = ui_.txtC(Index);
  const std::wstring text = field.Text();
  field.SetText(KeyCode == kKeyUp ? colour::SteppedUp(text) : colour::SteppedDown(text));
  txtC_GotFocus(Index);
  KeyCode = 0;
}

void Form1::lblColor_MouseUp(int Button, int /*Shift*/, float /*X*/, float /*Y*/) {
  if (Button == platform::kRightButton) {
    ui_.Me().PopupMenu(platform::MenuId::mnuOpt);
  }
}

}  // namespace pigmentry::app
