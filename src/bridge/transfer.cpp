#include "app/form1.h"
#include "bridge/host.h"

namespace pigmentry::app {

void Form1::cmdGetPaint_Click() { TransferShapeColor(true, false); }
void Form1::cmdGetPaper_Click() { TransferShapeColor(false, false); }
void Form1::cmdSetPaint_Click() { TransferShapeColor(true, true); }
void Form1::cmdSetPaper_Click() { TransferShapeColor(false, true); }

void Form1::TransferShapeColor(bool /*IsFill*/, bool /*IsSet*/) {}

}  // namespace pigmentry::app
