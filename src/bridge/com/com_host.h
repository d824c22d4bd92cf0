// The CorelDRAW host reached through COM automation: its published classes
// and interfaces, methods called through the interfaces generated from the
// host's binding or by name through IDispatch, as the binding says.
#pragma once

#include <memory>

#include "bridge/host.h"

namespace pigmentry::bridge {

// The host the program uses on Windows. COM must be initialised on the
// calling thread (apartment-threaded) for as long as the host is used.
std::unique_ptr<Host> MakeComHost();

// The number of IDispatch::GetIDsOfNames calls the COM host has made so far
// in this process (each name is looked up once per interface).
long ComNameLookups();

}  // namespace pigmentry::bridge
