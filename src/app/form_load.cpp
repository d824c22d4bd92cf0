#include "app/form1.h"

namespace pigmentry::app {

void Form1::Form_Load() {}
void Form1::mnuOptTop_Click() {}

}  // namespace pigmentry::app
