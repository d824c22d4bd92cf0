#include "app/form1.h"

namespace pigmentry::app {

using platform::ControlId;
using platform::MenuId;

namespace {

// The decimal field index of a txtC element, or -1 for any other control.
int TxtCIndex(ControlId id) {
  switch (id) {
    case ControlId::txtC0:
      return 0;
    case ControlId::txtC1:
      return 1;
    case ControlId::txtC2:
      return 2;
    default:
      return -1;
  }
}

}  // namespace

Form1::Form1(const platform::Form1View& view, bridge::Host& host) : ui_(view), host_(host) {}

void Form1::Load() { Form_Load(); }

void Form1::Change(ControlId id) {
  if (id == ControlId::txtHex) {
    txtHex_Change();
  } else if (const int index = TxtCIndex(id); index >= 0) {
    txtC_Change(index);
  }
}

void Form1::GotFocus(ControlId id) {
  if (id == ControlId::txtHex) {
    txtHex_GotFocus();
  } else if (const int index = TxtCIndex(id); index >= 0) {
    txtC_GotFocus(index);
  }
}

void Form1::LostFocus(ControlId id) {
  if (id == ControlId::txtHex) {
    txtHex_LostFocus();
  }
}

void Form1::KeyDown(ControlId id, int& keyCode, int shift) {
  if (const int index = TxtCIndex(id); index >= 0) {
    txtC_KeyDown(index, keyCode, shift);
  }
}

void Form1::Click(ControlId id) {
  switch (id) {
    case ControlId::cmdGetPaint:
      cmdGetPaint_Click();
      break;
    case ControlId::cmdGetPaper:
      cmdGetPaper_Click();
      break;
    case ControlId::cmdSetPaint:
      cmdSetPaint_Click();
      break;
    case ControlId::cmdSetPaper:
      cmdSetPaper_Click();
      break;
    default:
      break;
  }
}

void Form1::MouseUp(ControlId id, int button, int shift, float x, float y) {
  if (id == ControlId::lblColor) {
    lblColor_MouseUp(button, shift, x, y);
  }
}

void Form1::MenuClick(MenuId id) {
  switch (id) {
    case MenuId::mnuOptTop:
      mnuOptTop_Click();
      break;
    case MenuId::mnuOptView1:
    case MenuId::mnuOptView2:
    case MenuId::mnuOptView3: {
      auto index = static_cast<std::int16_t>(static_cast<int>(id) -
                                             static_cast<int>(MenuId::mnuOptView1) + 1);
      mnuOptView_Click(index);
      break;
    }
    default:
      break;
  }
}

bool Form1::InHexMode() const { return ui_.optHex().Value(); }
bool Form1::InRgbMode() const { return ui_.optRGB().Value(); }

}  // namespace pigmentry::app
