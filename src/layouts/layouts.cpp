#include "app/form1.h"

namespace pigmentry::app {

void Form1::mnuOptView_Click(std::int16_t& /*Index*/) {}

}  // namespace pigmentry::app
