// The soak's reference model of the host: the drawing the stand-in host is
// given, and what the soak expects it to hold after each click on it, worked
// out here on its own rather than read back from the host.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "support/hex_oracle.h"

namespace pigmentry::soak {

using testing_support::Channels;

// The host's drawing: RGB fills and outlines the soak can follow exactly, a
// fill that is not uniform, a CMYK fill (followed only through the
// invariants) and a shape without an outline.
inline constexpr const char* kDrawing =
    "newcolour RGB 0 0 0\n"
    "shape fill 1 RGB 255 0 128 outline 1 RGB 0 0 255\n"
    "shape fill 1 RGB 10 20 30 outline 0 RGB 0 0 0\n"
    "shape fill 7 RGB 200 200 0 outline 1 RGB 5 6 7\n"
    "shape fill 1 CMYK 0 60 100 0 outline 1 RGB 1 2 3\n"
    "shape fill 1 RGB 1 2 3 outline 1 RGB 250 251 252\n"
    "select 1 2\n";

// A colour of the drawing as the soak knows it: RGB with known channels, or
// in another model.
struct KnownColour {
  bool rgb = true;
  Channels value{};
};

struct ShapeModel {
  bool uniformFill;
  KnownColour fill;
  bool solidOutline;
  KnownColour outline;
};

// What the host holds, followed through every click: kDrawing to start with.
struct DrawingModel {
  std::vector<ShapeModel> shapes = {
      {true, {true, {255, 0, 128}}, true, {true, {0, 0, 255}}},
      {true, {true, {10, 20, 30}}, false, {true, {0, 0, 0}}},
      {false, {true, {200, 200, 0}}, true, {true, {5, 6, 7}}},
      {true, {false, {}}, true, {true, {1, 2, 3}}},
      {true, {true, {1, 2, 3}}, true, {true, {250, 251, 252}}},
  };
  std::vector<std::size_t> selection = {0, 1};

  // A click on shape `index` in the host's window, with Ctrl when `adding`.
  void Click(std::size_t index, bool adding);
  // What a Get shows: the channels, or nothing when the soak cannot tell.
  [[nodiscard]] std::optional<Channels> Get(bool fill) const;
  // A Set: each shape takes the colour in the model the working colour
  // carries over from the last shape that had one.
  void Set(bool fill, const Channels& channels);
};

}  // namespace pigmentry::soak
