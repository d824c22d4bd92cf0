#include "app/form1.h"

namespace pigmentry::app {

void Form1::ClampChannel(platform::TextField& /*field*/) {}
void Form1::RGBToHex() {}
void Form1::ShowColor() {}
void Form1::txtHex_GotFocus() {}
void Form1::txtHex_Change() {}
void Form1::txtHex_LostFocus() {}
void Form1::txtC_GotFocus(int /*Index*/) {}
void Form1::txtC_Change(int /*Index*/) {}
void Form1::txtC_KeyDown(int /*Index*/, int& /*KeyCode*/, int /*Shift*/) {}
void Form1::lblColor_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) {}

}  // namespace pigmentry::app
