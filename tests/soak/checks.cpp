// The soak's checks after every step, read from outside the program: no
// message box or menu left open, the colour's fields agreeing with each
// other and with the swatch on the screen, the window's size and band.
#include <windows.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

#include "soak/soak.h"

namespace pigmentry::soak {

namespace {

using testing_support::PairsOf;
using testing_support::ValidHex;
using namespace std::chrono_literals;

constexpr int kTwipsPerPixel = 15;  // the prefix's 96 dpi

}  // namespace

void Soak::Check(long long step) {
  Answering();
  if (HWND box = OpenMessageBox()) {
    throw Failure("a message box is left open: \"" + Narrow(e2e::TextOf(box)) + "\": \"" +
                  Narrow(e2e::MessageBoxText(box), 200) + "\"");
  }
  if (e2e::FindVisibleWindow(program_->ProcessId(), L"#32768") != nullptr) {
    throw Failure("a menu is left open");
  }
  CheckColour();
  CheckWindow();
  // The swatch is read from the screen: every few steps, it costs a paint.
  if (step % 4 == 0) {
    CheckSwatch();
  }
}

void Soak::CheckColour() {
  const Channels channels = FieldChannels();
  for (int i = 0; i < 3; ++i) {
    if (channels.at(static_cast<std::size_t>(i)) < 0) {
      throw Failure("txtC(" + std::to_string(i) + ") holds \"" + Narrow(Text(platform::TxtCId(i))) +
                    "\", not a whole number 0-255");
    }
  }
  const bool rgb = IsChecked(ControlId::optRGB);
  if (rgb == IsChecked(ControlId::optHex)) {
    throw Failure("the option buttons are not exclusive");
  }
  const auto focused = FocusedField();
  const bool hexFocused = focused == ControlId::txtHex;
  if (hexFocused && rgb) {
    throw Failure("the hexadecimal field has the focus in RGB mode");
  }
  if (focused && !hexFocused && !rgb) {
    throw Failure("a decimal field has the focus in hex mode");
  }
  const std::wstring hex = Text(ControlId::txtHex);
  if (hexFocused && hex.empty()) {
    return;
  }
  if (hex.find(L'#') != std::wstring::npos || !ValidHex(hex)) {
    throw Failure("the hexadecimal field holds \"" + Narrow(hex) + "\"");
  }
  if (PairsOf(hex) != channels) {
    throw Failure("the hexadecimal field \"" + Narrow(hex) + "\" differs from the decimal fields");
  }
  if (!hexFocused && hex.size() < 6) {
    throw Failure("the hexadecimal field holds \"" + Narrow(hex) + "\" without the focus");
  }
}

void Soak::CheckWindow() {
  static constexpr std::array<SIZE, 3> kClientTwips = {{{3690, 1710}, {6450, 885}, {10050, 525}}};
  const SIZE want = kClientTwips.at(static_cast<std::size_t>(layout_ - 1));
  const SIZE client = e2e::ClientSize(program_->Window());
  if (client.cx != want.cx / kTwipsPerPixel || client.cy != want.cy / kTwipsPerPixel) {
    throw Failure("the client area is " + std::to_string(client.cx) + "x" +
                  std::to_string(client.cy) + " in layout " + std::to_string(layout_));
  }
  const bool topMost = (::GetWindowLongPtrW(program_->Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (topMost != topMost_) {
    throw Failure(topMost_ ? "the window left the topmost band"
                           : "the window is in the topmost band");
  }
}

void Soak::CheckSwatch() {
  const Channels channels = FieldChannels();
  const COLORREF want = RGB(channels[0], channels[1], channels[2]);
  RECT rect{};
  ::GetWindowRect(Control(ControlId::lblColor), &rect);
  const int x = (rect.left + rect.right) / 2;
  const int y = (rect.top + rect.bottom) / 2;
  COLORREF seen = CLR_INVALID;
  const bool same = e2e::WaitUntil(
      [&] {
        HDC screen = ::GetDC(nullptr);
        seen = ::GetPixel(screen, x, y);
        ::ReleaseDC(nullptr, screen);
        return seen == want;
      },
      3s);
  if (!same) {
    char text[96];
    std::snprintf(text, sizeof text, "the swatch shows %06lX instead of %06lX (BGR)",
                  static_cast<unsigned long>(seen), static_cast<unsigned long>(want));
    throw Failure(text);
  }
}

}  // namespace pigmentry::soak
