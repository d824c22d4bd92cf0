// The window's three arrangements: the window's outer size and every
// control's place, in twips, and the captions that go with each.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/form1_design.h"
#include "platform/ui.h"

namespace pigmentry::layouts {

using platform::ControlId;

struct ControlPlace {
  ControlId id;
  int left;
  int top;
  int width;
  int height;
  const wchar_t* caption;  // nullptr: the control has no caption to set
};

// The controls that are placed one property at a time, in the order they
// are placed; the separator line comes after them as one change.
inline constexpr std::size_t kPlacedControlCount = platform::kControlCount - 1;

struct Layout {
  std::int16_t index;  // of its mnuOptView item
  int windowWidth;
  int windowHeight;
  std::array<ControlPlace, kPlacedControlCount> controls;
  ControlPlace separator;
};

inline constexpr std::int16_t kDefaultLayout = 1;
inline constexpr std::int16_t kWideLayout1 = 2;
inline constexpr std::int16_t kWideLayout2 = 3;
inline constexpr std::int16_t kLayoutCount = 3;

inline constexpr Layout kDefault = {
    kDefaultLayout,
    3780,
    2040,
    {{
        {ControlId::cmdGetPaint, 1800, 960, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 2760, 960, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 1800, 1320, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 2760, 1320, 805, 285, L"Outline"},
        {ControlId::Label1, 960, 1320, 855, 255, L"Set Color:"},
        {ControlId::Label2, 960, 960, 855, 255, L"Get Color:"},
        {ControlId::lblColor, 0, 0, 855, 1695, nullptr},
        {ControlId::optHex, 960, 480, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 1800, 480, 735, 285, nullptr},
    }},
    {ControlId::xLine1, 840, 840, 2895, 30, nullptr},
};

// The Get and Set rows beside the colour rows, the line standing upright
// between the two halves.
inline constexpr Layout kWide1 = {
    kWideLayout1,
    6540,
    1215,
    {{
        {ControlId::cmdGetPaint, 4560, 120, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 5520, 120, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 4560, 480, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 5520, 480, 805, 285, L"Outline"},
        {ControlId::Label1, 3720, 480, 855, 255, L"Set Color:"},
        {ControlId::Label2, 3720, 120, 855, 255, L"Get Color:"},
        {ControlId::lblColor, 0, 0, 855, 855, nullptr},
        {ControlId::optHex, 960, 480, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 1800, 480, 735, 285, nullptr},
    }},
    {ControlId::xLine1, 3600, 0, 30, 870, nullptr},
};

// One row; the labels shortened. The line starts 15 twips above the client
// area so that it spans the row's full height.
inline constexpr Layout kWide2 = {
    kWideLayout2,
    10140,
    855,
    {{
        {ControlId::cmdGetPaint, 5760, 120, 805, 285, L"Fill"},
        {ControlId::cmdGetPaper, 6720, 120, 805, 285, L"Outline"},
        {ControlId::cmdSetPaint, 8160, 120, 805, 285, L"Fill"},
        {ControlId::cmdSetPaper, 9120, 120, 805, 285, L"Outline"},
        {ControlId::Label1, 7680, 120, 495, 255, L"Set:"},
        {ControlId::Label2, 5280, 120, 495, 255, L"Get:"},
        {ControlId::lblColor, 0, 0, 855, 495, nullptr},
        {ControlId::optHex, 3600, 120, 975, 255, L"Hex"},
        {ControlId::optRGB, 960, 120, 1095, 255, L"RGB"},
        {ControlId::txtC0, 1800, 120, 495, 285, nullptr},
        {ControlId::txtC1, 2400, 120, 495, 285, nullptr},
        {ControlId::txtC2, 3000, 120, 495, 285, nullptr},
        {ControlId::txtHex, 4320, 120, 735, 285, nullptr},
    }},
    {ControlId::xLine1, 5160, -15, 30, 510, nullptr},
};

// Index 2 and 3 choose the wide layouts; every other index the default.
[[nodiscard]] constexpr const Layout& LayoutFor(std::int16_t index) {
  if (index == kWideLayout1) {
    return kWide1;
  }
  if (index == kWideLayout2) {
    return kWide2;
  }
  return kDefault;
}

namespace detail {

constexpr bool HasCaption(ControlId id) {
  const auto kind = app::DesignOf(id).kind;
  return kind == platform::ControlKind::CommandButton ||
         kind == platform::ControlKind::OptionButton || kind == platform::ControlKind::Label;
}

// Every control but the line once, captions only on captioned controls, and
// the line last.
constexpr bool WellFormed(const Layout& layout) {
  std::array<int, platform::kControlCount> seen{};
  for (const auto& place : layout.controls) {
    if (place.id == ControlId::xLine1 || (place.caption != nullptr && !HasCaption(place.id))) {
      return false;
    }
    ++seen.at(static_cast<std::size_t>(place.id));
  }
  ++seen.at(static_cast<std::size_t>(layout.separator.id));
  for (const int count : seen) {
    if (count != 1) {
      return false;
    }
  }
  return layout.separator.id == ControlId::xLine1;
}

}  // namespace detail

static_assert(detail::WellFormed(kDefault));
static_assert(detail::WellFormed(kWide1));
static_assert(detail::WellFormed(kWide2));

}  // namespace pigmentry::layouts
