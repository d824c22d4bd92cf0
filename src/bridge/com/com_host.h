// The CorelDRAW host reached through COM automation.
#pragma once

#include <memory>

#include "bridge/host.h"

namespace pigmentry::bridge {

std::unique_ptr<Host> MakeComHost();

}  // namespace pigmentry::bridge
