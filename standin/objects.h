// The stand-in host's COM objects. Each is a plain struct whose first member
// is its method table, laid out as the host's binding publishes it: the
// methods a client calls by slot sit at those slots, names are answered
// through IDispatch, and every other slot up to the highest used answers
// E_NOTIMPL and is logged, so a client calling a wrong slot is caught.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "standin/drawing.h"

namespace pigmentry::standin {

using AnyMethod = void (*)();

enum class Kind : std::uint8_t { Application, Shapes, Shape, Fill, Outline, Colour, Enumerator };

// Which colour a colour object stands for.
enum class ColourOf : std::uint8_t { Own, Fill, Outline };

struct Object {
  const AnyMethod* methods = nullptr;
  LONG references = 1;
  Kind kind = Kind::Application;
  int generation = 0;
  std::shared_ptr<Shape> shape;                // Shape, Fill, Outline, a shape's Colour
  ColourOf of = ColourOf::Own;                 // Colour
  ColourValue own;                             // a free-standing Colour
  std::vector<std::shared_ptr<Shape>> shapes;  // Shapes, Enumerator
  std::size_t next = 0;                        // Enumerator
};

// A new object with one reference.
Object* NewObject(Kind kind);
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

// The host's classes.
extern const CLSID kClsidApplication;
extern const CLSID kClsidColour;

}  // namespace pigmentry::standin
