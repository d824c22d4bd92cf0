// The stand-in host's drawing: shapes with fill and outline colours, the
// selection, the model of a new colour object, failures to inject and the
// log of calls, as held in memory and as written in its text file.
//
// The file, one item a line ('#' starts a comment line):
//   newcolour <model> <components>
//   shape fill <type> <model> <components> outline <type> <model> <components>
//   select <shape number> ...          (from 1, in the host's order)
//   fail <call number> <HRESULT> [n]   (that call and the n-1 after it fail
//                                       with that code; n is 1 when left out)
//   kill <call number>                 (the host process dies at that call)
//   disconnect <calls>                 (after so many calls the host is gone)
//   malform <call number> <answer>     (that call succeeds with a malformed
//                                       answer: empty, a VARIANT of no value;
//                                       text, a string where a number or an
//                                       object is due; null, a null object;
//                                       end, an enumeration with no shape left)
//   log <text>                         (written by the stand-in)
// A model is a name (RGB, CMYK, CMYK255, CMY, HSB, HLS, BW, GRAY, YIQ, LAB)
// or a number; a known model has its own count of components, any other 4.
// Calls are counted from the loading of the file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/memory/colour_models.h"

namespace pigmentry::standin {

using colour_models::ColourValue;

// A malformed answer to a call that succeeds.
enum class Malformed : std::uint8_t { Empty, Text, Null, End };

[[nodiscard]] std::string_view MalformedName(Malformed answer);

struct Shape {
  std::int32_t fillType = 1;
  ColourValue fill;
  std::int32_t outlineType = 0;
  ColourValue outline;
};

struct Drawing {
  std::vector<std::shared_ptr<Shape>> shapes;
  // Indices into shapes, in the host's order.
  std::vector<std::size_t> selection;
  ColourValue newColour = colour_models::MakeRgb(0, 0, 0);
  long failCall = 0;
  std::int32_t failCode = 0;
  long failTimes = 1;
  long killCall = 0;
  long disconnectAfter = 0;
  long malformCall = 0;
  Malformed malformAnswer = Malformed::Empty;
  std::vector<std::string> log;
};

// Nothing when the text is not a well-formed drawing.
[[nodiscard]] std::optional<Drawing> ParseDrawing(std::string_view text);
[[nodiscard]] std::string FormatDrawing(const Drawing& drawing);

}  // namespace pigmentry::standin
