#include "soak/host_model.h"

#include <algorithm>

namespace pigmentry::soak {

void DrawingModel::Click(std::size_t index, bool adding) {
  auto found = std::find(selection.begin(), selection.end(), index);
  if (!adding) {
    selection.assign(1, index);
  } else if (found != selection.end()) {
    selection.erase(found);
  } else {
    selection.push_back(index);
  }
}

std::optional<Channels> DrawingModel::Get(bool fill) const {
  if (selection.empty()) {
    return Channels{};
  }
  const ShapeModel& first = shapes[selection.front()];
  const bool has = fill ? first.uniformFill : first.solidOutline;
  if (!has) {
    return Channels{};  // the host's new colour, RGB black
  }
  const KnownColour& colour = fill ? first.fill : first.outline;
  if (!colour.rgb) {
    return std::nullopt;
  }
  return colour.value;
}

void DrawingModel::Set(bool fill, const Channels& channels) {
  bool workRgb = true;
  for (const std::size_t index : selection) {
    ShapeModel& shape = shapes[index];
    KnownColour& colour = fill ? shape.fill : shape.outline;
    if (fill ? shape.uniformFill : shape.solidOutline) {
      workRgb = colour.rgb;
    }
    colour = {workRgb, channels};
    if (fill) {
      shape.uniformFill = true;
    }
  }
}

}  // namespace pigmentry::soak
