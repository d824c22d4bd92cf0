// The main window's behaviour: one handler per event, named after its source
// and event, and the window's private routines.
//
// The definitions live with their subsystem: start-up and the on-top command
// in app/, the colour routines and field handlers in colour/, the CorelDRAW
// buttons in bridge/, the layout command in layouts/.
#pragma once

#include <cstdint>

#include "platform/ui.h"

namespace pigmentry::bridge {
class Host;
}

namespace pigmentry::app {

class Form1 final : public platform::FormEvents {
 public:
  Form1(const platform::Form1View& view, bridge::Host& host);

  // platform::FormEvents: routes each event to its handler.
  void Load() override;
  void Change(platform::ControlId id) override;
  void GotFocus(platform::ControlId id) override;
  void LostFocus(platform::ControlId id) override;
  void KeyDown(platform::ControlId id, int& keyCode, int shift) override;
  void Click(platform::ControlId id) override;
  void MouseUp(platform::ControlId id, int button, int shift, float x, float y) override;
  void MenuClick(platform::MenuId id) override;

  // Start-up and the command line.
  void Form_Load();
  // "Always on Top".
  void mnuOptTop_Click();
  // The layout items; Index 1 "Default Layout", 2 "Wide Layout 1", 3 "Wide
  // Layout 2". Every value other than 2 and 3 gives the default layout and
  // writes 1 back.
  void mnuOptView_Click(std::int16_t& Index);

  // The hexadecimal field.
  void txtHex_GotFocus();
  void txtHex_Change();
  void txtHex_LostFocus();

  // The decimal fields txtC(0..2) and the swatch.
  void txtC_GotFocus(int Index);
  void txtC_Change(int Index);
  void txtC_KeyDown(int Index, int& KeyCode, int Shift);
  void lblColor_MouseUp(int Button, int Shift, float X, float Y);

  // The CorelDRAW buttons.
  void cmdGetPaint_Click();
  void cmdGetPaper_Click();
  void cmdSetPaint_Click();
  void cmdSetPaper_Click();

 private:
  void ClampChannel(platform::TextField& field);
  void RGBToHex();
  void ShowColor();
  void TransferShapeColor(bool IsFill, bool IsSet);

  [[nodiscard]] bool InHexMode() const;
  [[nodiscard]] bool InRgbMode() const;

  const platform::Form1View& ui_;
  bridge::Host& host_;
};

}  // namespace pigmentry::app
