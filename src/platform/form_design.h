// What a form is made of when it is created: its caption, its size and
// frame, every control with its kind, text, place and tab order, and its
// menu. The program describes its window in these terms; each side of the
// platform creates whatever description it is handed.
#pragma once

#include <cstdint>
#include <span>

#include "platform/ui.h"

namespace pigmentry::platform {

inline constexpr int kNoTabStop = -1;
inline constexpr std::uint32_t kButtonFace = SystemColour(15);  // COLOR_BTNFACE

struct ControlDesign {
  ControlId id;
  ControlKind kind;
  const wchar_t* name;
  const wchar_t* text;  // caption or initial text
  int left;
  int top;
  int width;
  int height;
  int tabIndex;                            // kNoTabStop: never takes the focus
  bool selected = false;                   // option buttons: the one selected
  std::uint32_t background = kButtonFace;  // labels
};

struct MenuDesign {
  MenuId id;
  const wchar_t* name;
  const wchar_t* caption;  // "-" for a separator line
  bool checked;
  bool visible;
};

struct FormDesign {
  const wchar_t* caption;
  // Outer size in twips, and the frame it was designed with (width and
  // height of the frame together, title bar included).
  int width;
  int height;
  int frameWidth;
  int frameHeight;
  // In tab order; the controls that never take the focus come last.
  std::span<const ControlDesign> controls;
  // The first item is the top-level one; the others are its items, in order.
  std::span<const MenuDesign> menus;

  [[nodiscard]] constexpr const ControlDesign& Control(ControlId id) const {
    for (const auto& design : controls) {
      if (design.id == id) {
        return design;
      }
    }
    return controls.front();  // unreachable for a complete design
  }
};

// Labels and lines carry a place in the tab order but never take the focus.
[[nodiscard]] constexpr bool TakesFocus(const ControlDesign& design) {
  return design.tabIndex != kNoTabStop && design.kind != ControlKind::Label &&
         design.kind != ControlKind::Line;
}

}  // namespace pigmentry::platform
