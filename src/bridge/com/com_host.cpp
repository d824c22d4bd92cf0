#include "bridge/com/com_host.h"

namespace pigmentry::bridge {

std::unique_ptr<Host> MakeComHost() { return std::make_unique<Host>(); }

}  // namespace pigmentry::bridge
