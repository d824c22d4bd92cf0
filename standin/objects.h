// The stand-in host's COM objects: C++ classes implementing the host's
// interfaces as generated from host_interfaces.idl. The methods a client
// calls through an interface answer in their slots; IDispatch is answered
// from the type library; every unused slot answers E_NOTIMPL and is logged,
// so a client calling a wrong slot is caught.
#pragma once

#include <host_interfaces.h>

#include <string>

namespace pigmentry::standin {

// The objects alive, for DllCanUnloadNow.
long ObjectsAlive();

// Called when the last object of the process has been released (the local
// server then ends).
void OnLastObjectReleased(void (*handler)());
// Cuts every client off from every object still alive (a host that quits).
void DisconnectAll();

// QueryInterface and Release calls on the host's objects so far.
struct ObjectCalls {
  long queries;
  long releases;
  long created;  // objects made since the process started, each given to a client
  long alive;    // of those, the ones a client still holds
};
ObjectCalls CallsSoFar();

// New objects of the host's two classes, as the class factories give them.
HRESULT CreateApplication(const IID& iid, void** out);
HRESULT CreateColour(const IID& iid, void** out);

// The type library the objects answer IDispatch from: the file beside the
// stand-in's executable, which /RegServer registers.
std::wstring TypeLibraryPath();

}  // namespace pigmentry::standin
